#pragma once

#include <QString>

/// The folders the file dialogs start in, remembered in the user's settings
/// (the program's key, beside the chosen language) from one run to the next.

/// The folder of the last photo loaded, else the user's Pictures folder.
QString PhotoOpenFolder();
void RememberPhotoFolder(const QString& PhotoFile);

/// The folder of the last page saved, else the photo's folder, else the
/// user's Pictures folder.
QString PageSaveFolder(const QString& PhotoFile);
void RememberPageFolder(const QString& PageFile);
