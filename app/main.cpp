#include "U_MainDlg.h"
#include "U_PreviewDlg.h"
#include "U_SettingsDlg.h"
#include "U_UnicodeUtils.h"
#include "U_about.h"
#include "about_art.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

int main(int argc, char* argv[])
{
    // Module start-up, before any window: the file-name probe. The picture
    // formats need no start-up of their own; they are known on first use.
    ProbeWideApi();

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
    MainDlg.SetSettingsDialog(&SettingsDlg);
    MainDlg.SetPreviewDialog(&previewdlg);
    MainDlg.SetAboutDialog(&AboutDlg);

    MainDlg.show();
    return app.exec();
}
