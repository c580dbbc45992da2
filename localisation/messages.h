#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// The program's messages to the user, in its original wording; language
/// files translate them through the text storage "TS_messages" on the main
/// form, like the form's own texts. %1 is the file or printer concerned, %2
/// the technical detail (the JPEG library's texts and codes stay there).
namespace Msg {
inline constexpr char kNotJpeg[] = "Cannot open \"%1\": it is not a JPEG photo (%2).";
inline constexpr char kDamagedJpeg[] = "Cannot open \"%1\": the JPEG photo is damaged or cannot be read (%2).";
inline constexpr char kUnreadable[] = "Cannot open \"%1\": the file cannot be read (%2).";
inline constexpr char kNotJpegName[] = "Cannot open \"%1\": only JPEG photos (.jpg, .jpeg) can be opened (%2).";
inline constexpr char kEmptyPhoto[] = "Cannot open \"%1\": the file is empty.";
inline constexpr char kCannotSave[] = "Cannot save the sheet as \"%1\" (%2).";
inline constexpr char kCannotPrint[] = "Cannot print on \"%1\" (%2).";
inline constexpr char kLanguageFile[] = "The language file \"%1\" cannot be used: %2.";
inline constexpr char kFileDamaged[] = "the file is damaged";
inline constexpr char kFileMissing[] = "the file is missing";
inline constexpr char kFormatRevision[] = "Format not supported in this revision";
inline constexpr char kBadFlag[] = "Bitmap image is not valid";
inline constexpr char kSettingNotSaved[] = "The language is changed, but the choice cannot be saved in \"%1\".";
// Photo formats and sheet options: %1 is the text given, or the lengths.
inline constexpr char kSizeNotUnderstood[] =
    "\"%1\" is not a photo size: give the width and height in whole millimetres, for example 40x50mm.";
inline constexpr char kSizeOutOfRange[] =
    "A photo of %1 x %2 mm cannot be made: the width and the height must each be from 5 to 300 mm.";
inline constexpr char kHeadRangeInvalid[] =
    "The head height from %1 to %2 mm does not fit a photo %3 mm high: give the smaller length first, "
    "both above 0 and at most the photo's height.";
inline constexpr char kEyeRangeInvalid[] =
    "The eye line from %1 to %2 mm does not fit a photo %3 mm high: give the smaller height first, "
    "both above 0 and at most the photo's height.";
inline constexpr char kEyeNeedsHead[] = "An eye-line rule needs a head-height rule beside it.";
inline constexpr char kMeasureOutOfRange[] =
    "A 100 mm ruler cannot measure %1 mm: type a length from 90 to 110 mm, measured on the calibration page.";
inline constexpr char kCalibrationHint[] =
    "Measure both rulers on the paper and type their lengths in the sheet options.";
inline constexpr char kRulerAcross[] = "Across: 100 mm";
inline constexpr char kRulerDown[] = "Down: 100 mm";
inline constexpr char kTooManyPages[] = "%1 copies need more than %2 pages: make fewer copies in one run.";
inline constexpr char kSheetOptionsNotSaved[] = "The sheet options cannot be saved in \"%1\".";
/// Followed by the address itself, on a line of its own.
inline constexpr char kNoAddressHandler[] =
    "No program on this computer could open this address. Copy it into your browser or mail program:";
inline constexpr char kLowResolution[] = "%1 pixels per inch printed: the photo may look blurred.";
// The stages of long work, shown in the progress dialog.
inline constexpr char kRenderingPhoto[] = "Rendering the photo...";
inline constexpr char kBuildingPage[] = "Building the page...";
inline constexpr char kSendingPage[] = "Sending the page to the printer...";
inline constexpr char kSavingPage[] = "Saving the page...";
// The format list's entries after the three of the form: the shipped sizes,
// and the user's own (%1 x %2 in millimetres).
inline constexpr char kFormat50x50[] = "50 x 50 mm";
inline constexpr char kFormat40x50[] = "40 x 50 mm";
inline constexpr char kFormat51x51[] = "51 x 51 mm (2 x 2 in.)";
inline constexpr char kFormat50x70[] = "50 x 70 mm";
inline constexpr char kOwnFormat[] = "%1 x %2 mm (own)";
// Several photos on one sheet: %1 is the most photos the list keeps; the
// page of the preview and the number of pages; the saved files' names.
inline constexpr char kSheetListFull[] =
    "The sheet already holds %1 photos: print it, or remove a photo from the list, before adding another.";
inline constexpr char kPageOfPages[] = "Page %1 of %2";
inline constexpr char kPagesSaved[] = "Saved as %1.";
// The built-in printer's name where the window shows it.
inline constexpr char kPrintToPdf[] = "Print to PDF";
// An own format's rules in the sheet options' list, in millimetres.
inline constexpr char kHeadRange[] = "head %1-%2 mm";
inline constexpr char kEyeRange[] = "eyes %1-%2 mm";
// A dropped file that is not taken: %1 is its name.
inline constexpr char kDroppedNotJpeg[] = "\"%1\" was not opened: only JPEG photos (.jpg, .jpeg) can be opened.";
// A photo that loaded only in part: the file was cut short.
inline constexpr char kPhotoEndsEarly[] = "The photo file ends early: its lower part is missing.";
// A number field's text that is not a number: %1 the text, %2 an example in
// the interface language's style.
inline constexpr char kNotANumber[] = "\"%1\" is not a number: type a number such as %2.";
// Why the system refused a file (SystemErrorText), the %2 of the messages above.
inline constexpr char kErrorNoFile[] = "the file does not exist";
inline constexpr char kErrorNoPermission[] = "permission denied";
inline constexpr char kErrorDiskFull[] = "the disk is full";
inline constexpr char kErrorReadOnlyDisk[] = "the disk is read-only";
inline constexpr char kErrorTooLarge[] = "the file is too large";
inline constexpr char kErrorNumber[] = "system error %1";
// Failures that carry no message of the program's own.
inline constexpr char kOutOfMemory[] = "There is not enough memory to do this.";
inline constexpr char kUnexpectedError[] = "An unexpected error stopped this.";
}  // namespace Msg

/// Every message above, in catalogue order: the lines of TS_messages.
QStringList MessageOriginals();

/// Where the catalogue's translations come from: the original in, its
/// current wording out.
using TMessageSource = std::function<QString(const QString& original)>;

/// Makes `source` answer MessageText from now on; an empty one leaves every
/// message in its original wording.
void SetMessageSource(TMessageSource source);

/// The current wording of a message of the catalogue: what the message
/// source gives (the translation the last language switch gave it), else
/// the original.
QString MessageText(const char* original);
QString MessageText(const QString& original);

/// Why the system refused a file, in the catalogue's words: ENOENT and
/// ENOTDIR "the file does not exist", EACCES and EPERM "permission denied",
/// ENOSPC and EDQUOT "the disk is full", EROFS "the disk is read-only", EFBIG
/// "the file is too large"; any other "system error <number>".
QString SystemErrorText(int ErrorNumber);

/// A printer's name as the windows show it: the built-in PDF printer's in
/// the interface's language, any other as its queue is named.
QString ShownPrinterName(const QString& name);
