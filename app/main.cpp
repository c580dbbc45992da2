#include "U_MainDlg.h"
#include "U_PreviewDlg.h"
#include "U_UnicodeUtils.h"

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
    // The forms name the classic dialog font; let the desktop's font stand in.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());

    // The forms, in creation order; they live until the program ends.
    TMainDlg MainDlg;
    Tpreviewdlg previewdlg(&MainDlg);
    MainDlg.SetPreviewDialog(&previewdlg);

    MainDlg.show();
    return app.exec();
}
