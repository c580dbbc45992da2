#pragma once

#include "face_models.h"
#include "frame.h"
#include "head_measure.h"
#include "measure.h"
#include "sheet_options.h"

#include <QString>
#include <QStringList>

class QTextStream;

/// What a run made, for the summary line.
struct TSheetResult {
    QString FormatText;     ///< the format list's text, e.g. "35 x 45 mm (France)"
    int CellWidth = 0;      ///< the photo cell in device pixels
    int CellHeight = 0;
    int Columns = 0;
    int Rows = 0;
    int Photos = 0;         ///< photos laid out
    int Count = 0;          ///< copies drawn, of all photos
    int Capacity = 0;       ///< copies that fit on one page
    int Pages = 0;          ///< pages made
    int PageWidth = 0;      ///< the printer's page in device pixels
    int PageHeight = 0;
    int DpiX = 0;
    int DpiY = 0;
    QString Destination;    ///< the files written, or the printer's name
    QStringList Warnings;   ///< said on the standard error; the sheet was made
};

/// Makes the sheet `Options` ask for through the main window's print run:
/// each photo in turn loaded (Mitchell filter), its cell rendered by
/// RenderPhotoCell as the main window's photo view paints it
/// (kMainPhotoViewLook) and added to a TPhotoSheet with the
/// count (DefaultCopies without --count), then every page written by
/// SaveSheetPageAsJpeg (PageFileName: NAME-1.jpg, ... for several pages),
/// or printed by TPhotoSheet::PrintPages as one job on the printer or into
/// one PDF of its paper. With a frame, each cell shows that rectangle of
/// its photo (found from the face for --frame auto, as the framing window's
/// "Automatic" does, by the format's rule or SheetSizeRule). A photo printed
/// below 300 pixels per inch, or a frame chosen among several faces, adds a
/// warning (naming the photo when there are several). The printer is the
/// one named, a virtual one, or the system's default; the program's current
/// printer is left alone.
///
/// Raises Exception with one line of text when the printer does not exist,
/// --print has only the built-in PDF printer to go to, a photo cannot be
/// loaded or holds no picture (the message names it), an output file names
/// a photo, not one copy fits and copies are asked for, the copies need more
/// than kMaxSheetPages pages, no face is found for --frame auto, or an output
/// cannot be written (an existing file then stays as it was).
TSheetResult RunSheet(const TSheetOptions& Options, TFaceModels& Models);

/// The photo check of a run's photo as it prints: loaded as the sheet's
/// photos are, framed as the options say (the whole photo without --frame),
/// checked for the run's photo size; the warnings of loading and framing.
/// Raises Exception like RunSheet for the photo, and when a face model
/// cannot be read.
struct TSheetCheck {
    TMeasures Measures;
    std::optional<THead> Head;
    TCrownSource Crown = TCrownSource::Unclear;
    QStringList Warnings;
};
TSheetCheck RunSheetCheck(const TSheetOptions& Options, TFaceModels& Models);

/// Writes or prints the printer's calibration page as `Options` ask
/// (CalibrationPage set) and returns the line describing it. Raises
/// Exception like RunSheet for the printer and the output.
QString RunCalibrationPage(const TSheetOptions& Options);

/// One line describing a run, e.g. "35 x 45 mm (France): 4 of 4 copies in
/// 2 x 2, cell 413 x 531 px, page 1063 x 1653 px at 300 dpi -> page.jpg";
/// with several photos or pages "3 photos, 9 copies on 3 pages of 4 places
/// in 2 x 2, ... -> page-1.jpg, page-2.jpg, page-3.jpg".
QString SheetSummary(const TSheetResult& Result);

/// The automatic framing's sentences (kNoFaceText, kSeveralHeadsText) in the
/// catalogue's words, which quorlo-sheet speaks.
TWording FramingWording();

/// The whole program once the application object exists: parses `Args`
/// (without the program's name), answers --help and --version on `Out`, or
/// runs and writes the summary there. Every failure is one line on `Err`.
/// Returns the exit status: 0 done, 1 failed, 2 bad command line. Photos are
/// analysed with Models, read only when a run needs them.
int SheetToolMain(const QStringList& Args, QTextStream& Out, QTextStream& Err, TFaceModels& Models);
