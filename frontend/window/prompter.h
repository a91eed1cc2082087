#pragma once
// Everything the windows ask of the user or the desktop goes through this
// seam: message boxes, questions, the file dialog, opening the help page.
// The program uses real modal boxes; tests answer from a script.
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace vornel::frontend {

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void inform(const QString& title, const QString& text) = 0;
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    virtual bool askOkCancel(const QString& title, const QString& text) = 0;
    // The chosen file, or an empty string when the user cancels.
    virtual QString chooseFile(const QString& startDir, const QStringList& filters,
                               const QString& selectedFilter) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    // The About box; offers to start the system information program when
    // one is given.
    virtual void about(const QString& title, const QString& text, const QString& systemInfoProgram) = 0;
};

}  // namespace vornel::frontend
