#include "frontend/dialogs/stroking_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "frontend/compose/field_checks.h"
#include "frontend/compose/selection_list.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/dialogs/form_fields.h"
#include "frontend/window/field_guard.h"

namespace vornel::frontend {

StrokingDialog::StrokingDialog(FrontState& state, Prompter& prompter, QWidget* parent)
    : OptionDialog(QStringLiteral("StrokingFrm"), QStringLiteral("Stroking Options"), state, prompter, parent) {
    kinds_ = {{
        {namedCheck("ArcsChck", QStringLiteral("Stroke arcs")), namedField("ArcsTolTxt", 90), "Stroke arcs",
         slot::kStrokeArcs, "-sa", 16},
        {namedCheck("BsplinesChck", QStringLiteral("Stroke bsplines")), namedField("BsplinesTolTxt", 90),
         "Stroke bsplines", slot::kStrokeBsplines, "-sb", 27},
        {namedCheck("CurvesChck", QStringLiteral("Stroke curves")), namedField("CurvesTolTxt", 90),
         "Stroke curves", slot::kStrokeCurves, "-sc", 11},
    }};
    auto* form = new QFormLayout;
    for (Kind& kind : kinds_) {
        form->addRow(kind.box, kind.tolerance);
        kind.tolerance->setVisible(false);
        connect(kind.box, &QCheckBox::toggled, this, [this, &kind](bool on) { toggled(kind, on); });
        guardField(kind.tolerance, prompter, windowTitle(), [](std::string_view text) {
            return checkDecimalField(text, DecimalField::Tolerance);
        });
    }
    body()->addLayout(form);
}

void StrokingDialog::toggled(Kind& kind, bool on) {
    kind.tolerance->setVisible(on);
    kind.box->setText(QString::fromUtf8(kind.caption) + (on ? QStringLiteral(" tolerance:") : QString()));
    if (!on) {
        kind.tolerance->clear();
        return;
    }
    kind.tolerance->setFocus();
    // Stroking a kind of element needs that kind among the input element types.
    const ListKind& types = listKind(ListId::ElementTypes);
    std::string& list = state_.main.list(ListId::ElementTypes);
    ListCheck check = checkList(types, list);
    Selection selection = check.ok() ? check.selection : defaultSelection(types);
    selection.set(static_cast<std::size_t>(kind.elementType));
    list = compactList(types, selection);
    Q_EMIT stateChanged();
}

bool StrokingDialog::apply() {
    for (const Kind& kind : kinds_) {
        if (kind.box->isChecked()) {
            state_.slots.set(kind.slot, kind.option, toStd(kind.tolerance->text()));
        } else {
            state_.slots.clear(kind.slot);
        }
    }
    return true;
}

void StrokingDialog::clearSlots() {
    for (const Kind& kind : kinds_) state_.slots.clear(kind.slot);
}

void StrokingDialog::clearFields() {
    for (const Kind& kind : kinds_) kind.box->setChecked(false);
    clearSlots();
}

}  // namespace vornel::frontend
