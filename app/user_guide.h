#pragma once

#include <QString>

class QWidget;

/// The user guide that comes with the program, guide.html: beside the
/// program (a build folder, or a copy of the program in a folder of its
/// own), else in the installed documents found from the program's folder
/// (<prefix>/bin -> <prefix>/share/doc/quorlo). Empty when neither exists.
QString UserGuideFile(const QString& ProgramDir);

/// Has the desktop open the guide of the program in `ProgramDir`. Without
/// the guide, the online help is opened instead; whichever cannot be opened
/// is shown for the user to copy (OpenAddressOrShowIt).
void OpenUserGuide(QWidget* Parent, const QString& ProgramDir);
