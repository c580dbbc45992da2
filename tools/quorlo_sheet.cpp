// quorlo-sheet: the print run of the main window from the command line.
#include "sheet_tool.h"

#include <QApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

// Scripts read one line on stderr when something fails; Qt's notes about
// the environment (no XDG_RUNTIME_DIR, a font missing offscreen) would bury
// it. Its critical and fatal messages still get through.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char* argv[])
{
    // Read before the application object exists, which would take options
    // such as -style or -platform out of the line for itself.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    qInstallMessageHandler(keepQtQuiet);
    // The photo view is a widget; without a display it lives offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("quorlo-sheet"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    return SheetToolMain(args, out, err);
}
