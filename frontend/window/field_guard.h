#pragma once
// Checks a text box when it loses the focus: a failing box shows the check's
// message, is emptied and takes the focus back.
#include <functional>
#include <string>
#include <string_view>

#include <QString>

class QLineEdit;

namespace vornel::frontend {

class Prompter;

using FieldCheck = std::function<std::string(std::string_view)>;

void guardField(QLineEdit* field, Prompter& prompter, const QString& title, FieldCheck check);

std::string toStd(const QString& text);
QString toQt(std::string_view text);

}  // namespace vornel::frontend
