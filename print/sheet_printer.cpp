#include "sheet_printer.h"

#include "exception.h"
#include "photo_lab_printer.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

int clampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// How many cells fit in `space` with at least one pixel between neighbours.
// The rule is stated as a walk: start from space div cell and drop a copy
// while the gap (space - n * cell) div (n - 1) would be 0. That gap is 0
// exactly when n * (cell + 1) > space + 1, so the walk ends at the largest
// n <= (space + 1) div (cell + 1), or at a single copy when that is below 2.
// Computed directly, an absurd page from a broken driver costs no time.
int fitCount(int space, int cell)
{
    // A cell without pixels (a printer reporting no resolution) fits nowhere,
    // and neither does any cell on a page that the margins used up.
    if (cell <= 0 || space < cell)
        return 0;
    const int n = space / cell;
    if (n < 2)
        return n;
    const auto spaced = (std::int64_t{space} + 1) / (std::int64_t{cell} + 1);
    return spaced >= 2 ? static_cast<int>(spaced) : 1;
}

// The even gap between `n` cells in `space`; none for a single cell, which
// stands at the start of the space.
int gapFor(int space, int cell, int n)
{
    if (n < 2)
        return 0;
    return (space - n * cell) / (n - 1);
}

}  // namespace

TIDPrinter::TIDPrinter(TPrinterDevice& Printer) : FPrinter(&Printer)
{
    SetPhotoSize(35, 45);
}

void TIDPrinter::SetPrinter(TPrinterDevice& Printer)
{
    FPrinter = &Printer;
}

TIDPrinter::~TIDPrinter() = default;

void TIDPrinter::SetPhotoSize(double WidthMm, double HeightMm)
{
    FPhotoWidthMm = WidthMm;
    FPhotoHeightMm = HeightMm;
    UpdateMetrics();
}

void TIDPrinter::SetLayout(const TSheetLayout& value)
{
    FLayout = value;
    UpdateMetrics();
}

void TIDPrinter::UpdateMetrics()
{
    const TPrinterDevice& printer = *FPrinter;
    FDpiX = printer.Caps(TDeviceCap::LogPixelsX);
    FDpiY = printer.Caps(TDeviceCap::LogPixelsY);
    // One dimension at a time, each a no-op when unchanged: the cell the main
    // window painted survives the UpdateMetrics of DrawSheet and PrintSheet.
    // A printer that prints 101 mm for 100 gets a cell that much smaller;
    // only the printer it was measured on.
    FCalibration = LoadCalibration(printer.Name());
    const auto factor = [this](bool across) -> std::optional<double> {
        if (!FCalibration)
            return std::nullopt;
        return across ? FCalibration->FactorX() : FCalibration->FactorY();
    };
    FCell.SetWidth(CalibratedMmToPixels(FPhotoWidthMm, FDpiX, factor(true)));
    FCell.SetHeight(CalibratedMmToPixels(FPhotoHeightMm, FDpiY, factor(false)));
    FCell.SetStretchFilter(sfMitchell);
    turnLabPaper();
    FPrintableWidth = clampToInt(std::int64_t{printer.Caps(TDeviceCap::HorzRes)} - 2 * std::int64_t{MarginX()});
    FPrintableHeight = clampToInt(std::int64_t{printer.Caps(TDeviceCap::VertRes)} - 2 * std::int64_t{MarginY()});
}

int TIDPrinter::labMargin(int dpi) const
{
    if (!dynamic_cast<const TPhotoLabPrinter*>(FPrinter) || dpi <= 0)
        return 0;
    // Rounded up: the margin is at least what the options say.
    return static_cast<int>((std::int64_t{FLayout.LabMarginTenthsMm} * dpi + 253) / 254);
}

int TIDPrinter::MarginX() const
{
    return std::max(PhysicalOffsetX(), labMargin(FDpiX));
}

int TIDPrinter::MarginY() const
{
    return std::max(PhysicalOffsetY(), labMargin(FDpiY));
}

int TIDPrinter::fitAcross(int space, int cell, int dpi) const
{
    return FLayout.Packed() ? PackedFit(space, cell, GapPixels(FLayout.GapTenthsMm, dpi)) : fitCount(space, cell);
}

void TIDPrinter::turnLabPaper()
{
    // A lab print has one resolution and no margins but the one kept clear
    // for trimming; of its two orientations the one holding more copies
    // wins, portrait on a tie.
    auto* lab = dynamic_cast<TPhotoLabPrinter*>(FPrinter);
    if (!lab || lab->Printing())
        return;
    const int margin = labMargin(FDpiX);
    const auto capacity = [&](bool landscape) {
        return std::int64_t{fitAcross(lab->WidthPixels(landscape) - 2 * margin, FCell.Width(), FDpiX)}
            * fitAcross(lab->HeightPixels(landscape) - 2 * margin, FCell.Height(), FDpiY);
    };
    lab->SetLandscape(capacity(true) > capacity(false));
}

int TIDPrinter::MmToPixels(double Mm, int Dpi)
{
    // The order and the precision of the steps decide the last pixel (45 mm
    // at 600 dpi is 1062.99 and stays 1062), which fixes the photo's size on
    // paper; the calibrated size without a factor takes the same steps.
    return CalibratedMmToPixels(Mm, Dpi, std::nullopt);
}

int TIDPrinter::PhysicalOffsetX() const
{
    return FPrinter->Caps(TDeviceCap::PhysicalOffsetX);
}

int TIDPrinter::PhysicalOffsetY() const
{
    return FPrinter->Caps(TDeviceCap::PhysicalOffsetY);
}

int TIDPrinter::ColumnCount() const
{
    return fitAcross(FPrintableWidth, FCell.Width(), FDpiX);
}

int TIDPrinter::RowCount() const
{
    return fitAcross(FPrintableHeight, FCell.Height(), FDpiY);
}

std::vector<QPoint> TIDPrinter::Places()
{
    const TSheetGrid grid = Grid();
    if (FCell.Empty() || FCount <= 0)
        return {};
    // A single column or row is laid out like any other grid: the user was
    // offered its copies, and a blank sheet would waste the paper.
    if (grid.Columns < 1 || grid.Rows < 1)
        return {};

    // Copies fill the page from the top-left; the places after the last one
    // stay empty.
    const int count = static_cast<int>(std::min<std::int64_t>(FCount, std::int64_t{grid.Columns} * grid.Rows));
    std::vector<QPoint> places;
    places.reserve(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index)
        places.push_back(grid.Place(index).topLeft());
    return places;
}

TSheetGrid TIDPrinter::Grid()
{
    UpdateMetrics();
    if (FLayout.Packed()) {
        TSheetGrid grid = PackedGrid(FPrintableWidth, FPrintableHeight, MarginX(), MarginY(),
                                     FCell.Width(), FCell.Height(), GapPixels(FLayout.GapTenthsMm, FDpiX),
                                     GapPixels(FLayout.GapTenthsMm, FDpiY));
        grid.PageWidth = FPrinter->Caps(TDeviceCap::HorzRes);
        grid.PageHeight = FPrinter->Caps(TDeviceCap::VertRes);
        return grid;
    }
    TSheetGrid grid;
    grid.Columns = ColumnCount();
    grid.Rows = RowCount();
    grid.CellWidth = FCell.Width();
    grid.CellHeight = FCell.Height();
    grid.GapX = gapFor(FPrintableWidth, grid.CellWidth, grid.Columns);
    grid.GapY = gapFor(FPrintableHeight, grid.CellHeight, grid.Rows);
    grid.OffsetX = MarginX();
    grid.OffsetY = MarginY();
    grid.PageWidth = FPrinter->Caps(TDeviceCap::HorzRes);
    grid.PageHeight = FPrinter->Caps(TDeviceCap::VertRes);
    return grid;
}

TCutMarks TIDPrinter::SheetCutMarks()
{
    if (!CutMarks())
        return {};
    const std::size_t placed = Places().size();
    if (placed == 0)
        return {};
    const QRect photo = FPhotoInCell.isNull() ? QRect(0, 0, FCell.Width(), FCell.Height()) : FPhotoInCell;
    return CutMarksFor(Grid(), std::vector<QRect>(placed, photo), FDpiX, FDpiY);
}

void TIDPrinter::DrawSheet(QPainter& Canvas, const TProgress& Progress)
{
    const std::vector<QPoint> places = Places();
    if (places.empty())
        return;

    // Converted once; every copy is then a plain 1:1 placement of the same
    // image (one cache key), which a PDF also stores only once.
    // An opaque cell (the usual one) is read in place, not copied.
    const QImage image = FCell.OpaqueImage();
    if (image.isNull())
        throw Exception(QStringLiteral("Can't allocate the DIB handle"));

    const QSize size(FCell.Width(), FCell.Height());
    const int total = static_cast<int>(places.size());
    for (int i = 0; i < total; ++i) {
        Canvas.drawImage(QRect(places[static_cast<std::size_t>(i)], size), image);
        if (Progress)
            Progress(i + 1, total);
    }
    // Drawn over the copies: the outlines lie on the cells' white borders.
    if (FCutMarks)
        DrawCutMarks(Canvas, SheetCutMarks());
}

void TIDPrinter::PrintSheet(const TProgress& Progress)
{
    UpdateMetrics();
    TPrintJob job(*FPrinter);
    DrawSheet(job.Canvas(), Progress);
    job.End();
}
