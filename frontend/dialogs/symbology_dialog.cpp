#include "frontend/dialogs/symbology_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

namespace {

// The "all" item's row, when the list has one, comes first.
int rowOf(bool hasAllItem, int value) { return hasAllItem ? value + 1 : value; }

}  // namespace

SymbologyDialog::SymbologyDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("InsymFrm"), QStringLiteral("Input Symbology"), state, prompter, parent) {
    const std::array<std::tuple<ListId, const char*, const char*, bool>, 4> specs{{
        {ListId::Styles, "StyleLst", "styles", true},
        {ListId::Weights, "WeightLst", "weights", true},
        {ListId::Colors, "ColorLst", "colors", true},
        {ListId::Classes, "ClassLst", "classes", false},
    }};
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const auto& [id, name, caption, hasAll] = specs[i];
        const ListKind& kind = listKind(id);
        auto* list = new QListWidget;
        list->setObjectName(QString::fromUtf8(name));
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        if (hasAll) list->addItem(QStringLiteral("%1 - %2").arg(kind.low).arg(kind.high));
        for (int n = kind.low; n <= kind.high; ++n) list->addItem(QString::number(n));
        list->setFixedWidth(90);
        list->setMinimumHeight(200);
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(QString::fromUtf8(caption)));
        column->addWidget(list);
        row->addLayout(column);
        columns_[i] = {id, list, hasAll};
    }
    body()->addLayout(row);
    loadFromState();
}

QListWidget* SymbologyDialog::list(ListId id) const {
    for (const Column& column : columns_) {
        if (column.id == id) return column.list;
    }
    return nullptr;
}

void SymbologyDialog::loadFromState() {
    for (const Column& column : columns_) {
        const ListKind& kind = listKind(column.id);
        const ListCheck check = checkList(kind, state_.main.list(column.id));
        const Selection selection = check.ok() ? check.selection : defaultSelection(kind);
        column.list->clearSelection();
        bool all = column.hasAllItem;
        for (int n = kind.low; n <= kind.high; ++n) all = all && selection.test(static_cast<std::size_t>(n));
        if (all) {
            column.list->item(0)->setSelected(true);
            continue;
        }
        for (int n = kind.low; n <= kind.high; ++n) {
            if (selection.test(static_cast<std::size_t>(n))) {
                column.list->item(rowOf(column.hasAllItem, n))->setSelected(true);
            }
        }
    }
}

bool SymbologyDialog::apply() {
    for (const Column& column : columns_) {
        const ListKind& kind = listKind(column.id);
        std::string& text = state_.main.list(column.id);
        if (column.hasAllItem && column.list->item(0)->isSelected()) {
            text = std::string(kind.defaultText);
            continue;
        }
        Selection selection;
        for (int n = kind.low; n <= kind.high; ++n) {
            if (column.list->item(rowOf(column.hasAllItem, n))->isSelected()) {
                selection.set(static_cast<std::size_t>(n));
            }
        }
        if (selection.none()) {
            prompter_.inform(toQt(kind.title), QStringLiteral("Vornel requires at least one input %1.  The default are %2: %3.")
                                                   .arg(toQt(kind.singular), toQt(kind.plural), toQt(kind.defaultText)));
            text = std::string(kind.defaultText);
            continue;
        }
        text = compactList(kind, selection);
    }
    return true;
}

void SymbologyDialog::clearFields() {
    for (const Column& column : columns_) column.list->clearSelection();
}

}  // namespace vornel::frontend
