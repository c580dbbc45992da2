#include "jpeg_row_encoder.h"

#include "jpeg_codec.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A picture whose every pixel differs from its neighbours, alpha varying.
QImage pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba((x * 7) & 255, (y * 13) & 255, (x * y) & 255, (x + y) & 255));
    return image;
}

QByteArray encodeInBands(const QImage& image, int band, int dpiX = 0, int dpiY = 0)
{
    TJPEGRowEncoder encoder(image.width(), image.height(), TJPEGSettings{}, dpiX, dpiY);
    std::vector<const TColor32*> rows;
    for (int y = 0; y < image.height(); y += band) {
        rows.clear();
        for (int i = y; i < std::min(y + band, image.height()); ++i)
            rows.push_back(reinterpret_cast<const TColor32*>(image.constScanLine(i)));
        encoder.WriteRows(rows.data(), static_cast<int>(rows.size()));
    }
    EXPECT_EQ(encoder.RowsWritten(), image.height());
    return encoder.Finish();
}

// The JFIF header's density: units, X and Y, after FF D8 FF E0, the length,
// "JFIF\0" and the version.
struct TDensity {
    int Unit;
    int X;
    int Y;
};

TDensity densityOf(const QByteArray& jpeg)
{
    const auto byte = [&](int i) { return static_cast<unsigned char>(jpeg.at(i)); };
    EXPECT_EQ(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    return {byte(13), byte(14) << 8 | byte(15), byte(16) << 8 | byte(17)};
}

}  // namespace

TEST(TJPEGRowEncoder, BandsGiveTheWholeImageEncodersStream)
{
    const int sizes[][3] = {{1, 1, 1}, {17, 33, 5}, {64, 48, 16}, {130, 70, 256}, {40, 41, 40}};
    for (const auto& [w, h, band] : sizes) {
        const QImage image = pattern(w, h);
        EXPECT_EQ(encodeInBands(image, band), EncodeJPEG(image, TJPEGSettings{}))
            << w << " x " << h << " in bands of " << band;
    }
}

TEST(TJPEGRowEncoder, ResolutionGoesIntoTheJfifDensityOnly)
{
    const QImage image = pattern(48, 32);
    const QByteArray plain = encodeInBands(image, 16);
    const TDensity none = densityOf(plain);
    EXPECT_EQ(none.Unit, 0);
    EXPECT_EQ(none.X, 1);
    EXPECT_EQ(none.Y, 1);

    const QByteArray stated = encodeInBands(image, 16, 1200, 600);
    const TDensity dpi = densityOf(stated);
    EXPECT_EQ(dpi.Unit, 1) << "dots per inch";
    EXPECT_EQ(dpi.X, 1200);
    EXPECT_EQ(dpi.Y, 600);
    // Every other byte is the same.
    ASSERT_EQ(stated.size(), plain.size());
    EXPECT_EQ(stated.left(13), plain.left(13));
    EXPECT_EQ(stated.mid(18), plain.mid(18));
}

TEST(TJPEGRowEncoder, OneSharedRowStandsForManyAlike)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    const std::vector<TColor32> white(40, 0xFFFFFFFF);
    const std::vector<const TColor32*> rows(40, white.data());
    TJPEGRowEncoder encoder(40, 40, TJPEGSettings{});
    encoder.WriteRows(rows.data(), 40);
    EXPECT_EQ(encoder.Finish(), EncodeJPEG(image, TJPEGSettings{}));
}

TEST(TJPEGRowEncoder, WrongRowCountsAndSizesAreRefused)
{
    const std::vector<TColor32> row(8, 0xFF102030);
    const std::vector<const TColor32*> rows(9, row.data());
    {
        TJPEGRowEncoder encoder(8, 8, TJPEGSettings{});
        EXPECT_THROW(encoder.WriteRows(rows.data(), 9), EJPEG) << "more rows than the image has";
        encoder.WriteRows(rows.data(), 7);
        EXPECT_THROW(encoder.Finish(), EJPEG) << "a row is missing";
    }
    EXPECT_THROW(TJPEGRowEncoder(0, 8, TJPEGSettings{}), EJPEG);
    EXPECT_THROW(TJPEGRowEncoder(70000, 8, TJPEGSettings{}), EJPEG);
}
