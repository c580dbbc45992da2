#include "virtual_printer.h"

#include "pdf_printer.h"
#include "pdf_tools.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(TVirtualPrinter, LengthsRoundDownToWholePixels)
{
    EXPECT_EQ(HundredthsMmToPixels(21590, 300), 2550) << "Letter's 8.5 in, exactly";
    EXPECT_EQ(HundredthsMmToPixels(27940, 600), 6600);
    EXPECT_EQ(HundredthsMmToPixels(21000, 300), 2480) << "2480.3";
    EXPECT_EQ(HundredthsMmToPixels(15000, 300), 1771) << "1771.65";
    EXPECT_EQ(HundredthsMmToPixels(0, 300), 0);
    EXPECT_EQ(HundredthsMmToPixels(200000, 2400), 188976) << "no overflow";

    // 100 x 150 mm with 5 mm margins at 300 dpi: 1181 x 1771 pixels of
    // paper, 59 pixels of margin on each side.
    EXPECT_EQ(TVirtualPrinter::MetricsForPaper(10000, 15000, 300, 500),
              (TPrinterMetrics{1063, 1653, 300, 300, 59, 59}));
}

TEST(TVirtualPrinter, ReportsItsMetricsAndWritesOnlyCompleteFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TPrinterMetrics metrics{1000, 1400, 300, 600, 30, 60};
    TVirtualPrinter printer(QStringLiteral("Sheet"), metrics, QSizeF(90, 65));
    EXPECT_EQ(MetricsOf(printer), metrics);
    EXPECT_EQ(printer.name(), QStringLiteral("Sheet"));
    EXPECT_THROW(printer.beginDoc(), EPrinter) << "no file name";

    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    printer.setOutputFileName(file);
    printer.beginDoc();
    EXPECT_THROW(printer.beginDoc(), EPrinter) << "one job at a time";
    printer.abort();
    EXPECT_FALSE(printer.printing());
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "an aborted job leaves nothing behind";

    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/page.pdf")));
    EXPECT_THROW(printer.beginDoc(), EPrinter);
    EXPECT_FALSE(printer.printing());
}

TEST(TVirtualPrinter, PdfPageHasThePaperAndThePrintableAreaAtTheOffsets)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 4 x 6 in paper at 100 dpi across and 200 dpi down, offsets of 0.5 in
    // and 1 in: a square of one inch drawn at the canvas origin must land
    // half an inch from the left edge and one inch from the top.
    TVirtualPrinter printer(QStringLiteral("Sheet"), {300, 800, 100, 200, 50, 200},
                            QSizeF(101.6, 152.4));
    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    printer.setOutputFileName(file);
    printer.beginDoc();
    printer.canvas().fillRect(QRect(0, 0, 100, 200), Qt::black);
    printer.endDoc();

    EXPECT_EQ(pdf_tools::pageCount(file), 1);
    const QSizeF points = pdf_tools::pageSizePoints(file);
    EXPECT_NEAR(points.width(), 4 * 72, 1);
    EXPECT_NEAR(points.height(), 6 * 72, 1);

    const QImage page = pdf_tools::render(file, 50);   // 200 x 300 pixels
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(pdf_tools::near(page.pixel(50, 75), qRgb(0, 0, 0))) << "inside the square";
    EXPECT_TRUE(pdf_tools::near(page.pixel(22, 75), qRgb(255, 255, 255))) << "left margin";
    EXPECT_TRUE(pdf_tools::near(page.pixel(50, 47), qRgb(255, 255, 255))) << "top margin";
    EXPECT_TRUE(pdf_tools::near(page.pixel(78, 75), qRgb(255, 255, 255))) << "right of it";
    EXPECT_TRUE(pdf_tools::near(page.pixel(50, 103), qRgb(255, 255, 255))) << "below it";
}

TEST(PdfPrinters, EveryPageOfAJobStartsAtThePrintableAreaAndAFailedJobWritesNothing)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("pages.pdf"));
    // Each printer, and where a square at the canvas origin lands on the
    // paper rendered at 50 dpi.
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TPrinterDevice>()> make;
        QPoint inside;
        QPoint outside;
    };
    const Case cases[] = {
        {"virtual",
         [&file] {
             auto p = std::make_unique<TVirtualPrinter>(QStringLiteral("Sheet"), TPrinterMetrics{300, 800, 100, 200, 50, 200},
                                                         QSizeF(101.6, 152.4));
             p->setOutputFileName(file);
             return p;
         },
         {50, 75}, {22, 47}},
        {"Print to PDF",
         [&file] {
             auto p = std::make_unique<TPdfPrinter>(QPageSize::A4);
             p->setOutputFileName(file);
             return p;
         },
         {5, 5}, {60, 60}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TPrinterDevice> printer = c.make();
        const int squareX = printer->caps(TDeviceCap::LogPixelsX);
        const int squareY = printer->caps(TDeviceCap::LogPixelsY);
        printer->beginDoc();
        for (int page = 0; page < 3; ++page) {
            if (page > 0)
                printer->newPage();
            printer->canvas().fillRect(QRect(0, 0, squareX, squareY), Qt::black);
        }
        printer->endDoc();
        EXPECT_EQ(pdf_tools::pageCount(file), 3) << c.name;
        for (int page = 1; page <= 3; ++page) {
            const QImage image = pdf_tools::render(file, 50, QRect(), page);
            ASSERT_FALSE(image.isNull()) << c.name;
            EXPECT_TRUE(pdf_tools::near(image.pixel(c.inside), qRgb(0, 0, 0))) << c.name << " page " << page;
            EXPECT_TRUE(pdf_tools::near(image.pixel(c.outside), qRgb(255, 255, 255))) << c.name << " page " << page;
        }

        // A job given up on its second page leaves the earlier file.
        const QByteArray before = [&file] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        printer->beginDoc();
        printer->newPage();
        printer->abort();
        QFile after(file);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_TRUE(after.readAll() == before) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("pages.pdf")}) << c.name;
    }
}
