// vornelf: the windowed front end of the vornel tool chain.
//
//   vornelf                                 the window
//   vornelf --screenshot FILE.png           renders the main window to a PNG
//   vornelf --screenshot FILE.png --dialog NAME   renders a dialog instead
//
// A screenshot needs no display: the offscreen platform is used when none is
// chosen.
#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>

#include "frontend/window/main_window.h"
#include "frontend/window/option_dialog.h"

namespace {

int renderScreenshot(vornel::frontend::MainWindow& window, const QString& file, const QString& dialogName) {
    QWidget* target = &window;
    if (!dialogName.isEmpty()) {
        vornel::frontend::OptionDialog* dialog = window.dialog(dialogName);
        if (dialog == nullptr) {
            std::fprintf(stderr, "vornelf: unknown dialog '%s'; known: %s\n", qPrintable(dialogName),
                         qPrintable(window.dialogNames().join(QStringLiteral(", "))));
            return 2;
        }
        dialog->loadFromState();
        target = dialog;
    }
    target->show();
    target->adjustSize();
    QApplication::processEvents();
    if (!target->grab().save(file, "PNG")) {
        std::fprintf(stderr, "vornelf: cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

bool wantsScreenshot(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--screenshot") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (wantsScreenshot(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vornelf"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vornel Interface"));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window to FILE (PNG) and exit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption dialog(QStringLiteral("dialog"),
                                    QStringLiteral("With --screenshot: render the dialog NAME (a form name such "
                                                   "as JoinFrm)."),
                                    QStringLiteral("NAME"));
    parser.addOption(screenshot);
    parser.addOption(dialog);
    parser.process(app);

    vornel::frontend::MainWindow window;
    if (parser.isSet(screenshot)) {
        return renderScreenshot(window, parser.value(screenshot), parser.value(dialog));
    }
    window.show();
    return QApplication::exec();
}
