#include "orientation.h"

#include "bitmap32.h"
#include "exif_orientation.h"
#include "jpeg_image.h"
#include "test_files.h"

#include <QBuffer>
#include <QImage>
#include <QTransform>

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>

namespace {

// A 3 x 2 grid of 16-pixel blocks in six far-apart colours, stored as
//   A B C
//   D E F
// so that every mirror and quarter turn gives a different layout.
constexpr int kBlock = 16;
const QRgb kColours[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};

QImage storedGrid()
{
    QImage image(3 * kBlock, 2 * kBlock, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, kColours[(y / kBlock) * 3 + x / kBlock]);
    return image;
}

QByteArray encoded(const QImage& image)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TJPEGImage jpeg;
    jpeg.Assign(image);
    jpeg.SaveToStream(out);
    return out.data();
}

// An EXIF block as libexif writes it ("Exif\0\0", then the TIFF structure);
// A negative orientation leaves the tag out and records a resolution instead.
QByteArray exifBlock(int orientation, ExifByteOrder order)
{
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, order);
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
    if (orientation >= 0) {
        exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
        exif_set_short(entry->data, order, static_cast<ExifShort>(orientation));
    } else {
        exif_entry_initialize(entry, EXIF_TAG_X_RESOLUTION);
    }
    exif_entry_unref(entry);
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    QByteArray block(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    std::free(bytes);
    exif_data_unref(data);
    return block;
}

// The JPEG stream with an APP1 segment holding Block inserted at Offset
// (2: right after the start-of-image marker, as cameras write it).
QByteArray withApp1(const QByteArray& jpeg, const QByteArray& block, int offset = 2)
{
    const int length = static_cast<int>(block.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF)).append(block);
    return jpeg.left(offset) + segment + jpeg.mid(offset);
}

// The layout of the loaded photo as letters, one row of blocks per line,
// each block named by the stored colour nearest to its centre pixel.
QString layoutOf(const TBitmap32& bitmap)
{
    QString layout;
    for (int by = 0; by < bitmap.Height() / kBlock; ++by) {
        if (by > 0)
            layout += u'/';
        for (int bx = 0; bx < bitmap.Width() / kBlock; ++bx) {
            const TColor32 c = bitmap.Pixel(bx * kBlock + kBlock / 2, by * kBlock + kBlock / 2);
            int best = 0;
            int bestDistance = 1 << 30;
            for (int i = 0; i < 6; ++i) {
                const int dr = qRed(c) - qRed(kColours[i]);
                const int dg = qGreen(c) - qGreen(kColours[i]);
                const int db = qBlue(c) - qBlue(kColours[i]);
                const int d = dr * dr + dg * dg + db * db;
                if (d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            layout += QChar(u'A' + best);
        }
    }
    return layout;
}

}  // namespace

TEST(ExifOrientation, PhotosStandAsTheCameraMeant)
{
    struct Case {
        int value;
        ExifByteOrder order;
        const char* upright;
        bool afterJfif = false;   // the EXIF segment after the JFIF segment, not first
    };
    const Case cases[] = {
        {1, EXIF_BYTE_ORDER_INTEL, "ABC/DEF"},
        {2, EXIF_BYTE_ORDER_INTEL, "CBA/FED"},
        {3, EXIF_BYTE_ORDER_INTEL, "FED/CBA"},
        {4, EXIF_BYTE_ORDER_INTEL, "DEF/ABC"},
        {5, EXIF_BYTE_ORDER_INTEL, "AD/BE/CF"},
        {6, EXIF_BYTE_ORDER_INTEL, "DA/EB/FC"},
        {7, EXIF_BYTE_ORDER_INTEL, "FC/EB/DA"},
        {8, EXIF_BYTE_ORDER_INTEL, "CF/BE/AD"},
        // Cameras write either byte order.
        {6, EXIF_BYTE_ORDER_MOTOROLA, "DA/EB/FC"},
        {8, EXIF_BYTE_ORDER_MOTOROLA, "CF/BE/AD"},
        {6, EXIF_BYTE_ORDER_INTEL, "DA/EB/FC", true},
    };
    const QByteArray plain = encoded(storedGrid());
    // The encoder writes SOI, then the JFIF segment whose length follows its marker.
    ASSERT_EQ(plain.mid(2, 2), QByteArray("\xFF\xE0", 2));
    const int jfifEnd = 4 + ((static_cast<unsigned char>(plain[4]) << 8) | static_cast<unsigned char>(plain[5]));
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "orientation " << c.value << " byte order " << c.order);
        const QByteArray file = withApp1(plain, exifBlock(c.value, c.order), c.afterJfif ? jfifEnd : 2);
        EXPECT_EQ(ReadExifOrientation(file), static_cast<TOrientation>(c.value));
        TBitmap32 photo;
        photo.LoadFromFile(writeFile(dir, QStringLiteral("photo%1.jpg").arg(c.value), file));
        EXPECT_EQ(layoutOf(photo), QString::fromLatin1(c.upright));
    }
}

TEST(ExifOrientation, PhotosWithoutAUsableTagLoadAsStored)
{
    const QByteArray plain = encoded(storedGrid());
    const QByteArray exifStart("Exif\0\0II*\0\x08\0\0\0\x05\0", 16);
    struct Case {
        const char* what;
        QByteArray file;
    };
    const Case cases[] = {
        {"no EXIF block", plain},
        {"value 1", withApp1(plain, exifBlock(1, EXIF_BYTE_ORDER_INTEL))},
        {"value 0", withApp1(plain, exifBlock(0, EXIF_BYTE_ORDER_INTEL))},
        {"no orientation tag", withApp1(plain, exifBlock(-1, EXIF_BYTE_ORDER_MOTOROLA))},
        {"value 9", withApp1(plain, exifBlock(9, EXIF_BYTE_ORDER_INTEL))},
        {"value 65535", withApp1(plain, exifBlock(65535, EXIF_BYTE_ORDER_MOTOROLA))},
        {"a block cut short", withApp1(plain, exifStart)},
        {"a block of noise", withApp1(plain, QByteArray("Exif\0\0", 6) + QByteArray(200, '\xA5'))},
    };
    QTemporaryDir dir;
    TBitmap32 reference;
    reference.LoadFromFile(writeFile(dir, QStringLiteral("plain.jpg"), plain));
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadExifOrientation(c.file), TOrientation::TopLeft);
        TBitmap32 photo;
        photo.LoadFromFile(writeFile(dir, QStringLiteral("case%1.jpg").arg(n++), c.file));
        ASSERT_EQ(photo.Width(), reference.Width());
        ASSERT_EQ(photo.Height(), reference.Height());
        EXPECT_EQ(std::memcmp(photo.Bits(), reference.Bits(),
                              static_cast<std::size_t>(photo.Width()) * photo.Height() * 4),
                  0);
    }
}

// Checked against Qt's own mirrors and turns on an odd size that spans several
// tiles of the loop, with every pixel different.
TEST(TurnUpright, MatchesMirrorsAndQuarterTurnsPixelForPixel)
{
    const int w = 131;
    const int h = 70;
    QImage stored(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            stored.setPixel(x, y, 0xFF000000u | static_cast<QRgb>(y * w + x));
    TBitmap32 source;
    source.Assign(stored);

    const QImage cw = stored.transformed(QTransform().rotate(90));
    const QImage expected[9] = {
        {}, stored, stored.mirrored(true, false), stored.mirrored(true, true), stored.mirrored(false, true),
        cw.mirrored(true, false), cw, cw.mirrored(false, true), stored.transformed(QTransform().rotate(270)),
    };
    for (int value = 1; value <= 8; ++value) {
        SCOPED_TRACE(value);
        TBitmap32 upright;
        TurnUpright(source, static_cast<TOrientation>(value), upright);
        ASSERT_EQ(upright.Width(), expected[value].width());
        ASSERT_EQ(upright.Height(), expected[value].height());
        int wrong = 0;
        for (int y = 0; y < upright.Height(); ++y)
            for (int x = 0; x < upright.Width(); ++x)
                wrong += upright.Pixel(x, y) != expected[value].pixel(x, y);
        EXPECT_EQ(wrong, 0);
    }

    TBitmap32 empty;
    TBitmap32 target;
    target.SetSize(5, 5);
    TurnUpright(empty, TOrientation::RightTop, target);
    EXPECT_TRUE(target.Empty());
}
