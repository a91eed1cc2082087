#pragma once
// The table and column whose values must match for elements to join ("-NV").
#include "frontend/window/option_dialog.h"

class QLineEdit;

namespace vornel::frontend {

class AttributeTableDialog : public OptionDialog {
    Q_OBJECT
public:
    AttributeTableDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

private:
    QLineEdit* table_;
    QLineEdit* column_;
};

}  // namespace vornel::frontend
