#pragma once

#include "cut_marks.h"
#include "page_layout.h"
#include "sheet_printer.h"

#include <QPoint>
#include <QRect>

#include <memory>
#include <vector>

class QPainter;
class TBitmap32;

/// Several photos shared over one run of pages: each entry is one photo's
/// cell as RenderPhotoCell made it in the sheet printer, where the photo
/// lies in that cell, and its number of copies. The copies follow each
/// other in entry order on the sheet printer's grid, row by row, and
/// continue on a new page when one is full (LayoutPages); one format, so one
/// cell size, for the whole run. Cut marks, when the sheet printer has them
/// on, go around the places used on every page.
///
/// Use from the main window ("Add to sheet"): the window keeps its own list
/// of photo, frame and count, one line per "Add to sheet" (the current photo
/// last). Before a preview or a print it makes the sheet afresh, at the
/// printer's metrics of that moment:
///
///     TPhotoSheet sheet(SheetPrinter);
///     for (each line) {
///         RenderPhotoCell(line.Photo, line.View, SheetPrinter, line.Frame);
///         sheet.AddCell(line.Count);
///     }
///     const int pages = sheet.PageCount();          // the preview's page list
///     RenderSheetPage(sheet, page, PreviewBuffer);   // page N of the preview
///     SaveSheetPageAsJpeg(sheet, page, PageFileName(name, page + 1, pages));
///     sheet.PrintPages();                            // one job, every page
///
/// The sheet copies each cell, so the sheet printer's own cell is free for
/// the next photo; its one-photo calls (Count, DrawSheet, PrintSheet) are
/// not used by a sheet and stay as they are. A sheet may also live as long
/// as the window's list (AddCell on "Add to sheet", SetCount and Remove as
/// the list changes), as long as it is made afresh when the format or the
/// printer changes: a cell keeps the size it was rendered at, and Pages()
/// refuses cells that no longer fit the grid.
class TPhotoSheet {
public:
    /// A sheet without entries on `SheetPrinter`, which must outlive it and
    /// gives the grid, the cut marks setting and the printer.
    explicit TPhotoSheet(TIDPrinter& SheetPrinter);
    ~TPhotoSheet();
    TPhotoSheet(const TPhotoSheet&) = delete;
    TPhotoSheet& operator=(const TPhotoSheet&) = delete;

    /// Adds the sheet printer's cell as it is now, with its PhotoInCell, as
    /// the last entry with `Count` copies (0 or less: none); its index.
    int AddCell(int Count);
    /// Takes entry `Entry` out of the list; the later ones move up.
    void Remove(int Entry);
    void Clear();

    int EntryCount() const { return static_cast<int>(FEntries.size()); }
    int Count(int Entry) const;
    void SetCount(int Entry, int Count);
    /// Where the photo lies in the entry's cell; the whole cell when its
    /// PhotoInCell was null.
    QRect PhotoInCell(int Entry) const;
    const TBitmap32& Cell(int Entry) const;

    /// UpdateMetrics, then the entries' copies laid out on pages of the
    /// grid's Capacity: for each page, the entry of each filled place. No
    /// pages when nothing is to be printed or not one copy fits. Raises
    /// ETooManyPages past kMaxSheetPages, and Exception when an entry's cell
    /// no longer has the sheet printer's cell size (the format or the
    /// printer changed after it was added: make the sheet afresh).
    std::vector<TSheetPage> Pages();
    int PageCount() { return static_cast<int>(Pages().size()); }

    /// One copy on a page: its top-left corner in device pixels (as
    /// TIDPrinter::Places gives them) and its entry.
    struct TPlacedCopy {
        QPoint At;
        int Entry;
    };
    /// The copies of page `Page` (0 first); none past the last page.
    std::vector<TPlacedCopy> Copies(int Page);
    /// The cut marks of page `Page`'s places, each at its own photo's
    /// PhotoInCell; none while cut marks are off.
    TCutMarks PageCutMarks(int Page);

    /// Draws page `Page` on the canvas as TIDPrinter::DrawSheet draws its
    /// sheet: every entry's cell converted once, each copy a 1:1 placement,
    /// then the cut marks. Progress hears of each copy.
    void DrawPage(int Page, QPainter& Canvas, const TProgress& Progress = {});

    /// Prints every page as one job on the sheet printer's printer. A failure on
    /// any page aborts the whole job, so nothing reaches the printer, and
    /// the error passes on. Progress hears of each copy of the run.
    void PrintPages(const TProgress& Progress = {});

    TIDPrinter& SheetPrinter() { return FSheetPrinter; }

private:
    struct TEntry;
    const TEntry& entry(int Entry) const;
    // DrawPage with the pages already laid out and the copies before this
    // page already reported.
    void drawPage(const std::vector<TSheetPage>& Pages, int Page, QPainter& Canvas,
                  const TProgress& Progress, int Done, int Total);
    std::vector<TPlacedCopy> copiesOf(const std::vector<TSheetPage>& Pages, int Page);
    TCutMarks cutMarksOf(const std::vector<TPlacedCopy>& Copies);

    TIDPrinter& FSheetPrinter;
    std::vector<std::unique_ptr<TEntry>> FEntries;
};
