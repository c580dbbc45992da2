#pragma once

#include <QString>

#include <functional>

class TBitmap32;

/// The operations whose failures the user sees, each raising an Exception
/// whose message says in the user's language what went wrong with which file
/// or printer, the library's own text and code following in brackets:
///   Cannot open "photo.jpg": the JPEG photo is damaged or cannot be read (Erreur JPEG #53).

/// Loads a photo. An empty file is refused; on any failure the bitmap keeps
/// the photo it had.
void LoadPhotoFile(TBitmap32& Bitmap, const QString& FileName);

/// Runs Save, which writes the sheet to the named file.
void SavePageFile(const QString& FileName, const std::function<void()>& Save);

/// Runs a print job on the named printer.
void PrintOnPrinter(const QString& PrinterName, const std::function<void()>& Print);
