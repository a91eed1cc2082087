#pragma once
// Input Symbology: the styles, weights, colors and classes to extract,
// written to the main window's four symbology lists.
#include <array>

#include "frontend/compose/selection_list.h"
#include "frontend/window/option_dialog.h"

class QListWidget;

namespace vornel::frontend {

class SymbologyDialog : public OptionDialog {
    Q_OBJECT
public:
    SymbologyDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override {}
    void clearFields() override;
    void loadFromState() override;

    QListWidget* list(ListId id) const;

private:
    struct Column {
        ListId id;
        QListWidget* list;
        bool hasAllItem;
    };
    std::array<Column, 4> columns_{};
};

}  // namespace vornel::frontend
