#pragma once

#include "U_CheckDlg.h"
#include "U_DigitalPhotoDlg.h"
#include "U_FrameDlg.h"
#include "U_MainDlg.h"
#include "U_PreviewDlg.h"
#include "U_SettingsDlg.h"
#include "U_SheetOptionsDlg.h"
#include "U_about.h"

/// The program's forms, created in the order the language files rely on
/// (MainDlg, SettingsDlg, previewdlg, AboutDlg, FrameDlg, SheetOptionsDlg,
/// DigitalPhotoDlg, CheckDlg)
/// and wired to the main window. The program and the build step that writes the
/// original-language file both create them here, so the two never differ.
struct TProgramForms {
    TProgramForms();

    TMainDlg MainDlg;
    TSettingsDlg SettingsDlg;   ///< its chooser binds itself to MainDlg's language list
    Tpreviewdlg previewdlg;
    TAboutDlg AboutDlg;
    TFrameDlg FrameDlg;
    TSheetOptionsDlg SheetOptionsDlg;
    TDigitalPhotoDlg DigitalPhotoDlg;
    TCheckDlg CheckDlg;
};

/// The forms name the classic dialog font; the desktop's font stands in.
void SubstituteDesktopFont();
