#pragma once

#include <QString>

/// The extension of a file name, dot included: the text from the last "."
/// after the last path delimiter; empty when there is none.
QString ExtractFileExt(const QString& FileName);

/// True for names ending in ".jpg" or ".jpeg", in any case.
bool HasJpegExtension(const QString& FileName);
