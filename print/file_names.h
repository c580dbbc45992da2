#pragma once

#include <QString>

/// The extension of a file name, dot included: the text from the last "."
/// after the last path delimiter; empty when there is none.
QString ExtractFileExt(const QString& FileName);

/// True for names ending in ".jpg" or ".jpeg", in any case.
bool HasJpegExtension(const QString& FileName);

/// The file of page `Page` (1 first) of `Pages` pages saved under
/// `FileName`: the name itself for a single page, otherwise the name with
/// "-Page" before its extension (page.jpg: page-1.jpg, page-2.jpg, ...).
QString PageFileName(const QString& FileName, int Page, int Pages);
