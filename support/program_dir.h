#pragma once

#include <QByteArray>
#include <QString>

/// A path that names the folder `nativePath` (its bytes as the system holds
/// them) for Qt's file functions: the folder's own name when it is valid
/// UTF-8, otherwise "/proc/self/fd/N", a descriptor of the folder held open
/// for the life of the process. Empty when the folder cannot be opened.
QString PathOfNativeDirectory(const QByteArray& nativePath);

/// The folder of the running executable, whatever bytes its name holds.
QString ProgramDirectory();
