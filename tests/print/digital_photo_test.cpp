#include "digital_photo.h"

#include "jpeg_codec.h"
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
// and its length keeps within the limits.
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
    };
    const TCase cases[] = {
        {"us-passport", 1200, 1200, 54 * 1024, 10'000'000},
        {"us-visa", 600, 600, 0, 240'000},
        {"UK", 700, 900, 50 * 1024, 10'000'000},
        {"400x500px,10-30", 400, 500, 10 * 1024, 30'000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TDigitalSize size = ParseDigitalSize(QString::fromLatin1(c.Text));
        EXPECT_EQ(size.MinBytes, c.MinBytes);
        EXPECT_EQ(size.MaxBytes, c.MaxBytes);
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

// The quality is the highest that fits: one byte less of room costs it.
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
    };
    for (const auto& words : firstWords) {
        const QString& text = words[0];
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(messageOf([&] { save(text.toLatin1().constData()); }).startsWith(words[1]));
    }
}
