#pragma once

#include "bitmap32.h"
#include "calibration.h"
#include "cut_marks.h"
#include "packed_layout.h"
#include "printer_device.h"
#include "progress.h"

#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

class QPainter;

/// The sheet printer: the size of one photo in millimetres, its
/// printer's metrics, the photo cell at printer resolution, and the grid of
/// copies that fits on the page. Every printer figure is read from the
/// printer it was given when needed and kept only in the fields.
///
/// The grid keeps one physical offset of margin inside the printable area
/// on each side (PrintableWidth/Height), on a photo lab printer at least the
/// layout's lab margin, stands at least one pixel of paper between
/// neighbouring copies, and spreads what is left evenly between them; the
/// remainder of that division stays at the right and bottom.
class TIDPrinter {
public:
    /// Photo size 35 x 45 mm on `Printer`, which must outlive the sheet
    /// printer or be replaced through SetPrinter first; then UpdateMetrics.
    explicit TIDPrinter(TPrinterDevice& Printer);
    ~TIDPrinter();
    TIDPrinter(const TIDPrinter&) = delete;
    TIDPrinter& operator=(const TIDPrinter&) = delete;

    /// The printer the sheet is laid out for and printed on.
    TPrinterDevice& Printer() const { return *FPrinter; }
    /// Lays the sheet out for `Printer` from now on (a printer chosen in the
    /// print dialog); the next UpdateMetrics reads its figures.
    void SetPrinter(TPrinterDevice& Printer);

    /// Stores the photo size in millimetres (an inch size exactly, 50.8 for
    /// 2 in.), then UpdateMetrics.
    void SetPhotoSize(double WidthMm, double HeightMm);

    /// Re-reads the printer's resolutions, printable size and stored
    /// calibration (LoadCalibration of its name) and resizes the cell to the
    /// photo size in printer pixels, corrected by that calibration
    /// (CalibratedMmToPixels; without one exactly MmToPixels), width first,
    /// then height; an unchanged size keeps the cell's pixels. The cell's
    /// stretch filter becomes Mitchell.
    void UpdateMetrics();

    /// `Mm` in pixels at `Dpi`: whole millimetres as Mm / (25.4 / Dpi) in
    /// 80-bit floating point, truncated toward zero (35 mm at 600 dpi is
    /// 826, 45 mm 1062); any other length exactly from its micrometres,
    /// truncated (50.8 mm at 300 dpi is 600). A resolution of 0 gives 0;
    /// results beyond the int range are clamped.
    static int MmToPixels(double Mm, int Dpi);

    /// The printer's physical offsets, in device pixels.
    int PhysicalOffsetX() const;
    int PhysicalOffsetY() const;
    /// The margin the grid keeps on each side, in device pixels: the
    /// physical offset, on a photo lab printer at least the layout's lab
    /// margin (rounded up to whole pixels) as of the last UpdateMetrics.
    int MarginX() const;
    int MarginY() const;

    /// How many copies of the cell fit across (down) the printable width
    /// (height) with at least one pixel between neighbours; 0 for a cell
    /// without pixels or one larger than the page.
    int ColumnCount() const;
    int RowCount() const;
    int Capacity() const { return ColumnCount() * RowCount(); }

    /// UpdateMetrics, then the top-left corners of the first Count places of
    /// the grid, row by row: the printer's physical offset plus the grid
    /// position, in device pixels of the printable area. A single column
    /// (row) stands at the offset with no gap. None for an empty cell or
    /// Count 0.
    std::vector<QPoint> Places();

    /// UpdateMetrics, then the grid of Places() on the printer's page.
    TSheetGrid Grid();

    /// The cut marks of the copies Places() returns, each cell's photo at
    /// PhotoInCell; none while cut marks are off or nothing is placed.
    TCutMarks SheetCutMarks();

    /// Draws a 1:1 copy of the cell at each of Places(), whatever the canvas
    /// (the preview page buffer or the printer's page), then the cut marks
    /// when they are on. The cell is converted once; every copy is a plain
    /// placement of that one image, so a PDF carries it once. Progress hears
    /// of each copy. Raises "Can't allocate the DIB handle" when the cell
    /// cannot be converted.
    void DrawSheet(QPainter& Canvas, const TProgress& Progress = {});

    /// Prints one page with DrawSheet's layout on the printer. A
    /// failure while drawing or delivering aborts the job, so nothing reaches
    /// the printer, and the error passes on to the caller.
    void PrintSheet(const TProgress& Progress = {});

    int PrintableWidth() const { return FPrintableWidth; }
    int PrintableHeight() const { return FPrintableHeight; }
    double PhotoWidthMm() const { return FPhotoWidthMm; }
    double PhotoHeightMm() const { return FPhotoHeightMm; }
    int DpiX() const { return FDpiX; }
    int DpiY() const { return FDpiY; }
    /// The printer's calibration as of the last UpdateMetrics.
    const std::optional<TCalibration>& Calibration() const { return FCalibration; }

    /// Copies to draw; set by the main window before each print run.
    int Count() const { return FCount; }
    void SetCount(int value) { FCount = value; }

    /// Whether sheets carry cut marks: when asked for, and always on a
    /// packed sheet, whose copies would be hard to cut apart without them.
    bool CutMarks() const { return FCutMarks || FLayout.Packed(); }
    void SetCutMarks(bool value) { FCutMarks = value; }

    /// The even grid (the default) or copies packed with a gap
    /// (PackedGrid), and the lab margin. Setting it stores it, then
    /// UpdateMetrics.
    const TSheetLayout& Layout() const { return FLayout; }
    void SetLayout(const TSheetLayout& value);

    /// Where the photo lies in the cell, in cell pixels, for the outlines of
    /// the cut marks; RenderPhotoCell sets it. A null rectangle stands for
    /// the whole cell.
    QRect PhotoInCell() const { return FPhotoInCell; }
    void SetPhotoInCell(const QRect& value) { FPhotoInCell = value; }

    /// The photo cell, MmToPixels(PhotoWidthMm, DpiX) x
    /// MmToPixels(PhotoHeightMm, DpiY) pixels as of the last UpdateMetrics.
    TBitmap32& Cell() { return FCell; }
    const TBitmap32& Cell() const { return FCell; }

private:
    int fitAcross(int space, int cell, int dpi) const;
    /// The lab margin at `dpi` on a photo lab printer; 0 on any other.
    int labMargin(int dpi) const;
    void turnLabPaper();

    TPrinterDevice* FPrinter;
    int FPrintableWidth = 0;
    int FPrintableHeight = 0;
    double FPhotoWidthMm = 35;
    double FPhotoHeightMm = 45;
    int FDpiX = 0;
    int FDpiY = 0;
    int FCount = 0;
    TSheetLayout FLayout;
    bool FCutMarks = false;
    std::optional<TCalibration> FCalibration;
    QRect FPhotoInCell;
    TBitmap32 FCell;
};
