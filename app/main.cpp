#include "U_UnicodeUtils.h"
#include "about_art.h"
#include "licence.h"
#include "program_forms.h"
#include "start_options.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

// --help and --version answer on the terminal: no display, no window.
int answerOnTheTerminal(int argc, char* argv[], const TStartOptions& options)
{
    QCoreApplication core(argc, argv);
    QTextStream out(stdout);
    if (options.Help)
        out << StartUsage();
    else
        out << "quorlo " << GetFileVersionString(QCoreApplication::applicationFilePath()) << '\n'
            << kLicenceLine << '\n';
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Module start-up, before any window: the file-name probe. The picture
    // formats need no start-up of their own; they are known on first use.
    ProbeWideApi();

    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const TStartOptions early = ParseStartOptions(raw); early.Help || early.Version)
        return answerOnTheTerminal(argc, argv, early);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlo"));
    QApplication::setWindowIcon(ProgramIcon());
    SubstituteDesktopFont();

    // The forms live until the program ends.
    TProgramForms forms;
    TMainDlg& MainDlg = forms.MainDlg;

    // The toolkit has taken its own options (-platform, -style) out by now.
    const TStartOptions options = ParseStartOptions(QApplication::arguments().mid(1));
    if (!options.Photo.isEmpty())
        MainDlg.SetStartPhoto(QFileInfo(options.Photo).absoluteFilePath());

    MainDlg.show();
    return app.exec();
}
