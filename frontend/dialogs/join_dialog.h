#pragma once
// Join Options: which elements may join, and the output or flag level of
// chains that change level.
#include "frontend/window/option_dialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vornel::frontend {

class AttributeTableDialog;

class JoinDialog : public OptionDialog {
    Q_OBJECT
public:
    JoinDialog(FrontState& state, Prompter& prompter, QWidget* parent);
    bool apply() override;
    void clearSlots() override;
    void clearFields() override;

    // Opens with "Join and output to level:" chosen (from "Save original linework ").
    void chooseOutputLevel();
    AttributeTableDialog* attributeTable() const { return attributeTable_; }

private:
    void setNoJoin(bool on);
    void showLevelChoice();

    QCheckBox* graphicGroups_;
    QCheckBox* attributeLinkages_;
    QCheckBox* featureLinkages_;
    QCheckBox* attributeValues_;
    QCheckBox* zRange_;
    QCheckBox* noJoin_;
    QRadioButton* byLevel_;
    QRadioButton* flagMulti_;
    QRadioButton* overrideMulti_;
    QRadioButton* outputTo_;
    QLineEdit* ellipseSize_;
    QLineEdit* flagLevel_;
    QLineEdit* outputLevel_;
    AttributeTableDialog* attributeTable_;
};

}  // namespace vornel::frontend
