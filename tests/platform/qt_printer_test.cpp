// The QPrinter layer, driven here through Qt's own PDF output so that no
// printer needs to be installed; the CUPS path is in the sheet printer's
// CUPS tests.
#include "qt_printer.h"

#include "pdf_tools.h"

#include <QFile>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A5 at 300 dpi with margins of 10 mm left and right, 20 mm top and bottom.
std::unique_ptr<QPrinter> pdfPrinter(const QString& file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setResolution(300);
    printer->setPageSize(QPageSize(QPageSize::A5));
    printer->setPageMargins(QMarginsF(10, 20, 10, 20), QPageLayout::Millimeter);
    return printer;
}

}  // namespace

TEST(TQtPrinter, CapsAreThePaintRectangleInDevicePixels)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TQtPrinter printer(pdfPrinter(dir.filePath(QStringLiteral("a5.pdf"))));
    EXPECT_EQ(printer.Name(), QStringLiteral("Print to PDF"));
    EXPECT_EQ(printer.Caps(TDeviceCap::LogPixelsX), 300);
    EXPECT_EQ(printer.Caps(TDeviceCap::LogPixelsY), 300);
    // 10 mm and 20 mm at 300 dpi are 118.1 and 236.2 pixels; the sheet is
    // 148 x 210 mm, 1748 x 2480 pixels. Qt rounds through whole points.
    const int left = printer.Caps(TDeviceCap::PhysicalOffsetX);
    const int top = printer.Caps(TDeviceCap::PhysicalOffsetY);
    EXPECT_NEAR(left, 118, 2);
    EXPECT_NEAR(top, 236, 2);
    EXPECT_NEAR(left + printer.Caps(TDeviceCap::HorzRes) + left, 1748, 3);
    EXPECT_NEAR(top + printer.Caps(TDeviceCap::VertRes) + top, 2480, 3);
    // What the printer paints on is exactly that size.
    EXPECT_EQ(printer.Device().width(), printer.Caps(TDeviceCap::HorzRes));
    EXPECT_EQ(printer.Device().height(), printer.Caps(TDeviceCap::VertRes));
}

TEST(TQtPrinter, PageStartsAtThePrintableAreaOneToOne)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a5.pdf"));
    TQtPrinter printer(pdfPrinter(file));
    const int left = printer.Caps(TDeviceCap::PhysicalOffsetX);
    const int top = printer.Caps(TDeviceCap::PhysicalOffsetY);

    QImage red(200, 100, QImage::Format_RGB32);
    red.fill(Qt::red);
    printer.BeginDoc();
    printer.Canvas().drawImage(QRect(0, 0, 200, 100), red);
    printer.Canvas().fillRect(QRect(300, 0, 100, 100), Qt::blue);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    EXPECT_EQ(pdf_tools::pageCount(file), 1);
    // Rendered at the printer's resolution, each canvas pixel is one page
    // pixel, offset by the margins. Image edges may cover one pixel more.
    const QImage page = pdf_tools::render(file, 300, QRect(0, 0, left + 500, top + 200));
    ASSERT_FALSE(page.isNull());
    const auto at = [&](int x, int y) { return page.pixel(left + x, top + y); };
    EXPECT_TRUE(pdf_tools::near(at(1, 1), 0xFFFF0000, 8));
    EXPECT_TRUE(pdf_tools::near(at(198, 98), 0xFFFF0000, 8));
    EXPECT_TRUE(pdf_tools::near(at(201, 50), 0xFFFFFFFF, 8));
    EXPECT_TRUE(pdf_tools::near(at(100, 101), 0xFFFFFFFF, 8));
    EXPECT_TRUE(pdf_tools::near(at(-2, 50), 0xFFFFFFFF, 8));
    EXPECT_TRUE(pdf_tools::near(at(50, -2), 0xFFFFFFFF, 8));
    EXPECT_EQ(at(300, 0), 0xFF0000FFu);
    EXPECT_EQ(at(399, 99), 0xFF0000FFu);
    EXPECT_EQ(at(299, 50), 0xFFFFFFFFu);
    EXPECT_EQ(at(400, 50), 0xFFFFFFFFu);
    EXPECT_EQ(at(350, 100), 0xFFFFFFFFu);
}

TEST(TQtPrinter, AbortedJobSendsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a5.pdf"));
    TQtPrinter printer(pdfPrinter(file));
    printer.BeginDoc();
    printer.Canvas().fillRect(QRect(0, 0, 100, 100), Qt::black);
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_THROW(printer.EndDoc(), EPrinter);

    // The printer takes the next job as usual.
    printer.BeginDoc();
    printer.EndDoc();
    EXPECT_EQ(pdf_tools::available() ? pdf_tools::pageCount(file) : 1, 1);
}
