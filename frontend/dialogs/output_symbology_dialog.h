#pragma once
// Output Options: the style, weight, color and class given to output ("-S").
#include <array>

#include "frontend/window/option_dialog.h"

class QComboBox;

namespace vornel::frontend {

class OutputSymbologyDialog : public OptionDialog {
    Q_OBJECT
public:
    OutputSymbologyDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

private:
    std::array<QComboBox*, 4> lists_{};  // style, weight, color, class
};

}  // namespace vornel::frontend
