#include "program_forms.h"

#include <QFont>
#include <QFontDatabase>

// Members are constructed in declaration order: that is the creation order.
TProgramForms::TProgramForms()
    : SettingsDlg(MainDlg.langue), previewdlg(&MainDlg), FrameDlg(MainDlg.FaceModels(), &MainDlg),
      SheetOptionsDlg(&MainDlg), DigitalPhotoDlg(MainDlg.FaceModels(), &MainDlg),
      CheckDlg(&MainDlg)
{
    MainDlg.SetSettingsDialog(&SettingsDlg);
    MainDlg.SetPreviewDialog(&previewdlg);
    MainDlg.SetAboutDialog(&AboutDlg);
    MainDlg.SetFrameDialog(&FrameDlg);
    MainDlg.SetSheetOptionsDialog(&SheetOptionsDlg);
    MainDlg.SetDigitalPhotoDialog(&DigitalPhotoDlg);
    MainDlg.SetCheckDialog(&CheckDlg);
}

void SubstituteDesktopFont()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
}
