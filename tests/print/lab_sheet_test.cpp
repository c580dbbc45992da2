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
        int Margin;                     // the lab margin, tenths of a millimetre
        int Capacity;
        int PageWidth, PageHeight;
        QPoint First, Second;           // the first two places
    };
    const TCase cases[] = {
        // 35 x 45 mm is 413 x 531 px; 2 mm is 23 px: 4 x 2 across the turned paper.
        {"lab-10x15", 35, 45, 20, 0, 8, 1771, 1181, {25, 48}, {461, 48}},
        {"lab-10x15", 35, 45, std::nullopt, 0, 8, 1771, 1181, {0, 0}, {452, 0}},
        // 2 x 2 in. is 50 x 50 mm, 590 px: 2 x 3 either way, so upright.
        {"lab-4x6", 50, 50, 0, 0, 6, 1200, 1800, {10, 15}, {600, 15}},
        // 1.8 x 2.2 in. (45 x 55 mm, 531 x 649 px): 2 x 2 upright beats 3 x 1.
        {"lab-4x6", 45, 55, 20, 0, 4, 1200, 1800, {57, 239}, {611, 239}},
        // The default margin of 3 mm (36 px) keeps every copy off the edges
        // labs trim; 35 x 45 mm still fits 4 x 2 evenly, but packed with its
        // gaps only 2 x 3; 2 x 2 in. only 1 x 2 (a margin of 0 gives 2 x 3).
        {"lab-10x15", 35, 45, std::nullopt, kDefaultLabMargin, 8, 1771, 1181, {36, 36}, {464, 36}},
        {"lab-10x15", 35, 45, 20, kDefaultLabMargin, 6, 1181, 1771, {166, 66}, {602, 66}},
        {"lab-4x6", 50, 50, std::nullopt, kDefaultLabMargin, 2, 1200, 1800, {36, 36}, {36, 1174}},
    };
    const QTemporaryDir dir;
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Printer << ' ' << c.WidthMm << 'x' << c.HeightMm);
        const auto lab = PhotoLabPrinterNamed(QString::fromLatin1(c.Printer));
        ASSERT_TRUE(lab);
        TIDPrinter sheet(*lab);
        sheet.SetPhotoSize(c.WidthMm, c.HeightMm);
        sheet.SetLayout({c.PackedGap ? TSheetArrangement::Packed : TSheetArrangement::Even,
                         c.PackedGap.value_or(kDefaultPackedGap), c.Margin});
        EXPECT_EQ(sheet.Capacity(), c.Capacity);
        EXPECT_EQ(lab->Caps(TDeviceCap::HorzRes), c.PageWidth);
        EXPECT_EQ(lab->Caps(TDeviceCap::VertRes), c.PageHeight);
        sheet.SetCount(c.Capacity);
        const std::vector<QPoint> places = sheet.Places();
        ASSERT_EQ(places.size(), static_cast<std::size_t>(c.Capacity));
        EXPECT_EQ(places[0], c.First);
        EXPECT_EQ(places[1], c.Second);
        const int margin = (c.Margin * 300 + 253) / 254;
        for (const QPoint& at : places)
            EXPECT_TRUE(QRect(margin, margin, c.PageWidth - 2 * margin, c.PageHeight - 2 * margin)
                            .contains(QRect(at, QSize(sheet.Cell().Width(), sheet.Cell().Height()))))
                << at.x() << "," << at.y();
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
