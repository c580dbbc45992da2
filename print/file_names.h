#pragma once

#include <QString>
#include <QStringList>

/// The extension of a file name, dot included: the text from the last "."
/// after the last path delimiter; empty when there is none.
QString ExtractFileExt(const QString& FileName);

/// True for names ending in ".jpg" or ".jpeg", in any case.
bool HasJpegExtension(const QString& FileName);

/// A print job's name, in the queue and as its PDF's title: the program's
/// and the first photo's file name, with how many more photos share the
/// sheet ("Quorlo – portrait.jpg + 2"); the program's alone without photos.
/// The same from the window and the command line, whatever either is called.
QString PrintJobTitle(const QStringList& Photos);

/// The file of page `Page` (1 first) of `Pages` pages saved under
/// `FileName`: the name itself for a single page, otherwise the name with
/// "-Page" before its extension (page.jpg: page-1.jpg, page-2.jpg, ...).
QString PageFileName(const QString& FileName, int Page, int Pages);
