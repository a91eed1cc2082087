// The whole chain started from the window: the real driver, extractor,
// sorter, joiner and design host on the bundled contour example.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "frontend/tests/window/scripted_prompter.h"
#include "frontend/window/main_window.h"
#include "frontend/window/option_dialog.h"

using namespace vornel::frontend;

class ChainTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString startDir_;

    static bool make(const char* tool, const char* source, const QString& target) {
        QProcess process;
        process.start(QStringLiteral(VORNEL_BIN_DIR "/") + QString::fromUtf8(tool),
                      {QStringLiteral("make"), QStringLiteral(VORNEL_SOURCE_DIR "/examples/chain/") +
                                                   QString::fromUtf8(source),
                       target});
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        startDir_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_.path()));
        QVERIFY(make("dgntool", "contours.txt", QStringLiteral("contours.dgn")));
        QVERIFY(make("dgndb", "contours_db.txt", QStringLiteral("contours.db")));
        qputenv("PATH", QByteArrayLiteral(VORNEL_BIN_DIR) + ':' + qgetenv("PATH"));
    }
    void cleanupTestCase() { QDir::setCurrent(startDir_); }

    void runFromTheWindowCompletes() {
        ScriptedPrompter prompter;
        MainWindow window(&prompter);
        window.findChild<QLineEdit*>(QStringLiteral("InputTxt"))->setText(QStringLiteral("contours.dgn"));
        auto* levels = window.findChild<QLineEdit*>(QStringLiteral("LvlTxt"));
        levels->setText(QStringLiteral("10,11"));
        Q_EMIT levels->editingFinished();

        OptionDialog* diagnostics = window.dialog(QStringLiteral("DiagFrm"));
        diagnostics->findChild<QCheckBox*>(QStringLiteral("DangleChck"))->setChecked(true);
        diagnostics->findChild<QLineEdit*>(QStringLiteral("DangleLevelTxt"))->setText(QStringLiteral("12"));
        diagnostics->findChild<QLineEdit*>(QStringLiteral("DiameterTxt"))->setText(QStringLiteral("2"));
        QVERIFY(diagnostics->apply());
        OptionDialog* manipulation = window.dialog(QStringLiteral("ManipFrm"));
        manipulation->findChild<QCheckBox*>(QStringLiteral("WeedChck"))->setChecked(true);
        manipulation->findChild<QLineEdit*>(QStringLiteral("DistTolTxt"))->setText(QStringLiteral("0.5"));
        manipulation->findChild<QLineEdit*>(QStringLiteral("LenTolTxt"))->setText(QStringLiteral("0"));
        manipulation->findChild<QLineEdit*>(QStringLiteral("AngTolTxt"))->setText(QStringLiteral("0"));
        QVERIFY(manipulation->apply());

        QCOMPARE(QString::fromStdString(window.composeCommandLine().commandLine),
                 QStringLiteral("perl -S vornel.pl -F contours.dgn -ll 10,11 -W 0.5,0,0 -D 12,2"));
        QSignalSpy finished(&window, &MainWindow::runFinished);
        window.runVornel();
        QVERIFY(finished.wait(120000));
        const QString output = window.findChild<QPlainTextEdit*>(QStringLiteral("RunOutputTxt"))->toPlainText();
        QVERIFY2(finished.front().front().toString() == QStringLiteral("Process Completed Successfully"),
                 qPrintable(finished.front().front().toString() + QStringLiteral("\n") + output));
        QVERIFY2(output.contains(QStringLiteral("60 elements identified")), qPrintable(output));
    }
};

QTEST_MAIN(ChainTest)
#include "chain_test.moc"
