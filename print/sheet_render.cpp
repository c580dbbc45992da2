#include "sheet_render.h"

#include "bitmap32.h"
#include "file_io.h"
#include "jpeg_row_encoder.h"
#include "photo_sheet.h"
#include "turned_photo.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

TRect PhotoRectInCell(int PhotoWidth, int PhotoHeight, int CellWidth, int CellHeight)
{
    TRect r = Rect(0, 0, CellWidth, CellHeight);
    if (PhotoWidth <= 0 || PhotoHeight <= 0 || CellWidth <= 0 || CellHeight <= 0)
        return r;
    const double rw = static_cast<double>(PhotoWidth) / CellWidth;
    const double rh = static_cast<double>(PhotoHeight) / CellHeight;
    // Evaluated in long double: in doubles the 1200 x 1600 photo of a
    // 826 x 1062 cell lands on 796.5 exactly and rounds the other way.
    if (rw < rh)
        r.Right = static_cast<int>(std::nearbyintl(static_cast<long double>(CellWidth) * rw / rh));
    else
        r.Bottom = static_cast<int>(std::nearbyintl(static_cast<long double>(CellHeight) * rh / rw));
    return r;
}

namespace {

// Cell coordinate of photo coordinate At for a frame starting at From of
// Size photo pixels over Cell pixels; far-out values are held where integer
// arithmetic on them stays safe.
int cellEdge(double At, double From, double Size, int Cell)
{
    constexpr long double kLimit = 1 << 30;
    const long double v = (static_cast<long double>(At) - From) * Cell / Size;
    return static_cast<int>(std::nearbyintl(std::clamp(v, -kLimit, kLimit)));
}

}  // namespace

TRect FramedPhotoRect(int PhotoWidth, int PhotoHeight, const TFrame& Frame, int CellWidth,
                      int CellHeight)
{
    if (!(Frame.Width > 0) || !(Frame.Height > 0))
        return TRect{};
    return Rect(cellEdge(0, Frame.X, Frame.Width, CellWidth),
                cellEdge(0, Frame.Y, Frame.Height, CellHeight),
                cellEdge(PhotoWidth, Frame.X, Frame.Width, CellWidth),
                cellEdge(PhotoHeight, Frame.Y, Frame.Height, CellHeight));
}

void RenderPhotoCell(const TBitmap32& Photo, const TViewLook& View, TIDPrinter& SheetPrinter,
                     const std::optional<TFrame>& Frame, const std::optional<TPlainBackground>& Background,
                     double Turn)
{
    TBitmap32& cell = SheetPrinter.Cell();
    cell.Clear(clWhite32);
    if (Frame) {
        const TBitmap32& photo = Photo;
        const TRect r = FramedPhotoRect(photo.Width(), photo.Height(), *Frame, cell.Width(),
                                        cell.Height());
        // The cut marks outline what the frame holds beyond the photo; the
        // rectangle of an earlier, unframed photo must not stay behind.
        const QRect inCell = QRect(r.Left, r.Top, r.Width(), r.Height()).intersected(
            QRect(0, 0, cell.Width(), cell.Height()));
        // Empty but not null when the photo misses the cell: a null one
        // would stand for the whole cell.
        SheetPrinter.SetPhotoInCell(inCell.isEmpty() ? QRect(0, 0, 1, 0) : inCell);
        if (photo.Empty() || cell.Empty() || r.IsEmpty())
            return;
        if (Turn != 0)
            DrawTurned(photo, Turn, QRectF(Frame->X, Frame->Y, Frame->Width, Frame->Height), cell,
                       QRectF(0, 0, cell.Width(), cell.Height()));
        else
            photo.DrawTo(cell, r);
        if (Background)
            PutPlainBackground(cell, *Frame, *Background);
        return;
    }
    const TRect r = PhotoRectInCell(Photo.Width(), Photo.Height(), cell.Width(), cell.Height());
    if (Turn != 0) {
        // The view's bands, then the turned photo in the photo's place.
        PaintViewBackground(Photo, View, r, cell);
        if (!r.IsEmpty())
            DrawTurned(Photo, Turn, QRectF(0, 0, Photo.Width(), Photo.Height()), cell,
                       QRectF(r.Left, r.Top, r.Width(), r.Height()));
    } else {
        PaintView(Photo, Photo.StretchFilter(), View, r, cell);
    }
    SheetPrinter.SetPhotoInCell(QRect(r.Left, r.Top, r.Width(), r.Height()));
    if (Background && !r.IsEmpty() && !Photo.Empty()) {
        // The part of the photo the whole cell shows, the photo at its top left.
        const double sx = static_cast<double>(Photo.Width()) / r.Width();
        const double sy = static_cast<double>(Photo.Height()) / r.Height();
        PutPlainBackground(cell, TFrame{0, 0, cell.Width() * sx, cell.Height() * sy}, *Background);
    }
}

namespace {

// Rows go to the encoder in bands of this many: a multiple of the 16 rows
// the encoder works in, large enough that progress reports stay rare.
constexpr int kBandRows = 256;

// Encodes a Width x Height page whose rows `Band` supplies (it fills
// rows[0..n) for the n rows from y) straight into `File`, so the stream is
// never held whole. A page without pixels has nothing to encode: its file
// is empty, as an empty bitmap's has always been.
template <typename Band>
void encodeInto(TAtomicFileWriter& File, int Width, int Height, int DpiX, int DpiY,
                const TProgress& Progress, Band&& band)
{
    if (Width <= 0 || Height <= 0)
        return;
    TJPEGRowEncoder encoder(Width, Height, JPEGDefaults(), DpiX, DpiY,
                            [&File](const char* data, std::size_t size) { File.Write(data, size); });
    std::vector<const TColor32*> rows(kBandRows);
    const int bands = (Height + kBandRows - 1) / kBandRows;
    for (int b = 0; b < bands; ++b) {
        const int y = b * kBandRows;
        const int n = std::min(kBandRows, Height - y);
        band(y, n, rows.data());
        encoder.WriteRows(rows.data(), n);
        if (Progress)
            Progress(b + 1, bands);
    }
    encoder.Finish();
}

// encodeInto a temporary file beside FileName, which replaces it once the
// last byte is on disk.
template <typename Band>
void encodePage(int Width, int Height, int DpiX, int DpiY, const QString& FileName,
                const TProgress& Progress, Band&& band)
{
    TAtomicFileWriter file(FileName);
    encodeInto(file, Width, Height, DpiX, DpiY, Progress, std::forward<Band>(band));
    file.Commit();
}

// The colour DrawCutMarks fills with, as it lands on a page pixel.
const TColor32 kCutMarkPixel = static_cast<TColor32>(kCutMarkColour.rgb());

// One copy of a cell on the page: its top-left corner and its cell.
struct TPlacedCell {
    QPoint At;
    const TBitmap32* Cell;
};

// The rows of the printed page made on demand from the copies of the cells
// (all of one size, on one grid) and the cut marks: a row crossing a row of
// copies or a mark is composed in a band buffer, every other row is the one
// white row.
class TSheetRows {
public:
    TSheetRows(const std::vector<TPlacedCell>& Copies, int PageWidth, const TCutMarks& Marks)
        : FWidth(PageWidth), FWhite(static_cast<std::size_t>(PageWidth), clWhite32)
    {
        if (!Copies.empty()) {
            FCellWidth = Copies.front().Cell->Width();
            FCellHeight = Copies.front().Cell->Height();
        }
        FMarks = Marks.Marks;
        FMarks.insert(FMarks.end(), Marks.Outlines.begin(), Marks.Outlines.end());
        // The places of one grid row share their top.
        for (const TPlacedCell& c : Copies) {
            if (FGridRows.empty() || FGridRows.back().Top != c.At.y())
                FGridRows.push_back({c.At.y(), {}});
            FGridRows.back().Copies.push_back({c.At.x(), c.Cell});
        }
        FBuffer.resize(static_cast<std::size_t>(kBandRows) * static_cast<std::size_t>(PageWidth), clWhite32);
        FHolds.assign(kBandRows, -1);
    }

    void operator()(int Y, int Count, const TColor32** Rows)
    {
        for (int i = 0; i < Count; ++i)
            Rows[i] = row(Y + i, i);
    }

private:
    struct TRowCopy {
        int Left;
        const TBitmap32* Cell;
    };
    struct TGridRow {
        int Top;
        std::vector<TRowCopy> Copies;
    };

    const TColor32* row(int y, int slot)
    {
        const int grid = gridRowAt(y);
        const bool marked = std::any_of(FMarks.begin(), FMarks.end(), [y](const QRect& r) {
            return y >= r.top() && y <= r.bottom();
        });
        if (grid < 0 && !marked)
            return FWhite.data();
        TColor32* out = FBuffer.data() + static_cast<std::size_t>(slot) * static_cast<std::size_t>(FWidth);
        // A buffer row that held another grid row's copies, or any marks,
        // is white again first; one that held this grid row alone keeps its
        // white gaps.
        const int holds = marked ? kHoldsMarks : grid;
        if (marked || FHolds[static_cast<std::size_t>(slot)] != holds) {
            std::fill(out, out + FWidth, clWhite32);
            FHolds[static_cast<std::size_t>(slot)] = holds;
        }
        if (grid >= 0) {
            const TGridRow& g = FGridRows[static_cast<std::size_t>(grid)];
            for (const TRowCopy& copy : g.Copies) {
                const TColor32* cellRow = copy.Cell->ScanLine(y - g.Top);
                const int from = std::max(copy.Left, 0);
                const int to = std::min(copy.Left + FCellWidth, FWidth);
                if (from < to)
                    std::copy(cellRow + (from - copy.Left), cellRow + (to - copy.Left), out + from);
            }
        }
        // Over the copies, as DrawSheet draws them.
        if (marked) {
            for (const QRect& r : FMarks) {
                if (y < r.top() || y > r.bottom())
                    continue;
                const int from = std::max(r.left(), 0);
                const int to = std::min(r.right() + 1, FWidth);
                if (from < to)
                    std::fill(out + from, out + to, kCutMarkPixel);
            }
        }
        return out;
    }

    static constexpr int kHoldsMarks = -2;

    // The grid row whose copies cross page row y, or -1.
    int gridRowAt(int y) const
    {
        for (std::size_t i = 0; i < FGridRows.size(); ++i) {
            const int top = FGridRows[i].Top;
            if (y >= top && y < top + FCellHeight)
                return static_cast<int>(i);
        }
        return -1;
    }

    int FWidth;
    int FCellWidth = 0;
    int FCellHeight = 0;
    std::vector<TColor32> FWhite;
    std::vector<TColor32> FBuffer;
    std::vector<int> FHolds;   // which grid row each buffer row holds
    std::vector<TGridRow> FGridRows;
    std::vector<QRect> FMarks;  // marks and outlines alike
};

}  // namespace

void RenderPage(TIDPrinter& SheetPrinter, TBitmap32& Page, const TProgress& Progress)
{
    const TPrinterDevice& printer = SheetPrinter.Printer();
    // One resize: the old page goes before the new one is made, so two of
    // that size never exist together.
    Page.SetSize(printer.Caps(TDeviceCap::HorzRes), printer.Caps(TDeviceCap::VertRes));
    Page.Clear(clWhite32);
    if (Page.Empty())
        return;
    SheetPrinter.DrawSheet(Page.Canvas(), Progress);
    Page.Changed();
}

void SavePageAsJpeg(const TBitmap32& Page, const QString& FileName, int DpiX, int DpiY,
                    const TProgress& Progress)
{
    encodePage(Page.Width(), Page.Height(), DpiX, DpiY, FileName, Progress,
               [&Page](int y, int n, const TColor32** rows) {
                   for (int i = 0; i < n; ++i)
                       rows[i] = Page.ScanLine(y + i);
               });
}

void SaveSheetAsJpeg(TIDPrinter& SheetPrinter, const QString& FileName, const TProgress& Progress)
{
    const TPrinterDevice& printer = SheetPrinter.Printer();
    const int width = printer.Caps(TDeviceCap::HorzRes);
    const int height = printer.Caps(TDeviceCap::VertRes);
    const std::vector<QPoint> places = SheetPrinter.Places();
    if (width <= 0 || height <= 0) {
        encodePage(width, height, 0, 0, FileName, Progress, [](int, int, const TColor32**) {});
        return;
    }
    std::vector<TPlacedCell> copies;
    copies.reserve(places.size());
    for (const QPoint& at : places)
        copies.push_back({at, &SheetPrinter.Cell()});
    TSheetRows rows(copies, width, SheetPrinter.SheetCutMarks());
    encodePage(width, height, SheetPrinter.DpiX(), SheetPrinter.DpiY(), FileName, Progress, rows);
}

void RenderSheetPage(TPhotoSheet& Sheet, int PageIndex, TBitmap32& Page, const TProgress& Progress)
{
    const TPrinterDevice& printer = Sheet.SheetPrinter().Printer();
    Page.SetSize(printer.Caps(TDeviceCap::HorzRes), printer.Caps(TDeviceCap::VertRes));
    Page.Clear(clWhite32);
    if (Page.Empty())
        return;
    Sheet.DrawPage(PageIndex, Page.Canvas(), Progress);
    Page.Changed();
}

namespace {

// Page `PageIndex` of the sheet composed band by band into `File`.
void encodeSheetPage(TPhotoSheet& Sheet, int PageIndex, TAtomicFileWriter& File,
                     const TProgress& Progress)
{
    const TPrinterDevice& printer = Sheet.SheetPrinter().Printer();
    const int width = printer.Caps(TDeviceCap::HorzRes);
    const int height = printer.Caps(TDeviceCap::VertRes);
    const std::vector<TPhotoSheet::TPlacedCopy> placed = Sheet.Copies(PageIndex);
    if (width <= 0 || height <= 0)
        return;
    std::vector<TPlacedCell> copies;
    copies.reserve(placed.size());
    for (const TPhotoSheet::TPlacedCopy& copy : placed)
        copies.push_back({copy.At, &Sheet.Cell(copy.Entry)});
    TSheetRows rows(copies, width, Sheet.PageCutMarks(PageIndex));
    TIDPrinter& sheetPrinter = Sheet.SheetPrinter();
    encodeInto(File, width, height, sheetPrinter.DpiX(), sheetPrinter.DpiY(), Progress, rows);
}

}  // namespace

void SaveSheetPageAsJpeg(TPhotoSheet& Sheet, int PageIndex, const QString& FileName,
                         const TProgress& Progress)
{
    TAtomicFileWriter file(FileName);
    encodeSheetPage(Sheet, PageIndex, file, Progress);
    file.Commit();
}

void SaveSheetPagesAsJpeg(TPhotoSheet& Sheet, const QStringList& FileNames, const TProgress& Progress)
{
    // Every page is written before any replaces its name.
    std::vector<std::unique_ptr<TAtomicFileWriter>> files;
    files.reserve(static_cast<std::size_t>(FileNames.size()));
    const int pages = static_cast<int>(FileNames.size());
    for (int page = 0; page < pages; ++page) {
        files.push_back(std::make_unique<TAtomicFileWriter>(FileNames[page]));
        const TProgress pageProgress = [&](int done, int total) {
            if (Progress)
                Progress(page * total + done, pages * total);
        };
        encodeSheetPage(Sheet, page, *files.back(), pageProgress);
    }
    for (const auto& file : files)
        file->Commit();
}
