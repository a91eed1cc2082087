// Running the driver from the window. The driver here is the stand-in script
// in standin/, put first on PATH, which only prints and exits as told.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "frontend/tests/window/scripted_prompter.h"
#include "frontend/window/main_window.h"

using namespace vornel::frontend;

class RunTest : public QObject {
    Q_OBJECT

private:
    ScriptedPrompter prompter_;
    std::unique_ptr<MainWindow> window_;
    QTemporaryDir dir_;
    QString designFile_;
    QString startDir_;

    QString runWith(const QByteArray& behaviour) {
        qputenv("VORNELF_STANDIN", behaviour);
        QSignalSpy finished(window_.get(), &MainWindow::runFinished);
        window_->runVornel();
        if (finished.isEmpty() && !finished.wait(20000)) return QStringLiteral("<no end>");
        return finished.front().front().toString();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        startDir_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_.path()));
        designFile_ = dir_.filePath(QStringLiteral("roads.dgn"));
        QFile file(designFile_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray standin = QByteArrayLiteral(VORNEL_SOURCE_DIR "/frontend/tests/window/standin");
        qputenv("PATH", standin + ':' + qgetenv("PATH"));
    }
    void cleanupTestCase() { QDir::setCurrent(startDir_); }
    void init() {
        prompter_ = ScriptedPrompter{};
        window_ = std::make_unique<MainWindow>(&prompter_);
        window_->findChild<QLineEdit*>(QStringLiteral("InputTxt"))->setText(designFile_);
    }
    void cleanup() { window_.reset(); }

    void exitStatuses_data() {
        QTest::addColumn<QByteArray>("behaviour");
        QTest::addColumn<QString>("shown");
        QTest::newRow("success") << QByteArray("0") << "Process Completed Successfully";
        QTest::newRow("improper option") << QByteArray("3") << "Abnormal Exit, Exit Code: 3";
        QTest::newRow("write failure") << QByteArray("199") << "Abnormal Exit, Exit Code: 199";
        QTest::newRow("minus one") << QByteArray("-1") << "Abnormal Exit, Exit Code: 255";
        QTest::newRow("interrupted") << QByteArray("interrupt") << "Shell was Interupted";
    }
    void exitStatuses() {
        QFETCH(QByteArray, behaviour);
        QFETCH(QString, shown);
        QCOMPARE(runWith(behaviour), shown);
        QCOMPARE(prompter_.lastTitle(), QStringLiteral("Run VORNEL"));
        QCOMPARE(prompter_.lastText(), shown);
        // perl takes "-S vornel.pl" itself; the driver sees the options.
        const QString output =
            window_->findChild<QPlainTextEdit*>(QStringLiteral("RunOutputTxt"))->toPlainText();
        QVERIFY2(output.contains(QStringLiteral("stand-in driver: -F ") + designFile_), qPrintable(output));
    }

    void stopInterruptsTheRun() {
        qputenv("VORNELF_STANDIN", "wait");
        QSignalSpy finished(window_.get(), &MainWindow::runFinished);
        window_->runVornel();
        QVERIFY(window_->isRunning());
        auto* output = window_->findChild<QPlainTextEdit*>(QStringLiteral("RunOutputTxt"));
        QTRY_VERIFY_WITH_TIMEOUT(output->toPlainText().contains(QStringLiteral("stand-in driver")), 10000);
        QVERIFY(window_->findChild<QLabel*>(QStringLiteral("RunStatusLbl"))->text().startsWith(QStringLiteral("Running")));
        window_->runVornel();  // a second run does not start while one runs
        window_->stopRun();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.front().front().toString(), QStringLiteral("Shell was Interupted"));
        QVERIFY(!window_->isRunning());
    }

    void closingWhileRunningAsks() {
        qputenv("VORNELF_STANDIN", "wait");
        QSignalSpy finished(window_.get(), &MainWindow::runFinished);
        window_->show();
        window_->runVornel();
        QVERIFY(window_->isRunning());
        prompter_.answers = {false};
        QVERIFY(!window_->close());
        QVERIFY(window_->isRunning());
        prompter_.answers = {true};
        QVERIFY(window_->close());
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.front().front().toString(), QStringLiteral("Shell was Interupted"));
    }

    void commandLog() {
        QFile::remove(QStringLiteral("VN_CMD.LOG"));
        window_->findChild<QCheckBox*>(QStringLiteral("LogChck"))->setChecked(true);
        QCOMPARE(runWith("0"), QStringLiteral("Process Completed Successfully"));
        QCOMPARE(prompter_.shown.front().text, QStringLiteral("command line will be saved to VN_CMD.LOG"));
        QCOMPARE(runWith("0"), QStringLiteral("Process Completed Successfully"));
        QFile log(QStringLiteral("VN_CMD.LOG"));
        QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[2], QStringLiteral("perl -S vornel.pl -F ") + designFile_);
        QCOMPARE(lines[5], lines[2]);
    }

    void nothingRunsWhenComposingStops() {
        window_->findChild<QLineEdit*>(QStringLiteral("InputTxt"))->setText(dir_.filePath(QStringLiteral("none.dgn")));
        window_->runVornel();
        QVERIFY(!window_->isRunning());
        QCOMPARE(prompter_.lastText(), QStringLiteral("The File Does Not Exist"));
    }
};

QTEST_MAIN(RunTest)
#include "run_test.moc"
