#include "frontend/dialogs/field_list_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "frontend/compose/field_lists.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

FieldListDialog::FieldListDialog(const QString& formName, const QString& title, std::size_t slotNumber,
                                 const char* option, const std::vector<const char*>& captions,
                                 FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(formName, title, state, prompter, parent), slot_(slotNumber), option_(option) {
    auto* form = new QFormLayout;
    for (std::size_t n = 0; n < captions.size(); ++n) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("Field%1Txt").arg(n));
        edit->setMinimumWidth(160);
        form->addRow(QString::fromUtf8(captions[n]), edit);
        fields_.push_back(edit);
    }
    body()->addLayout(form);
}

QString FieldListDialog::field(std::size_t n) const { return fields_.at(n)->text(); }

bool FieldListDialog::apply() {
    std::vector<std::string> values;
    for (const QLineEdit* edit : fields_) values.push_back(toStd(edit->text()));
    const std::string joined = joinTrimmed(values);
    if (joined.find_first_not_of(',') == std::string::npos) {
        state_.slots.clear(slot_);
        return true;
    }
    if (const QString message = missing(); !message.isEmpty()) {
        prompter_.inform(windowTitle(), message);
        return false;
    }
    state_.slots.set(slot_, option_, joined);
    return true;
}

void FieldListDialog::clearSlots() { state_.slots.clear(slot_); }

void FieldListDialog::clearFields() {
    for (QLineEdit* edit : fields_) edit->clear();
    clearSlots();
}

DatabaseDialog::DatabaseDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : FieldListDialog(QStringLiteral("DBFrm"), QStringLiteral("Database Options"), slot::kDatabase, "-XY",
                      {"Table name", "Slope column", "Slope option", "Length column", "Length option",
                       "From X column", "From Y column", "From  Z column", "XYZ option", "To X column",
                       "To Y column", "To Z column"},
                      state, prompter, parent) {}

QString DatabaseDialog::missing() const {
    if (field(0).isEmpty()) return QStringLiteral("You must specify a tablename to use the vornel database feature.");
    return {};
}

LabelDialog::LabelDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : FieldListDialog(QStringLiteral("LabelFrm"), QStringLiteral("Label Options"), slot::kLabels, "-label",
                      {"Table name:", "Column:", "Level:", "Size:", "Font:", "Justification:", "Color:", "Weight:",
                       "Angle:", "Minimum distance:", "Label spacing:", "X offset:", "Y offset:"},
                      state, prompter, parent) {}

QString LabelDialog::missing() const {
    if (field(0).isEmpty() || field(1).isEmpty()) {
        return QStringLiteral("You must specify a tablename and column to use the vornel labeling feature.");
    }
    if (field(3).isEmpty()) return QStringLiteral("You must specify a size to use the vornel labeling feature.");
    return {};
}

}  // namespace vornel::frontend
