#pragma once
// The program's prompter: modal message boxes and the file dialog.
#include "frontend/window/prompter.h"

namespace vornel::frontend {

class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
    void inform(const QString& title, const QString& text) override;
    bool askYesNo(const QString& title, const QString& text) override;
    bool askOkCancel(const QString& title, const QString& text) override;
    QString chooseFile(const QString& startDir, const QStringList& filters,
                       const QString& selectedFilter) override;
    bool openUrl(const QUrl& url) override;
    void about(const QString& title, const QString& text, const QString& systemInfoProgram) override;

private:
    QWidget* parent_;
};

}  // namespace vornel::frontend
