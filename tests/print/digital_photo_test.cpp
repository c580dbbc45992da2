#include "digital_photo.h"

#include "jpeg_codec.h"
#include "jpeg_row_encoder.h"
#include "messages.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString messageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return QStringLiteral("(no exception)");
}

}  // namespace

// Each preset and an own size: the file has the size's pixels, is baseline,
// and its length keeps within the limits; the size reads as the dialog
// shows it.
TEST(DigitalPhoto, SavesEverySizeWithinItsLimits)
{
    TBitmap32 portrait;
    portrait.SetStretchFilter(sfMitchell);
    portrait.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));
    const QTemporaryDir dir;
    struct TCase {
        const char* Text;
        int Width, Height;
        qint64 MinBytes, MaxBytes;
        const char* Shown;
    };
    const TCase cases[] = {
        {"us-passport", 1200, 1200, 54 * 1024, 10'000'000, "1200 \u00d7 1200 px, 54 KB \u2013 10 MB"},
        {"us-visa", 600, 600, 0, 240'000, "600 \u00d7 600 px, \u2264 240 KB"},
        {"UK", 700, 900, 50 * 1024, 10'000'000, "700 \u00d7 900 px, 50 KB \u2013 10 MB"},
        {"400x500px,10-30", 400, 500, 10 * 1024, 30'000, "400 \u00d7 500 px, 10 KB \u2013 30 KB"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TDigitalSize size = ParseDigitalSize(QString::fromLatin1(c.Text));
        EXPECT_EQ(size.MinBytes, c.MinBytes);
        EXPECT_EQ(size.MaxBytes, c.MaxBytes);
        EXPECT_EQ(DigitalSizeText(size).toStdString(), c.Shown);
        const QString name = dir.filePath(QStringLiteral("photo.jpg"));
        const TFrame head{100, 80, 300, 386};   // a 35:45 frame as the window gives it
        const TDigitalJpeg jpeg = SaveDigitalPhoto(portrait, head, size, name);
        const QByteArray file = readAll(name);
        EXPECT_EQ(file, jpeg.Bytes);
        const TJPEGHeader header = ReadJPEGHeader(file);
        EXPECT_EQ(header.Width, c.Width);
        EXPECT_EQ(header.Height, c.Height);
        EXPECT_FALSE(header.Progressive);
        EXPECT_GE(file.size(), c.MinBytes);
        if (c.MaxBytes > 0) {
            EXPECT_LE(file.size(), c.MaxBytes);
        }
    }
}

// The frame's centre stays the picture's centre whatever the size's shape:
// a photo of four quarters meeting at the centre of a 35 : 45 frame.
TEST(DigitalPhoto, KeepsTheFrameCentreInEveryShape)
{
    TBitmap32 quarters;
    quarters.SetSize(800, 700);
    const TFrame frame{100, 80, 350, 450};   // centre (275, 305)
    for (int y = 0; y < quarters.Height(); ++y)
        for (int x = 0; x < quarters.Width(); ++x)
            quarters.SetPixel(x, y, (x < 275 ? 0xFF000000u : 0xFFFF0000u) | (y < 305 ? 0u : 0xFF00u));
    for (const char* text : {"us-visa", "uk", "300x600px"}) {
        SCOPED_TRACE(text);
        const TDigitalSize size = ParseDigitalSize(QString::fromLatin1(text));
        TBitmap32 out;
        out.SetStretchFilter(sfMitchell);
        RenderDigitalPhoto(quarters, frame, size, out);
        const int cx = size.Width / 2, cy = size.Height / 2;
        EXPECT_EQ(out.Pixel(cx - 3, cy - 3), 0xFF000000u);
        EXPECT_EQ(out.Pixel(cx + 2, cy - 3), 0xFFFF0000u);
        EXPECT_EQ(out.Pixel(cx - 3, cy + 2), 0xFF00FF00u);
        EXPECT_EQ(out.Pixel(cx + 2, cy + 2), 0xFFFFFF00u);
    }
}

// The quality is the highest that fits: one step more overflows, one byte
// less of room costs it.
TEST(DigitalPhoto, BisectionFindsTheHighestQualityThatFits)
{
    TBitmap32 portrait;
    portrait.SetStretchFilter(sfMitchell);
    portrait.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));
    TBitmap32 pixels;
    pixels.SetStretchFilter(sfMitchell);
    TDigitalSize size = ParseDigitalSize(QStringLiteral("600x600px,-60"));
    RenderDigitalPhoto(portrait, std::nullopt, size, pixels);
    const TDigitalJpeg fitted = EncodeDigitalPhoto(pixels, size);
    ASSERT_GT(fitted.Quality, 1);
    ASSERT_LT(fitted.Quality, 100);
    EXPECT_GT(EncodeDigitalPhotoAt(pixels, fitted.Quality + 1).size(), size.MaxBytes);
    size.MaxBytes = fitted.Bytes.size();
    EXPECT_EQ(EncodeDigitalPhoto(pixels, size).Quality, fitted.Quality);
    size.MaxBytes = fitted.Bytes.size() - 1;
    EXPECT_LT(EncodeDigitalPhoto(pixels, size).Quality, fitted.Quality);
}

// What cannot be made is refused with a sentence that says why.
TEST(DigitalPhoto, RefusesWhatCannotBeMade)
{
    TBitmap32 white;
    white.SetSize(50, 50);
    white.Clear(clWhite32);
    TBitmap32 pixels;
    const auto save = [&](const char* text) {
        RenderDigitalPhoto(white, std::nullopt, ParseDigitalSize(QString::fromLatin1(text)), pixels);
        EncodeDigitalPhoto(pixels, ParseDigitalSize(QString::fromLatin1(text)));
    };
    const QString firstWords[][2] = {
        {QStringLiteral("3000x3000px,-1"), MessageText(Msg::kDigitalTooLarge).section(QLatin1Char(':'), 0, 0)},
        {QStringLiteral("600x600px,500-"), MessageText(Msg::kDigitalTooSmall).section(QLatin1Char(':'), 0, 0)},
        {QStringLiteral("passport"), QStringLiteral("\"passport\" is not a digital photo size")},
        {QStringLiteral("600x600"), QStringLiteral("\"600x600\" is not a digital photo size")},
        {QStringLiteral("50x600px"), QStringLiteral("\"50x600px\": each side")},
        {QStringLiteral("600x600px,90-50"), QStringLiteral("\"600x600px,90-50\": the file size")},
        // Bounds that meet, 128,000 bytes each, are a range; no file has that size.
        {QStringLiteral("600x600px,125-128"), MessageText(Msg::kDigitalTooSmall).section(QLatin1Char(':'), 0, 0)},
    };
    for (const auto& words : firstWords) {
        const QString& text = words[0];
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(messageOf([&] { save(text.toLatin1().constData()); }).startsWith(words[1]));
    }
}
