#include "jpeg_image.h"

#include "bitmap32.h"
#include "file_io.h"
#include "picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// A smooth picture with some detail, so that nothing lines up by luck.
QImage photoLike(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x * y / 3 + 40 * ((x / 5 + y / 7) % 2)) & 0xFF));
    return image;
}

// Soft shading, as in a portrait: what quality 90 should carry with little loss.
QImage smoothPhoto(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(120 + static_cast<int>(90 * std::sin(x / 9.0)),
                                      100 + static_cast<int>(80 * std::cos(y / 11.0)),
                                      (x + y) * 255 / (w + h)));
    return image;
}

// The library driven directly, with its defaults, as a reference: quality
// 90 with baseline tables unless told otherwise.
QByteArray referenceEncode(const QImage& image, bool progressive = false)
{
    const bool gray = image.format() == QImage::Format_Grayscale8;
    const QImage rows = gray ? image : image.convertToFormat(QImage::Format_BGR888);
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = rows.width();
    info.image_height = rows.height();
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < rows.height(); ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(rows.constScanLine(y));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return out;
}

// The library's own 24-bit output (blue, green, red) of a colour file.
QImage referenceDecode(const QByteArray& data)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    QImage image(info.output_width, info.output_height, QImage::Format_BGR888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A photo the failed loads must leave alone.
void loadPrevious(TBitmap32& b)
{
    b.SetSize(3, 2);
    b.Clear(0xFF123456u);
}

void expectPrevious(const TBitmap32& b)
{
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(2, 1), 0xFF123456u);
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

// Offset of the n-th (0-based) marker FF <code> in a stream.
qsizetype findMarker(const QByteArray& data, unsigned char code, int n = 0)
{
    for (qsizetype i = 0; i + 1 < data.size(); ++i)
        if (static_cast<unsigned char>(data[i]) == 0xFF && static_cast<unsigned char>(data[i + 1]) == code && n-- == 0)
            return i;
    return -1;
}

}  // namespace

TEST(TJPEGImage, ColourFilesLoadAsTheLibrarysOwnOutputWithOpaqueAlpha)
{
    QTemporaryDir dir;
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const QByteArray file = referenceEncode(photoLike(15, 31), progressive);
        const QString path = writeFile(dir, QStringLiteral("photo.jpg"), file);

        TJPEGImage jpeg;
        jpeg.LoadFromFile(path);
        EXPECT_EQ(jpeg.Progressive(), progressive);
        EXPECT_EQ(jpeg.Data(), file);
        EXPECT_TRUE(jpeg.Bitmap().isNull()) << "reading decodes nothing";

        TBitmap32 b;
        loadPrevious(b);
        int resized = 0;
        b.OnResize = [&](TThreadPersistent&) { ++resized; };
        b.LoadFromFile(path);
        EXPECT_EQ(resized, 1);
        const QImage expected = referenceDecode(file);
        ASSERT_EQ(b.Width(), 15);
        ASSERT_EQ(b.Height(), 31);
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 15; ++x)
                ASSERT_EQ(b.Pixel(x, y), expected.pixel(x, y) | 0xFF000000u) << x << "," << y;
        // The taken storage is the bitmap's own: its handle draws into it.
        ASSERT_NE(b.Handle(), nullptr);
        EXPECT_EQ(b.Handle()->constBits(), reinterpret_cast<const uchar*>(b.Bits()));
    }
}

TEST(TJPEGImage, DirectDecodeGivesThePixelsOfTheDrawnIntermediate)
{
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        QBuffer file;
        file.setData(referenceEncode(photoLike(67, 45), progressive));
        file.open(QIODevice::ReadOnly);
        TJPEGImage drawn;
        drawn.LoadFromStream(file);
        TJPEGImage direct;
        direct.Assign(drawn);
        drawn.Decode();
        ASSERT_EQ(drawn.Bitmap().format(), QImage::Format_BGR888);

        TBitmap32 viaDraw, viaDirect;
        viaDraw.Assign(&drawn);
        viaDirect.Assign(&direct);
        EXPECT_TRUE(direct.Bitmap().isNull()) << "the direct path makes no intermediate";
        ASSERT_EQ(viaDirect.Width(), 67);
        for (int y = 0; y < 45; ++y)
            for (int x = 0; x < 67; ++x)
                ASSERT_EQ(viaDirect.Pixel(x, y), viaDraw.Pixel(x, y)) << x << "," << y;
        EXPECT_EQ(viaDraw.Pixel(66, 44) >> 24, 255u);
    }
}

TEST(TJPEGImage, GrayscaleFileLoadsAsAtMost236OpaqueGrayLevels)
{
    QImage ramp(256, 8, QImage::Format_Grayscale8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 256; ++x)
            ramp.scanLine(y)[x] = static_cast<uchar>(x);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("gray.jpeg"), referenceEncode(ramp));

    TBitmap32 b;
    b.LoadFromFile(path);
    ASSERT_EQ(b.Width(), 256);
    std::set<int> levels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 256; ++x) {
            const TColor32 c = b.Pixel(x, y);
            ASSERT_EQ(c >> 24, 255u);
            ASSERT_EQ((c >> 16) & 0xFF, c & 0xFF);
            ASSERT_EQ((c >> 8) & 0xFF, c & 0xFF);
            levels.insert(static_cast<int>(c & 0xFF));
        }
    }
    EXPECT_LE(levels.size(), 236u);
    EXPECT_GT(levels.size(), 200u) << "the whole ramp survives";
    EXPECT_LE(*levels.begin(), 2);
    EXPECT_GE(*levels.rbegin(), 253);
}

TEST(TJPEGImage, TruncatedFileDecodesWithTheRestFilledIn)
{
    const QByteArray file = referenceEncode(photoLike(64, 64));
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("cut.jpg"), file.left(file.size() / 2));
    TBitmap32 b;
    b.LoadFromFile(path);
    ASSERT_EQ(b.Width(), 64);
    ASSERT_EQ(b.Height(), 64);
    // The first row of blocks lies wholly in the half that was kept.
    const QImage full = referenceDecode(file);
    for (int x = 0; x < 64; ++x)
        ASSERT_EQ(b.Pixel(x, 0), full.pixel(x, 0) | 0xFF000000u);
    EXPECT_EQ(b.Pixel(63, 63) >> 24, 255u);
}

TEST(TJPEGImage, DamagedInputFailsAndLeavesThePhotoAsItWas)
{
    QTemporaryDir dir;
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(Qt::red);
    QBuffer pngBytes;
    pngBytes.open(QIODevice::WriteOnly);
    png.save(&pngBytes, "PNG");

    // A progressive file whose second scan asks for an impossible progression:
    // the header reads fine, the failure comes while decoding.
    QByteArray badScan = referenceEncode(photoLike(32, 32), true);
    const qsizetype sos = findMarker(badScan, 0xDA, 1);
    ASSERT_GT(sos, 0);
    const int components = static_cast<unsigned char>(badScan[sos + 4]);
    badScan[sos + 5 + 2 * components] = 0;       // Ss
    badScan[sos + 6 + 2 * components] = 63;      // Se: a DC scan cannot run to 63

    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
    };
    const Case cases[] = {
        {"png.jpg", pngBytes.data(), QStringLiteral("Erreur JPEG #53")},
        {"text.jpg", QByteArray("Not a photo at all\n"), QStringLiteral("Erreur JPEG #53")},
        {"scan.jpg", badScan, QStringLiteral("Erreur JPEG #%1").arg(JERR_BAD_PROGRESSION)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(dir, QString::fromLatin1(c.name), c.bytes);
        TBitmap32 b;
        loadPrevious(b);
        int changes = 0;
        b.OnChange = [&](TThreadPersistent&) { ++changes; };
        EXPECT_EQ(messageOf([&] { b.LoadFromFile(path); }), c.message);
        expectPrevious(b);
        EXPECT_EQ(changes, 0);
    }
}

TEST(TJPEGImage, OversizedHeaderIsRefusedBeforeDecoding)
{
    // A real 16 x 16 file whose frame header claims 60000 x 60000 pixels.
    QByteArray file = referenceEncode(photoLike(16, 16));
    const qsizetype sof = findMarker(file, 0xC0);
    ASSERT_GT(sof, 0);
    for (const qsizetype at : {sof + 5, sof + 7}) {
        file[at] = static_cast<char>(60000 >> 8);
        file[at + 1] = static_cast<char>(60000 & 0xFF);
    }
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("bomb.jpg"), file);

    TBitmap32 b;
    loadPrevious(b);
    EXPECT_EQ(messageOf([&] { b.LoadFromFile(path); }),
              QStringLiteral("Image JPEG trop grande : 60000 x 60000 pixels (au plus 268435456 pixels)"));
    expectPrevious(b);
}

TEST(TJPEGImage, ProgressiveFileWithTooManyScansIsRefused)
{
    // The last refinement scan repeated until the file holds 1001 scans.
    const QByteArray file = referenceEncode(photoLike(16, 16), true);
    const qsizetype last = file.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const QByteArray scan = file.mid(last, file.size() - 2 - last);
    int scans = 0;
    while (findMarker(file, 0xDA, scans) >= 0)
        ++scans;
    QByteArray hostile = file.left(file.size() - 2);
    for (int i = scans; i < kMaxJPEGScans + 1; ++i)
        hostile += scan;
    hostile += QByteArray("\xFF\xD9", 2);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("scans.jpg"), hostile);

    TBitmap32 b;
    loadPrevious(b);
    EXPECT_EQ(messageOf([&] { b.LoadFromFile(path); }),
              QStringLiteral("Image JPEG trop complexe : plus de 1000 balayages"));
    expectPrevious(b);

    // One scan fewer is still a picture.
    hostile.remove(hostile.size() - 2 - scan.size(), scan.size());
    b.LoadFromFile(writeFile(dir, QStringLiteral("many.jpg"), hostile));
    EXPECT_EQ(b.Width(), 16);
}

TEST(TJPEGImage, ZeroLengthFileLoadsAsAnEmptyBitmap)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("empty.jpg"), QByteArray());
    TBitmap32 b;
    loadPrevious(b);
    b.LoadFromFile(path);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
}

TEST(TJPEGImage, SavesTheLibrarysDefaultBaselineFileAtQuality90)
{
    const QImage page = photoLike(41, 23);
    TJPEGImage jpeg;
    jpeg.Assign(page);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    jpeg.SaveToFile(path);

    const QByteArray written = readFile(path);
    EXPECT_EQ(written, referenceEncode(page));
    EXPECT_TRUE(written.startsWith(QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11)));
    EXPECT_GT(findMarker(written, 0xC0), 0) << "baseline frame";
    EXPECT_LT(findMarker(written, 0xC2), 0) << "no progressive frame";
    // The mode a file created here the ordinary way gets, not the temporary's 0600.
    const QString plain = writeFile(dir, QStringLiteral("plain"), QByteArray());
    EXPECT_EQ(QFileInfo(path).permissions(), QFileInfo(plain).permissions());
}

TEST(TJPEGImage, AlphaAndPixelFormatDoNotReachTheFile)
{
    const QImage opaque = photoLike(19, 13);
    QImage translucent = opaque.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, (translucent.pixel(x, y) & 0x00FFFFFFu) | ((x * 37 + y * 11) & 0xFFu) << 24);

    auto encode = [](const QImage& image) {
        TJPEGImage jpeg;
        jpeg.Assign(image);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        jpeg.SaveToStream(out);
        return out.data();
    };
    const QByteArray expected = encode(opaque);
    EXPECT_EQ(encode(translucent), expected);
    EXPECT_EQ(encode(opaque.convertToFormat(QImage::Format_RGB888)), expected);
    EXPECT_EQ(encode(QImage()), QByteArray()) << "no bitmap, no bytes";
}

TEST(TJPEGImage, SavingTwiceOverwritesAndReadBytesAreWrittenUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    TJPEGImage first, second;
    first.Assign(photoLike(20, 20));
    second.Assign(photoLike(30, 10));
    first.SaveToFile(path);
    second.SaveToFile(path);
    EXPECT_EQ(readFile(path), second.Data());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.jpg"});

    // A file that was read is written back byte for byte, not encoded again.
    const QByteArray progressive = referenceEncode(photoLike(20, 20), true);
    const QString source = writeFile(dir, QStringLiteral("source.jpg"), progressive);
    TJPEGImage read, copy;
    read.LoadFromFile(source);
    copy.Assign(read);
    EXPECT_TRUE(copy.SharesDataWith(read));
    copy.SaveToFile(path);
    EXPECT_EQ(readFile(path), progressive);
}

TEST(TJPEGImage, FailedSavesLeaveThePreviousFileAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    const QByteArray previous = QByteArray("previous photo");
    writeFile(dir, QStringLiteral("page.jpg"), previous);

    // Wider than the library's 65500 pixels: encoding fails.
    TJPEGImage tooWide;
    QImage wide(65501, 1, QImage::Format_RGB32);
    wide.fill(Qt::white);
    tooWide.Assign(wide);
    EXPECT_THROW(tooWide.SaveToFile(path), EJPEG);
    EXPECT_EQ(readFile(path), previous);

    // A folder that cannot exist, even for root: a path under a regular file.
    TJPEGImage page;
    page.Assign(photoLike(8, 8));
    const QString under = path + QStringLiteral("/out.jpg");
    EXPECT_EQ(messageOf([&] { page.SaveToFile(under); }),
              QStringLiteral("Impossible de créer le fichier \"%1\". Not a directory").arg(under));

    // The target is a folder: the rename fails after everything was written.
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
    EXPECT_THROW(page.SaveToFile(dir.filePath(QStringLiteral("folder.jpg"))), EFCreateError);

    EXPECT_EQ(readFile(path), previous);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.jpg"});
}

TEST(TJPEGImage, DecodeEncodeDecodeStaysWithinJpegError)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("photo.jpg"), referenceEncode(smoothPhoto(64, 48)));
    TBitmap32 first;
    first.LoadFromFile(path);
    QImage page;
    first.AssignTo(page);
    TJPEGImage jpeg;
    jpeg.Assign(page);
    const QString again = dir.filePath(QStringLiteral("again.jpg"));
    jpeg.SaveToFile(again);
    TBitmap32 second;
    second.LoadFromFile(again);

    ASSERT_EQ(second.Width(), 64);
    ASSERT_EQ(second.Height(), 48);
    long total = 0;
    int worst = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (const int shift : {0, 8, 16}) {
                const int d = std::abs(static_cast<int>((first.Pixel(x, y) >> shift) & 0xFF)
                                       - static_cast<int>((second.Pixel(x, y) >> shift) & 0xFF));
                total += d;
                worst = std::max(worst, d);
            }
        }
    }
    // Soft shading loses well under one level on average at quality 90.
    EXPECT_LT(static_cast<double>(total) / (64 * 48 * 3), 1.0);
    EXPECT_LE(worst, 8);
}

TEST(TJPEGImage, SettingsComeFromTheDefaultsAndTheSizeIsFixed)
{
    const TJPEGSettings defaults;
    EXPECT_EQ(defaults.CompressionQuality, 90);
    EXPECT_EQ(defaults.Performance, TJPEGPerformance::jpBestQuality);
    EXPECT_EQ(defaults.PixelFormat, TJPEGPixelFormat::jf24Bit);
    EXPECT_EQ(defaults.Scale, TJPEGScale::jsFullSize);
    EXPECT_TRUE(defaults.Smoothing);
    EXPECT_EQ(TJPEGImage().Settings(), JPEGDefaults());

    QBuffer file;
    file.setData(referenceEncode(photoLike(15, 31)));
    file.open(QIODevice::ReadOnly);
    TJPEGImage jpeg;
    int changes = 0;
    jpeg.OnChange = [&](TJPEGImage&) { ++changes; };
    jpeg.LoadFromStream(file);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(messageOf([&] { jpeg.SetWidth(10); }),
              QStringLiteral("Impossible de modifier la taille d'une image JPEG"));
    EXPECT_THROW(jpeg.SetHeight(10), EInvalidGraphicOperation);

    // Another scale decodes at the size Width and Height announce.
    TJPEGSettings half = jpeg.Settings();
    half.Scale = TJPEGScale::jsHalf;
    jpeg.SetSettings(half);
    EXPECT_EQ(jpeg.Width(), 8);
    EXPECT_EQ(jpeg.Height(), 16);
    TBitmap32 b;
    b.Assign(&jpeg);
    EXPECT_EQ(b.Width(), 8);
    EXPECT_EQ(b.Height(), 16);
}
