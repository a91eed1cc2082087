#include "frontend/dialogs/output_symbology_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "frontend/compose/field_lists.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/window/field_guard.h"

namespace vornel::frontend {

namespace {

QComboBox* valueList(const char* name, int high) {
    auto* list = new QComboBox;
    list->setObjectName(QString::fromUtf8(name));
    list->addItem(QString());  // unset
    for (int n = 0; n <= high; ++n) list->addItem(QString::number(n));
    list->setMinimumWidth(80);
    return list;
}

}  // namespace

OutputSymbologyDialog::OutputSymbologyDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("OutSymFrm"), QStringLiteral("Output Options"), state, prompter, parent) {
    lists_ = {valueList("StyleCmb", 7), valueList("WeightCmb", 30), valueList("ColorCmb", 255),
              valueList("ClassCmb", 7)};
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("style:"), lists_[0]);
    form->addRow(QStringLiteral("weight:"), lists_[1]);
    form->addRow(QStringLiteral("color:"), lists_[2]);
    form->addRow(QStringLiteral("class:"), lists_[3]);
    body()->addLayout(form);
}

bool OutputSymbologyDialog::apply() {
    std::vector<std::string> fields;
    bool anySet = false;
    for (QComboBox* list : lists_) {
        fields.push_back(toStd(list->currentText()));
        anySet = anySet || !fields.back().empty();
    }
    if (anySet) {
        state_.slots.set(slot::kOutputSymbology, "-S", joinAll(fields));
    } else {
        state_.slots.clear(slot::kOutputSymbology);
    }
    state_.main.overrideSymbology = anySet;
    state_.main.useOriginalSymbology = !anySet;
    return true;
}

void OutputSymbologyDialog::clearSlots() {
    state_.slots.clear(slot::kOutputSymbology);
    state_.main.overrideSymbology = false;
    state_.main.useOriginalSymbology = true;
}

void OutputSymbologyDialog::clearFields() {
    for (QComboBox* list : lists_) list->setCurrentIndex(0);
    clearSlots();
}

}  // namespace vornel::frontend
