#include "frontend/window/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTextStream>
#include <QTime>
#include <QVBoxLayout>

#include "frontend/compose/field_checks.h"
#include "frontend/compose/slot_numbers.h"
#include "frontend/dialogs/attribute_table_dialog.h"
#include "frontend/dialogs/diagnostic_dialog.h"
#include "frontend/dialogs/element_dialog.h"
#include "frontend/dialogs/field_list_dialog.h"
#include "frontend/dialogs/join_dialog.h"
#include "frontend/dialogs/level_dialog.h"
#include "frontend/dialogs/manipulation_dialog.h"
#include "frontend/dialogs/output_symbology_dialog.h"
#include "frontend/dialogs/short_segment_dialog.h"
#include "frontend/dialogs/stroking_dialog.h"
#include "frontend/dialogs/symbology_dialog.h"
#include "frontend/window/driver_run.h"
#include "frontend/window/field_guard.h"
#include "frontend/window/message_box_prompter.h"
#include "frontend/window/prompter.h"

namespace vornel::frontend {

namespace {

constexpr const char* kRunTitle = "Run VORNEL";
constexpr const char* kHelpFile = "vornelf-help.html";

// Asks the composer's questions through the window's prompter.
class PrompterQuestions : public Questions {
public:
    explicit PrompterQuestions(Prompter& prompter) : prompter_(prompter) {}
    bool askYesNo(std::string_view title, std::string_view text) override {
        return prompter_.askYesNo(toQt(title), toQt(text));
    }

private:
    Prompter& prompter_;
};

QRadioButton* namedRadio(const char* name, const char* caption) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption));
    radio->setObjectName(QString::fromUtf8(name));
    return radio;
}

QCheckBox* namedCheckBox(const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

QPushButton* namedButton(const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromUtf8(name));
    return button;
}

void setBold(QPushButton* button, bool bold) {
    QFont font = button->font();
    font.setBold(bold);
    button->setFont(font);
}

// A program that shows the system's information, when one is installed.
QString systemInfoProgram() {
    for (const char* name : {"hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromUtf8(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

}  // namespace

MainWindow::MainWindow(Prompter* prompter, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), run_(new DriverRun(this)) {
    if (prompter_ == nullptr) {
        ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(QStringLiteral("Vornel Interface"));
    buildControls();
    buildDialogs();
    buildMenus();
    showMain();

    connect(run_, &DriverRun::output, this, [this](const QString& text) {
        runOutput_->moveCursor(QTextCursor::End);
        runOutput_->insertPlainText(text);
        runOutput_->moveCursor(QTextCursor::End);
    });
    connect(run_, &DriverRun::finished, this,
            [this](const RunOutcome& outcome) { runEnded(toQt(outcomeText(outcome))); });
    connect(run_, &DriverRun::failedToStart, this, [this](const QString& reason) {
        runEnded(QStringLiteral("The driver could not be started: ") + reason);
    });
}

MainWindow::~MainWindow() = default;

QString MainWindow::versionText() {
    return QStringLiteral("ver %1.%2.%3").arg(VORNEL_VERSION_MAJOR).arg(VORNEL_VERSION_MINOR).arg(VORNEL_VERSION_PATCH);
}

void MainWindow::buildControls() {
    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    // Input file.
    auto* input = new QGroupBox(QStringLiteral("Input file"));
    auto* inputLayout = new QGridLayout(input);
    dgnOpt_ = namedRadio("DgnOpt", "dgn input file");
    ulfOpt_ = namedRadio("UlfOpt", "ulf input file");
    auto* typeGroup = new QButtonGroup(this);
    typeGroup->addButton(dgnOpt_);
    typeGroup->addButton(ulfOpt_);
    inputTxt_ = new QLineEdit;
    inputTxt_->setObjectName(QStringLiteral("InputTxt"));
    inputTxt_->setMinimumWidth(280);
    auto* browse = namedButton("BrowseCmd", "Browse");
    inputLayout->addWidget(dgnOpt_, 0, 0);
    inputLayout->addWidget(ulfOpt_, 0, 1);
    inputLayout->addWidget(inputTxt_, 1, 0, 1, 2);
    inputLayout->addWidget(browse, 1, 2);
    left->addWidget(input);

    // Selection lists with their pickers.
    auto* selection = new QGroupBox(QStringLiteral("Selection criteria"));
    auto* selectionLayout = new QGridLayout(selection);
    const std::array<std::tuple<ListId, const char*, const char*, const char*>, 6> lists{{
        {ListId::Levels, "LvlTxt", "LvlCmd", "levels"},
        {ListId::ElementTypes, "EleTxt", "EleCmd", "elements"},
        {ListId::Styles, "StyTxt", "StyCmd", "styles"},
        {ListId::Weights, "WtTxt", "WtCmd", "weights"},
        {ListId::Colors, "CoTxt", "CoCmd", "colors"},
        {ListId::Classes, "ClTxt", "ClCmd", "classes"},
    }};
    std::array<QPushButton*, 6> pickers{};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const auto& [id, textName, buttonName, caption] = lists[i];
        auto* text = new QLineEdit;
        text->setObjectName(QString::fromUtf8(textName));
        pickers[i] = namedButton(buttonName, caption);
        pickers[i]->setMinimumWidth(90);
        selectionLayout->addWidget(pickers[i], static_cast<int>(i), 0);
        selectionLayout->addWidget(text, static_cast<int>(i), 1);
        listTxt_[i] = text;
        connect(text, &QLineEdit::editingFinished, this, [this, listId = id] { listEdited(listId); });
    }
    left->addWidget(selection);

    // Output choices.
    auto* output = new QGroupBox(QStringLiteral("Output"));
    auto* outputLayout = new QGridLayout(output);
    genLinOpt_ = namedRadio("GenLinOpt", "Generate lines and linestrings");
    curveOpt_ = namedRadio("CurveOpt", "Generate curve elements");
    bsplineOpt_ = namedRadio("BsplineOpt", "Generate bspline curve elements");
    noOutOpt_ = namedRadio("NOOpt", "Do not output linear data");
    complexChck_ = namedCheckBox("ComplexChck", "Output complex elements");
    removeShortChck_ = namedCheckBox("OChck", "Remove short segments");
    saveChck_ = namedCheckBox("SaveChck", "Save original linework ");
    vertChck_ = namedCheckBox("VertChck", "Limit # of vertices:");
    vertTxt_ = new QLineEdit;
    vertTxt_->setObjectName(QStringLiteral("VertTxt"));
    vertTxt_->setMaximumWidth(60);
    auto* outputGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {genLinOpt_, curveOpt_, bsplineOpt_, noOutOpt_}) outputGroup->addButton(radio);
    outputLayout->addWidget(genLinOpt_, 0, 0);
    outputLayout->addWidget(curveOpt_, 1, 0);
    outputLayout->addWidget(bsplineOpt_, 2, 0);
    outputLayout->addWidget(noOutOpt_, 3, 0);
    outputLayout->addWidget(complexChck_, 0, 1, 1, 2);
    outputLayout->addWidget(removeShortChck_, 1, 1, 1, 2);
    outputLayout->addWidget(saveChck_, 2, 1, 1, 2);
    outputLayout->addWidget(vertChck_, 3, 1);
    outputLayout->addWidget(vertTxt_, 3, 2);
    left->addWidget(output);

    // Symbology and attributes.
    auto* symbology = new QGroupBox(QStringLiteral("Symbology and attributes"));
    auto* symbologyLayout = new QGridLayout(symbology);
    insymChck_ = namedCheckBox("InsymChck", "Use original symbology");
    overrideChck_ = namedCheckBox("OverrideChck", "Override input symbology");
    randomColors_ = namedCheckBox("RcolorsCmd", "Random colors");
    stackOpt_ = namedRadio("StackOpt", "Stack attributes");
    stripOpt_ = namedRadio("StripOpt", "Strip attribute linkages");
    removeOpt_ = namedRadio("RemoveOpt", "Remove duplicate linkages");
    auto* attributeGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {stackOpt_, stripOpt_, removeOpt_}) attributeGroup->addButton(radio);
    symbologyLayout->addWidget(insymChck_, 0, 0);
    symbologyLayout->addWidget(overrideChck_, 1, 0);
    symbologyLayout->addWidget(randomColors_, 2, 0);
    symbologyLayout->addWidget(stackOpt_, 0, 1);
    symbologyLayout->addWidget(stripOpt_, 1, 1);
    symbologyLayout->addWidget(removeOpt_, 2, 1);
    left->addWidget(symbology);

    // Option dialogs ("set" buttons) on the right.
    auto* options = new QGroupBox(QStringLiteral("Processing options"));
    auto* optionsLayout = new QGridLayout(options);
    const std::array<std::pair<const char*, const char*>, 6> sets{{
        {"JoinSetCmd", "Join options"},
        {"DiagSetCmd", "Diagnostic options"},
        {"ManipSetCmd", "Data manipulation & cleaning"},
        {"StrokeSetCmd", "Stroking options"},
        {"DBSetCmd", "Database options"},
        {"LabelSetCmd", "Label options"},
    }};
    for (std::size_t i = 0; i < sets.size(); ++i) {
        auto* button = namedButton(sets[i].first, "set");
        button->setFixedWidth(60);
        optionsLayout->addWidget(new QLabel(QString::fromUtf8(sets[i].second)), static_cast<int>(i), 0);
        optionsLayout->addWidget(button, static_cast<int>(i), 1);
    }
    right->addWidget(options);

    // Run panel: what the driver prints while it runs.
    auto* runBox = new QGroupBox(QStringLiteral("Run"));
    auto* runLayout = new QVBoxLayout(runBox);
    runStatus_ = new QLabel(QStringLiteral("Ready"));
    runStatus_->setObjectName(QStringLiteral("RunStatusLbl"));
    runStatus_->setWordWrap(true);
    runOutput_ = new QPlainTextEdit;
    runOutput_->setObjectName(QStringLiteral("RunOutputTxt"));
    runOutput_->setReadOnly(true);
    runOutput_->setMinimumHeight(140);
    runOutput_->setFont(QFont(QStringLiteral("monospace")));
    stopCmd_ = namedButton("StopCmd", "Stop");
    stopCmd_->setEnabled(false);
    runBusy_ = new QProgressBar;
    runBusy_->setObjectName(QStringLiteral("RunBusyBar"));
    runBusy_->setRange(0, 0);  // a run has no known length: a busy indicator
    runBusy_->setMaximumHeight(12);
    runBusy_->setTextVisible(false);
    runBusy_->hide();
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(runStatus_, 1);
    statusRow->addWidget(stopCmd_);
    runLayout->addLayout(statusRow);
    runLayout->addWidget(runBusy_);
    runLayout->addWidget(runOutput_, 1);
    right->addWidget(runBox, 1);

    logChck_ = namedCheckBox("LogChck", "save command line to log file");
    right->addWidget(logChck_);
    auto* buttons = new QHBoxLayout;
    auto* clear = namedButton("ClearCmd", "Clear");
    runCmd_ = namedButton("RunCmd", "Run VORNEL");
    auto* exit = namedButton("ExitCmd", "Exit");
    buttons->addWidget(clear);
    buttons->addWidget(runCmd_);
    buttons->addWidget(exit);
    right->addLayout(buttons);
    auto* version = new QLabel(versionText());
    version->setObjectName(QStringLiteral("VersionLbl"));
    version->setAlignment(Qt::AlignRight);
    right->addWidget(version);
    setCentralWidget(central);

    // Reactions.
    connect(browse, &QPushButton::clicked, this, &MainWindow::browse);
    connect(clear, &QPushButton::clicked, this, &MainWindow::clearAll);
    connect(runCmd_, &QPushButton::clicked, this, &MainWindow::runVornel);
    connect(stopCmd_, &QPushButton::clicked, this, &MainWindow::stopRun);
    connect(exit, &QPushButton::clicked, this, &MainWindow::close);
    connect(complexChck_, &QCheckBox::toggled, this, &MainWindow::complexToggled);
    connect(insymChck_, &QCheckBox::toggled, this, &MainWindow::originalSymbologyToggled);
    connect(overrideChck_, &QCheckBox::toggled, this, &MainWindow::overrideSymbologyToggled);
    connect(vertChck_, &QCheckBox::toggled, this, &MainWindow::limitVerticesToggled);
    connect(vertTxt_, &QLineEdit::editingFinished, this, &MainWindow::vertexCountEdited);
    connect(saveChck_, &QCheckBox::toggled, this, &MainWindow::saveOriginalToggled);
    connect(removeShortChck_, &QCheckBox::toggled, this, &MainWindow::removeShortToggled);
    for (QRadioButton* radio : {dgnOpt_, ulfOpt_, genLinOpt_, curveOpt_, bsplineOpt_, noOutOpt_, stackOpt_,
                                stripOpt_, removeOpt_}) {
        connect(radio, &QRadioButton::toggled, this, &MainWindow::captureMain);
    }
    for (QCheckBox* box : {randomColors_, logChck_}) connect(box, &QCheckBox::toggled, this, &MainWindow::captureMain);
    connect(inputTxt_, &QLineEdit::textChanged, this, &MainWindow::captureMain);

    // Pickers open their dialogs once those exist.
    connect(pickers[0], &QPushButton::clicked, this, [this] { openDialog(levels_); });
    connect(pickers[1], &QPushButton::clicked, this, [this] { openDialog(elements_); });
    for (std::size_t i = 2; i < pickers.size(); ++i) {
        connect(pickers[i], &QPushButton::clicked, this,
                [this] { openDialog(symbology_); });
    }
}

void MainWindow::buildDialogs() {
    Prompter& prompter = *prompter_;
    join_ = new JoinDialog(state_, prompter, this);
    shortSegments_ = new ShortSegmentDialog(state_, prompter, this);
    diagnostics_ = new DiagnosticDialog(state_, prompter, *shortSegments_, this);
    outputSymbology_ = new OutputSymbologyDialog(state_, prompter, this);
    levels_ = new LevelDialog(state_, prompter, this);
    elements_ = new ElementDialog(state_, prompter, this);
    symbology_ = new SymbologyDialog(state_, prompter, this);
    auto* manipulation = new ManipulationDialog(state_, prompter, this);
    auto* stroking = new StrokingDialog(state_, prompter, this);
    auto* database = new DatabaseDialog(state_, prompter, this);
    auto* labels = new LabelDialog(state_, prompter, this);

    const std::array<std::pair<OptionDialog*, const char*>, 6> withSetButtons{{
        {join_, "JoinSetCmd"},
        {diagnostics_, "DiagSetCmd"},
        {manipulation, "ManipSetCmd"},
        {stroking, "StrokeSetCmd"},
        {database, "DBSetCmd"},
        {labels, "LabelSetCmd"},
    }};
    for (const auto& [dialog, buttonName] : withSetButtons) {
        auto* button = findChild<QPushButton*>(QString::fromUtf8(buttonName));
        setButtons_[dialog] = button;
        connect(button, &QPushButton::clicked, this, [this, dialog = dialog, button] { openDialog(dialog, button); });
    }
    for (OptionDialog* dialog : std::initializer_list<OptionDialog*>{
             join_, join_->attributeTable(), shortSegments_, diagnostics_, outputSymbology_, levels_, elements_,
             symbology_, manipulation, stroking, database, labels}) {
        dialogs_[dialog->objectName()] = dialog;
        connect(dialog, &OptionDialog::stateChanged, this, &MainWindow::showMain);
        connect(dialog, &OptionDialog::editingEnded, this, [this, dialog] {
            if (auto found = setButtons_.find(dialog); found != setButtons_.end()) setBold(found->second, false);
        });
    }
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Open Dgn File"), this, [this] {
        dgnOpt_->setChecked(true);
        browse();
    });
    file->addAction(QStringLiteral("Open Ulf File"), this, [this] {
        ulfOpt_->setChecked(true);
        browse();
    });
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), this, &MainWindow::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(QStringLiteral("Clear"), this, &MainWindow::clearAll);

    QMenu* input = menuBar()->addMenu(QStringLiteral("&Input"));
    QMenu* criteria = input->addMenu(QStringLiteral("Selection Criteria"));
    criteria->addAction(QStringLiteral("Levels"), QKeySequence(QStringLiteral("Ctrl+E")), this,
                        [this] { openDialog(levels_); });
    criteria->addAction(QStringLiteral("Elements"), QKeySequence(QStringLiteral("Ctrl+L")), this,
                        [this] { openDialog(elements_); });
    criteria->addAction(QStringLiteral("Symbology"), QKeySequence(QStringLiteral("Ctrl+S")), this,
                        [this] { openDialog(symbology_); });

    QMenu* run = menuBar()->addMenu(QStringLiteral("&Run"));
    run->addAction(QStringLiteral("View command line"), this, &MainWindow::viewCommandLine);
    runAction_ = run->addAction(QStringLiteral("Run VORNEL"), this, &MainWindow::runVornel);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Help Contents"), this, &MainWindow::showHelp);
    help->addAction(QStringLiteral("About"), this, &MainWindow::showAbout);
}

OptionDialog* MainWindow::dialog(const QString& formName) const {
    const auto found = dialogs_.find(formName);
    return found == dialogs_.end() ? nullptr : found->second;
}

QStringList MainWindow::dialogNames() const {
    QStringList names;
    for (const auto& entry : dialogs_) names << entry.first;
    return names;
}

// Widgets to state: every change of a main-window control lands in the state
// at once, so the dialogs and the composer always read the current choices.
void MainWindow::captureMain() {
    MainChoices& main = state_.main;
    main.inputType = ulfOpt_->isChecked() ? InputType::Ulf : dgnOpt_->isChecked() ? InputType::Dgn : InputType::None;
    main.inputFile = toStd(inputTxt_->text());
    main.output = curveOpt_->isChecked()     ? OutputKind::Curves
                  : bsplineOpt_->isChecked() ? OutputKind::Bsplines
                  : noOutOpt_->isChecked()   ? OutputKind::NoOutput
                                             : OutputKind::Lines;
    main.complexOutput = complexChck_->isChecked();
    main.removeShortSegments = removeShortChck_->isChecked();
    main.saveOriginal = saveChck_->isChecked();
    main.limitVertices = vertChck_->isChecked();
    main.vertexCount = toStd(vertTxt_->text());
    main.useOriginalSymbology = insymChck_->isChecked();
    main.overrideSymbology = overrideChck_->isChecked();
    main.randomColors = randomColors_->isChecked();
    main.attributes = stripOpt_->isChecked()    ? AttributeChoice::Strip
                      : removeOpt_->isChecked() ? AttributeChoice::RemoveDuplicates
                                                : AttributeChoice::Stack;
    main.saveLog = logChck_->isChecked();
}

// State to widgets, without setting off the widgets' own reactions.
void MainWindow::showMain() {
    const MainChoices& main = state_.main;
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* object : std::initializer_list<QObject*>{
             dgnOpt_, ulfOpt_, inputTxt_, genLinOpt_, curveOpt_, bsplineOpt_, noOutOpt_, complexChck_,
             removeShortChck_, saveChck_, vertChck_, vertTxt_, insymChck_, overrideChck_, randomColors_, stackOpt_,
             stripOpt_, removeOpt_, logChck_}) {
        blockers.push_back(std::make_unique<QSignalBlocker>(object));
    }
    // Neither input type is chosen at start; exclusive groups cannot show that.
    for (QRadioButton* radio : {dgnOpt_, ulfOpt_}) {
        radio->group()->setExclusive(false);
        radio->setChecked(false);
        radio->group()->setExclusive(true);
    }
    dgnOpt_->setChecked(main.inputType == InputType::Dgn);
    ulfOpt_->setChecked(main.inputType == InputType::Ulf);
    if (inputTxt_->text() != toQt(main.inputFile)) inputTxt_->setText(toQt(main.inputFile));
    for (std::size_t i = 0; i < listTxt_.size(); ++i) listTxt_[i]->setText(toQt(main.lists[i]));
    genLinOpt_->setChecked(main.output == OutputKind::Lines);
    curveOpt_->setChecked(main.output == OutputKind::Curves);
    bsplineOpt_->setChecked(main.output == OutputKind::Bsplines);
    noOutOpt_->setChecked(main.output == OutputKind::NoOutput);
    noOutOpt_->setEnabled(!main.complexOutput);
    complexChck_->setChecked(main.complexOutput);
    removeShortChck_->setChecked(main.removeShortSegments);
    saveChck_->setChecked(main.saveOriginal);
    vertChck_->setChecked(main.limitVertices);
    vertTxt_->setText(toQt(main.vertexCount));
    vertTxt_->setVisible(main.limitVertices);
    insymChck_->setChecked(main.useOriginalSymbology);
    overrideChck_->setChecked(main.overrideSymbology);
    randomColors_->setChecked(main.randomColors);
    stackOpt_->setChecked(main.attributes == AttributeChoice::Stack);
    stripOpt_->setChecked(main.attributes == AttributeChoice::Strip);
    removeOpt_->setChecked(main.attributes == AttributeChoice::RemoveDuplicates);
    logChck_->setChecked(main.saveLog);
}

void MainWindow::openDialog(OptionDialog* dialog, QPushButton* setButton) {
    if (dialog == nullptr) return;
    flushListEdits();
    captureMain();
    dialog->loadFromState();
    if (setButton != nullptr) setBold(setButton, true);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void MainWindow::listEdited(ListId id) {
    const ListKind& kind = listKind(id);
    QLineEdit* text = listTxt_[static_cast<std::size_t>(id)];
    const ListCheck check = checkList(kind, toStd(text->text()));
    if (check.ok()) {
        text->setText(toQt(check.text));
        state_.main.list(id) = check.text;
        return;
    }
    prompter_->inform(toQt(kind.title), toQt(check.message));
    state_.main.list(id) = std::string(kind.defaultText);
    text->setText(toQt(kind.defaultText));
    text->setFocus();
}

// A list still being typed in (a menu shortcut does not take the focus) is
// checked before anything reads the lists.
void MainWindow::flushListEdits() {
    for (std::size_t i = 0; i < listTxt_.size(); ++i) {
        if (toStd(listTxt_[i]->text()) != state_.main.lists[i]) listEdited(static_cast<ListId>(i));
    }
}

void MainWindow::complexToggled(bool on) {
    if (on && (noOutOpt_->isChecked() || bsplineOpt_->isChecked())) genLinOpt_->setChecked(true);
    noOutOpt_->setEnabled(!on);
    captureMain();
}

void MainWindow::originalSymbologyToggled(bool on) {
    if (on) {
        const QSignalBlocker blocker(overrideChck_);
        overrideChck_->setChecked(false);
        state_.slots.clear(slot::kOutputSymbology);
    }
    captureMain();
}

void MainWindow::overrideSymbologyToggled(bool on) {
    if (on) {
        const QSignalBlocker blocker(insymChck_);
        insymChck_->setChecked(false);
        captureMain();
        openDialog(outputSymbology_);
        return;
    }
    state_.slots.clear(slot::kOutputSymbology);
    captureMain();
}

void MainWindow::limitVerticesToggled(bool on) {
    vertTxt_->setVisible(on);
    if (on) {
        vertTxt_->setFocus();
    } else {
        vertTxt_->clear();
    }
    captureMain();
}

void MainWindow::vertexCountEdited() {
    const std::string message = checkCountField(toStd(vertTxt_->text()));
    if (!message.empty()) {
        prompter_->inform(QStringLiteral("Limit vertices"), toQt(message));
        vertTxt_->clear();
        vertTxt_->setFocus();
        captureMain();
        return;
    }
    if (vertTxt_->text().isEmpty()) vertChck_->setChecked(false);
    captureMain();
}

void MainWindow::saveOriginalToggled(bool on) {
    captureMain();
    if (!on) return;
    const QString title = QStringLiteral("Save original linework");
    if (state_.storedOutputLevel.empty()) {
        if (prompter_->askOkCancel(title, QStringLiteral("An output level for the modified linework\n"
                                                         "has not been set.  It is required for this option.\n"
                                                         "To set the output level click OK"))) {
            openDialog(join_, setButtons_[join_]);
            join_->chooseOutputLevel();
        } else {
            saveChck_->setChecked(false);
        }
        return;
    }
    if (!prompter_->askOkCancel(title, QStringLiteral("Modified linework will be placed on level: %1\n"
                                                      "If this is correct, click OK\n"
                                                      "To set the output level, click CANCEL")
                                           .arg(toQt(state_.storedOutputLevel)))) {
        openDialog(join_, setButtons_[join_]);
        join_->chooseOutputLevel();
    }
}

void MainWindow::removeShortToggled(bool on) {
    captureMain();
    if (!on) {
        state_.slots.clear(slot::kRemoveShort);
        return;
    }
    if (diagnostics_->flagsShortSegments()) {
        if (!prompter_->askYesNo(QStringLiteral("short segments"),
                                 QStringLiteral("You have already selected the option to flag short segments\n"
                                                "Would you rather remove short segments?"))) {
            removeShortChck_->setChecked(false);
            return;
        }
        diagnostics_->dropShortSegmentFlag();
    }
    shortSegments_->setMode(ShortSegmentDialog::Mode::Remove);
    openDialog(shortSegments_);
}

ComposeResult MainWindow::composeCommandLine() {
    flushListEdits();
    captureMain();
    PrompterQuestions questions(*prompter_);
    ComposeResult result = compose(state_, questions);
    showMain();
    if (!result.ok()) {
        if (!result.message.empty()) prompter_->inform(toQt(result.title), toQt(result.message));
        focusAfterFailure(result.focus);
    }
    return result;
}

void MainWindow::focusAfterFailure(ComposeFocus focus) {
    switch (focus) {
        case ComposeFocus::None: return;
        case ComposeFocus::InputFile: inputTxt_->setFocus(); return;
        case ComposeFocus::VertexCount: vertTxt_->setFocus(); return;
        case ComposeFocus::LevelList: listTxt_[0]->setFocus(); return;
        case ComposeFocus::ElementList: listTxt_[1]->setFocus(); return;
        case ComposeFocus::StyleList: listTxt_[2]->setFocus(); return;
        case ComposeFocus::WeightList: listTxt_[3]->setFocus(); return;
        case ComposeFocus::ColorList: listTxt_[4]->setFocus(); return;
        case ComposeFocus::ClassList: listTxt_[5]->setFocus(); return;
    }
}

void MainWindow::viewCommandLine() {
    const ComposeResult result = composeCommandLine();
    if (!result.ok()) return;
    prompter_->inform(QStringLiteral("Current vornel command line"),
                      QStringLiteral("\"") + toQt(result.commandLine) + QStringLiteral("\""));
}

void MainWindow::runVornel() {
    if (run_->isRunning()) return;
    const ComposeResult result = composeCommandLine();
    if (!result.ok()) return;
    if (state_.main.saveLog) {
        prompter_->inform(QString::fromUtf8(kRunTitle), QStringLiteral("command line will be saved to VN_CMD.LOG"));
        appendCommandLog(toQt(result.commandLine));
    }
    QStringList arguments;
    for (const std::string& argument : result.arguments) arguments << toQt(argument);
    runOutput_->clear();
    setRunning(true);
    runStatus_->setText(QStringLiteral("Running: ") + toQt(result.commandLine));
    run_->start(toQt(result.program), arguments);
}

void MainWindow::stopRun() {
    if (!run_->isRunning()) return;
    runStatus_->setText(QStringLiteral("Stopping..."));
    run_->stop();
}

bool MainWindow::isRunning() const { return run_->isRunning(); }

void MainWindow::setRunning(bool running) {
    runCmd_->setEnabled(!running);
    runAction_->setEnabled(!running);
    stopCmd_->setEnabled(running);
    runBusy_->setVisible(running);
}

void MainWindow::runEnded(const QString& text) {
    setRunning(false);
    runStatus_->setText(text);
    prompter_->inform(QString::fromUtf8(kRunTitle), text);
    Q_EMIT runFinished(text);
}

void MainWindow::appendCommandLog(const QString& commandLine) {
    QFile log(QDir::current().filePath(QStringLiteral("VN_CMD.LOG")));
    if (!log.open(QIODevice::Append | QIODevice::Text)) {
        prompter_->inform(QString::fromUtf8(kRunTitle),
                          QStringLiteral("The command log VN_CMD.LOG could not be written: ") + log.errorString());
        return;
    }
    const QLocale locale = QLocale::system();
    QTextStream out(&log);
    out << locale.toString(QDate::currentDate(), QLocale::ShortFormat) << '\n'
        << locale.toString(QTime::currentTime(), QLocale::ShortFormat) << '\n'
        << commandLine << '\n';
}

void MainWindow::browse() {
    captureMain();
    QString start;
    const QString project = qEnvironmentVariable("ACTIVEPROJECT");
    if (!project.isEmpty()) {
        start = project;
        if (state_.main.inputType == InputType::Dgn) start = QDir(project).filePath(QStringLiteral("dgn"));
        if (state_.main.inputType == InputType::Ulf) start = QDir(project).filePath(QStringLiteral("ulf"));
    }
    const QStringList filters{QStringLiteral("All Files (*.*)"), QStringLiteral("Design Files (*.dgn)"),
                              QStringLiteral("ULF Files (*.ulf)")};
    QString selected = filters[0];
    if (state_.main.inputType == InputType::Dgn) selected = filters[1];
    if (state_.main.inputType == InputType::Ulf) selected = filters[2];
    const QString chosen = prompter_->chooseFile(start, filters, selected);
    if (chosen.isEmpty()) return;
    inputTxt_->setText(chosen);
    captureMain();
}

void MainWindow::clearAll() {
    // The dialogs' fields go too, so that none shows an option no slot holds.
    for (auto& [name, dialog] : dialogs_) {
        dialog->clearFields();
        dialog->hide();
    }
    state_.reset();
    showMain();
    for (auto& [dialog, button] : setButtons_) setBold(button, false);
}

// Leaving while the driver runs would orphan the tools it started, so the
// user decides whether to stop the run.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (run_->isRunning() &&
        !prompter_->askYesNo(QString::fromUtf8(kRunTitle),
                             QStringLiteral("VORNEL is still running.  Stop the run and exit?"))) {
        event->ignore();
        return;
    }
    if (run_->isRunning()) run_->stop();
    event->accept();
}

void MainWindow::showHelp() {
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(kHelpFile));
    if (!QFileInfo::exists(path)) {
        prompter_->inform(QStringLiteral("Help"), QStringLiteral("The help file %1 was not found.").arg(path));
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(QStringLiteral("contents"));
    if (!prompter_->openUrl(url)) {
        prompter_->inform(QStringLiteral("Help"), QStringLiteral("The help file %1 could not be opened.").arg(path));
    }
}

void MainWindow::showAbout() {
    prompter_->about(QStringLiteral("About Vornel Interface"),
                     QStringLiteral("Vornel Interface\n%1\n\n"
                                    "Composes the vornel command line from your selection and options, "
                                    "runs the extractor, the sorter and the joiner through the run driver, "
                                    "and reports the outcome.")
                         .arg(versionText()),
                     systemInfoProgram());
}

}  // namespace vornel::frontend
