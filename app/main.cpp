#include "U_FrameDlg.h"
#include "U_MainDlg.h"
#include "U_PreviewDlg.h"
#include "U_SettingsDlg.h"
#include "U_UnicodeUtils.h"
#include "U_about.h"
#include "about_art.h"
#include "start_options.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
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
        out << "quorlo " << GetFileVersionString(QCoreApplication::applicationFilePath()) << '\n';
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
    // The forms name the classic dialog font; the desktop's font stands in.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());

    // The forms, in creation order; they live until the program ends. The
    // settings dialog's chooser binds itself to the main window's language
    // list and builds the list of languages.
    TMainDlg MainDlg;
    TSettingsDlg SettingsDlg(MainDlg.langue);
    Tpreviewdlg previewdlg(&MainDlg);
    TAboutDlg AboutDlg;
    TFrameDlg FrameDlg(&MainDlg);
    MainDlg.SetSettingsDialog(&SettingsDlg);
    MainDlg.SetPreviewDialog(&previewdlg);
    MainDlg.SetAboutDialog(&AboutDlg);
    MainDlg.SetFrameDialog(&FrameDlg);

    // The toolkit has taken its own options (-platform, -style) out by now.
    const TStartOptions options = ParseStartOptions(QApplication::arguments().mid(1));
    if (!options.Photo.isEmpty())
        MainDlg.SetStartPhoto(QFileInfo(options.Photo).absoluteFilePath());

    MainDlg.show();
    return app.exec();
}
