#include "frontend/dialogs/element_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QVBoxLayout>

#include "frontend/compose/selection_list.h"
#include "frontend/dialogs/form_fields.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

ElementDialog::ElementDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("ElementFrm"), QStringLiteral("Input Criteria"), state, prompter, parent) {
    const std::pair<int, const char*> captions[] = {
        {2, "2 - Cells"},   {3, "3 - Lines"},    {4, "4 - Linestring"},        {6, "6 - Shape"},
        {7, "7 - Textnode"}, {11, "11 - Curve"}, {12, "12 - Connected string"}, {16, "16 - Arc"},
        {17, "17 - Text piece "}, {27, "27 - Bspline"}};
    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto& [type, caption] : captions) {
        QCheckBox* box = namedCheck(QStringLiteral("Type%1Chck").arg(type).toUtf8().constData(),
                                    QString::fromUtf8(caption));
        grid->addWidget(box, row % 5, row / 5);
        ++row;
        types_.emplace_back(type, box);
    }
    body()->addLayout(grid);
    loadFromState();
}

void ElementDialog::loadFromState() {
    const ListKind& kind = listKind(ListId::ElementTypes);
    const ListCheck check = checkList(kind, state_.main.list(ListId::ElementTypes));
    const Selection selection = check.ok() ? check.selection : defaultSelection(kind);
    for (auto& [type, box] : types_) box->setChecked(selection.test(static_cast<std::size_t>(type)));
}

bool ElementDialog::apply() {
    const ListKind& kind = listKind(ListId::ElementTypes);
    Selection selection;
    for (const auto& [type, box] : types_) {
        if (box->isChecked()) selection.set(static_cast<std::size_t>(type));
    }
    if (selection.none()) {
        prompter_.inform(toQt(kind.title), toQt(checkList(kind, "").message));
        selection = defaultSelection(kind);
    }
    state_.main.list(ListId::ElementTypes) = compactList(kind, selection);
    return true;
}

void ElementDialog::clearFields() {
    for (auto& [type, box] : types_) box->setChecked(false);
}

}  // namespace vornel::frontend
