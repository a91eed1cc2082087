#include "frontend/dialogs/form_fields.h"

#include <QCheckBox>
#include <QLineEdit>

namespace vornel::frontend {

QLineEdit* namedField(const char* name, int maxWidth) {
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromUtf8(name));
    if (maxWidth > 0) field->setMaximumWidth(maxWidth);
    return field;
}

QCheckBox* namedCheck(const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

}  // namespace vornel::frontend
