#include "frontend/dialogs/join_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "frontend/compose/field_checks.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/dialogs/attribute_table_dialog.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

namespace {

QCheckBox* addCheck(QVBoxLayout* layout, const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromUtf8(name));
    layout->addWidget(box);
    return box;
}

QLineEdit* newField(const char* name, int width = 60) {
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromUtf8(name));
    field->setMaximumWidth(width);
    return field;
}

}  // namespace

JoinDialog::JoinDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("JoinFrm"), QStringLiteral("Join Options"), state, prompter, parent) {
    auto* rules = new QGroupBox(QStringLiteral("Joining rules"));
    auto* rulesLayout = new QVBoxLayout(rules);
    graphicGroups_ = addCheck(rulesLayout, "GGChck", "Join linear elements with different graphic groups");
    attributeLinkages_ = addCheck(rulesLayout, "NAChck", "Join linework with identical attribute linkages");
    featureLinkages_ = addCheck(rulesLayout, "NFChck", "Join linework with identical feature linkages");
    attributeValues_ = addCheck(rulesLayout, "NVChck", "Join linework with identical attribute values");
    zRange_ = addCheck(rulesLayout, "ZChck", "Join linework with different zlow/zhigh range values");
    noJoin_ = addCheck(rulesLayout, "NChck", "Do not join linework");
    body()->addWidget(rules);

    auto* levels = new QGroupBox(QStringLiteral("Levels"));
    auto* levelLayout = new QVBoxLayout(levels);
    byLevel_ = new QRadioButton(QStringLiteral("Join by level"));
    byLevel_->setObjectName(QStringLiteral("ByLevelOpt"));
    flagMulti_ = new QRadioButton(QStringLiteral("Join by level and flag multi-level lines"));
    flagMulti_->setObjectName(QStringLiteral("FlagMultiOpt"));
    overrideMulti_ = new QRadioButton(QStringLiteral("Override multi-level lines"));
    overrideMulti_->setObjectName(QStringLiteral("OverrideOpt"));
    outputTo_ = new QRadioButton(QStringLiteral("Join and output to level:"));
    outputTo_->setObjectName(QStringLiteral("OutputLevelOpt"));
    ellipseSize_ = newField("EllipseSizeTxt");
    flagLevel_ = newField("FlagLevelTxt");
    outputLevel_ = newField("OutputLevelTxt");
    levelLayout->addWidget(byLevel_);
    levelLayout->addWidget(flagMulti_);
    auto* flagForm = new QFormLayout;
    flagForm->setContentsMargins(24, 0, 0, 0);
    flagForm->addRow(QStringLiteral("size of ellipses:"), ellipseSize_);
    flagForm->addRow(QStringLiteral("place flags on level:"), flagLevel_);
    levelLayout->addLayout(flagForm);
    levelLayout->addWidget(overrideMulti_);
    auto* outputRow = new QFormLayout;
    outputRow->addRow(outputTo_, outputLevel_);
    levelLayout->addLayout(outputRow);
    body()->addWidget(levels);
    byLevel_->setChecked(true);
    showLevelChoice();

    attributeTable_ = new AttributeTableDialog(state, prompter, this);
    guardField(flagLevel_, prompter, windowTitle(), [](std::string_view text) {
        return checkLevelField(text, LevelPrompt::Flagging);
    });
    guardField(outputLevel_, prompter, windowTitle(), [](std::string_view text) {
        return checkLevelField(text, LevelPrompt::Output);
    });
    guardField(ellipseSize_, prompter, windowTitle(), [](std::string_view text) {
        return checkDecimalField(text, DecimalField::CircleSize);
    });
    for (QRadioButton* choice : {byLevel_, flagMulti_, overrideMulti_, outputTo_}) {
        connect(choice, &QRadioButton::toggled, this, &JoinDialog::showLevelChoice);
    }
    connect(noJoin_, &QCheckBox::toggled, this, &JoinDialog::setNoJoin);
    connect(attributeValues_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            attributeTable_->show();
            attributeTable_->raise();
        }
    });
}

void JoinDialog::showLevelChoice() {
    ellipseSize_->setEnabled(flagMulti_->isChecked());
    flagLevel_->setEnabled(flagMulti_->isChecked());
    outputLevel_->setEnabled(outputTo_->isChecked());
}

void JoinDialog::chooseOutputLevel() {
    outputTo_->setChecked(true);
    outputLevel_->setFocus();
}

void JoinDialog::setNoJoin(bool on) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             graphicGroups_, attributeLinkages_, featureLinkages_, attributeValues_, zRange_, byLevel_,
             flagMulti_, overrideMulti_, outputTo_}) {
        control->setEnabled(!on);
    }
    if (on) {
        byLevel_->setChecked(true);
        for (QLineEdit* field : {ellipseSize_, flagLevel_, outputLevel_}) field->clear();
        for (QCheckBox* box : {graphicGroups_, attributeLinkages_, featureLinkages_, attributeValues_, zRange_}) {
            box->setChecked(false);
        }
        for (std::size_t number : {slot::kGraphicGroups, slot::kAttributeLinkages, slot::kFeatureLinkages,
                                   slot::kAttributeValues, slot::kZRange}) {
            state_.slots.clear(number);
        }
        attributeTable_->clearFields();
    }
    showLevelChoice();
    if (on) {
        ellipseSize_->setEnabled(false);
        flagLevel_->setEnabled(false);
        outputLevel_->setEnabled(false);
    }
    Q_EMIT stateChanged();
}

bool JoinDialog::apply() {
    if (flagMulti_->isChecked() && (flagLevel_->text().isEmpty() || ellipseSize_->text().isEmpty())) {
        prompter_.inform(QStringLiteral("Flag multi-level lines"),
                         QStringLiteral("To flag multi-level lines, you must choose both a flagging "
                                        "circle size and flagging level."));
        return false;
    }
    if (outputTo_->isChecked() && outputLevel_->text().isEmpty()) {
        prompter_.inform(QStringLiteral("Output to level"),
                         QStringLiteral("To output joined linework to another level, you must choose a level."));
        return false;
    }
    if (flagMulti_->isChecked() && !settleLevelConflict(DialogLevel::Flagging, flagLevel_->text())) return false;
    if (outputTo_->isChecked() && !settleLevelConflict(DialogLevel::Output, outputLevel_->text())) return false;

    CommandSlots& slots = state_.slots;
    const auto setIf = [&slots](std::size_t number, bool on, const char* option) {
        if (on) {
            slots.set(number, option);
        } else {
            slots.clear(number);
        }
    };
    setIf(slot::kGraphicGroups, graphicGroups_->isChecked(), "-g");
    setIf(slot::kAttributeLinkages, attributeLinkages_->isChecked(), "-NA");
    setIf(slot::kFeatureLinkages, featureLinkages_->isChecked(), "-NF");
    setIf(slot::kZRange, zRange_->isChecked(), "-z");
    setIf(slot::kNoJoin, noJoin_->isChecked(), "-N");
    if (!attributeValues_->isChecked()) slots.clear(slot::kAttributeValues);

    if (flagMulti_->isChecked()) {
        slots.set(slot::kFlagMultiLevel, "-L",
                  "F," + toStd(flagLevel_->text()) + "," + toStd(ellipseSize_->text()));
    } else {
        slots.clear(slot::kFlagMultiLevel);
    }
    setIf(slot::kOverrideMultiLevel, overrideMulti_->isChecked(), "-L O");
    state_.outputLevelChosen = outputTo_->isChecked();
    state_.storedOutputLevel = outputTo_->isChecked() ? toStd(outputLevel_->text()) : std::string();
    return true;
}

void JoinDialog::clearSlots() {
    for (std::size_t number : {slot::kGraphicGroups, slot::kNoJoin, slot::kAttributeLinkages,
                               slot::kFeatureLinkages, slot::kAttributeValues, slot::kZRange,
                               slot::kFlagMultiLevel, slot::kOverrideMultiLevel}) {
        state_.slots.clear(number);
    }
    state_.outputLevelChosen = false;
    state_.storedOutputLevel.clear();
}

void JoinDialog::clearFields() {
    noJoin_->setChecked(false);
    for (QCheckBox* box : {graphicGroups_, attributeLinkages_, featureLinkages_, attributeValues_, zRange_}) {
        box->setChecked(false);
    }
    byLevel_->setChecked(true);
    for (QLineEdit* field : {ellipseSize_, flagLevel_, outputLevel_}) field->clear();
    clearSlots();
}

}  // namespace vornel::frontend
