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
    "The photo has too few pixels for a sharp print: %1 ppi printed, %2 pixels between the eyes; use a larger "
    "photo.";
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
// quorlo-sheet: a command line it cannot run, pointed to its help (%1 the
// sentence, %2 the program); option names stay as typed.
inline constexpr char kSeeHelp[] = "%1 (see %2 --help)";
inline constexpr char kUnknownOption[] = "unknown option %1";
inline constexpr char kOptionTwice[] = "%1 is given twice";
inline constexpr char kOptionNeedsValue[] = "%1 needs a value";
inline constexpr char kOptionTakesNoValue[] = "%1 takes no value";
inline constexpr char kOneOfNotBoth[] = "give one of %1 and %2, not both";
inline constexpr char kNoPhotoGiven[] = "no photo given";
inline constexpr char kTooManyPhotos[] = "%1 photos given: at most %2 in one run";
inline constexpr char kNoOutputGiven[] = "no output given: use --output PAGE.jpg, --output PAGE.pdf or --print";
inline constexpr char kOutputNeedsName[] = "--output needs a file name";
inline constexpr char kOutputKind[] = "cannot write \"%1\": the output must end in .jpg, .jpeg or .pdf";
inline constexpr char kFormatNumber[] = "--format must be 0, 1 or 2, not \"%1\"";
inline constexpr char kCountNotNumber[] = "--count needs a whole number, not \"%1\"";
inline constexpr char kCountNegative[] = "--count must be 0 or more, not %1";
inline constexpr char kPrinterNeedsName[] = "--printer needs a printer name";
inline constexpr char kUnknownPaper[] = "unknown paper \"%1\": give A4, Letter or a size such as 100x150mm";
inline constexpr char kPaperSides[] = "paper %1: each side must be above 0 and at most %2 mm";
inline constexpr char kDpiRange[] = "--dpi must be a whole number from %1 to %2, not \"%3\"";
inline constexpr char kMarginsNotLength[] = "--margins needs millimetres such as 5 or 6.35, not \"%1\"";
inline constexpr char kMarginsLeaveNoPage[] = "margins of %1 mm leave no page on paper %2";
inline constexpr char kPageTooLarge[] = "a page of %1 x %2 pixels (paper %3 at %4 dpi) is too large: lower --dpi";
inline constexpr char kDpiNeedsPaper[] = "--dpi and --margins describe a virtual printer: give --paper too";
inline constexpr char kPrintNeedsPrinter[] = "--print needs a real printer: --paper describes a virtual one";
inline constexpr char kFrameSyntax[] = "--frame needs \"auto\" or X,Y,W,H in photo pixels, not \"%1\"";
inline constexpr char kFrameNoSize[] = "--frame %1 has no size: its width and height must be above 0";
inline constexpr char kFrameOnePhoto[] = "--frame X,Y,W,H suits one photo, not %1: use --frame auto";
inline constexpr char kFrameNotSizeAspect[] =
    "--frame %1 x %2 is not %3 x %4 like --size: for that height the width would be %5";
inline constexpr char kFrameNotFormatAspect[] =
    "--frame %1 x %2 is not %3 x %4 like the photo format: for that height the width would be %5";
inline constexpr char kCheckOnePhoto[] = "--check looks at one photo, not %1";
inline constexpr char kCalibrationNoPhoto[] = "--calibration-page takes no photo, not \"%1\"";
inline constexpr char kCalibrationNoSheet[] = "--calibration-page prints no photos: %1 has no use";
inline constexpr char kGapNotLength[] = "--gap needs millimetres from 0 to 5 such as 2 or 1.5, not \"%1\"";
inline constexpr char kGapNeedsPacked[] = "--gap sets the gap of a packed sheet: give --packed too";
inline constexpr char kDigitalOnePhoto[] = "--digital makes one photo, not %1";
inline constexpr char kDigitalNeedsJpeg[] = "--digital writes a JPEG: give --output PHOTO.jpg";
inline constexpr char kDigitalNoSheet[] =
    "--digital makes a photo, not a sheet: it takes no options of the sheet or the printer";
// quorlo-sheet's run: its printer, its output, the lines it writes (%1 the
// printer, file or photo format; the lengths in device pixels).
inline constexpr char kNoSuchPrinter[] = "no printer named \"%1\" is installed";
inline constexpr char kNoPrinterInstalled[] = "no printer is installed: write the page with --output PAGE.pdf instead";
inline constexpr char kLabPrintNeedsOutput[] = "\"%1\" is a photo lab's print: write it with --output";
inline constexpr char kOutputIsPhoto[] = "the output \"%1\" is the photo itself";
inline constexpr char kNoCopyFits[] = "not one %1 photo fits on the page of %2 x %3 pixels";
inline constexpr char kWarning[] = "warning: %1";
inline constexpr char kOnPrinter[] = "printer \"%1\"";
inline constexpr char kCopiesOfPlaces[] = "%1 of %2 copies";
inline constexpr char kOnePhotoOnPages[] = "1 photo, %1 copies on %2 pages of %3 places";
inline constexpr char kPhotosOnOnePage[] = "%1 photos, %2 copies on 1 page of %3 places";
inline constexpr char kPhotosOnPages[] = "%1 photos, %2 copies on %3 pages of %4 places";
inline constexpr char kSheetLine[] = "%1: %2 in %3 x %4, cell %5 x %6 px, page %7 x %8 px at %9 dpi -> %10";
inline constexpr char kCalibrationLine[] = "calibration page of %1, page %2 x %3 px at %4 x %5 dpi -> %6";
inline constexpr char kDigitalLine[] = "%1: %2 x %3 px, %4 KB at quality %5 -> %6";
// quorlo-sheet --help: a paragraph or an option's description each, wrapped
// to the terminal's width where they are shown.
inline constexpr char kUsage[] = "Usage:";
inline constexpr char kHelpIntro[] =
    "Lays out a sheet of identity photos from one photo or several and writes or prints it, exactly as the Quorlo "
    "window's \"Print Now\" does, without a window. Several photos follow each other on the grid in the order given, "
    "each in its own copies, and continue on more pages when a page is full. Photos are JPEG (.jpg, .jpeg), PNG "
    "(.png) or HEIC (.heic, .heif) files.";
inline constexpr char kHelpFormat[] =
    "the photo format: 0 = 35 x 45 mm (France, the default), 1 = 2 x 2 in. (US), 2 = 1.8 x 2.2 in. (Canada)";
inline constexpr char kHelpSize[] =
    "the photo size in whole millimetres instead of a format, 5 to 300 on each side, such as 40x50mm";
inline constexpr char kHelpCount[] =
    "how many copies of each photo, 0 or more (default: one photo fills the page; several share one page evenly, "
    "at least one copy each)";
inline constexpr char kHelpFrameAuto[] =
    "print the part of each photo that frames the face found in it by the format's head-size rule (as the window's "
    "\"Automatic\" does); no face found is an error. With --size, the rule of a listed format of that size, or else "
    "the head at 70 to 80 % of the photo's height";
inline constexpr char kHelpFrameRect[] =
    "print this rectangle of the one photo, in pixels of the photo turned upright; W x H must have the photo size's "
    "aspect ratio (35:45, 1:1, 18:22 or --size's) and may reach past the photo's edges, which print white "
    "(default: the whole photo)";
inline constexpr char kHelpPrinter[] =
    "lay the sheet out for the installed printer NAME (default: the current printer: the system's default, or "
    "without any the built-in \"Print to PDF\" printer, A4 or Letter by locale at 600 dpi, no margins)";
inline constexpr char kHelpPaper[] =
    "lay it out for a virtual printer instead: A4 (210 x 297 mm), Letter (8.5 x 11 in.) or W x H millimetres such "
    "as 100x150mm";
inline constexpr char kHelpDpi[] = "the virtual printer's resolution, 72 to 2400 (default 600)";
inline constexpr char kHelpMargins[] = "its unprintable margin on every side (default 0)";
inline constexpr char kHelpOutputJpeg[] =
    "write the page as a JPEG image at quality 90, the very file the preview's \"Save as image\" writes; several "
    "pages go to PAGE-1.jpg, PAGE-2.jpg, ... beside it";
inline constexpr char kHelpOutputPdf[] = "write the pages as one PDF of the printer's paper";
inline constexpr char kHelpPrint[] = "print the pages as one job on the printer (not with --paper)";
inline constexpr char kHelpCalibrationPage[] =
    "instead of a sheet, the page of two 100 mm rulers to measure; the lengths measured on paper, stored for the "
    "printer's name in Quorlo's sheet options, correct the size of every later photo on that printer (a virtual "
    "printer is named like \"100x150mm at 300 dpi\")";
inline constexpr char kHelpCutMarks[] =
    "draw grey marks in the gaps along the copies' edges, and an outline where a photo leaves its cell white";
inline constexpr char kHelpPacked[] =
    "put the copies side by side with a small gap, centred on the page and with cut marks, instead of spreading them";
inline constexpr char kHelpGap[] = "the packed copies' gap, 0 to 5 mm (default 2)";
inline constexpr char kHelpDigital[] =
    "instead of a sheet, the photo alone as a JPEG file for an online application: us-passport (1200 x 1200 px, "
    "54 KB to 10 MB), us-visa (600 x 600 px, at most 240 KB), uk (700 x 900 px, 50 KB to 10 MB) or "
    "WxHpx[,MINKB-MAXKB] such as 800x1000px,50-500; the highest JPEG quality within the file sizes; with --output "
    "PHOTO.jpg only";
inline constexpr char kHelpPhotoLab[] =
    "a lab print at 300 dpi, the photos 3 mm clear of the edges the lab trims, turned to hold the most copies";
inline constexpr char kHelpCheck[] =
    "check the photo as it prints (framed by --frame, else whole) against what passport offices ask: one line per "
    "measure with its verdict (ok, look, FAIL), value, limit and what to do; the sheet is made too when an output is "
    "given";
inline constexpr char kHelpCheckJson[] =
    "the same as JSON: {\"measures\": [{\"id\", \"value\", \"limit\", \"verdict\", \"text\"}], \"head\": "
    "{\"crown_y\", \"chin_y\", \"eye_y\"}} in photo pixels; the summary line of a sheet then goes to the standard "
    "error";
inline constexpr char kHelpHelp[] = "show this help and exit";
inline constexpr char kHelpVersion[] = "show the version and exit";
/// %1 the most pages, %2 the most photos.
inline constexpr char kHelpLayout[] =
    "The virtual printer's lengths (up to two decimals, e.g. 6.35) become whole device pixels rounded down, pixels = "
    "mm x dpi / 25.4: the margins give the physical offsets, and the page is the paper less twice the margins. "
    "Copies fill the grid row by row from the top left; the grid keeps one more margin of the same width inside the "
    "page and at least one pixel between copies. A page without room for one copy is refused, unless --count 0 asks "
    "for the blank page; so are more than %1 pages, or more than %2 photos.";
inline constexpr char kHelpOutcome[] =
    "The summary line names every file written. A photo with fewer than 300 pixels per inch where it is printed "
    "gives a warning on the standard error; the sheet is made all the same. An existing output file is replaced "
    "only once the new one is complete. Options also take their value after \"=\" (--count=4); \"--\" ends the "
    "options.";
inline constexpr char kHelpExitStatus[] =
    "Exit status: 0 when done, 1 when the photo, the printer or the output fails, 2 for a bad command line, 3 when "
    "the photo check finds a measure that an office would refuse (the sheet is made all the same).";
// quorlo-sheet's automatic framing: no face, and the face chosen of several
// (%1 faces).
inline constexpr char kNoFaceToFrame[] = "No face was found in this photo.";
inline constexpr char kSeveralFacesFramed[] = "%1 faces were found; the frame follows the most likely one.";
// The digital photo for an online application not written: %1 its file,
// %2 the system's reason.
inline constexpr char kCannotSavePhoto[] = "Cannot save the photo as \"%1\" (%2).";
// quorlo-sheet's plain background: %1 the colour given.
inline constexpr char kBackgroundColourUnknown[] =
    "unknown background colour \"%1\": give white, grey, blue or #RRGGBB";
inline constexpr char kHelpBackground[] =
    "put a plain colour behind the person in every copy (or in the digital photo): white, grey (light grey), blue "
    "(light blue) or #RRGGBB; the photo file is not changed, and the photo check judges the new background. Some "
    "offices refuse photos whose background was changed";
inline constexpr char kNoPersonForBackground[] =
    "--background: no person was found in \"%1\", so its background cannot be replaced";
// Why a print queue failed, the %2 of kCannotPrint; %1 the print service's
// own reason, left out with its colon when it gives none.
inline constexpr char kQueueServiceDown[] = "the print service (CUPS) is not running";
inline constexpr char kQueueMissing[] = "the printer does not exist (any more)";
inline constexpr char kQueueStateUnknown[] = "the printer cannot be asked for its state: %1";
inline constexpr char kQueueNotAccepting[] = "the printer is not accepting jobs: %1";
inline constexpr char kQueueStopped[] = "the printer is stopped: %1";
inline constexpr char kQueueJobRefused[] = "the printer refused the job: %1";
inline constexpr char kQueuePageNotSent[] = "the page could not be sent: %1";
// The main window's three formats as quorlo-sheet names them: the same words
// as the window's format list.
inline constexpr char kFormatFrance[] = "35 x 45 mm (France)";
inline constexpr char kFormatUs[] = "2 x 2 in. (US)";
inline constexpr char kFormatCanada[] = "1.8 x 2.2 in. (Canada)";
// The documents of the table of offices' rules (framing/document_table.cpp).
inline constexpr char kDocPassport[] = "Passport";
inline constexpr char kDocPassportAndId[] = "Passport and identity card";
inline constexpr char kDocVisa[] = "Visa";
inline constexpr char kDocSchengenVisa[] = "Schengen visa";
inline constexpr char kDocPassportAbroad[] = "Passport, applied for at an embassy";
inline constexpr char kDocOciCard[] = "OCI card";
inline constexpr char kDocIdAndResidence[] = "Identity card and residence permit";
inline constexpr char kDocPassportOnline[] = "Passport, online application";
inline constexpr char kDocVisaOnline[] = "Visa, online application";
inline constexpr char kDocPassport5Years[] = "Passport valid for 5 years";
// A document whose office refuses a replaced background: %1 its country and
// name (kDocumentName).
inline constexpr char kEditsRefused[] = "%1: the office refuses photos whose background was changed.";
// A document as the format chooser and the warnings name it: %1 the country,
// %2 the document.
inline constexpr char kDocumentName[] = "%1, %2";
// A document in the format chooser: %1 kDocumentName, %2 its printed size or
// its pixels.
inline constexpr char kDocumentItem[] = "%1 (%2)";
inline constexpr char kChooserSearch[] = "Search a country or a document";
inline constexpr char kChooserRecent[] = "Last chosen";
inline constexpr char kChooserSizes[] = "Sizes";
inline constexpr char kFormatUnknownId[] =
    "--format takes 0, 1, 2 or a document's id, not \"%1\" (--list-formats lists them)";
inline constexpr char kHelpFormatId[] =
    "the photo format of a document, by its id from --list-formats (de-passport, cn-visa, ...): its size, head "
    "rule and background colour";
inline constexpr char kHelpListFormats[] =
    "list the documents whose photo rules Quorlo knows, of one country when its code is given (DE, CA, ...): id, "
    "size, head height, background colours and the online form's file; then end";
inline constexpr char kListNoCountry[] = "--list-formats: no document of \"%1\" is known";
// --list-formats: the head height (%1 a range with its unit), the eye line
// above the lower edge, a crown at the top of the skull.
inline constexpr char kListHead[] = "head %1";
inline constexpr char kListEyes[] = "eyes %1";
inline constexpr char kListToSkull[] = "%1 to the skull";
// The background colours offices name.
inline constexpr char kColourWhite[] = "white";
inline constexpr char kColourOffWhite[] = "off-white";
inline constexpr char kColourLightGrey[] = "light grey";
inline constexpr char kColourCream[] = "cream";
inline constexpr char kColourLightBlue[] = "light blue";
inline constexpr char kHelpDigitalId[] =
    "the photo alone for any online form of --list-formats, by its id (ca-visa-online, sg-passport-online, ...): "
    "its pixels, file sizes and head rule";
// quorlo-sheet's --head: the user's own crown and chin rows; %1 the text
// given, or the number of photos.
inline constexpr char kHeadSyntax[] =
    "--head needs CROWN_Y,CHIN_Y in photo pixels, the crown above the chin, not \"%1\"";
inline constexpr char kHeadOnePhoto[] = "--head CROWN_Y,CHIN_Y suits one photo, not %1";
inline constexpr char kHelpHead[] =
    "put the top of the head and the chin on these rows of the photo (photo pixels, after it was turned upright) "
    "instead of the measured ones: automatic framing and the photo check follow them";
// The framing window, beside a crown line that was estimated, not seen.
inline constexpr char kCrownHidden[] = "The top of the head is hidden: check the blue line.";
// The photo check's table of measures: what each measure measures, where
// its limits come from, the tip beside a measure (%1 what it measures, %2
// its value, %3 the values that pass, %4 those to look at, %5 the source),
// and the sentences of the measures added with the table.
inline constexpr char kMeasureHeadHeight[] = "Head height";
inline constexpr char kMeasureEyeLine[] = "Eye line above the bottom edge";
inline constexpr char kMeasureCentred[] = "Face off the middle";
inline constexpr char kMeasureCrownVisible[] = "Head cut off by the photo or the frame";
inline constexpr char kMeasureTopMargin[] = "Space above the head";
inline constexpr char kMeasureFrameFilled[] = "White band where the frame leaves the photo";
inline constexpr char kMeasureRoll[] = "Head tilted toward a shoulder";
inline constexpr char kMeasureYaw[] = "Face turned aside";
inline constexpr char kMeasurePitch[] = "Chin raised or lowered";
inline constexpr char kMeasureEyesOpen[] = "Eye opening";
inline constexpr char kMeasureGaze[] = "Gaze away from the camera";
inline constexpr char kMeasureMouthClosed[] = "Mouth opening";
inline constexpr char kMeasureBackgroundPlain[] = "Unevenness of the background";
inline constexpr char kMeasureBackgroundLight[] = "Lightness of the background";
inline constexpr char kMeasureLightingEven[] = "Difference in light between the cheeks";
inline constexpr char kMeasureExposure[] = "Lightness of the face";
inline constexpr char kMeasureColour[] = "Colour cast";
inline constexpr char kMeasureSharpness[] = "Sharpness of the face";
inline constexpr char kMeasureCompression[] = "JPEG blocks";
inline constexpr char kMeasureResolution[] = "Printed pixels per inch";
inline constexpr char kMeasureGlasses[] = "Spectacle frames";
inline constexpr char kMeasureOneFace[] = "Faces in the photo";
inline constexpr char kSourceRule[] = "the format's own rule";
inline constexpr char kSourceIso[] = "ISO/IEC 19794-5, best practice for a frontal portrait";
inline constexpr char kSourceIcao[] = "ICAO Doc 9303, part 3 (portrait quality)";
inline constexpr char kSourceIcaoOurs[] =
    "ICAO Doc 9303, part 3 asks for it; the numbers are ours, measured on real portraits and on controlled changes "
    "of them";
inline constexpr char kSourceOurs[] = "ours, measured on real portraits and on controlled changes of them";
inline constexpr char kSourceResolution[] =
    "ours: below 300 pixels per inch a print shows its pixels; ICAO Doc 9303, part 3 asks for 90 pixels between "
    "the eyes";
inline constexpr char kSourceTopMargin[] =
    "the room the format's head-height rule leaves above the largest head it allows";
inline constexpr char kMeasureTip[] = "%1: %2. Passes: %3; to look at: %4; beyond that it fails. Source: %5.";
inline constexpr char kMeasureTipNoBand[] = "%1: %2. Passes: %3; beyond that it fails. Source: %4.";
inline constexpr char kNotJudged[] = "cannot be judged";
inline constexpr char kTopMarginRoom[] = "There is room above the head.";
inline constexpr char kTopMarginSmall[] = "The head is too close to the top edge: move the frame up or make it larger.";
inline constexpr char kFrameFilled[] = "The photo fills the frame.";
inline constexpr char kWhiteBand[] =
    "The frame reaches past the photo: a white band of %1 % would print; move the frame inside the photo.";
inline constexpr char kLooksAtCamera[] = "The eyes look into the camera.";
inline constexpr char kLooksDown[] = "The eyes look down: look straight into the camera.";
inline constexpr char kLooksAside[] = "The eyes look aside: look straight into the camera.";
inline constexpr char kGazeUnseen[] = "The eyes cannot be seen well enough to tell where they look.";
inline constexpr char kNoNeutral[] = "No white of the eyes is seen to judge the colour against.";
inline constexpr char kTooSmallToJudge[] = "The face is too small in the photo to judge this.";
inline constexpr char kNoBlocks[] = "No JPEG blocks are visible.";
inline constexpr char kJpegBlocks[] =
    "The photo shows JPEG blocks: use the camera's own file, or save it at a higher quality.";
inline constexpr char kAtLeastFaces[] = "At least %1 faces were found: only one person may be in the photo.";
// The photo check read from the document's row: the background's colour
// and the edits the office refuses, what they measure; where a limit comes
// from the row (%1 the document, kDocumentName; %2 the office's page or the
// copy the row rests on; %3 the day it was read); their sentences (%1 of
// kBackgroundColourNotTaken the colours the office takes, kColourWhite ...).
inline constexpr char kMeasureBackgroundColour[] = "Colour of the background";
inline constexpr char kMeasureUnedited[] = "Edits to the photo";
inline constexpr char kSourceOffice[] = "the office's rule for %1: %2, read %3";
inline constexpr char kSourceOfficeCopy[] = "the office's rule for %1, from a copy of its text: %2, read %3";
inline constexpr char kBackgroundColourTaken[] = "The background has a colour the office takes.";
inline constexpr char kBackgroundColourNotTaken[] = "The background's colour is not one the office takes; it takes %1.";
inline constexpr char kGlassesWithoutGlare[] = "Glasses seen: the office takes them only without glare or tinted lenses.";
inline constexpr char kTopMarginLarge[] = "There is too much space above the head: move the frame down.";
// The photo check of a plain background the user chose: the advice is about
// the colour, not the wall.
inline constexpr char kChosenBackgroundDark[] = "The chosen background colour is too dark: choose a lighter one.";
// A photo file cut short (kPhotoEndsEarly): used only when the user says so.
inline constexpr char kUseCutPhoto[] =
    "Use this photo without its lower part? If not, the window keeps the photo it had.";
inline constexpr char kUseIt[] = "&Use it";
inline constexpr char kDoNotUseIt[] = "&Do not use it";
// The photo for an online application: a part of the photo smaller than the
// size asked for (%1 x %2 pixels of the photo, %3 x %4 the size), and a file
// that exists already.
inline constexpr char kDigitalEnlarged[] =
    "Only %1 x %2 pixels of the photo go into it: they are enlarged to %3 x %4, which adds no detail.";
inline constexpr char kReplaceFile[] = "\"%1\" exists already. Replace it?";
inline constexpr char kReplace[] = "&Replace";
inline constexpr char kDoNotReplace[] = "&Do not replace";
// The preview's paper and printer: "Paper: A4 (210 × 297 mm). Printer:
// Office_Laser."; a paper's size in millimetres.
inline constexpr char kPaperAndPrinter[] = "Paper: %1. Printer: %2.";
inline constexpr char kPaperSize[] = "%1 × %2 mm";
// quorlo-sheet --straighten: a value it cannot take (%1 the limit, %2 the
// text), a photo without a face, and its help.
inline constexpr char kStraightenValue[] =
    "--straighten takes auto or a number of degrees from -%1 to %1, not \"%2\"";
inline constexpr char kNoFaceToStraighten[] = "--straighten auto: no face was found; the photo stays as it is.";
inline constexpr char kHelpStraighten[] =
    "turn each photo until the eyes are level, or by DEGREES counter-clockwise (-45 to 45, tenths allowed); a frame "
    "given as X,Y,W,H is then in the turned photo's pixels";
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
