#pragma once
// Data Manipulation & Cleaning Options: weeding ("-W", "-WZ") and
// zero-length lines ("-Z").
#include "frontend/window/option_dialog.h"

class QCheckBox;
class QLineEdit;

namespace vornel::frontend {

class ManipulationDialog : public OptionDialog {
    Q_OBJECT
public:
    ManipulationDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

private:
    QCheckBox* weed_;
    QLineEdit* distance_;
    QLineEdit* length_;
    QLineEdit* angle_;
    QCheckBox* weedIdentical_;
    QCheckBox* zeroLength_;
    QLineEdit* zeroLevel_;
};

}  // namespace vornel::frontend
