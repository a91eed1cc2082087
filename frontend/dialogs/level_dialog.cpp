#include "frontend/dialogs/level_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/compose/composer.h"
#include "frontend/compose/selection_list.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

LevelDialog::LevelDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("LevelFrm"), QStringLiteral("Levels"), state, prompter, parent) {
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int level = 1; level <= 63; ++level) {
        auto* button = new QPushButton(QString::number(level));
        button->setObjectName(QStringLiteral("Level%1Cmd").arg(level));
        button->setCheckable(true);
        button->setFixedSize(34, 26);
        button->setStyleSheet(QStringLiteral("QPushButton:checked { background: #2f6fbf; color: white; }"));
        button->installEventFilter(this);
        grid->addWidget(button, (level - 1) / 9, (level - 1) % 9);
        buttons_[static_cast<std::size_t>(level - 1)] = button;
    }
    body()->addLayout(grid);
    auto* row = new QHBoxLayout;
    auto* all = new QPushButton(QStringLiteral("Select All"));
    all->setObjectName(QStringLiteral("SelectAllCmd"));
    auto* none = new QPushButton(QStringLiteral("Clear"));
    none->setObjectName(QStringLiteral("ClearLevelsCmd"));
    row->addWidget(all);
    row->addWidget(none);
    row->addStretch(1);
    body()->addLayout(row);
    // The picker's own "Clear" empties the levels; the frame's would be a twin.
    if (auto* frameClear = findChild<QPushButton*>(QStringLiteral("ClearCmd"))) frameClear->hide();
    connect(all, &QPushButton::clicked, this, [this] { selectAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { selectAll(false); });
    loadFromState();
}

void LevelDialog::selectAll(bool on) {
    for (QPushButton* button : buttons_) button->setChecked(on);
}

QPushButton* LevelDialog::buttonAt(const QPoint& globalPos) const {
    for (QPushButton* button : buttons_) {
        if (button->rect().contains(button->mapFromGlobal(globalPos))) return button;
    }
    return nullptr;
}

// The buttons do their own toggling on a click; the filter takes over the
// press so that a drag paints the same state across the buttons passed over.
bool LevelDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr) return OptionDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) break;
            dragging_ = true;
            dragState_ = !button->isChecked();
            button->setChecked(dragState_);
            return true;
        }
        case QEvent::MouseMove: {
            if (!dragging_) break;
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (QPushButton* over = buttonAt(mouse->globalPosition().toPoint())) over->setChecked(dragState_);
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (!dragging_) break;
            dragging_ = false;
            return true;
        default:
            break;
    }
    return OptionDialog::eventFilter(watched, event);
}

void LevelDialog::loadFromState() {
    const ListKind& kind = listKind(ListId::Levels);
    const ListCheck check = checkList(kind, state_.main.list(ListId::Levels));
    const Selection selection = check.ok() ? check.selection : defaultSelection(kind);
    for (int level = 1; level <= 63; ++level) {
        levelButton(level)->setChecked(selection.test(static_cast<std::size_t>(level)));
    }
}

bool LevelDialog::apply() {
    const ListKind& kind = listKind(ListId::Levels);
    Selection selection;
    for (int level = 1; level <= 63; ++level) {
        if (levelButton(level)->isChecked()) selection.set(static_cast<std::size_t>(level));
    }
    if (selection.none()) {
        prompter_.inform(toQt(kind.title),
                         QStringLiteral("Vornel requires at least one input level.  The default are levels: 1-63."
                                        "  All levels will be selected now."));
        selectAll(true);
        selection = defaultSelection(kind);
    }
    std::string list = compactList(kind, selection);
    // The stored output level and the flag levels must not be input levels.
    for (const CheckedLevel& checked : levelsToCheck(state_)) {
        const auto question = dialogLevelConflict(checked.kind, checked.level, list);
        if (!question) continue;
        if (!prompter_.askYesNo(toQt(question->title), toQt(question->text))) return false;
        const int level = levelNumber(checked.level);
        if (selection.count() == 1) {
            prompter_.inform(toQt(kind.title), QStringLiteral("No input levels are left.  Please enter the levels again."));
            return false;
        }
        selection.reset(static_cast<std::size_t>(level));
        levelButton(level)->setChecked(false);
        list = compactList(kind, selection);
    }
    state_.main.list(ListId::Levels) = list;
    return true;
}

void LevelDialog::clearFields() { selectAll(false); }

}  // namespace vornel::frontend
