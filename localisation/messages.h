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
// and the user's own (%1 x %2 in millimetres). 50 x 50 mm is listed no more
// (it is the 2 x 2 in. photo); the line stays so that the catalogue's later
// lines keep their numbers in every language file.
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
// The main window's status line: the chosen format's printed size (%1 x %2
// in millimetres), and an unframed photo of another shape than the cell (%1
// is the caption of the button that frames it).
inline constexpr char kPrintsSize[] = "prints %1 × %2 mm";
inline constexpr char kWhiteStrip[] = "A white strip will be printed; \"%1\" fills the photo.";
// Own formats: a size the list has already (%1 x %2 mm), a name that
// cannot be used (%1 the name, %2 the most characters), a named one in the
// format list (%1 the name, %2 x %3 mm).
inline constexpr char kFormatRepeated[] =
    "The format list already has a photo of %1 x %2 mm: choose it there instead of adding it.";
inline constexpr char kFormatNameInvalid[] =
    "\"%1\" cannot name a format: give at most %2 characters, without line breaks or tabs.";
inline constexpr char kNamedOwnFormat[] = "%1 (%2 x %3 mm)";
// What the picture widgets show, for screen readers: the main window's
// photo (%1 its file), or none; the framing window's photo with its frame.
inline constexpr char kPhotoViewName[] = "Photo to print: %1";
inline constexpr char kNoPhotoViewName[] = "No photo loaded";
inline constexpr char kFrameViewName[] =
    "Photo with the frame to print: the arrow keys move the frame, + and - zoom";
// A face model that cannot be used: %1 is its file, %2 the npm package it
// was made from, %3 the technical detail.
inline constexpr char kFaceModelMissing[] =
    "The face model \"%1\" is missing (it is made from the npm package %2): reinstall Quorlo.";
inline constexpr char kFaceModelDamaged[] =
    "The face model \"%1\" is damaged (it is made from the npm package %2): reinstall Quorlo (%3).";
// The photo check: what each measure says (%1, %2 are numbers), and the
// check in one line.
inline constexpr char kEyeLinePass[] = "The eyes are at the right height.";
inline constexpr char kEyesTooLow[] = "The eyes are too low: move the frame down.";
inline constexpr char kEyesTooHigh[] = "The eyes are too high: move the frame up.";
inline constexpr char kCentred[] = "The face is centred.";
inline constexpr char kMoveFrameLeft[] = "The face is %1 % off the middle: move the frame to the left.";
inline constexpr char kMoveFrameRight[] = "The face is %1 % off the middle: move the frame to the right.";
inline constexpr char kHeadInside[] = "The whole head is inside the photo.";
inline constexpr char kCrownCut[] = "The top of the head is cut off: take the photo with space above the hair.";
inline constexpr char kChinCut[] = "The chin is cut off: take the photo with the whole head in view.";
inline constexpr char kHeadPastFrame[] = "The head reaches past the frame: make the frame larger.";
inline constexpr char kUpright[] = "The head is upright.";
inline constexpr char kTiltToRight[] = "Tilt your head %1° toward your right shoulder.";
inline constexpr char kTiltToLeft[] = "Tilt your head %1° toward your left shoulder.";
inline constexpr char kStraight[] = "The face looks straight ahead.";
inline constexpr char kTurnToRight[] = "Turn your face %1° to your right.";
inline constexpr char kTurnToLeft[] = "Turn your face %1° to your left.";
inline constexpr char kLevel[] = "The head is level.";
inline constexpr char kRaiseChin[] = "Raise your chin by %1°.";
inline constexpr char kLowerChin[] = "Lower your chin by %1°.";
inline constexpr char kEyesOpen[] = "Both eyes are open.";
inline constexpr char kEyesClosed[] = "An eye looks closed: keep both eyes wide open.";
inline constexpr char kMouthIsClosed[] = "The mouth is closed.";
inline constexpr char kMouthOpen[] = "The mouth is open: close it and keep a neutral expression.";
inline constexpr char kBackgroundPlain[] = "The background is plain.";
inline constexpr char kBackgroundBusy[] = "The background is not plain: stand before a light, plain wall.";
inline constexpr char kBackgroundShaded[] = "The background is shaded: light the wall evenly or stand farther from it.";
inline constexpr char kBackgroundUnseen[] = "Too little background is visible beside the head to judge it.";
inline constexpr char kBackgroundIsLight[] = "The background is light.";
inline constexpr char kBackgroundDark[] = "The background is too dark: stand before a light wall.";
inline constexpr char kEvenLight[] = "The face is evenly lit.";
inline constexpr char kUnevenLight[] = "One side of the face is darker: light the face evenly from the front.";
inline constexpr char kWellExposed[] = "The face is well exposed.";
inline constexpr char kTooDark[] = "The face is too dark: take the photo in more light.";
inline constexpr char kTooBright[] = "The face is too bright or burnt out: avoid direct flash and strong light.";
inline constexpr char kNaturalColour[] = "The colours look natural.";
inline constexpr char kColourCast[] = "The skin shows a colour cast: take the photo in daylight or white light.";
inline constexpr char kBlackAndWhite[] = "The photo looks black and white: offices ask for a colour photo.";
inline constexpr char kSharp[] = "The face is sharp.";
inline constexpr char kBlurred[] = "The face is blurred: hold the camera still and focus on the eyes.";
inline constexpr char kEnoughPixels[] = "Enough pixels: %1 ppi printed, %2 pixels between the eyes.";
inline constexpr char kTooFewPixels[] =
    "Too few pixels: %1 ppi printed, %2 pixels between the eyes; use a larger photo.";
inline constexpr char kNoGlasses[] = "No glasses seen.";
inline constexpr char kGlassesLook[] = "Glasses seen: many offices ask for a photo without them.";
inline constexpr char kGlassesRefused[] = "Glasses seen: photos for this format must be taken without glasses.";
inline constexpr char kOneFace[] = "One face.";
inline constexpr char kNoFace[] = "No face was found: the photo cannot be checked.";
inline constexpr char kOtherFaces[] = "%1 faces were found: only one person may be in the photo.";
inline constexpr char kAllPassed[] = "Photo check: all passed.";
inline constexpr char kToLookAt[] = "Photo check: %1 to look at.";
inline constexpr char kFailing[] = "Photo check: %1 failed, %2 to look at.";
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
inline constexpr char kPresetUsPassport[] = "US passport, online renewal";
inline constexpr char kPresetUsVisa[] = "US visa";
inline constexpr char kPresetUk[] = "UK passport";
inline constexpr char kDigitalSizeUnknown[] = "\"%1\" is not a digital photo size: give us-passport, us-visa, uk or WxHpx[,MINKB-MAXKB].";
inline constexpr char kDigitalSideRange[] = "\"%1\": each side of a digital photo takes %2 to %3 pixels.";
inline constexpr char kDigitalFileRange[] = "\"%1\": the file size is a range MINKB-MAXKB of at most %2 KB.";
inline constexpr char kDigitalTooLarge[] = "The photo does not fit the file size: even at the lowest JPEG quality it takes %1 KB, more than the %2 KB allowed.";
inline constexpr char kDigitalTooSmall[] = "The photo stays below the file size asked for: at the highest JPEG quality it takes %1 KB, less than the %2 KB asked for.";
inline constexpr char kDigitalSaved[] = "Saved \"%1\": %2 x %3 pixels, %4 KB at JPEG quality %5.";
inline constexpr char kDigitalSaveCaption[] = "Save photo for online application";
inline constexpr char kPhotoLab10x15[] = "Photo lab 10 × 15 cm";
inline constexpr char kPhotoLab4x6[] = "Photo lab 4 × 6 in.";
inline constexpr char kChosenPrinter[] = "The printer chosen in Printer Settings";
inline constexpr char kOwnDigitalSize[] = "Own size";
// Photos of the kinds opened here: %1 is the file's name, %2 the reader's
// own detail.
inline constexpr char kNotPhotoName[] =
    "Cannot open \"%1\": only JPEG (.jpg, .jpeg), PNG (.png) and HEIC (.heic, .heif) photos can be opened (%2).";
inline constexpr char kNotItsKind[] =
    "Cannot open \"%1\": the file does not hold the kind of photo its name says; JPEG (.jpg, .jpeg), PNG (.png) "
    "and HEIC (.heic, .heif) photos can be opened (%2).";
inline constexpr char kDamagedPhoto[] = "Cannot open \"%1\": the photo is damaged or cannot be read (%2).";
inline constexpr char kDroppedNotPhoto[] =
    "\"%1\" was not opened: only JPEG (.jpg, .jpeg), PNG (.png) and HEIC (.heic, .heif) photos can be opened.";
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

/// A printer's name as the windows show it: the built-in PDF and photo lab
/// printers' in the interface's language, any other as its queue is named.
QString ShownPrinterName(const QString& name);
