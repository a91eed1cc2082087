#include "frontend/window/message_box_prompter.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

namespace vornel::frontend {

void MessageBoxPrompter::inform(const QString& title, const QString& text) {
    QMessageBox::information(parent_, title, text);
}

bool MessageBoxPrompter::askYesNo(const QString& title, const QString& text) {
    return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool MessageBoxPrompter::askOkCancel(const QString& title, const QString& text) {
    return QMessageBox::question(parent_, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

QString MessageBoxPrompter::chooseFile(const QString& startDir, const QStringList& filters,
                                       const QString& selectedFilter) {
    QFileDialog dialog(parent_, QStringLiteral("Open"), startDir);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(selectedFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool MessageBoxPrompter::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

void MessageBoxPrompter::about(const QString& title, const QString& text, const QString& systemInfoProgram) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent_);
    QPushButton* systemInfo = nullptr;
    if (!systemInfoProgram.isEmpty()) {
        systemInfo = box.addButton(QStringLiteral("System Info..."), QMessageBox::ActionRole);
    }
    box.exec();
    if (systemInfo != nullptr && box.clickedButton() == systemInfo) {
        QProcess::startDetached(systemInfoProgram, {});
    }
}

}  // namespace vornel::frontend
