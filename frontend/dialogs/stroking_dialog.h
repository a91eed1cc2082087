#pragma once
// Stroking Options: arcs, B-splines and curves stroked into vertices
// ("-sa", "-sb", "-sc"), each with its tolerance.
#include <array>

#include "frontend/window/option_dialog.h"

class QCheckBox;
class QLineEdit;

namespace vornel::frontend {

class StrokingDialog : public OptionDialog {
    Q_OBJECT
public:
    StrokingDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

private:
    struct Kind {
        QCheckBox* box;
        QLineEdit* tolerance;
        const char* caption;
        std::size_t slot;
        const char* option;
        int elementType;
    };
    void toggled(Kind& kind, bool on);

    std::array<Kind, 3> kinds_{};
};

}  // namespace vornel::frontend
