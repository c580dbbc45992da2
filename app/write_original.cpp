// Build step: writes the program's original-language file into the folder
// given as the only argument, with the code that "quorlo -co" runs, on the
// offscreen platform. The forms are created as the program creates them.
#include "C_LangList.h"
#include "program_forms.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlo"));
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: quorlo-write-original FOLDER\n");
        return 2;
    }
    SubstituteDesktopFont();
    TProgramForms forms;

    TLangList& list = *forms.MainDlg.langue;
    list.SetProgramDir(app.arguments()[1]);
    list.SetCommandLine({app.arguments()[0], QStringLiteral("-co")});
    // Only the file is wanted: no saved language is applied.
    list.SetAutoload(false);
    list.ApplicationActivate();
    return QFileInfo::exists(list.LanguageDir() + QStringLiteral("QRL_ORIGINAL.SPK")) ? 0 : 1;
}
