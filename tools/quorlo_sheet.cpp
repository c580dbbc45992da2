// quorlo-sheet: the print run of the main window from the command line.
#include "sheet_tool.h"

#include "locale_messages.h"

#include <QGuiApplication>
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
    // Pages are drawn with QPainter, which needs a GUI application but no
    // display: offscreen unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("quorlo-sheet"));
    // Its messages are the window's, in the language of the user's locale.
    UseMessagesOfUserLocale();

    QTextStream out(stdout);
    QTextStream err(stderr);
    // Read when a photo is first analysed; a sheet without framing, check
    // or background never reads them.
    TFaceModels models;
    return SheetToolMain(args, out, err, models);
}
