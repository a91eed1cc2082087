// Window tests under the offscreen platform. Message boxes are answered by a
// scripted prompter; the driver is a tiny stand-in script on PATH.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "frontend/compose/slot_numbers.h"
#include "frontend/dialogs/diagnostic_dialog.h"
#include "frontend/dialogs/level_dialog.h"
#include "frontend/dialogs/short_segment_dialog.h"
#include "frontend/tests/window/scripted_prompter.h"
#include "frontend/window/main_window.h"
#include "frontend/window/option_dialog.h"

using namespace vornel::frontend;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    ScriptedPrompter prompter_;
    std::unique_ptr<MainWindow> window_;
    QTemporaryDir dir_;
    QString designFile_;

    template <typename T>
    T* child(QObject* parent, const char* name) {
        T* found = parent->findChild<T*>(QString::fromUtf8(name));
        if (found == nullptr) qFatal("no child %s", name);
        return found;
    }
    template <typename T>
    T* main(const char* name) { return child<T>(window_.get(), name); }
    OptionDialog* dialog(const char* name) { return window_->dialog(QString::fromUtf8(name)); }
    void type(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        Q_EMIT edit->editingFinished();
    }
    CommandSlots& slots() { return window_->state().slots; }
    std::string slotValue(std::size_t n) { return slots().value(n); }
    void useDesignFile() { main<QLineEdit>("InputTxt")->setText(designFile_); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        designFile_ = dir_.filePath(QStringLiteral("roads.dgn"));
        QFile file(designFile_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    void init() {
        prompter_ = ScriptedPrompter{};
        window_ = std::make_unique<MainWindow>(&prompter_);
        window_->show();
    }
    void cleanup() { window_.reset(); }

    void startState() {
        const char* lists[][2] = {{"LvlTxt", "1-63"}, {"EleTxt", "3,4"}, {"StyTxt", "0-7"},
                                  {"WtTxt", "0-30"},  {"CoTxt", "0-255"}, {"ClTxt", "0,2"}};
        for (const auto& list : lists) QCOMPARE(main<QLineEdit>(list[0])->text(), QString::fromUtf8(list[1]));
        QVERIFY(main<QCheckBox>("InsymChck")->isChecked());
        QVERIFY(main<QRadioButton>("StackOpt")->isChecked());
        QVERIFY(main<QRadioButton>("GenLinOpt")->isChecked());
        QVERIFY(!main<QRadioButton>("DgnOpt")->isChecked());
        QVERIFY(!main<QRadioButton>("UlfOpt")->isChecked());
        QCOMPARE(main<QLabel>("VersionLbl")->text(), QStringLiteral("ver 5.6.0"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Vornel Interface"));
    }

    void selectionListCheck_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("title");
        QTest::newRow("valid kept as typed") << "LvlTxt" << "5,3,4" << "5,3,4" << "";
        QTest::newRow("trailing comma dropped") << "LvlTxt" << "10,11," << "10,11" << "";
        QTest::newRow("reversed range") << "LvlTxt" << "9-3" << "1-63" << "Vornel levels";
        QTest::newRow("bad element type") << "EleTxt" << "5" << "3,4" << "Vornel element types";
        QTest::newRow("blank in classes") << "ClTxt" << "0, 2" << "0,2" << "Vornel classes";
    }
    void selectionListCheck() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(QString, title);
        auto* edit = main<QLineEdit>(box.toUtf8().constData());
        type(edit, typed);
        QCOMPARE(edit->text(), after);
        QCOMPARE(prompter_.lastTitle(), title);
    }

    void complexOutputReplacesNoOutput() {
        main<QRadioButton>("NOOpt")->setChecked(true);
        main<QCheckBox>("ComplexChck")->setChecked(true);
        QVERIFY(main<QRadioButton>("GenLinOpt")->isChecked());
        QVERIFY(!main<QRadioButton>("NOOpt")->isEnabled());
        main<QCheckBox>("ComplexChck")->setChecked(false);
        QVERIFY(main<QRadioButton>("NOOpt")->isEnabled());
    }

    void symbologyChoicesExcludeEachOther() {
        main<QCheckBox>("OverrideChck")->setChecked(true);
        QVERIFY(!main<QCheckBox>("InsymChck")->isChecked());
        OptionDialog* output = dialog("OutSymFrm");
        QVERIFY(output->isVisible());
        child<QComboBox>(output, "ColorCmb")->setCurrentText(QStringLiteral("4"));
        output->applyAndClose();
        QCOMPARE(slots().flag(slot::kOutputSymbology), "-S");
        QCOMPARE(slotValue(slot::kOutputSymbology), ",,4,");
        QVERIFY(main<QCheckBox>("OverrideChck")->isChecked());

        main<QCheckBox>("InsymChck")->setChecked(true);
        QVERIFY(!main<QCheckBox>("OverrideChck")->isChecked());
        QVERIFY(!slots().isSet(slot::kOutputSymbology));

        // Applying with no list set leaves the input symbology alone.
        main<QCheckBox>("OverrideChck")->setChecked(true);
        child<QComboBox>(output, "ColorCmb")->setCurrentIndex(0);
        output->applyAndClose();
        QVERIFY(!main<QCheckBox>("OverrideChck")->isChecked());
        QVERIFY(!slots().isSet(slot::kOutputSymbology));
    }

    void vertexLimitBox() {
        auto* limit = main<QCheckBox>("VertChck");
        auto* count = main<QLineEdit>("VertTxt");
        QVERIFY(count->isHidden());
        limit->setChecked(true);
        QVERIFY(count->isVisible());
        type(count, QStringLiteral("1a"));
        QCOMPARE(prompter_.lastText(), QStringLiteral("The character 'a' is not a number.  Please enter only numbers."));
        QVERIFY(count->text().isEmpty());
        type(count, QString());
        QVERIFY(!limit->isChecked());
        QVERIFY(count->isHidden());
    }

    void saveOriginalAsksForAnOutputLevel() {
        prompter_.answers = {false};
        main<QCheckBox>("SaveChck")->setChecked(true);
        QVERIFY(!main<QCheckBox>("SaveChck")->isChecked());
        QVERIFY(prompter_.lastText().startsWith(QStringLiteral("An output level for the modified linework")));

        prompter_.answers = {true};
        main<QCheckBox>("SaveChck")->setChecked(true);
        OptionDialog* join = dialog("JoinFrm");
        QVERIFY(join->isVisible());
        QVERIFY(child<QRadioButton>(join, "OutputLevelOpt")->isChecked());
        QVERIFY(main<QPushButton>("JoinSetCmd")->font().bold());
        child<QLineEdit>(join, "OutputLevelTxt")->setText(QStringLiteral("5"));
        prompter_.answers = {true};  // remove 5 from the input levels
        join->applyAndClose();
        QVERIFY(!join->isVisible());
        QVERIFY(!main<QPushButton>("JoinSetCmd")->font().bold());
        QCOMPARE(main<QLineEdit>("LvlTxt")->text(), QStringLiteral("1-4,6-63"));
        QCOMPARE(window_->state().storedOutputLevel, "5");

        main<QCheckBox>("SaveChck")->setChecked(false);
        prompter_.answers = {true};
        main<QCheckBox>("SaveChck")->setChecked(true);
        QCOMPARE(prompter_.lastText(), QStringLiteral("Modified linework will be placed on level: 5\nIf this is "
                                                      "correct, click OK\nTo set the output level, click CANCEL"));
    }

    void removeAndFlagShortSegmentsExcludeEachOther() {
        auto* diag = static_cast<DiagnosticDialog*>(dialog("DiagFrm"));
        auto* shortSegments = static_cast<ShortSegmentDialog*>(dialog("ShrtSegFrm"));
        child<QCheckBox>(diag, "FlagShortChck")->setChecked(true);
        QCOMPARE(shortSegments->mode(), ShortSegmentDialog::Mode::Flag);
        child<QLineEdit>(shortSegments, "DistanceTxt")->setText(QStringLiteral("5"));
        child<QLineEdit>(shortSegments, "CircleSizeTxt")->setText(QStringLiteral("1"));
        child<QLineEdit>(shortSegments, "LevelTxt")->setText(QStringLiteral("40"));
        prompter_.answers = {false};  // keep level 40 among the input levels
        QVERIFY(!shortSegments->apply());
        main<QLineEdit>("LvlTxt")->setText(QStringLiteral("1-10"));
        Q_EMIT main<QLineEdit>("LvlTxt")->editingFinished();
        QVERIFY(shortSegments->apply());
        QCOMPARE(slotValue(slot::kFlagShort), "5,40,1");

        prompter_.answers = {false};
        main<QCheckBox>("OChck")->setChecked(true);
        QVERIFY(!main<QCheckBox>("OChck")->isChecked());
        QCOMPARE(slotValue(slot::kFlagShort), "5,40,1");

        prompter_.answers = {true};
        main<QCheckBox>("OChck")->setChecked(true);
        QCOMPARE(prompter_.shown.back().title, QStringLiteral("short segments"));
        QVERIFY(!diag->flagsShortSegments());
        QVERIFY(!slots().isSet(slot::kFlagShort));
        QCOMPARE(shortSegments->mode(), ShortSegmentDialog::Mode::Remove);
        QVERIFY(!child<QLineEdit>(shortSegments, "LevelTxt")->isEnabled());
        QVERIFY(shortSegments->apply());
        QCOMPARE(slots().flag(slot::kRemoveShort), "-O");
        QCOMPARE(slotValue(slot::kRemoveShort), "5");

        // Flagging again while removal is chosen asks the other way round.
        prompter_.answers = {true};
        child<QCheckBox>(diag, "FlagShortChck")->setChecked(true);
        QVERIFY(!main<QCheckBox>("OChck")->isChecked());
        QVERIFY(!slots().isSet(slot::kRemoveShort));
    }

    void joinOptions() {
        OptionDialog* join = dialog("JoinFrm");
        main<QLineEdit>("LvlTxt")->setText(QStringLiteral("1-10"));
        Q_EMIT main<QLineEdit>("LvlTxt")->editingFinished();
        child<QRadioButton>(join, "FlagMultiOpt")->setChecked(true);
        child<QLineEdit>(join, "FlagLevelTxt")->setText(QStringLiteral("12"));
        QVERIFY(!join->apply());
        QCOMPARE(prompter_.lastTitle(), QStringLiteral("Flag multi-level lines"));
        child<QLineEdit>(join, "EllipseSizeTxt")->setText(QStringLiteral("2.5"));
        child<QCheckBox>(join, "GGChck")->setChecked(true);
        QVERIFY(join->apply());
        QCOMPARE(slots().flag(slot::kFlagMultiLevel), "-L");
        QCOMPARE(slotValue(slot::kFlagMultiLevel), "F,12,2.5");
        QCOMPARE(slots().flag(slot::kGraphicGroups), "-g");

        child<QCheckBox>(join, "NChck")->setChecked(true);
        QVERIFY(!child<QCheckBox>(join, "GGChck")->isChecked());
        QVERIFY(!child<QCheckBox>(join, "GGChck")->isEnabled());
        QVERIFY(child<QRadioButton>(join, "ByLevelOpt")->isChecked());
        QVERIFY(!slots().isSet(slot::kGraphicGroups));
        QVERIFY(join->apply());
        QCOMPARE(slots().flag(slot::kNoJoin), "-N");
        QVERIFY(!slots().isSet(slot::kFlagMultiLevel));
        child<QCheckBox>(join, "NChck")->setChecked(false);
        QVERIFY(child<QCheckBox>(join, "GGChck")->isEnabled());

        child<QRadioButton>(join, "OutputLevelOpt")->setChecked(true);
        QVERIFY(!join->apply());
        QCOMPARE(prompter_.lastTitle(), QStringLiteral("Output to level"));

        join->cancelAndClose();
        QVERIFY(!slots().isSet(slot::kNoJoin));
    }

    void levelFieldCheck() {
        OptionDialog* join = dialog("JoinFrm");
        child<QRadioButton>(join, "FlagMultiOpt")->setChecked(true);
        auto* level = child<QLineEdit>(join, "FlagLevelTxt");
        type(level, QStringLiteral("64"));
        QCOMPARE(prompter_.lastText(), QStringLiteral("Level 64 is an invalid level.  Please enter the flagging level again."));
        QVERIFY(level->text().isEmpty());
        type(level, QStringLiteral("x"));
        QCOMPARE(prompter_.lastText(), QStringLiteral("The character 'x' is not a valid level.  Please enter only numbers."));
    }

    void attributeValueTable() {
        OptionDialog* join = dialog("JoinFrm");
        child<QCheckBox>(join, "NVChck")->setChecked(true);
        OptionDialog* table = dialog("NVNameFrm");
        QVERIFY(table->isVisible());
        child<QLineEdit>(table, "TableTxt")->setText(QStringLiteral("roads"));
        QVERIFY(!table->apply());
        QCOMPARE(prompter_.lastText(), QStringLiteral("Both a Tablename and Column are necessary for vornel processing."));
        child<QLineEdit>(table, "ColumnTxt")->setText(QStringLiteral("class"));
        QVERIFY(table->apply());
        QCOMPARE(slotValue(slot::kAttributeValues), "roads,class");
    }

    void fieldListDialogs_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("value");    // empty: nothing written
        QTest::addColumn<QString>("message");  // empty: applied
        QTest::newRow("database table only") << "DBFrm" << QStringList{"lines"} << "lines" << "";
        QTest::newRow("database columns") << "DBFrm" << QStringList{"lines", "slope", "1"} << "lines,slope,1" << "";
        QTest::newRow("database without table") << "DBFrm" << QStringList{"", "slope"} << ""
                                                << "You must specify a tablename to use the vornel database feature.";
        QTest::newRow("database all empty") << "DBFrm" << QStringList{} << "" << "";
        QTest::newRow("label") << "LabelFrm" << QStringList{"roads", "name", "", "2"} << "roads,name,,2" << "";
        QTest::newRow("label without column")
            << "LabelFrm" << QStringList{"roads", "", "", "2"} << ""
            << "You must specify a tablename and column to use the vornel labeling feature.";
        QTest::newRow("label without size") << "LabelFrm" << QStringList{"roads", "name"} << ""
                                            << "You must specify a size to use the vornel labeling feature.";
    }
    void fieldListDialogs() {
        QFETCH(QString, form);
        QFETCH(QStringList, fields);
        QFETCH(QString, value);
        QFETCH(QString, message);
        OptionDialog* options = dialog(form.toUtf8().constData());
        for (int n = 0; n < fields.size(); ++n) {
            child<QLineEdit>(options, QStringLiteral("Field%1Txt").arg(n).toUtf8().constData())->setText(fields[n]);
        }
        const std::size_t number = form == QStringLiteral("DBFrm") ? slot::kDatabase : slot::kLabels;
        QCOMPARE(options->apply(), message.isEmpty());
        QCOMPARE(prompter_.lastText(), message);
        QCOMPARE(QString::fromStdString(slotValue(number)), value);
    }

    void strokingAddsTheElementType() {
        OptionDialog* stroking = dialog("StrokingFrm");
        auto* curves = child<QCheckBox>(stroking, "CurvesChck");
        curves->setChecked(true);
        QCOMPARE(curves->text(), QStringLiteral("Stroke curves tolerance:"));
        QCOMPARE(main<QLineEdit>("EleTxt")->text(), QStringLiteral("3,4,11"));
        type(child<QLineEdit>(stroking, "CurvesTolTxt"), QStringLiteral("0,5"));
        QVERIFY(prompter_.lastText().startsWith(QStringLiteral("The character ',' is not a valid character as a tolerance")));
        child<QLineEdit>(stroking, "CurvesTolTxt")->setText(QStringLiteral("0.5"));
        QVERIFY(stroking->apply());
        QCOMPARE(slots().flag(slot::kStrokeCurves), "-sc");
        QCOMPARE(slotValue(slot::kStrokeCurves), "0.5");
    }

    void zeroLengthLevel() {
        OptionDialog* manipulation = dialog("ManipFrm");
        child<QCheckBox>(manipulation, "ZeroChck")->setChecked(true);
        QVERIFY(!manipulation->apply());
        QCOMPARE(prompter_.lastTitle(), QStringLiteral("Move zero-length lines"));
        auto* level = child<QLineEdit>(manipulation, "ZeroLevelTxt");
        level->setText(QStringLiteral("0"));
        prompter_.answers = {false};
        QVERIFY(!manipulation->apply());
        QVERIFY(level->text().isEmpty());
        level->setText(QStringLiteral("0"));
        prompter_.answers = {true};
        child<QCheckBox>(manipulation, "WeedChck")->setChecked(true);
        child<QLineEdit>(manipulation, "DistTolTxt")->setText(QStringLiteral("1"));
        QVERIFY(manipulation->apply());
        QCOMPARE(slotValue(slot::kZeroLength), "0");
        QCOMPARE(slotValue(slot::kWeed), "1,,");
    }

    void inputSymbologyPicker() {
        auto* symbology = dialog("InsymFrm");
        main<QPushButton>("StyCmd")->click();
        QVERIFY(symbology->isVisible());
        auto* styles = child<QListWidget>(symbology, "StyleLst");
        QVERIFY(styles->item(0)->isSelected());  // "0 - 7"
        styles->clearSelection();
        styles->item(2)->setSelected(true);  // 1
        styles->item(3)->setSelected(true);  // 2
        child<QListWidget>(symbology, "WeightLst")->clearSelection();
        symbology->applyAndClose();
        QCOMPARE(main<QLineEdit>("StyTxt")->text(), QStringLiteral("1-2"));
        QCOMPARE(main<QLineEdit>("WtTxt")->text(), QStringLiteral("0-30"));
        QCOMPARE(prompter_.lastText(),
                 QStringLiteral("Vornel requires at least one input weight.  The default are weights: 0-30."));
    }

    void elementPicker() {
        OptionDialog* elements = dialog("ElementFrm");
        main<QPushButton>("EleCmd")->click();
        child<QCheckBox>(elements, "Type16Chck")->setChecked(true);
        child<QCheckBox>(elements, "Type3Chck")->setChecked(false);
        elements->applyAndClose();
        QCOMPARE(main<QLineEdit>("EleTxt")->text(), QStringLiteral("4,16"));
    }

    void levelPickerDragAndEmpty() {
        auto* levels = static_cast<LevelDialog*>(dialog("LevelFrm"));
        main<QLineEdit>("LvlTxt")->setText(QStringLiteral("2"));
        Q_EMIT main<QLineEdit>("LvlTxt")->editingFinished();
        main<QPushButton>("LvlCmd")->click();
        QVERIFY(QTest::qWaitForWindowExposed(levels));
        QVERIFY(levels->levelButton(2)->isChecked());
        QVERIFY(!levels->levelButton(1)->isChecked());

        // Press on 1 (turns it on), drag over 2 and 3: all take the state "on".
        QPushButton* first = levels->levelButton(1);
        const auto centre = [](QPushButton* button) { return button->mapToGlobal(button->rect().center()); };
        const QPointF local = first->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, local, centre(first), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(first, &press);
        for (int level : {2, 3}) {
            const QPoint global = centre(levels->levelButton(level));
            QMouseEvent move(QEvent::MouseMove, first->mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(first, &move);
        }
        QMouseEvent release(QEvent::MouseButtonRelease, local, centre(first), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(first, &release);
        levels->applyAndClose();
        QCOMPARE(main<QLineEdit>("LvlTxt")->text(), QStringLiteral("1-3"));

        levels->show();
        levels->selectAll(false);
        levels->applyAndClose();
        QVERIFY(prompter_.lastText().endsWith(QStringLiteral("  All levels will be selected now.")));
        QCOMPARE(main<QLineEdit>("LvlTxt")->text(), QStringLiteral("1-63"));
    }

    void pendingListEditIsCheckedBeforeComposing() {
        useDesignFile();
        main<QLineEdit>("LvlTxt")->setText(QStringLiteral("7,8"));  // no focus change yet
        window_->viewCommandLine();
        QCOMPARE(prompter_.lastText(), QStringLiteral("\"perl -S vornel.pl -F %1 -ll 7,8\"").arg(designFile_));
    }

    void viewCommandLine() {
        window_->viewCommandLine();
        QCOMPARE(prompter_.lastText(), QStringLiteral("The File Does Not Exist"));
        QVERIFY(main<QLineEdit>("InputTxt")->hasFocus() || !window_->isActiveWindow());

        useDesignFile();
        main<QLineEdit>("EleTxt")->setText(QStringLiteral("3,4,16"));
        Q_EMIT main<QLineEdit>("EleTxt")->editingFinished();
        main<QRadioButton>("CurveOpt")->setChecked(true);
        window_->viewCommandLine();
        QCOMPARE(prompter_.lastTitle(), QStringLiteral("Current vornel command line"));
        QCOMPARE(prompter_.lastText(), QStringLiteral("\"perl -S vornel.pl -F %1 -e 3,4,16 -c\"").arg(designFile_));

        main<QRadioButton>("UlfOpt")->setChecked(true);
        window_->viewCommandLine();
        QVERIFY(prompter_.lastText().startsWith(QStringLiteral("\"perl -S vornel.pl -U ")));
    }

    void levelConflictAnsweredNoComposesNothing() {
        useDesignFile();
        window_->state().outputLevelChosen = true;
        window_->state().storedOutputLevel = std::string(1, '5');
        prompter_.answers = {false};
        window_->viewCommandLine();
        QCOMPARE(prompter_.shown.size(), 1);
        QCOMPARE(prompter_.shown.back().title, QStringLiteral("Input levels vs. output and flagging levels"));
    }

    void browseStartsInTheProjectFolder() {
        const QString project = dir_.filePath(QStringLiteral("project"));
        qputenv("ACTIVEPROJECT", project.toLocal8Bit());
        main<QRadioButton>("DgnOpt")->setChecked(true);
        prompter_.fileAnswer = QString();
        main<QLineEdit>("InputTxt")->setText(QStringLiteral("kept.dgn"));
        window_->browse();
        QCOMPARE(prompter_.fileStartDir, QDir(project).filePath(QStringLiteral("dgn")));
        QCOMPARE(prompter_.fileSelectedFilter, QStringLiteral("Design Files (*.dgn)"));
        QCOMPARE(prompter_.fileFilters.first(), QStringLiteral("All Files (*.*)"));
        QCOMPARE(main<QLineEdit>("InputTxt")->text(), QStringLiteral("kept.dgn"));

        main<QRadioButton>("UlfOpt")->setChecked(true);
        prompter_.fileAnswer = QStringLiteral("/data/a.ulf");
        window_->browse();
        QCOMPARE(prompter_.fileSelectedFilter, QStringLiteral("ULF Files (*.ulf)"));
        QCOMPARE(main<QLineEdit>("InputTxt")->text(), QStringLiteral("/data/a.ulf"));
        qunsetenv("ACTIVEPROJECT");
    }

    void clearReturnsToStart() {
        main<QLineEdit>("LvlTxt")->setText(QStringLiteral("3"));
        Q_EMIT main<QLineEdit>("LvlTxt")->editingFinished();
        main<QCheckBox>("RcolorsCmd")->setChecked(true);
        slots().set(slot::kDangles, "-D", "5,1");
        OptionDialog* join = dialog("JoinFrm");
        child<QCheckBox>(join, "GGChck")->setChecked(true);
        window_->clearAll();
        QVERIFY(!child<QCheckBox>(join, "GGChck")->isChecked());
        QCOMPARE(main<QLineEdit>("LvlTxt")->text(), QStringLiteral("1-63"));
        QVERIFY(!main<QCheckBox>("RcolorsCmd")->isChecked());
        QVERIFY(!slots().isSet(slot::kDangles));
        QVERIFY(main<QCheckBox>("InsymChck")->isChecked());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
