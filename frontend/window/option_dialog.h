#pragma once
// The frame every option dialog shares: Apply, Cancel and Clear buttons, the
// shared front-end state it writes, and the prompter it asks through.
#include <QDialog>

#include "frontend/compose/front_state.h"
#include "frontend/compose/dialog_level_conflict.h"

class QBoxLayout;
class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

namespace vornel::frontend {

class Prompter;

class OptionDialog : public QDialog {
    Q_OBJECT
public:
    OptionDialog(const QString& formName, const QString& title, FrontState& state,
                 Prompter& prompter, QWidget* parent);

    // Checks the fields and writes the slots; false keeps the dialog open.
    virtual bool apply() = 0;
    // Clears this dialog's slots.
    virtual void clearSlots() = 0;
    // Empties the fields (and, in most dialogs, the slots) and stays open.
    virtual void clearFields() = 0;
    // Shows the state the dialog reads on opening (selection lists).
    virtual void loadFromState() {}

    void applyAndClose();
    void cancelAndClose();

Q_SIGNALS:
    // The shared state changed: the main window shows it again.
    void stateChanged();
    // Apply or Cancel ended this round of editing.
    void editingEnded();

protected:
    // Asks about a level that is also an input level; Yes removes it from the
    // level list. False when the user keeps it.
    bool settleLevelConflict(DialogLevel kind, const QString& level);

    QVBoxLayout* body() const { return body_; }
    FrontState& state_;
    Prompter& prompter_;

private:
    QVBoxLayout* body_;
};

}  // namespace vornel::frontend
