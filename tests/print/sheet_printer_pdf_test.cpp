// The sheet printed through the built-in PDF printer, read back with poppler.
#include "sheet_printer.h"

#include "pdf_printer.h"
#include "pdf_tools.h"
#include "qt_printer.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr QRgb kRed = 0xFFE01010;
constexpr QRgb kBlue = 0xFF1030E0;
constexpr QRgb kWhite = 0xFFFFFFFF;

// Left half red, right half blue: the rendered page shows each copy's
// orientation as well as its place.
void paintHalves(TBitmap32& cell)
{
    cell.FillRectS(0, 0, cell.Width() / 2, cell.Height(), kRed);
    cell.FillRectS(cell.Width() / 2, 0, cell.Width(), cell.Height(), kBlue);
}

}  // namespace

TEST(TIDPrinterPdf, PrintsOnePageOfA4WithTheCopiesInPlace)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TPdfPrinter pdf(QPageSize::A4);
    const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
    pdf.SetOutputFileName(file);

    TIDPrinter sheet(pdf);
    // A4 at 600 dpi, whose size Qt keeps as 595 x 842 points: 4958 x 7017
    // pixels, 5 columns of 826 and 6 rows of 1062.
    ASSERT_EQ(sheet.PrintableWidth(), 4958);
    ASSERT_EQ(sheet.PrintableHeight(), 7017);
    ASSERT_EQ(sheet.ColumnCount(), 5);
    ASSERT_EQ(sheet.RowCount(), 6);
    paintHalves(sheet.Cell());
    sheet.SetCount(7);
    sheet.PrintSheet();

    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(pdf_tools::pageCount(file), 1);
    const QSizeF points = pdf_tools::pageSizePoints(file);
    EXPECT_NEAR(points.width(), 210 / 25.4 * 72, 0.5);
    EXPECT_NEAR(points.height(), 297 / 25.4 * 72, 0.5);

    // Gaps: (4958 - 5 * 826) div 4 = 207 across, (7017 - 6 * 1062) div 5 = 129 down.
    const int stepX = 826 + 207;
    const int stepY = 1062 + 129;

    // The whole page at 60 dpi, a tenth of the printer's pixels: every place
    // holds a copy up to the seventh, paper elsewhere.
    const QImage page = pdf_tools::render(file, 60);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 496, 1);
    EXPECT_NEAR(page.height(), 702, 1);
    for (int index = 0; index < 30; ++index) {
        const int x = (index % 5) * stepX;
        const int y = (index / 5) * stepY;
        const bool printed = index < 7;
        const QRgb left = page.pixel((x + 826 / 4) / 10, (y + 1062 / 2) / 10);
        const QRgb right = page.pixel((x + 826 * 3 / 4) / 10, (y + 1062 / 2) / 10);
        EXPECT_TRUE(pdf_tools::near(left, printed ? kRed : kWhite)) << "place " << index;
        EXPECT_TRUE(pdf_tools::near(right, printed ? kBlue : kWhite)) << "place " << index;
        if (index % 5 < 4) {
            const QRgb gapRight = page.pixel((x + 826 + 100) / 10, (y + 1062 / 2) / 10);
            EXPECT_TRUE(pdf_tools::near(gapRight, kWhite)) << "right of place " << index;
        }
        if (index < 25) {
            const QRgb gapBelow = page.pixel((x + 826 / 2) / 10, (y + 1062 + 64) / 10);
            EXPECT_TRUE(pdf_tools::near(gapBelow, kWhite)) << "below place " << index;
        }
    }

    // At the printer's own resolution the first copies' edges fall on the
    // exact pixels: around the right edge of copy 0, the gap, and copy 1.
    // The PDF may carry the picture JPEG-compressed, which blurs the colour
    // edge inside the cell by a few pixels; the cell's own edges stay sharp.
    const QImage detail = pdf_tools::render(file, 600, QRect(0, 0, stepX + 100, 1062 + 60));
    ASSERT_FALSE(detail.isNull());
    const int mid = 500;
    EXPECT_TRUE(pdf_tools::near(detail.pixel(0, 0), kRed));
    EXPECT_TRUE(pdf_tools::near(detail.pixel(406, mid), kRed));
    EXPECT_TRUE(pdf_tools::near(detail.pixel(420, mid), kBlue));
    EXPECT_TRUE(pdf_tools::near(detail.pixel(824, 1060), kBlue));
    EXPECT_TRUE(pdf_tools::near(detail.pixel(827, mid), kWhite));
    EXPECT_TRUE(pdf_tools::near(detail.pixel(500, 1063), kWhite));
    EXPECT_TRUE(pdf_tools::near(detail.pixel(stepX - 1, mid), kWhite));
    EXPECT_TRUE(pdf_tools::near(detail.pixel(stepX + 1, mid), kRed));
}

TEST(TIDPrinterPdf, ManyCopiesCarryTheCellOnce)
{
    // Every copy places the one converted image: a full page makes a file
    // about as large as a single copy does, on the built-in PDF printer as
    // on an installed printer printing to a file.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
    std::vector<std::unique_ptr<TPrinterDevice>> printers;
    auto builtIn = std::make_unique<TPdfPrinter>(QPageSize::A4);
    builtIn->SetOutputFileName(file);
    printers.push_back(std::move(builtIn));
    auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    device->setOutputFormat(QPrinter::PdfFormat);
    device->setOutputFileName(file);
    device->setResolution(300);
    printers.push_back(std::make_unique<TQtPrinter>(std::move(device)));

    for (auto& printer : printers) {
        const QString name = printer->Name();
        TIDPrinter sheet(*printer);
        for (int y = 0; y < sheet.Cell().Height(); ++y)
            for (int x = 0; x < sheet.Cell().Width(); ++x)
                sheet.Cell().SetPixel(x, y, Color32((x * 7) & 255, (y * 13) & 255, (x ^ y) & 255));
        ASSERT_GE(sheet.Capacity(), 6);
        sheet.SetCount(1);
        sheet.PrintSheet();
        const qint64 one = QFileInfo(file).size();
        sheet.SetCount(sheet.Capacity());
        sheet.PrintSheet();
        const qint64 all = QFileInfo(file).size();
        ASSERT_GT(one, 0) << name.toStdString();
        EXPECT_LT(all, one + one / 10) << name.toStdString() << ": " << one << " bytes for one copy, "
                                       << all << " for " << sheet.Capacity();
    }
}
