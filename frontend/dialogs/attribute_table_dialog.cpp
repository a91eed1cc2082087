#include "frontend/dialogs/attribute_table_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "frontend/compose/slot_numbers.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

AttributeTableDialog::AttributeTableDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("NVNameFrm"), QStringLiteral("Attribute value table"), state, prompter,
                   parent) {
    table_ = new QLineEdit;
    table_->setObjectName(QStringLiteral("TableTxt"));
    column_ = new QLineEdit;
    column_->setObjectName(QStringLiteral("ColumnTxt"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Table name:"), table_);
    form->addRow(QStringLiteral("Column:"), column_);
    body()->addLayout(form);
}

bool AttributeTableDialog::apply() {
    const bool hasTable = !table_->text().isEmpty();
    const bool hasColumn = !column_->text().isEmpty();
    if (hasTable != hasColumn) {
        prompter_.inform(windowTitle(),
                         QStringLiteral("Both a Tablename and Column are necessary for vornel processing."));
        return false;
    }
    if (hasTable) {
        state_.slots.set(slot::kAttributeValues, "-NV", toStd(table_->text()) + "," + toStd(column_->text()));
    } else {
        state_.slots.clear(slot::kAttributeValues);
    }
    return true;
}

void AttributeTableDialog::clearSlots() { state_.slots.clear(slot::kAttributeValues); }

void AttributeTableDialog::clearFields() {
    table_->clear();
    column_->clear();
    clearSlots();
}

}  // namespace vornel::frontend
