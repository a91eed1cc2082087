#include "frontend/window/field_guard.h"

#include <QLineEdit>
#include <QTimer>

#include "frontend/window/prompter.h"

namespace vornel::frontend {

std::string toStd(const QString& text) { return text.toStdString(); }

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void guardField(QLineEdit* field, Prompter& prompter, const QString& title, FieldCheck check) {
    QObject::connect(field, &QLineEdit::editingFinished, field,
                     [field, &prompter, title, check = std::move(check)] {
                         const std::string message = check(toStd(field->text()));
                         if (message.empty()) return;
                         prompter.inform(title, toQt(message));
                         field->clear();
                         field->setFocus();
                     });
}

}  // namespace vornel::frontend
