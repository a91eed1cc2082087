#pragma once
// Diagnostic Options: dangle flags ("-D"), short-segment flags, and the
// diagnostic mode text passed as an option of its own.
#include "frontend/window/option_dialog.h"

class QCheckBox;
class QLineEdit;

namespace vornel::frontend {

class ShortSegmentDialog;

class DiagnosticDialog : public OptionDialog {
    Q_OBJECT
public:
    DiagnosticDialog(FrontState& state, Prompter& prompter, ShortSegmentDialog& shortSegments,
                     QWidget* parent);
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

    bool flagsShortSegments() const;
    // Used when the main window switches to removing short segments.
    void dropShortSegmentFlag();

private:
    void flagShortSegmentsToggled(bool on);

    ShortSegmentDialog& shortSegments_;
    QCheckBox* dangles_;
    QLineEdit* dangleLevel_;
    QLineEdit* diameter_;
    QCheckBox* flagShort_;
    QLineEdit* diagnosticMode_;
};

}  // namespace vornel::frontend
