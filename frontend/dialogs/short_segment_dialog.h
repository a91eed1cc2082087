#pragma once
// Short Segments: the distance below which end segments are removed ("-O")
// or flagged with a circle on a level ("-OF").
#include "frontend/window/option_dialog.h"

class QLineEdit;

namespace vornel::frontend {

class ShortSegmentDialog : public OptionDialog {
    Q_OBJECT
public:
    enum class Mode { Remove, Flag };

    ShortSegmentDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

    // Removal offers only the distance; flagging all three fields.
    void setMode(Mode mode);
    Mode mode() const { return mode_; }

private:
    Mode mode_ = Mode::Remove;
    QLineEdit* distance_;
    QLineEdit* circleSize_;
    QLineEdit* level_;
};

}  // namespace vornel::frontend
