#pragma once
// Small builders for the dialogs' named controls.
#include <QString>

class QCheckBox;
class QLineEdit;

namespace vornel::frontend {

QLineEdit* namedField(const char* name, int maxWidth = 0);
QCheckBox* namedCheck(const char* name, const QString& caption);

}  // namespace vornel::frontend
