#include "frontend/window/option_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/compose/composer.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

OptionDialog::OptionDialog(const QString& formName, const QString& title, FrontState& state,
                           Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
    setObjectName(formName);
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    auto* outer = new QVBoxLayout(this);
    body_ = new QVBoxLayout;
    outer->addLayout(body_);
    outer->addStretch(1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* applyButton = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    QPushButton* clearButton = buttons->addButton(QStringLiteral("Clear"), QDialogButtonBox::ResetRole);
    QPushButton* cancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    applyButton->setObjectName(QStringLiteral("ApplyCmd"));
    clearButton->setObjectName(QStringLiteral("ClearCmd"));
    cancelButton->setObjectName(QStringLiteral("CancelCmd"));
    applyButton->setDefault(true);
    outer->addWidget(buttons);
    connect(applyButton, &QPushButton::clicked, this, &OptionDialog::applyAndClose);
    connect(cancelButton, &QPushButton::clicked, this, &OptionDialog::cancelAndClose);
    connect(clearButton, &QPushButton::clicked, this, [this] {
        clearFields();
        Q_EMIT stateChanged();
    });
}

void OptionDialog::applyAndClose() {
    const bool done = apply();
    Q_EMIT stateChanged();
    if (!done) return;
    hide();
    Q_EMIT editingEnded();
}

void OptionDialog::cancelAndClose() {
    clearSlots();
    Q_EMIT stateChanged();
    hide();
    Q_EMIT editingEnded();
}

bool OptionDialog::settleLevelConflict(DialogLevel kind, const QString& level) {
    std::string& levels = state_.main.list(ListId::Levels);
    const auto question = dialogLevelConflict(kind, toStd(level), levels);
    if (!question) return true;
    if (!prompter_.askYesNo(toQt(question->title), toQt(question->text))) return false;
    const std::string rest = levelListWithout(levels, levelNumber(toStd(level)));
    if (rest.empty()) {
        // An empty level list would hand "-ll" no value.
        prompter_.inform(toQt(listKind(ListId::Levels).title),
                         QStringLiteral("No input levels are left.  Please enter the levels again."));
        return false;
    }
    levels = rest;
    Q_EMIT stateChanged();
    return true;
}

}  // namespace vornel::frontend
