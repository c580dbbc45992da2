#include "cut_marks.h"

#include "sheet_printer.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <gtest/gtest.h>

namespace {

// The grid the sheet printer lays out on a page of pageW x pageH pixels with
// physical offsets off, for a cell of cellW x cellH.
TSheetGrid Grid(int pageW, int pageH, int off, int cellW, int cellH)
{
    const auto count = [](int printable, int cell, int& gap) {
        int n = printable / cell;
        gap = 0;
        while (n >= 2 && (gap = (printable - n * cell) / (n - 1)) == 0)
            --n;
        return n;
    };
    TSheetGrid g;
    g.CellWidth = cellW;
    g.CellHeight = cellH;
    g.Columns = count(pageW - 2 * off, cellW, g.GapX);
    g.Rows = count(pageH - 2 * off, cellH, g.GapY);
    g.OffsetX = g.OffsetY = off;
    g.PageWidth = pageW;
    g.PageHeight = pageH;
    return g;
}

struct GridCase {
    const char* name;
    TSheetGrid grid;
    int dpiX, dpiY;
    int placed;
};

std::vector<GridCase> GridCases()
{
    return {
        // A4 at 600 dpi, 35 x 45 mm, half a page filled.
        {"A4 600 dpi", Grid(4760, 6814, 100, 826, 1062), 600, 600, 9},
        // Gaps of one pixel and no margin at all.
        {"tight", Grid(2 * 413 + 1, 3 * 531 + 2, 0, 413, 531), 300, 300, 6},
        // A low resolution where a tenth of a millimetre is below one pixel.
        {"96 dpi", Grid(794, 1123, 10, 132, 170), 96, 96, 14},
        // An inkjet whose rows are coarser than its columns: marks of 5 pixels
        // across and 2 down still straddle their edge lines.
        {"1200 x 600 dpi", Grid(9921, 7016, 100, 1653, 1062), 1200, 600, 9},
    };
}

TEST(CutMarks, LieOnlyInGapsAndMarginsAtEveryCornerOfEveryPhoto)
{
    for (const GridCase& c : GridCases()) {
        const TSheetGrid& g = c.grid;
        ASSERT_GE(g.Columns, 2) << c.name;
        const TCutMarks marks =
            CutMarksFor(g, std::vector<QRect>(c.placed, QRect(0, 0, g.CellWidth, g.CellHeight)), c.dpiX, c.dpiY);
        EXPECT_TRUE(marks.Outlines.empty()) << c.name;
        const QRect page(0, 0, g.PageWidth, g.PageHeight);
        for (const QRect& m : marks.Marks) {
            EXPECT_TRUE(page.contains(m)) << c.name;
            for (int i = 0; i < g.Columns * g.Rows; ++i)
                EXPECT_FALSE(m.intersects(g.Place(i))) << c.name << " place " << i;
        }
        const auto marked = [&](int x, int y) {
            return std::any_of(marks.Marks.begin(), marks.Marks.end(), [&](const QRect& m) { return m.contains(x, y); });
        };
        for (int i = 0; i < c.placed; ++i) {
            const QRect cell = g.Place(i);
            const int x0 = cell.left(), x1 = cell.left() + cell.width();
            const int y0 = cell.top(), y1 = cell.top() + cell.height();
            // Just outside each corner along both edges, wherever there is paper.
            for (const int y : {y0, y1}) {
                if (y >= g.PageHeight)
                    continue;
                if (x0 > 0) {
                    EXPECT_TRUE(marked(x0 - 1, y)) << c.name << " place " << i << " at " << x0 - 1 << "," << y;
                }
                if (x1 < g.PageWidth) {
                    EXPECT_TRUE(marked(x1, y)) << c.name << " place " << i << " at " << x1 << "," << y;
                }
            }
            for (const int x : {x0, x1}) {
                if (x >= g.PageWidth)
                    continue;
                if (y0 > 0) {
                    EXPECT_TRUE(marked(x, y0 - 1)) << c.name << " place " << i << " at " << x << "," << y0 - 1;
                }
                if (y1 < g.PageHeight) {
                    EXPECT_TRUE(marked(x, y1)) << c.name << " place " << i << " at " << x << "," << y1;
                }
            }
        }
        // Places without a photo get no marks of their own.
        const QRect last = g.Place(g.Columns * g.Rows - 1);
        if (c.placed < g.Columns * g.Rows - g.Columns) {
            EXPECT_FALSE(marked(last.left() + last.width(), last.top() + last.height())) << c.name;
        }
    }
}

TEST(CutMarks, AreATenthOfAMillimetreThickAndAtLeastOnePixel)
{
    // Strokes across are as thick as a tenth of a millimetre in y, strokes
    // down in x.
    struct Case {
        int dpiX, dpiY, thicknessX, thicknessY;
    } cases[] = {{1200, 1200, 5, 5}, {600, 600, 2, 2}, {300, 300, 1, 1}, {96, 96, 1, 1}, {1200, 600, 5, 2}};
    for (const Case& c : cases) {
        const TSheetGrid g = Grid(c.dpiX * 8, c.dpiY * 11, c.dpiY / 10, c.dpiX * 35 / 25, c.dpiY * 45 / 25);
        const TCutMarks marks = CutMarksFor(g, {QRect(0, 0, g.CellWidth, g.CellHeight)}, c.dpiX, c.dpiY);
        ASSERT_FALSE(marks.Marks.empty());
        for (const QRect& m : marks.Marks) {
            if (m.width() > m.height()) {
                EXPECT_EQ(m.height(), c.thicknessY) << c.dpiX << " x " << c.dpiY;
            } else {
                EXPECT_EQ(m.width(), c.thicknessX) << c.dpiX << " x " << c.dpiY;
            }
        }
    }
}

TEST(CutMarks, OutlineTheWhiteOfCellsThePhotoDoesNotFill)
{
    const TSheetGrid g = Grid(1240, 1754, 20, 413, 531);
    const QRect full(0, 0, 413, 531);
    struct Case {
        const char* name;
        QRect photo;
    } cases[] = {
        {"filled", full},
        {"narrower", QRect(40, 0, 333, 531)},
        {"lower", QRect(0, 30, 413, 471)},
        {"off-centre", QRect(0, 0, 400, 500)},
        {"larger than the cell", QRect(-5, -5, 500, 600)},
    };
    for (const Case& c : cases) {
        // Place 1 shows the case; places 0 and 2 are filled.
        const TCutMarks marks = CutMarksFor(g, {full, c.photo, full}, 300, 300);
        const QRect cell = g.Place(1);
        const QRect photo = c.photo.translated(cell.topLeft()).intersected(cell);
        const QRegion border = QRegion(cell) - QRegion(cell.adjusted(1, 1, -1, -1));
        QRegion outlined;
        for (const QRect& r : marks.Outlines) {
            EXPECT_TRUE(cell.contains(r)) << c.name;
            EXPECT_FALSE(r.intersects(photo)) << c.name;
            outlined += r;
        }
        EXPECT_EQ(outlined, border - photo) << c.name;
    }
}

TEST(CutMarks, PainterFillsExactlyTheMarksAndOutlinesInGrey)
{
    const TSheetGrid g = Grid(1240, 1754, 20, 413, 531);
    const TCutMarks marks = CutMarksFor(g, {QRect(0, 0, 413, 531), QRect(50, 0, 313, 531)}, 150, 150);
    QImage page(g.PageWidth, g.PageHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawCutMarks(painter, marks);
    painter.end();
    QRegion expected;
    for (const QRect& r : marks.Marks)
        expected += r;
    for (const QRect& r : marks.Outlines)
        expected += r;
    int wrong = 0;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            wrong += row[x] != (expected.contains(QPoint(x, y)) ? kCutMarkColour.rgb() : qRgb(255, 255, 255));
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(expected.rectCount(), 10);
}

}  // namespace
