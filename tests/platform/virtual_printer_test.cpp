#include "virtual_printer.h"

#include "pdf_tools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST(TVirtualPrinter, ReportsItsMetricsAndStartsOneJobAtATimeOnAFileItCanWrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TPrinterMetrics metrics{1000, 1400, 300, 600, 30, 60};
    TVirtualPrinter printer(QStringLiteral("Sheet"), metrics, QSizeF(90, 65));
    EXPECT_EQ(MetricsOf(printer), metrics);
    EXPECT_EQ(printer.Name(), QStringLiteral("Sheet"));
    // The message of the job that cannot start.
    const auto refusal = [&printer]() -> QString {
        try {
            printer.BeginDoc();
        } catch (const EPrinter& e) {
            return e.Message;
        }
        return QStringLiteral("(started)");
    };
    EXPECT_TRUE(refusal().contains(QStringLiteral("\"Sheet\""))) << "no file name";

    printer.SetOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
    printer.BeginDoc();
    EXPECT_THROW(printer.BeginDoc(), EPrinter) << "one job at a time";
    printer.Abort();
    EXPECT_FALSE(printer.Printing());

    const QString file = dir.filePath(QStringLiteral("no such folder/page.pdf"));
    printer.SetOutputFileName(file);
    EXPECT_TRUE(refusal().contains(QDir::toNativeSeparators(file))) << "a missing folder";
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
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
    printer.SetOutputFileName(file);
    printer.BeginDoc();
    printer.Canvas().fillRect(QRect(0, 0, 100, 200), Qt::black);
    printer.EndDoc();

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

TEST(TVirtualPrinter, EveryPageOfAJobStartsAtThePrintableAreaAndOnlyACompleteJobReplacesTheFile)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("pages.pdf"));
    const auto contents = [&file] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the previous sheet");
    }
    // A square of one inch at the canvas origin lands half an inch from the
    // left edge and one inch from the top on every page.
    TVirtualPrinter printer(QStringLiteral("Sheet"), {300, 800, 100, 200, 50, 200}, QSizeF(101.6, 152.4));
    printer.SetOutputFileName(file);
    const auto printPages = [&printer](int count) {
        printer.BeginDoc();
        for (int page = 0; page < count; ++page) {
            if (page > 0)
                printer.NewPage();
            printer.Canvas().fillRect(QRect(0, 0, 100, 200), Qt::black);
        }
    };

    printPages(2);
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(contents(), QByteArray("the previous sheet")) << "a job given up leaves the older file";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("pages.pdf")});

    printPages(3);
    printer.EndDoc();
    EXPECT_EQ(pdf_tools::pageCount(file), 3);
    for (int page = 1; page <= 3; ++page) {
        const QImage image = pdf_tools::render(file, 50, QRect(), page);   // 200 x 300 pixels
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(pdf_tools::near(image.pixel(50, 75), qRgb(0, 0, 0))) << "page " << page;
        EXPECT_TRUE(pdf_tools::near(image.pixel(22, 47), qRgb(255, 255, 255))) << "page " << page;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("pages.pdf")});
}

TEST(TVirtualPrinter, TheJobTitleIsThePdfsTitleAndSRGBItsOutputIntent)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
    TVirtualPrinter printer(QStringLiteral("Sheet"), {300, 800, 100, 200, 50, 200}, QSizeF(101.6, 152.4));
    printer.SetOutputFileName(file);
    for (const QString& title : {QString(), QString::fromUtf8("Quorlo \u2013 portr\u00E4t.jpg + 2")}) {
        SCOPED_TRACE(title.toStdString());
        printer.SetJobTitle(title);
        printer.BeginDoc();
        printer.Canvas().fillRect(QRect(0, 0, 100, 200), Qt::black);
        printer.EndDoc();
        EXPECT_EQ(pdf_tools::title(file), title);
    }
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.contains("/OutputIntents") && bytes.contains("(sRGB_IEC61966-2-1_black_scaled)"));
}
