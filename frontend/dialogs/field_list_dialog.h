#pragma once
// A dialog of named text fields whose values are joined by commas, trailing
// empty fields dropped, into one option: Database Options ("-XY") and Label
// Options ("-label").
#include <vector>

#include "frontend/window/option_dialog.h"

class QLineEdit;

namespace vornel::frontend {

class FieldListDialog : public OptionDialog {
    Q_OBJECT
public:
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

protected:
    FieldListDialog(const QString& formName, const QString& title, std::size_t slotNumber, const char* option,
                    const std::vector<const char*>& captions, FrontState& state, Prompter& prompter,
                    QWidget* parent);
    // A message when the fields are not enough for the option; empty when they are.
    virtual QString missing() const = 0;
    QString field(std::size_t n) const;

private:
    std::size_t slot_;
    const char* option_;
    std::vector<QLineEdit*> fields_;
};

class DatabaseDialog : public FieldListDialog {
    Q_OBJECT
public:
    DatabaseDialog(FrontState& state, Prompter& prompter, QWidget* parent);

protected:
    QString missing() const override;
};

class LabelDialog : public FieldListDialog {
    Q_OBJECT
public:
    LabelDialog(FrontState& state, Prompter& prompter, QWidget* parent);

protected:
    QString missing() const override;
};

}  // namespace vornel::frontend
