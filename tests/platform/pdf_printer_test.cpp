#include "pdf_printer.h"

#include <QPaintDevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(TPdfPrinter, PaperFollowsTheLocale)
{
    for (const char* name : {"en_US", "en_CA", "fr_CA", "es_MX", "fil_PH", "es_CL"})
        EXPECT_EQ(DefaultPaperSize(QLocale(QString::fromLatin1(name))), QPageSize::Letter) << name;
    for (const char* name : {"fr_FR", "de_DE", "en_GB", "en_AU", "ja_JP", "es_ES"})
        EXPECT_EQ(DefaultPaperSize(QLocale(QString::fromLatin1(name))), QPageSize::A4) << name;
    EXPECT_EQ(DefaultPaperSize(QLocale::c()), QPageSize::A4);
}

TEST(TPdfPrinter, WholeSheetAt600DpiIsWhatTheCanvasPaints)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Qt keeps A4 as 595 x 842 points and Letter as 612 x 792.
    const struct {
        QPageSize::PageSizeId paper;
        int width, height;
    } sheets[] = {{QPageSize::A4, 4958, 7017}, {QPageSize::Letter, 5100, 6600}};
    for (const auto& sheet : sheets) {
        TPdfPrinter printer(sheet.paper);
        EXPECT_EQ(printer.Name(), QStringLiteral("Print to PDF"));
        EXPECT_EQ(printer.Caps(TDeviceCap::HorzRes), sheet.width);
        EXPECT_EQ(printer.Caps(TDeviceCap::VertRes), sheet.height);
        EXPECT_EQ(printer.Caps(TDeviceCap::LogPixelsX), 600);
        EXPECT_EQ(printer.Caps(TDeviceCap::LogPixelsY), 600);
        EXPECT_EQ(printer.Caps(TDeviceCap::PhysicalOffsetX), 0);
        EXPECT_EQ(printer.Caps(TDeviceCap::PhysicalOffsetY), 0);

        printer.SetOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
        printer.BeginDoc();
        const QPaintDevice* device = printer.Canvas().device();
        EXPECT_EQ(device->width(), sheet.width);
        EXPECT_EQ(device->height(), sheet.height);
        EXPECT_EQ(device->logicalDpiX(), 600);
        printer.EndDoc();
    }
}
