#pragma once
// Answers the windows' questions from a script and records every message,
// so tests never meet a real modal box.
#include <QList>
#include <QPair>
#include <QStringList>

#include "frontend/window/prompter.h"

namespace vornel::frontend {

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString kind;   // "inform", "yesno", "okcancel"
        QString title;
        QString text;
    };

    QList<bool> answers;        // for askYesNo and askOkCancel, in order
    QString fileAnswer;         // what the file dialog returns
    QList<Shown> shown;
    QString fileStartDir;
    QString fileSelectedFilter;
    QStringList fileFilters;
    QList<QUrl> opened;

    void inform(const QString& title, const QString& text) override { shown.append({"inform", title, text}); }
    bool askYesNo(const QString& title, const QString& text) override {
        shown.append({"yesno", title, text});
        return next();
    }
    bool askOkCancel(const QString& title, const QString& text) override {
        shown.append({"okcancel", title, text});
        return next();
    }
    QString chooseFile(const QString& startDir, const QStringList& filters, const QString& selectedFilter) override {
        fileStartDir = startDir;
        fileFilters = filters;
        fileSelectedFilter = selectedFilter;
        return fileAnswer;
    }
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return true;
    }
    void about(const QString& title, const QString& text, const QString&) override {
        shown.append({"about", title, text});
    }

    QString lastText() const { return shown.isEmpty() ? QString() : shown.back().text; }
    QString lastTitle() const { return shown.isEmpty() ? QString() : shown.back().title; }
    void reset() {
        answers.clear();
        shown.clear();
    }

private:
    bool next() { return answers.isEmpty() ? false : answers.takeFirst(); }
};

}  // namespace vornel::frontend
