// Several photos shared over pages: each page drawn, saved and printed.
#include "photo_sheet.h"

#include "file_names.h"
#include "sheet_render.h"
#include "test_printer.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const TColor32 kColours[] = {0xFFC02020, 0xFF20A040, 0xFF2040C0};

// A 100 dpi printer whose 35 x 45 mm cells (137 x 177) fit 2 x 2 with
// offsets (406 across hold 2 with a gap of 132, 500 down 2 with 146), and a sheet of three photos of their own colours, each photo
// narrower than its cell (white on the right, for the outlines).
struct ThreePhotos {
    ThreePhotos(const std::vector<int>& counts, bool cutMarks)
        : printer(420, 522, 100, 100, 7, 11), sheetPrinter(printer), sheet(sheetPrinter)
    {
        sheetPrinter.SetCutMarks(cutMarks);
        for (std::size_t i = 0; i < counts.size(); ++i) {
            sheetPrinter.Cell().Clear(clWhite32);
            sheetPrinter.Cell().FillRectS(0, 0, 120, 177, kColours[i % 3]);
            sheetPrinter.SetPhotoInCell(QRect(0, 0, 120, 177));
            sheet.AddCell(counts[i]);
        }
    }
    TTestPrinter printer;
    TIDPrinter sheetPrinter;
    TPhotoSheet sheet;
};

}  // namespace

TEST(TPhotoSheet, EveryCopyIsAtItsPlaceAndEachPageSavesAsItsBuffer)
{
    // Counts of the three photos, and the photo of each place, page by page.
    struct Case {
        std::vector<int> counts;
        bool cutMarks;
        std::vector<std::vector<int>> pages;
    };
    const Case cases[] = {
        {{3, 2, 2}, false, {{0, 0, 0, 1}, {1, 2, 2}}},
        {{3, 2, 2}, true, {{0, 0, 0, 1}, {1, 2, 2}}},
        {{1, 0, 1}, true, {{0, 2}}},
        {{0, 0, 0}, false, {}},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        ThreePhotos run(c.counts, c.cutMarks);
        ASSERT_EQ(run.sheetPrinter.Capacity(), 4);
        ASSERT_EQ(run.sheet.PageCount(), static_cast<int>(c.pages.size()));
        const TSheetGrid grid = run.sheetPrinter.Grid();
        // One page past the last: the blank page.
        for (std::size_t page = 0; page <= c.pages.size(); ++page) {
            const std::vector<int> expected = page < c.pages.size() ? c.pages[page] : std::vector<int>{};
            TBitmap32 buffer;
            RenderSheetPage(run.sheet, static_cast<int>(page), buffer);
            for (int place = 0; place < 4; ++place) {
                const QRect r = grid.Place(place);
                const TColor32 shown = buffer.Pixel(r.left() + 60, r.top() + 88);
                const bool used = place < static_cast<int>(expected.size());
                EXPECT_EQ(shown, used ? kColours[expected[static_cast<std::size_t>(place)]] : clWhite32)
                    << "page " << page << " place " << place;
                // The outline on the white right border, only where used.
                const bool outlined = buffer.Pixel(r.right(), r.top() + 88) != clWhite32;
                EXPECT_EQ(outlined, used && c.cutMarks) << "page " << page << " place " << place;
            }
            const QString fromBuffer = dir.filePath("buffer.jpg");
            SavePageAsJpeg(buffer, fromBuffer, run.sheetPrinter.DpiX(), run.sheetPrinter.DpiY());
            const QString composed = dir.filePath("composed.jpg");
            SaveSheetPageAsJpeg(run.sheet, static_cast<int>(page), composed);
            EXPECT_TRUE(fileBytes(composed) == fileBytes(fromBuffer)) << "page " << page;
        }
    }
}

TEST(TPhotoSheet, PrintsEveryPageAsOneJobOrNothing)
{
    ThreePhotos run({3, 2, 2}, true);
    TTestPrinter& printer = run.printer;
    int reports = 0;
    run.sheet.PrintPages([&reports](int done, int total) {
        EXPECT_EQ(done, ++reports);
        EXPECT_EQ(total, 7);
    });
    EXPECT_EQ(printer.PrintedJobs(), std::vector<int>{2});
    ASSERT_EQ(printer.PrintedPages().size(), 2u);
    for (int page = 0; page < 2; ++page) {
        TBitmap32 buffer;
        RenderSheetPage(run.sheet, page, buffer);
        QImage expected;
        buffer.AssignTo(expected);
        EXPECT_TRUE(printer.PrintedPages()[static_cast<std::size_t>(page)].convertToFormat(QImage::Format_RGB32)
                    == expected.convertToFormat(QImage::Format_RGB32))
            << "page " << page;
    }

    // A failure while the second page is drawn delivers neither page.
    EXPECT_THROW(run.sheet.PrintPages([](int done, int) {
        if (done > 4)
            throw std::runtime_error("drawing failed");
    }),
                 std::runtime_error);
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.AbortedJobs(), 1);
    EXPECT_EQ(printer.PrintedPages().size(), 2u);
}

TEST(TPhotoSheet, CellsOfAnotherSizeAreRefused)
{
    ThreePhotos run({1, 1}, false);
    run.sheetPrinter.SetPhotoSize(50, 50);
    EXPECT_THROW(run.sheet.PageCount(), Exception);
    run.sheet.SetCount(0, 0);
    EXPECT_THROW(run.sheet.PageCount(), Exception) << "the second one is still there";
    run.sheet.Remove(1);
    EXPECT_EQ(run.sheet.PageCount(), 0) << "a cell without copies takes no place";
}

TEST(PageFileName, SeveralPagesNumberTheNameBeforeItsExtension)
{
    const struct {
        const char* name;
        int page, pages;
        const char* expected;
    } cases[] = {
        {"page.jpg", 1, 1, "page.jpg"},
        {"page.jpg", 1, 2, "page-1.jpg"},
        {"dir.v2/Sheet.JPEG", 12, 12, "dir.v2/Sheet-12.JPEG"},
        {"a.b.jpg", 2, 3, "a.b-2.jpg"},
        {"dir.v2/sheet", 2, 3, "dir.v2/sheet-2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageFileName(QString::fromLatin1(c.name), c.page, c.pages), QString::fromLatin1(c.expected));
}

TEST(PrintJobTitle, NamesTheFirstPhotoAndHowManyMoreShareTheSheet)
{
    const struct {
        QStringList photos;
        const char* expected;
    } cases[] = {
        {{}, "Quorlo"},
        {{"/home/ann/portrait.jpg"}, "Quorlo \u2013 portrait.jpg"},
        {{"a/first.jpg", "b/second.JPEG", "third.jpg"}, "Quorlo \u2013 first.jpg + 2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrintJobTitle(c.photos), QString::fromUtf8(c.expected));
}
