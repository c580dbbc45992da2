#include "sheet_printer.h"

#include "test_printer.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

namespace {

// A cell whose every pixel tells where it came from, and none is white.
void paintPattern(TBitmap32& cell)
{
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x)
            cell.SetPixel(x, y, Color32((x * 7) & 255, (y * 13) & 255, 0x40));
    cell.Changed();
}

// The page DrawSheet makes on a buffer as large as the printer's page, the
// way the main window builds the preview.
QImage drawOnPageBuffer(TIDPrinter& sheet, int horzRes, int vertRes)
{
    TBitmap32 page;
    page.SetSize(horzRes, vertRes);
    page.Clear(clWhite32);
    sheet.DrawSheet(page.Canvas());
    page.Canvas().end();
    page.Changed();
    return page.Handle()->copy();
}

// Every pixel of `page`: a copy of `cell` at each of `places`, white elsewhere.
testing::AssertionResult holdsCopiesAt(const QImage& page, const TBitmap32& cell,
                                       const std::vector<QPoint>& places)
{
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            QRgb expected = 0xFFFFFF;
            for (const QPoint& p : places) {
                if (QRect(p, QSize(cell.Width(), cell.Height())).contains(x, y))
                    expected = cell.Pixel(x - p.x(), y - p.y()) & 0xFFFFFF;
            }
            const QRgb actual = page.pixel(x, y) & 0xFFFFFF;
            if (actual != expected) {
                return testing::AssertionFailure()
                    << "pixel (" << x << ", " << y << ") is " << std::hex << actual << ", expected "
                    << expected;
            }
        }
    }
    return testing::AssertionSuccess();
}

}  // namespace

TEST(TIDPrinter, MmToPixelsTruncatesInExtendedPrecision)
{
    EXPECT_EQ(TIDPrinter::MmToPixels(35, 600), 826);
    EXPECT_EQ(TIDPrinter::MmToPixels(45, 600), 1062);   // 1062.99
    EXPECT_EQ(TIDPrinter::MmToPixels(50, 600), 1181);
    EXPECT_EQ(TIDPrinter::MmToPixels(55, 600), 1299);
    EXPECT_EQ(TIDPrinter::MmToPixels(35, 300), 413);
    EXPECT_EQ(TIDPrinter::MmToPixels(45, 300), 531);
    EXPECT_EQ(TIDPrinter::MmToPixels(50, 300), 590);
    EXPECT_EQ(TIDPrinter::MmToPixels(55, 300), 649);
    // A whole inch is exact in any precision.
    EXPECT_EQ(TIDPrinter::MmToPixels(254, 600), 6000);
    // Inch sizes are exact: 2 in., 1.8 in. and 2.2 in. (the floating-point
    // steps would give 599 for 2 in. at 300 dpi).
    EXPECT_EQ(TIDPrinter::MmToPixels(50.8, 300), 600);
    EXPECT_EQ(TIDPrinter::MmToPixels(45.72, 300), 540);
    EXPECT_EQ(TIDPrinter::MmToPixels(55.88, 300), 660);
    EXPECT_EQ(TIDPrinter::MmToPixels(50.8, 600), 1200);
    EXPECT_EQ(TIDPrinter::MmToPixels(55.88, 203), 446);   // 446.6
    EXPECT_EQ(TIDPrinter::MmToPixels(35, 0), 0);
    EXPECT_EQ(TIDPrinter::MmToPixels(55, INT_MAX), INT_MAX);
}

TEST(TIDPrinter, CreateReadsItsPrinter)
{
    TTestPrinter printer(4960, 7016, 600, 600, 100, 60);
    TIDPrinter sheet{printer};
    EXPECT_EQ(sheet.PhotoWidthMm(), 35);
    EXPECT_EQ(sheet.PhotoHeightMm(), 45);
    EXPECT_EQ(sheet.DpiX(), 600);
    EXPECT_EQ(sheet.DpiY(), 600);
    // The offsets come off the printable area once more on each side.
    EXPECT_EQ(sheet.PrintableWidth(), 4960 - 200);
    EXPECT_EQ(sheet.PrintableHeight(), 7016 - 120);
    EXPECT_EQ(sheet.PhysicalOffsetX(), 100);
    EXPECT_EQ(sheet.PhysicalOffsetY(), 60);
    EXPECT_EQ(sheet.Cell().Width(), 826);
    EXPECT_EQ(sheet.Cell().Height(), 1062);
    EXPECT_EQ(sheet.Cell().StretchFilter(), sfMitchell);
    EXPECT_EQ(sheet.Count(), 0);
}

TEST(TIDPrinter, CellFollowsEachResolutionAndIsReadAfresh)
{
    TTestPrinter printer(4960, 3508, 600, 300);
    TIDPrinter sheet{printer};
    EXPECT_EQ(sheet.Cell().Width(), 826);
    EXPECT_EQ(sheet.Cell().Height(), 531);
    // Unchanged metrics keep the pixels the main window painted.
    sheet.Cell().SetPixel(825, 530, 0xFF123456);
    sheet.UpdateMetrics();
    EXPECT_EQ(sheet.Cell().Pixel(825, 530), 0xFF123456u);

    sheet.SetPhotoSize(45, 55);   // 1.8 x 2.2 in.
    EXPECT_EQ(sheet.Cell().Width(), 1062);
    EXPECT_EQ(sheet.Cell().Height(), 649);

    // Another printer (or new settings) takes effect at the next UpdateMetrics.
    printer.SetCaps(TDeviceCap::LogPixelsX, 300);
    printer.SetCaps(TDeviceCap::PhysicalOffsetX, 25);
    EXPECT_EQ(sheet.PhysicalOffsetX(), 25);
    EXPECT_EQ(sheet.Cell().Width(), 1062);
    sheet.UpdateMetrics();
    EXPECT_EQ(sheet.DpiX(), 300);
    EXPECT_EQ(sheet.PrintableWidth(), 4960 - 50);
    EXPECT_EQ(sheet.Cell().Width(), 531);
    EXPECT_EQ(sheet.Cell().Height(), 649);
}

TEST(TIDPrinter, GridAndCutMarksFollowEachResolution)
{
    // An inkjet of 1200 x 600 dpi on A4, margins of 1/12 inch: the cell is
    // 1653 x 1062.
    TTestPrinter printer(9921, 7016, 1200, 600, 100, 50);
    TIDPrinter sheet{printer};
    sheet.SetCount(30);
    sheet.SetCutMarks(true);
    const TSheetGrid grid = sheet.Grid();
    EXPECT_EQ(grid.Columns, 5);
    EXPECT_EQ(grid.GapX, (9921 - 200 - 5 * 1653) / 4);
    EXPECT_EQ(grid.Rows, 6);
    EXPECT_EQ(grid.GapY, (7016 - 100 - 6 * 1062) / 5);
    // A tenth of a millimetre: 5 pixels across, 2 down.
    const TCutMarks marks = sheet.SheetCutMarks();
    ASSERT_FALSE(marks.Marks.empty());
    for (const QRect& m : marks.Marks) {
        if (m.width() > m.height()) {
            EXPECT_EQ(m.height(), 2);
        } else {
            EXPECT_EQ(m.width(), 5);
        }
    }
}

TEST(TIDPrinter, ColumnsStandAtLeastOnePixelApart)
{
    // The cell is 826 pixels wide at 600 dpi.
    const int widths[][2] = {{4800, 5}, {2479, 2}, {1653, 2}, {1652, 1}, {825, 0}, {0, 0}};
    for (const auto& [width, columns] : widths) {
        TTestPrinter printer(width, 1062, 600, 600);
        TIDPrinter sheet{printer};
        EXPECT_EQ(sheet.ColumnCount(), columns) << "printable width " << width;
    }
    // Rows follow the same rule with the cell height, 1062.
    const int heights[][2] = {{2124, 1}, {2125, 2}, {7016, 6}, {1061, 0}};
    for (const auto& [height, rows] : heights) {
        TTestPrinter printer(826, height, 600, 600);
        TIDPrinter sheet{printer};
        EXPECT_EQ(sheet.RowCount(), rows) << "printable height " << height;
    }
}

TEST(TIDPrinter, ColumnCountIsTheGapWalk)
{
    // The count as the rule states it: drop a copy while the gap would be 0.
    auto walk = [](int space, int cell) {
        int n = space / cell;
        while (n >= 2 && (space - n * cell) / (n - 1) == 0)
            --n;
        return n;
    };
    TTestPrinter printer(0, 500, 1, 1);
    TIDPrinter sheet{printer};
    for (int dpi = 1; dpi <= 40; ++dpi) {
        printer.SetCaps(TDeviceCap::LogPixelsX, dpi);
        for (int space = 0; space <= 300; ++space) {
            printer.SetCaps(TDeviceCap::HorzRes, space);
            sheet.UpdateMetrics();
            const int cell = sheet.Cell().Width();
            if (cell == 0)
                continue;
            ASSERT_EQ(sheet.ColumnCount(), walk(space, cell)) << "space " << space << ", cell " << cell;
        }
    }
}

TEST(TIDPrinter, CapacityCountsTheGridInsideTheDoubledMargins)
{
    // 4800 x 7016 printable after the offsets: 5 columns, 6 rows.
    TTestPrinter printer(4800 + 2 * 80, 7016 + 2 * 50, 600, 600, 80, 50);
    TIDPrinter sheet{printer};
    EXPECT_EQ(sheet.ColumnCount(), 5);
    EXPECT_EQ(sheet.RowCount(), 6);
    EXPECT_EQ(sheet.Capacity(), 30);

    // The same page with larger offsets loses a column and a row.
    printer.SetCaps(TDeviceCap::PhysicalOffsetX, 80 + 400);
    printer.SetCaps(TDeviceCap::PhysicalOffsetY, 50 + 600);
    sheet.UpdateMetrics();
    EXPECT_EQ(sheet.Capacity(), 4 * 5);
}

TEST(TIDPrinter, CellLargerThanThePageFitsNowhere)
{
    TTestPrinter printer(800, 7016, 600, 600);
    TIDPrinter sheet{printer};
    EXPECT_EQ(sheet.ColumnCount(), 0);
    EXPECT_EQ(sheet.Capacity(), 0);
    sheet.SetCount(5);
    paintPattern(sheet.Cell());
    EXPECT_TRUE(holdsCopiesAt(drawOnPageBuffer(sheet, 800, 7016), sheet.Cell(), {}));

    // Margins wider than the page leave a negative printable width.
    printer.SetCaps(TDeviceCap::HorzRes, 4800);
    printer.SetCaps(TDeviceCap::PhysicalOffsetX, 3000);
    sheet.UpdateMetrics();
    EXPECT_EQ(sheet.ColumnCount(), 0);
    EXPECT_EQ(sheet.Capacity(), 0);
}

TEST(TIDPrinter, PrinterWithoutResolutionGivesNoCapacity)
{
    TTestPrinter printer(300, 300, 0, 0);
    TIDPrinter sheet{printer};
    EXPECT_TRUE(sheet.Cell().Empty());
    EXPECT_EQ(sheet.ColumnCount(), 0);
    EXPECT_EQ(sheet.RowCount(), 0);
    EXPECT_EQ(sheet.Capacity(), 0);
    sheet.SetCount(3);
    EXPECT_TRUE(holdsCopiesAt(drawOnPageBuffer(sheet, 300, 300), sheet.Cell(), {}));
    sheet.PrintSheet();
    ASSERT_EQ(printer.PrintedPages().size(), 1u);
}

// A 100 dpi printer whose page holds 3 x 2 cells of 137 x 177 pixels:
// printable 452 x 384 inside offsets of 7 and 11, gaps of 20 and 30, one
// pixel left over at the right.
class SheetLayout : public testing::Test {
protected:
    static constexpr int kHorzRes = 466;
    static constexpr int kVertRes = 406;

    TTestPrinter printer{kHorzRes, kVertRes, 100, 100, 7, 11};
    TIDPrinter sheet{printer};

    void SetUp() override
    {
        ASSERT_EQ(sheet.Cell().Width(), 137);
        ASSERT_EQ(sheet.Cell().Height(), 177);
        ASSERT_EQ(sheet.Capacity(), 6);
        paintPattern(sheet.Cell());
    }

    QImage preview() { return drawOnPageBuffer(sheet, kHorzRes, kVertRes); }

    static std::vector<QPoint> firstPlaces(int n)
    {
        const std::vector<QPoint> all{{7, 11}, {164, 11}, {321, 11}, {7, 218}, {164, 218}, {321, 218}};
        return {all.begin(), all.begin() + n};
    }
};

TEST_F(SheetLayout, FillsEveryPlaceWhenCountReachesCapacity)
{
    sheet.SetCount(6);
    EXPECT_TRUE(holdsCopiesAt(preview(), sheet.Cell(), firstPlaces(6)));
    sheet.SetCount(50);
    EXPECT_TRUE(holdsCopiesAt(preview(), sheet.Cell(), firstPlaces(6)));
}

TEST_F(SheetLayout, FillsPlacesRowByRowUpToCount)
{
    sheet.SetCount(4);
    EXPECT_TRUE(holdsCopiesAt(preview(), sheet.Cell(), firstPlaces(4)));
    sheet.SetCount(0);
    EXPECT_TRUE(holdsCopiesAt(preview(), sheet.Cell(), {}));
}

TEST_F(SheetLayout, PlacesFollowThePrinterOffsets)
{
    // Moving the printable area moves the grid on the preview as on paper.
    printer.SetCaps(TDeviceCap::PhysicalOffsetX, 2);
    printer.SetCaps(TDeviceCap::PhysicalOffsetY, 0);
    sheet.SetCount(2);
    // Printable 462 x 406: gaps (462 - 411) div 2 = 25 and 406 - 354 = 52.
    EXPECT_TRUE(holdsCopiesAt(preview(), sheet.Cell(), {{2, 0}, {2 + 137 + 25, 0}}));
}

TEST_F(SheetLayout, SingleColumnIsDrawnAtTheOffset)
{
    // Exactly two cells wide leaves no pixel between them: one column.
    printer.SetCaps(TDeviceCap::HorzRes, 2 * 137 + 14);
    sheet.UpdateMetrics();
    ASSERT_EQ(sheet.ColumnCount(), 1);
    ASSERT_EQ(sheet.Capacity(), 2);
    sheet.SetCount(2);
    EXPECT_TRUE(holdsCopiesAt(drawOnPageBuffer(sheet, 2 * 137 + 14, kVertRes), sheet.Cell(),
                              {{7, 11}, {7, 218}}));
}

TEST_F(SheetLayout, SingleRowAndSingleCopyAreDrawnAtTheOffset)
{
    printer.SetCaps(TDeviceCap::VertRes, 300);
    sheet.UpdateMetrics();
    ASSERT_EQ(sheet.RowCount(), 1);
    sheet.SetCount(3);
    EXPECT_TRUE(holdsCopiesAt(drawOnPageBuffer(sheet, kHorzRes, 300), sheet.Cell(),
                              {{7, 11}, {164, 11}, {321, 11}}));

    printer.SetCaps(TDeviceCap::HorzRes, 200);
    EXPECT_TRUE(holdsCopiesAt(drawOnPageBuffer(sheet, 200, 300), sheet.Cell(), {{7, 11}}));
}

TEST_F(SheetLayout, PrintsOnePageAsThePreviewShowsIt)
{
    sheet.SetCount(5);
    sheet.PrintSheet();
    ASSERT_EQ(printer.PrintedPages().size(), 1u);
    EXPECT_EQ(printer.AbortedJobs(), 0);
    EXPECT_TRUE(holdsCopiesAt(printer.PrintedPages()[0], sheet.Cell(), firstPlaces(5)));
    EXPECT_EQ(printer.PrintedPages()[0], preview());
}

TEST_F(SheetLayout, PrintFailingHalfwayIsAbortedAndReported)
{
    sheet.SetCount(6);
    printer.SetFailWhilePrinting(true);
    EXPECT_THROW(sheet.PrintSheet(), EPrinter);
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.AbortedJobs(), 1);
    EXPECT_TRUE(printer.PrintedPages().empty());

    // The printer is usable again once it answers.
    printer.SetFailWhilePrinting(false);
    sheet.PrintSheet();
    EXPECT_EQ(printer.PrintedPages().size(), 1u);
}

TEST_F(SheetLayout, PrinterThatCannotStartAJobRaises)
{
    printer.SetFailBeginDoc(true);
    EXPECT_THROW(sheet.PrintSheet(), EPrinter);
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.PrintedPages().empty());
}
