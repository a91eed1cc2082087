#include "frontend/dialogs/diagnostic_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "frontend/compose/field_checks.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/dialogs/form_fields.h"
#include "frontend/dialogs/short_segment_dialog.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

DiagnosticDialog::DiagnosticDialog(FrontState& state, Prompter& prompter, ShortSegmentDialog& shortSegments,
                                   QWidget* parent)
    : OptionDialog(QStringLiteral("DiagFrm"), QStringLiteral("Diagnostic Options"), state, prompter, parent),
      shortSegments_(shortSegments) {
    dangles_ = namedCheck("DangleChck", QStringLiteral("Identify dangles"));
    dangleLevel_ = namedField("DangleLevelTxt", 70);
    diameter_ = namedField("DiameterTxt", 70);
    flagShort_ = namedCheck("FlagShortChck", QStringLiteral("Flag short segments "));
    diagnosticMode_ = namedField("DiagModeTxt", 120);
    body()->addWidget(dangles_);
    auto* dangleForm = new QFormLayout;
    dangleForm->setContentsMargins(24, 0, 0, 0);
    dangleForm->addRow(QStringLiteral("place flags on level:"), dangleLevel_);
    dangleForm->addRow(QStringLiteral(" diameter:"), diameter_);
    body()->addLayout(dangleForm);
    body()->addWidget(flagShort_);
    auto* modeLabel = new QLabel(QStringLiteral("diagnostic mode  (do not use unless requested by QBT):"));
    body()->addWidget(modeLabel);
    body()->addWidget(diagnosticMode_);
    dangleLevel_->setEnabled(false);
    diameter_->setEnabled(false);

    guardField(dangleLevel_, prompter, windowTitle(), [](std::string_view text) {
        return checkLevelField(text, LevelPrompt::Flagging);
    });
    guardField(diameter_, prompter, windowTitle(), [](std::string_view text) {
        return checkDecimalField(text, DecimalField::CircleSize);
    });
    connect(dangles_, &QCheckBox::toggled, this, [this](bool on) {
        dangleLevel_->setEnabled(on);
        diameter_->setEnabled(on);
    });
    connect(flagShort_, &QCheckBox::toggled, this, &DiagnosticDialog::flagShortSegmentsToggled);
}

bool DiagnosticDialog::flagsShortSegments() const { return flagShort_->isChecked(); }

void DiagnosticDialog::dropShortSegmentFlag() {
    const QSignalBlocker blocker(flagShort_);
    flagShort_->setChecked(false);
    state_.slots.clear(slot::kFlagShort);
}

void DiagnosticDialog::flagShortSegmentsToggled(bool on) {
    if (!on) {
        state_.slots.clear(slot::kFlagShort);
        Q_EMIT stateChanged();
        return;
    }
    if (state_.main.removeShortSegments) {
        if (!prompter_.askYesNo(QStringLiteral("short segments"),
                                QStringLiteral("You have already selected the option to remove short segments\n"
                                               "Would you rather flag short segments?"))) {
            const QSignalBlocker blocker(flagShort_);
            flagShort_->setChecked(false);
            return;
        }
        state_.main.removeShortSegments = false;
        state_.slots.clear(slot::kRemoveShort);
        Q_EMIT stateChanged();
    }
    shortSegments_.setMode(ShortSegmentDialog::Mode::Flag);
    shortSegments_.show();
    shortSegments_.raise();
}

bool DiagnosticDialog::apply() {
    if (dangles_->isChecked()) {
        if (dangleLevel_->text().isEmpty() || diameter_->text().isEmpty()) {
            prompter_.inform(QStringLiteral("Flag dangles"),
                             QStringLiteral("To flag dangles, you must choose both a flagging circle size "
                                            "and flagging level."));
            return false;
        }
        if (!settleLevelConflict(DialogLevel::Flagging, dangleLevel_->text())) {
            // Keeping the level as an input level drops the dangle flags.
            dangleLevel_->clear();
            diameter_->clear();
            state_.slots.clear(slot::kDangles);
            return true;
        }
        state_.slots.set(slot::kDangles, "-D", toStd(dangleLevel_->text()) + "," + toStd(diameter_->text()));
    } else {
        state_.slots.clear(slot::kDangles);
    }
    const std::string mode = toStd(diagnosticMode_->text().trimmed());
    if (mode.empty()) {
        state_.slots.clear(slot::kDiagnosticMode);
    } else {
        state_.slots.set(slot::kDiagnosticMode, mode);
    }
    return true;
}

void DiagnosticDialog::clearSlots() {
    state_.slots.clear(slot::kDangles);
    state_.slots.clear(slot::kDiagnosticMode);
}

void DiagnosticDialog::clearFields() {
    dangles_->setChecked(false);
    dangleLevel_->clear();
    diameter_->clear();
    dropShortSegmentFlag();
    diagnosticMode_->clear();
    clearSlots();
}

}  // namespace vornel::frontend
