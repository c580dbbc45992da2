#pragma once

#include <QString>

#include <functional>

class TBitmap32;

/// The operations whose failures the user sees, each raising an Exception
/// whose message says in the user's language what went wrong with which file
/// or printer, the reason following in brackets in the same language:
///   Cannot open "photo.png": it is not a JPEG photo (.png).
/// The libraries' own texts stay out of it: a file's reason is the
/// catalogue's (SystemErrorText), a JPEG library error shows its number
/// ("#53"), a printer's error its own text, a file a printer cannot write
/// the catalogue's reason.

/// Loads a photo. An empty file is refused; on any failure the bitmap keeps
/// the photo it had. Returns what the user must be told of a photo that did
/// load: that the file ends early and the photo's lower part is missing;
/// empty when there is nothing to say.
[[nodiscard]] QString LoadPhotoFile(TBitmap32& Bitmap, const QString& FileName);

/// Runs Save, which writes the sheet to the named file, or to several of
/// its pages: the message names the one that failed.
void SavePageFile(const QString& FileName, const std::function<void()>& Save);

/// Runs Save, which writes the digital photo to the named file: a file that
/// cannot be written is told of as the photo not saved there; the photo's
/// own refusals (its file sizes) pass as they are.
void SavePhotoFile(const QString& FileName, const std::function<void()>& Save);

/// Runs a print job on the named printer. A printer that writes a file and
/// cannot is told of as a sheet that cannot be saved there, with the
/// system's reason in the catalogue's words.
void PrintOnPrinter(const QString& PrinterName, const std::function<void()>& Print);
