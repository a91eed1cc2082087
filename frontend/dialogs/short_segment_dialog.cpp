#include "frontend/dialogs/short_segment_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "frontend/compose/field_checks.h"
#include "frontend/compose/field_lists.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/dialogs/form_fields.h"
#include "frontend/window/field_guard.h"

namespace vornel::frontend {

ShortSegmentDialog::ShortSegmentDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("ShrtSegFrm"), QStringLiteral("Short Segments"), state, prompter, parent) {
    distance_ = namedField("DistanceTxt", 90);
    circleSize_ = namedField("CircleSizeTxt", 90);
    level_ = namedField("LevelTxt", 90);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("distance:"), distance_);
    form->addRow(QStringLiteral("circle size:"), circleSize_);
    form->addRow(QStringLiteral("level:"), level_);
    body()->addLayout(form);
    guardField(distance_, prompter, windowTitle(), [](std::string_view text) {
        return checkDecimalField(text, DecimalField::Distance);
    });
    guardField(circleSize_, prompter, windowTitle(), [](std::string_view text) {
        return checkDecimalField(text, DecimalField::CircleSize);
    });
    guardField(level_, prompter, windowTitle(), [](std::string_view text) {
        return checkLevelField(text, LevelPrompt::OutputShort);
    });
    setMode(Mode::Remove);
}

void ShortSegmentDialog::setMode(Mode mode) {
    mode_ = mode;
    circleSize_->setEnabled(mode == Mode::Flag);
    level_->setEnabled(mode == Mode::Flag);
    if (mode == Mode::Remove) {
        circleSize_->clear();
        level_->clear();
    }
}

bool ShortSegmentDialog::apply() {
    const std::string distance = toStd(distance_->text());
    const std::string size = toStd(circleSize_->text());
    const std::string level = toStd(level_->text());
    if (distance.empty() && size.empty() && level.empty()) return true;
    if (mode_ == Mode::Remove) {
        if (!distance.empty()) state_.slots.set(slot::kRemoveShort, "-O", distance);
        return true;
    }
    if (!settleLevelConflict(DialogLevel::Flagging, level_->text())) return false;
    state_.slots.set(slot::kFlagShort, "-OF", joinTrimmed({distance, level, size}));
    return true;
}

void ShortSegmentDialog::clearSlots() {
    state_.slots.clear(mode_ == Mode::Remove ? slot::kRemoveShort : slot::kFlagShort);
}

void ShortSegmentDialog::clearFields() {
    for (QLineEdit* field : {distance_, circleSize_, level_}) field->clear();
    clearSlots();
}

}  // namespace vornel::frontend
