#include "photo_lab_printer.h"
#include "sheet_printer.h"
#include "sheet_render.h"

#include "jpeg_codec.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The photo lab papers at 300 dpi, turned to hold the most copies of the
// even or the packed grid, and the page "Save as image" writes from them.
TEST(LabSheet, TurnsThePaperPacksTheCopiesAndSavesThePage)
{
    struct TCase {
        const char* Printer;
        int WidthMm, HeightMm;
        std::optional<int> PackedGap;   // tenths of a millimetre; none: the even grid
        int Capacity;
        int PageWidth, PageHeight;
        QPoint First, Second;           // the first two places
    };
    const TCase cases[] = {
        // 35 x 45 mm is 413 x 531 px; 2 mm is 23 px: 4 x 2 across the turned paper.
        {"lab-10x15", 35, 45, 20, 8, 1771, 1181, {25, 48}, {461, 48}},
        {"lab-10x15", 35, 45, std::nullopt, 8, 1771, 1181, {0, 0}, {452, 0}},
        // 2 x 2 in. is 50 x 50 mm, 590 px: 2 x 3 either way, so upright.
        {"lab-4x6", 50, 50, 0, 6, 1200, 1800, {10, 15}, {600, 15}},
        // 1.8 x 2.2 in. (45 x 55 mm, 531 x 649 px): 2 x 2 upright beats 3 x 1.
        {"lab-4x6", 45, 55, 20, 4, 1200, 1800, {57, 239}, {611, 239}},
    };
    const QTemporaryDir dir;
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Printer << ' ' << c.WidthMm << 'x' << c.HeightMm);
        const auto lab = PhotoLabPrinterNamed(QString::fromLatin1(c.Printer));
        ASSERT_TRUE(lab);
        TIDPrinter sheet(*lab);
        sheet.SetPhotoSize(c.WidthMm, c.HeightMm);
        if (c.PackedGap)
            sheet.SetLayout({TSheetArrangement::Packed, *c.PackedGap});
        EXPECT_EQ(sheet.Capacity(), c.Capacity);
        EXPECT_EQ(lab->Caps(TDeviceCap::HorzRes), c.PageWidth);
        EXPECT_EQ(lab->Caps(TDeviceCap::VertRes), c.PageHeight);
        sheet.SetCount(c.Capacity);
        const std::vector<QPoint> places = sheet.Places();
        ASSERT_EQ(places.size(), static_cast<std::size_t>(c.Capacity));
        EXPECT_EQ(places[0], c.First);
        EXPECT_EQ(places[1], c.Second);
        EXPECT_EQ(sheet.CutMarks(), c.PackedGap.has_value());

        sheet.Cell().Clear(0xFF808080u);
        const QString name = dir.filePath(QStringLiteral("lab.jpg"));
        SaveSheetAsJpeg(sheet, name);
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray jpeg = file.readAll();
        const TJPEGHeader header = ReadJPEGHeader(jpeg);
        EXPECT_EQ(header.Width, c.PageWidth);
        EXPECT_EQ(header.Height, c.PageHeight);
        // JFIF density: units 1 (dots per inch), then X and Y, big-endian.
        ASSERT_EQ(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
        EXPECT_EQ(jpeg.mid(13, 5), QByteArray("\x01\x01\x2c\x01\x2c", 5));
    }
}
