#pragma once
// Input Criteria: the element types to extract, written to the main window's
// element type list.
#include <vector>

#include "frontend/window/option_dialog.h"

class QCheckBox;

namespace vornel::frontend {

class ElementDialog : public OptionDialog {
    Q_OBJECT
public:
    ElementDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override {}
    void clearFields() override;
    void loadFromState() override;

private:
    std::vector<std::pair<int, QCheckBox*>> types_;
};

}  // namespace vornel::frontend
