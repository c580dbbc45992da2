#include "picture.h"

#include "bitmap32.h"
#include "file_io.h"
#include "jpeg_image.h"
#include "test_files.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

namespace {

QByteArray encodedBy(const QImage& image, const char* format)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    if (QByteArray(format) == "JPEG") {
        TJPEGImage jpeg;
        jpeg.Assign(image);
        jpeg.SaveToStream(out);
    } else {
        EXPECT_TRUE(image.save(&out, format));
    }
    return out.data();
}

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

}  // namespace

TEST(TPicture, ExtensionsMatchWithoutTheDotIgnoringCase)
{
    QStringList extensions;
    for (const TFileFormat& format : TPicture::FileFormats()) {
        extensions << format.Extension;
        if (format.Extension.startsWith(QStringLiteral("jp"))) {
            EXPECT_EQ(format.Description, QStringLiteral("Fichier image JPEG"));
        }
    }
    EXPECT_EQ(extensions, QStringList({"jpeg", "jpg", "bmp", "ico", "gif", "wmf", "emf", "ani", "png", "heic", "heif"}));

    QTemporaryDir dir;
    for (const char* name : {"PHOTO.JPG", "photo.Jpeg", "archive.tar.jpg"}) {
        SCOPED_TRACE(name);
        TBitmap32 b;
        b.LoadFromFile(writeFile(dir, QString::fromLatin1(name), encodedBy(filled(9, 7, 0xFF0000FF), "JPEG")));
        EXPECT_EQ(b.Width(), 9);
        EXPECT_EQ(b.Height(), 7);
    }

    // A reader registered with a dot in upper case serves the lower-case name.
    TPicture::RegisterFileFormat(QStringLiteral(".QRLTEST"), QStringLiteral("Test"), [](const QString&) {
        return std::make_unique<TBitmap>(QImage(2, 3, QImage::Format_RGB32));
    });
    TPicture picture;
    picture.LoadFromFile(QStringLiteral("never-opened.qrltest"));
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_EQ(picture.Height(), 3);
}

TEST(TPicture, UnknownExtensionOrMissingFileFailsWithTheirMessages)
{
    TBitmap32 b;
    b.SetSize(2, 2);
    b.Clear(0xFF00FF00u);
    // The extension is judged first: the file need not exist.
    EXPECT_EQ(messageOf([&] { b.LoadFromFile(QStringLiteral("/nowhere/photo.TIFF")); }),
              QStringLiteral("Extension de fichier image inconnue (.TIFF)"));
    EXPECT_EQ(messageOf([&] { b.LoadFromFile(QStringLiteral("/nowhere/photo")); }),
              QStringLiteral("Extension de fichier image inconnue (.)"));
    // A relative name is reported in full.
    EXPECT_EQ(messageOf([&] { b.LoadFromFile(QStringLiteral("missing-photo.jpg")); }),
              QStringLiteral("Impossible d'ouvrir le fichier \"%1\". No such file or directory")
                  .arg(QDir::current().absoluteFilePath(QStringLiteral("missing-photo.jpg"))));
    EXPECT_THROW(b.LoadFromFile(QStringLiteral("/nowhere/photo.bmp")), EFOpenError);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Pixel(1, 1), 0xFF00FF00u);
}

TEST(TPicture, PlatformFormatsLoadThroughQtReaders)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(0x00000000u);
    icon.setPixel(3, 4, 0xFF00FF00u);
    // A 1 x 1 GIF whose one pixel is the first entry of its palette, red.
    const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\xFF"
                         ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 35);

    QTemporaryDir dir;
    TBitmap32 b;
    b.LoadFromFile(writeFile(dir, QStringLiteral("a.bmp"), encodedBy(filled(5, 3, qRgb(10, 20, 30)), "BMP")));
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Pixel(4, 2), 0xFF0A141Eu);

    b.LoadFromFile(writeFile(dir, QStringLiteral("a.ico"), encodedBy(icon, "ICO")));
    EXPECT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Pixel(3, 4), 0xFF00FF00u);
    EXPECT_EQ(b.Pixel(0, 0) >> 24, 0u) << "the icon's uncovered parts stay transparent";

    b.LoadFromFile(writeFile(dir, QStringLiteral("a.gif"), gif));
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Pixel(0, 0), 0xFFFF0000u);
}

TEST(TPicture, ListedFormatWithoutDecoderFailsClearlyAndKeepsThePicture)
{
    QTemporaryDir dir;
    TPicture picture;
    picture.LoadFromFile(writeFile(dir, QStringLiteral("a.jpg"), encodedBy(filled(4, 4, 0xFFFFFFFF), "JPEG")));
    for (const char* name : {"drawing.wmf", "drawing.EMF", "cursor.ani", "broken.gif"}) {
        SCOPED_TRACE(name);
        const QString path = writeFile(dir, QString::fromLatin1(name), QByteArray(64, '\x01'));
        const QString message = messageOf([&] { picture.LoadFromFile(path); });
        EXPECT_TRUE(message.startsWith(QStringLiteral("Impossible de lire l'image \"%1\". ").arg(path)))
            << message.toStdString();
        EXPECT_GT(message.size(), path.size() + 30) << "the reader says why";
        EXPECT_EQ(picture.Width(), 4);
    }
}

TEST(TPicture, PngAndHeicPhotosLoadWithinTheBoundsOfJpeg)
{
    const QString portrait = QStringLiteral("/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg");
    const QString astronaut = QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png");
    if (QStandardPaths::findExecutable(QStringLiteral("heif-enc")).isEmpty())
        GTEST_SKIP() << "needs heif-enc (libheif-examples)";
    QTemporaryDir dir;
    const QString heic = dir.filePath(QStringLiteral("portrait.HEIC"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("heif-enc"), {QStringLiteral("-q"), QStringLiteral("90"), portrait,
                                                             QStringLiteral("-o"), heic}),
              0);
    // A PNG whose header claims `side` x `side` pixels in a few dozen bytes.
    const auto forgedPng = [](std::uint32_t side) {
        QByteArray forged = encodedBy(filled(4, 4, 0xFF808080u), "PNG");
        for (int i = 0; i < 8; ++i)
            forged[16 + i] = static_cast<char>(side >> (24 - 8 * (i % 4)));
        std::uint32_t crc = 0xFFFFFFFFu;   // the chunk's CRC-32, over its type and data
        for (int i = 12; i < 29; ++i) {
            crc ^= static_cast<std::uint8_t>(forged[i]);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        crc = ~crc;
        for (int i = 0; i < 4; ++i)
            forged[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
        return forged;
    };

    const struct {
        QString Path;
        QString Reference;   // the same picture through its own decoder
        double MeanDifference;
    } cases[] = {
        {astronaut, astronaut, 0.0},
        {heic, portrait, 2.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path.toStdString());
        TBitmap32 b;
        b.LoadFromFile(c.Path);
        const QImage reference = QImage(c.Reference).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(QSize(b.Width(), b.Height()), reference.size());
        double sum = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const QRgb ours = b.Pixel(x, y);
                const QRgb theirs = reference.pixel(x, y);
                sum += std::abs(qRed(ours) - qRed(theirs)) + std::abs(qGreen(ours) - qGreen(theirs))
                       + std::abs(qBlue(ours) - qBlue(theirs));
            }
        EXPECT_LE(sum / (3.0 * b.Width() * b.Height()), c.MeanDifference);
    }

    // A chunk whose length field claims 2 GB: refused before libpng would
    // allocate it.
    QByteArray overlong = encodedBy(filled(4, 4, 0xFF808080u), "PNG");
    overlong.replace(33, 4, QByteArray("\x7F\xFF\xFF\xF0", 4));

    TBitmap32 b;
    for (const QString& name :
         {QStringLiteral("forged.png"), QStringLiteral("forged.heic"), QStringLiteral("overlong.png")}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = writeFile(dir, name, name == QLatin1String("overlong.png") ? overlong
                                                  : name.endsWith(QLatin1String("png")) ? forgedPng(20000)
                                                                                       : readFile(heic).left(400));
        EXPECT_THROW(b.LoadFromFile(path), EInvalidGraphic);
    }
    // Above the pixel cap, and below it but far more pixels than the file's
    // bytes can hold: both refused by their size before anything is decoded.
    for (const std::uint32_t side : {20000u, 4000u}) {
        const QString path = writeFile(dir, QStringLiteral("forged.png"), forgedPng(side));
        EXPECT_TRUE(messageOf([&] { b.LoadFromFile(path); }).contains(QStringLiteral("%1 x %1 pixels").arg(side)))
            << side;
    }
}
