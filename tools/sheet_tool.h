#pragma once

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
    int Count = 0;          ///< copies drawn
    int Capacity = 0;       ///< copies that fit
    int PageWidth = 0;      ///< the printer's page in device pixels
    int PageHeight = 0;
    int DpiX = 0;
    int DpiY = 0;
    QString Destination;    ///< the file written, or the printer's name
    QStringList Warnings;   ///< said on the standard error; the sheet was made
};

/// Makes the sheet `Options` ask for through the main window's print run:
/// the photo loaded into a 151 x 201 photo view (Mitchell filter), the cell
/// rendered by RenderPhotoCell, then the page written by SaveSheetAsJpeg, or
/// printed by TIDPrinter::PrintSheet on the printer or into a PDF of its
/// paper. With a frame, the cell shows that rectangle of the photo (found
/// from the face for --frame auto, as the framing window's "Automatic"
/// does). A photo printed below 300 pixels per inch, or a frame chosen among
/// several faces, adds a warning. The printer (named, virtual or the current
/// one) becomes the current printer. Needs a QApplication.
///
/// Raises Exception with one line of text when the printer does not exist,
/// --print has only the built-in PDF printer to go to, the photo cannot be
/// loaded or holds no picture, the output names the photo, not one copy
/// fits and no count was given, the count exceeds the copies that fit, no
/// face is found for --frame auto, or the output cannot be written (an existing file then stays as it was).
TSheetResult RunSheet(const TSheetOptions& Options);

/// Writes or prints the printer's calibration page as `Options` ask
/// (CalibrationPage set) and returns the line describing it. Raises
/// Exception like RunSheet for the printer and the output.
QString RunCalibrationPage(const TSheetOptions& Options);

/// One line describing a run, e.g. "35 x 45 mm (France): 4 of 4 copies in
/// 2 x 2, cell 413 x 531 px, page 1063 x 1653 px at 300 dpi -> page.jpg".
QString SheetSummary(const TSheetResult& Result);

/// The whole program once the application object exists: parses `Args`
/// (without the program's name), answers --help and --version on `Out`, or
/// runs and writes the summary there. Every failure is one line on `Err`.
/// Returns the exit status: 0 done, 1 failed, 2 bad command line.
int SheetToolMain(const QStringList& Args, QTextStream& Out, QTextStream& Err);
