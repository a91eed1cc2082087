#include "frontend/dialogs/manipulation_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "frontend/compose/composer.h"
#include "frontend/compose/field_checks.h"
#include "frontend/compose/field_lists.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/dialogs/form_fields.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

ManipulationDialog::ManipulationDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("ManipFrm"), QStringLiteral("Data Manipulation & Cleaning Options"), state,
                   prompter, parent) {
    weed_ = namedCheck("WeedChck", QStringLiteral("Weed coordinate strings"));
    distance_ = namedField("DistTolTxt", 90);
    length_ = namedField("LenTolTxt", 90);
    angle_ = namedField("AngTolTxt", 90);
    weedIdentical_ = namedCheck("WeedZChck", QStringLiteral("Weed consecutive identical coordinates"));
    zeroLength_ = namedCheck("ZeroChck", QStringLiteral("Move zero-length lines to level:"));
    zeroLevel_ = namedField("ZeroLevelTxt", 60);

    body()->addWidget(weed_);
    auto* tolerances = new QFormLayout;
    tolerances->setContentsMargins(24, 0, 0, 0);
    tolerances->addRow(QStringLiteral("distance tolerance"), distance_);
    tolerances->addRow(QStringLiteral("length tolerance"), length_);
    tolerances->addRow(QStringLiteral("angle tolerance"), angle_);
    body()->addLayout(tolerances);
    body()->addWidget(weedIdentical_);
    auto* zeroRow = new QFormLayout;
    zeroRow->addRow(zeroLength_, zeroLevel_);
    body()->addLayout(zeroRow);

    for (QLineEdit* field : {distance_, length_, angle_}) field->setEnabled(false);
    connect(weed_, &QCheckBox::toggled, this, [this](bool on) {
        for (QLineEdit* field : {distance_, length_, angle_}) field->setEnabled(on);
    });
    guardField(zeroLevel_, prompter, windowTitle(), [](std::string_view text) {
        return checkLevelField(text, LevelPrompt::ZeroLength);
    });
}

bool ManipulationDialog::apply() {
    if (zeroLength_->isChecked()) {
        if (zeroLevel_->text().isEmpty()) {
            prompter_.inform(QStringLiteral("Move zero-length lines"),
                             QStringLiteral("To move zero-length lines to another level, you must select a level."));
            return false;
        }
        if (levelNumber(toStd(zeroLevel_->text())) == 0 &&
            !prompter_.askYesNo(QStringLiteral("zero length lines"),
                                QStringLiteral("A '0' will delete zero length lines\nIs this ok?"))) {
            zeroLevel_->clear();
            zeroLevel_->setFocus();
            return false;
        }
        if (!settleLevelConflict(DialogLevel::ZeroLength, zeroLevel_->text())) return false;
        state_.slots.set(slot::kZeroLength, "-Z", toStd(zeroLevel_->text()));
    } else {
        state_.slots.clear(slot::kZeroLength);
    }
    if (weed_->isChecked()) {
        // All three fields are passed, empty ones included, so "-W" always has a value.
        state_.slots.set(slot::kWeed, "-W",
                         joinAll({toStd(distance_->text()), toStd(length_->text()), toStd(angle_->text())}));
    } else {
        state_.slots.clear(slot::kWeed);
    }
    if (weedIdentical_->isChecked()) {
        state_.slots.set(slot::kWeedIdentical, "-WZ");
    } else {
        state_.slots.clear(slot::kWeedIdentical);
    }
    return true;
}

void ManipulationDialog::clearSlots() {
    for (std::size_t number : {slot::kWeed, slot::kWeedIdentical, slot::kZeroLength}) state_.slots.clear(number);
}

void ManipulationDialog::clearFields() {
    for (QCheckBox* box : {weed_, weedIdentical_, zeroLength_}) box->setChecked(false);
    for (QLineEdit* field : {distance_, length_, angle_, zeroLevel_}) field->clear();
    clearSlots();
}

}  // namespace vornel::frontend
