#pragma once
// Levels: 63 toggle buttons. Pressing on one level and dragging across others
// gives every button passed over the first button's new state.
#include <array>

#include "frontend/window/option_dialog.h"

class QPushButton;

namespace vornel::frontend {

class LevelDialog : public OptionDialog {
    Q_OBJECT
public:
    LevelDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override {}
    void clearFields() override;
    void loadFromState() override;

    QPushButton* levelButton(int level) const { return buttons_.at(static_cast<std::size_t>(level - 1)); }
    void selectAll(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* buttonAt(const QPoint& globalPos) const;

    std::array<QPushButton*, 63> buttons_{};
    bool dragging_ = false;
    bool dragState_ = false;
};

}  // namespace vornel::frontend
