#include "photo_sheet.h"

#include "exception.h"
#include "bitmap32.h"

#include <QImage>
#include <QPainter>
#include <QSize>

struct TPhotoSheet::TEntry {
    TBitmap32 Cell;
    QRect PhotoInCell;
    int Count = 0;
};

TPhotoSheet::TPhotoSheet(TIDPrinter& SheetPrinter) : FSheetPrinter(SheetPrinter) {}

TPhotoSheet::~TPhotoSheet() = default;

int TPhotoSheet::AddCell(int Count)
{
    auto added = std::make_unique<TEntry>();
    added->Cell.Assign(&FSheetPrinter.Cell());
    added->PhotoInCell = FSheetPrinter.PhotoInCell();
    added->Count = Count;
    FEntries.push_back(std::move(added));
    return EntryCount() - 1;
}

void TPhotoSheet::Remove(int Entry)
{
    entry(Entry);   // raises for an index outside the list
    FEntries.erase(FEntries.begin() + Entry);
}

void TPhotoSheet::Clear()
{
    FEntries.clear();
}

const TPhotoSheet::TEntry& TPhotoSheet::entry(int Entry) const
{
    return *FEntries.at(static_cast<std::size_t>(Entry));
}

int TPhotoSheet::Count(int Entry) const
{
    return entry(Entry).Count;
}

void TPhotoSheet::SetCount(int Entry, int Count)
{
    FEntries.at(static_cast<std::size_t>(Entry))->Count = Count;
}

QRect TPhotoSheet::PhotoInCell(int Entry) const
{
    const TEntry& e = entry(Entry);
    return e.PhotoInCell.isNull() ? QRect(0, 0, e.Cell.Width(), e.Cell.Height()) : e.PhotoInCell;
}

const TBitmap32& TPhotoSheet::Cell(int Entry) const
{
    return entry(Entry).Cell;
}

std::vector<TSheetPage> TPhotoSheet::Pages()
{
    FSheetPrinter.UpdateMetrics();
    const TBitmap32& cell = FSheetPrinter.Cell();
    std::vector<int> counts;
    counts.reserve(FEntries.size());
    for (const auto& e : FEntries) {
        // A cell of another size would overlap its neighbours or leave
        // gaps: the grid is the sheet printer's.
        if (e->Count > 0 && (e->Cell.Width() != cell.Width() || e->Cell.Height() != cell.Height()))
            throw Exception(QStringLiteral("The photos of the sheet were made for another photo size or printer"));
        counts.push_back(e->Count);
    }
    if (cell.Empty())
        return {};
    return LayoutPages(counts, FSheetPrinter.Capacity());
}

std::vector<TPhotoSheet::TPlacedCopy> TPhotoSheet::copiesOf(const std::vector<TSheetPage>& Pages,
                                                            int Page)
{
    if (Page < 0 || Page >= static_cast<int>(Pages.size()))
        return {};
    const TSheetGrid grid = FSheetPrinter.Grid();
    const TSheetPage& entries = Pages[static_cast<std::size_t>(Page)];
    std::vector<TPlacedCopy> copies;
    copies.reserve(entries.size());
    for (std::size_t place = 0; place < entries.size(); ++place)
        copies.push_back({grid.Place(static_cast<int>(place)).topLeft(), entries[place]});
    return copies;
}

std::vector<TPhotoSheet::TPlacedCopy> TPhotoSheet::Copies(int Page)
{
    return copiesOf(Pages(), Page);
}

TCutMarks TPhotoSheet::cutMarksOf(const std::vector<TPlacedCopy>& Copies)
{
    if (!FSheetPrinter.CutMarks() || Copies.empty())
        return {};
    std::vector<QRect> photos;
    photos.reserve(Copies.size());
    for (const TPlacedCopy& copy : Copies)
        photos.push_back(PhotoInCell(copy.Entry));
    return CutMarksFor(FSheetPrinter.Grid(), photos, FSheetPrinter.DpiX(), FSheetPrinter.DpiY());
}

TCutMarks TPhotoSheet::PageCutMarks(int Page)
{
    return cutMarksOf(Copies(Page));
}

void TPhotoSheet::drawPage(const std::vector<TSheetPage>& Pages, int Page, QPainter& Canvas,
                           const TProgress& Progress, int Done, int Total)
{
    const std::vector<TPlacedCopy> copies = copiesOf(Pages, Page);
    // Each entry's cell converted once, and only when the page shows it:
    // every copy is then a plain placement of the same image, which a PDF
    // stores once.
    std::vector<QImage> images(FEntries.size());
    for (const TPlacedCopy& copy : copies) {
        QImage& image = images[static_cast<std::size_t>(copy.Entry)];
        if (image.isNull()) {
            image = entry(copy.Entry).Cell.OpaqueImage();
            if (image.isNull())
                throw Exception(QStringLiteral("Can't allocate the DIB handle"));
        }
        Canvas.drawImage(QRect(copy.At, QSize(image.width(), image.height())), image);
        if (Progress)
            Progress(++Done, Total);
    }
    if (FSheetPrinter.CutMarks())
        DrawCutMarks(Canvas, cutMarksOf(copies));
}

void TPhotoSheet::DrawPage(int Page, QPainter& Canvas, const TProgress& Progress)
{
    const std::vector<TSheetPage> pages = Pages();
    const int total = Page >= 0 && Page < static_cast<int>(pages.size())
        ? static_cast<int>(pages[static_cast<std::size_t>(Page)].size())
        : 0;
    drawPage(pages, Page, Canvas, Progress, 0, total);
}

void TPhotoSheet::PrintPages(const TProgress& Progress)
{
    const std::vector<TSheetPage> pages = Pages();
    int total = 0;
    for (const TSheetPage& page : pages)
        total += static_cast<int>(page.size());
    TPrintJob job(FSheetPrinter.Printer());
    int done = 0;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            job.NewPage();
        drawPage(pages, static_cast<int>(page), job.Canvas(), Progress, done, total);
        done += static_cast<int>(pages[page].size());
    }
    job.End();
}
