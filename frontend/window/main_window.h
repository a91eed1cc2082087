#pragma once
// The main window: input file, selection lists, output and symbology
// choices, the option dialogs, and composing, viewing and running the
// driver's command line.
#include <array>
#include <map>
#include <memory>

#include <QMainWindow>

#include "frontend/compose/composer.h"
#include "frontend/compose/front_state.h"
#include "frontend/compose/run_outcome.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vornel::frontend {

class DiagnosticDialog;
class DriverRun;
class ElementDialog;
class JoinDialog;
class LevelDialog;
class OptionDialog;
class OutputSymbologyDialog;
class Prompter;
class ShortSegmentDialog;
class SymbologyDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Without a prompter the window asks through real message boxes.
    explicit MainWindow(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    FrontState& state() { return state_; }
    // A dialog by its form name ("JoinFrm", "LevelFrm", ...); null when unknown.
    OptionDialog* dialog(const QString& formName) const;
    QStringList dialogNames() const;

    // The composed command line, or an empty one after a message or a "No".
    ComposeResult composeCommandLine();
    void viewCommandLine();
    void runVornel();
    void stopRun();
    bool isRunning() const;
    void browse();
    void clearAll();
    void showHelp();
    void showAbout();

    static QString versionText();

Q_SIGNALS:
    // The words shown for the run's outcome.
    void runFinished(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildDialogs();
    void captureMain();
    void showMain();
    void openDialog(OptionDialog* dialog, QPushButton* setButton = nullptr);
    void listEdited(ListId id);
    void flushListEdits();
    void complexToggled(bool on);
    void originalSymbologyToggled(bool on);
    void overrideSymbologyToggled(bool on);
    void limitVerticesToggled(bool on);
    void vertexCountEdited();
    void saveOriginalToggled(bool on);
    void removeShortToggled(bool on);
    void setRunning(bool running);
    void runEnded(const QString& text);
    void appendCommandLog(const QString& commandLine);
    void focusAfterFailure(ComposeFocus focus);

    FrontState state_;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_;
    DriverRun* run_;

    QRadioButton* dgnOpt_;
    QRadioButton* ulfOpt_;
    QLineEdit* inputTxt_;
    std::array<QLineEdit*, 6> listTxt_{};
    QRadioButton* genLinOpt_;
    QRadioButton* curveOpt_;
    QRadioButton* bsplineOpt_;
    QRadioButton* noOutOpt_;
    QCheckBox* complexChck_;
    QCheckBox* removeShortChck_;
    QCheckBox* saveChck_;
    QCheckBox* vertChck_;
    QLineEdit* vertTxt_;
    QCheckBox* insymChck_;
    QCheckBox* overrideChck_;
    QCheckBox* randomColors_;
    QRadioButton* stackOpt_;
    QRadioButton* stripOpt_;
    QRadioButton* removeOpt_;
    QCheckBox* logChck_;
    QPushButton* runCmd_;
    QPushButton* stopCmd_;
    QAction* runAction_;
    QLabel* runStatus_;
    QProgressBar* runBusy_;
    QPlainTextEdit* runOutput_;

    JoinDialog* join_;
    ShortSegmentDialog* shortSegments_;
    DiagnosticDialog* diagnostics_;
    OutputSymbologyDialog* outputSymbology_;
    LevelDialog* levels_;
    ElementDialog* elements_;
    SymbologyDialog* symbology_;
    std::map<QString, OptionDialog*> dialogs_;
    std::map<OptionDialog*, QPushButton*> setButtons_;
};

}  // namespace vornel::frontend
