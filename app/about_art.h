#pragma once

#include <QIcon>
#include <QImage>

/// The About window's banner, 388 x 96 pixels, drawn here: a blue band with a
/// sheet of small portraits, the program's name and Tagline under it.
QImage AboutBanner(const QString& Tagline);

/// The program's icon, drawn here: a sheet of four portraits on a blue tile,
/// at 16, 32, 48 and 64 pixels.
QIcon ProgramIcon();
