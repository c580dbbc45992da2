#pragma once

#include <QLocale>
#include <QString>

class QWidget;

/// The user guide that comes with the program: beside the program (a build
/// folder, or a copy of the program in a folder of its own), else in the
/// installed documents found from the program's folder (<prefix>/bin ->
/// <prefix>/share/doc/quorlo). In the first of those folders that holds the
/// English guide.html, the guide in Language's language when there is one
/// (guide-pt_BR.html, else guide-pt.html), else guide.html. Empty when
/// neither folder holds a guide.
QString UserGuideFile(const QString& ProgramDir, const QLocale& Language = QLocale());

/// Has the desktop open the guide of the program in `ProgramDir`, in the
/// interface's language (the default locale, which a language switch sets).
/// Without the guide, the online help is opened instead; whichever cannot
/// be opened is shown for the user to copy (OpenAddressOrShowIt).
void OpenUserGuide(QWidget* Parent, const QString& ProgramDir);
