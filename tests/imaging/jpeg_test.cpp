#include "jpeg_image.h"

#include "bitmap32.h"
#include "colour_profile.h"
#include "file_io.h"
#include "test_files.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>

#include <jpeglib.h>
#include <jerror.h>
#include <sys/resource.h>

namespace {

// Gradients with sharp detail, so that nothing lines up by luck.
QImage photoLike(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x * y / 3 + 40 * ((x / 5 + y / 7) % 2)) & 0xFF));
    return image;
}

// The library driven directly with its defaults, quality 90, baseline tables.
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
    if (!gray)   // colour files written here say they are sRGB
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(SRGBProfileBytes().constData()),
                               static_cast<unsigned>(SRGBProfileBytes().size()));
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

// The photo failed loads must leave alone.
void loadPrevious(TBitmap32& b)
{
    b.SetSize(3, 2);
    b.Clear(0xFF123456u);
}

void expectPrevious(const TBitmap32& b)
{
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(2, 1), 0xFF123456u);
}

// Offset of the n-th (0-based) marker FF <code> in a stream, or -1.
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
        // The storage taken from the scratch buffer is the handle's too.
        EXPECT_EQ(b.Handle()->constBits(), reinterpret_cast<const uchar*>(b.Bits()));

        // Drawing the 24-bit intermediate gives the very same pixels.
        jpeg.Decode();
        ASSERT_EQ(jpeg.Bitmap().format(), QImage::Format_BGR888);
        TBitmap32 drawn;
        drawn.Assign(&jpeg);
        EXPECT_EQ(std::memcmp(drawn.Bits(), b.Bits(), 15 * 31 * 4), 0);
    }
}

TEST(TJPEGImage, GrayscaleFileLoadsAsAtMost236OpaqueGrayLevels)
{
    QImage ramp(256, 8, QImage::Format_Grayscale8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 256; ++x)
            ramp.scanLine(y)[x] = static_cast<uchar>(x);
    QTemporaryDir dir;
    TBitmap32 b;
    b.LoadFromFile(writeFile(dir, QStringLiteral("gray.jpeg"), referenceEncode(ramp)));
    ASSERT_EQ(b.Width(), 256);
    std::set<TColor32> levels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 256; ++x) {
            const TColor32 c = b.Pixel(x, y);
            ASSERT_EQ(c, 0xFF000000u | (c & 0xFF) * 0x010101u) << "opaque, red = green = blue";
            levels.insert(c);
        }
    }
    EXPECT_LE(levels.size(), 236u);
    EXPECT_GT(levels.size(), 200u) << "the whole ramp survives";
}

// A file cut short loads what it holds, the rest filled in by the library as
// before, and says that it ends early; one that lacks only its end marker
// has every row and says nothing.
TEST(TJPEGImage, TruncatedFileLoadsTheLibrarysFillAndSaysItEndsEarly)
{
    const QByteArray portrait = readFile(QStringLiteral(QRL_TEST_PORTRAIT));
    const QByteArray made = referenceEncode(photoLike(64, 64));
    ASSERT_FALSE(portrait.isEmpty());
    const struct {
        const char* name;
        QByteArray bytes;
        TLoadedPicture found;
    } cases[] = {
        {"the whole portrait", portrait, TLoadedPicture::Whole},
        {"the portrait without its end marker", portrait.chopped(2), TLoadedPicture::Whole},
        {"the portrait's first half", portrait.left(portrait.size() / 2), TLoadedPicture::EndsEarly},
        {"the portrait cut after its first scan's start", portrait.left(findMarker(portrait, 0xDA) + 400),
         TLoadedPicture::EndsEarly},
        {"half of a 64 x 64 file", made.left(made.size() / 2), TLoadedPicture::EndsEarly},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap32 b;
        EXPECT_EQ(b.LoadFromFile(writeFile(dir, QStringLiteral("cut.jpg"), c.bytes)), c.found);
        const QImage expected = referenceDecode(c.bytes);
        ASSERT_EQ(b.Width(), expected.width());
        ASSERT_EQ(b.Height(), expected.height());
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                ASSERT_EQ(b.Pixel(x, y), expected.pixel(x, y) | 0xFF000000u) << x << "," << y;
    }
}

TEST(TJPEGImage, DamagedOrHostileInputFailsAndLeavesThePhotoAsItWas)
{
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(Qt::red);
    QBuffer pngBytes;
    pngBytes.open(QIODevice::WriteOnly);
    png.save(&pngBytes, "PNG");

    // A progressive file whose second scan (one component) asks for an
    // impossible progression: the header reads fine, decoding fails.
    QByteArray badScan = referenceEncode(photoLike(32, 32), true);
    const qsizetype sos = findMarker(badScan, 0xDA, 1);
    badScan[sos + 7] = 0;    // Ss: a DC scan...
    badScan[sos + 8] = 63;   // Se: ...cannot run to 63

    // A real 16 x 16 file whose frame header claims 60000 x 60000 pixels.
    QByteArray bomb = referenceEncode(photoLike(16, 16));
    const qsizetype sof = findMarker(bomb, 0xC0);
    bomb.replace(sof + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));

    // The last refinement scan repeated until the file holds 1001 scans.
    const QByteArray progressive = referenceEncode(photoLike(16, 16), true);
    const qsizetype last = progressive.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const QByteArray scan = progressive.mid(last, progressive.size() - 2 - last);
    int scans = 0;
    while (findMarker(progressive, 0xDA, scans) >= 0)
        ++scans;
    QByteArray manyScans = progressive.left(progressive.size() - 2);
    for (int i = scans; i < kMaxJPEGScans; ++i)
        manyScans += scan;
    const QByteArray tooManyScans = manyScans + scan + QByteArray("\xFF\xD9", 2);
    manyScans += QByteArray("\xFF\xD9", 2);

    const std::pair<QByteArray, QString> cases[] = {
        {pngBytes.data(), QStringLiteral("Erreur JPEG #53")},
        {QByteArray("Not a photo at all\n"), QStringLiteral("Erreur JPEG #53")},
        {badScan, QStringLiteral("Erreur JPEG #%1").arg(JERR_BAD_PROGRESSION)},
        {bomb, QStringLiteral("Image JPEG trop grande : 60000 x 60000 pixels (au plus 268435456 pixels)")},
        {tooManyScans, QStringLiteral("Image JPEG trop complexe : plus de 100 balayages")},
    };
    QTemporaryDir dir;
    for (const auto& [file, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        const QByteArray& bytes = file;   // lambdas cannot capture a binding in every compiler
        TBitmap32 b;
        loadPrevious(b);
        int changes = 0;
        b.OnChange = [&](TThreadPersistent&) { ++changes; };
        EXPECT_EQ(messageOf([&] { b.LoadFromFile(writeFile(dir, QStringLiteral("bad.jpg"), bytes)); }), message);
        expectPrevious(b);
        EXPECT_EQ(changes, 0);
    }

    TBitmap32 b;
    b.LoadFromFile(writeFile(dir, QStringLiteral("many.jpg"), manyScans));
    EXPECT_EQ(b.Width(), 16) << "100 scans are still a picture";
}

TEST(TJPEGImage, ZeroLengthFileLoadsAsAnEmptyBitmap)
{
    QTemporaryDir dir;
    TBitmap32 b;
    loadPrevious(b);
    b.LoadFromFile(writeFile(dir, QStringLiteral("empty.jpg"), QByteArray()));
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
}

TEST(TJPEGImage, SavesTheLibrarysDefaultBaselineFileAtQuality90WhateverTheAlpha)
{
    const QImage page = photoLike(41, 23);
    QImage translucent = page.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, (translucent.pixel(x, y) & 0x00FFFFFFu) | ((x * 37 + y * 11) & 0xFFu) << 24);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    const QByteArray expected = referenceEncode(page);
    for (const QImage& image : {page, translucent, page.convertToFormat(QImage::Format_RGB888)}) {
        TJPEGImage jpeg;
        jpeg.Assign(image);
        jpeg.SaveToFile(path);
        ASSERT_EQ(readFile(path), expected) << "format " << image.format();
    }
    EXPECT_TRUE(expected.startsWith(QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11)));
    EXPECT_GT(findMarker(expected, 0xC0), 0) << "baseline frame";
    // The mode a file created here the ordinary way gets, not the temporary's 0600.
    EXPECT_EQ(QFileInfo(path).permissions(),
              QFileInfo(writeFile(dir, QStringLiteral("plain"), QByteArray())).permissions());

    TJPEGImage nothing;
    nothing.Assign(QImage());
    nothing.SaveToFile(path);
    EXPECT_EQ(readFile(path), QByteArray()) << "no bitmap, no bytes";
}

TEST(TJPEGImage, SavingOverwritesAndReadBytesAreWrittenUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    TJPEGImage first, second;
    first.Assign(photoLike(20, 20));
    second.Assign(photoLike(30, 10));
    first.SaveToFile(path);
    second.SaveToFile(path);
    EXPECT_EQ(readFile(path), second.Data());

    // A file that was read is written back byte for byte, not encoded again.
    const QByteArray progressive = referenceEncode(photoLike(20, 20), true);
    TJPEGImage read, copy;
    read.LoadFromFile(writeFile(dir, QStringLiteral("source.jpg"), progressive));
    copy.Assign(read);
    EXPECT_TRUE(copy.SharesDataWith(read));
    copy.SaveToFile(path);
    EXPECT_EQ(readFile(path), progressive);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"page.jpg", "source.jpg"}));
}

TEST(TJPEGImage, FailedSavesLeaveThePreviousFileAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("page.jpg"), QByteArray("previous page"));

    // Wider than the library's 65500 pixels: encoding fails.
    TJPEGImage tooWide;
    QImage wide(65501, 1, QImage::Format_RGB32);
    wide.fill(Qt::white);
    tooWide.Assign(wide);
    EXPECT_THROW(tooWide.SaveToFile(path), EJPEG);

    // The disk fills up half-way: files may not grow past 100 bytes.
    TJPEGImage page;
    page.Assign(photoLike(40, 40));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{100, saved.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const QString full = messageOf([&] { page.SaveToFile(path); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(full, QStringLiteral("Impossible de créer le fichier \"%1\". File too large").arg(path));

    // A folder that cannot exist, even for root: a path under a regular file.
    const QString under = path + QStringLiteral("/out.jpg");
    EXPECT_EQ(messageOf([&] { page.SaveToFile(under); }),
              QStringLiteral("Impossible de créer le fichier \"%1\". Not a directory").arg(under));

    // The target is a folder: the rename fails after everything was written.
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
    EXPECT_THROW(page.SaveToFile(dir.filePath(QStringLiteral("folder.jpg"))), EFCreateError);

    EXPECT_EQ(readFile(path), QByteArray("previous page"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.jpg"});
}

TEST(TJPEGImage, DecodeEncodeDecodeStaysWithinJpegError)
{
    // Soft shading, as in a portrait.
    QImage photo(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            photo.setPixel(x, y, qRgb(120 + static_cast<int>(90 * std::sin(x / 9.0)),
                                      100 + static_cast<int>(80 * std::cos(y / 11.0)), (x + y) * 255 / 112));
    QTemporaryDir dir;
    TBitmap32 first;
    first.LoadFromFile(writeFile(dir, QStringLiteral("photo.jpg"), referenceEncode(photo)));
    QImage page;
    first.AssignTo(page);
    TJPEGImage jpeg;
    jpeg.Assign(page);
    jpeg.SaveToFile(dir.filePath(QStringLiteral("again.jpg")));
    TBitmap32 second;
    second.LoadFromFile(dir.filePath(QStringLiteral("again.jpg")));

    ASSERT_EQ(second.Width(), 64);
    ASSERT_EQ(second.Height(), 48);
    long total = 0;
    int worst = 0;
    for (int i = 0; i < 64 * 48; ++i) {
        for (const int shift : {0, 8, 16}) {
            const int d = std::abs(static_cast<int>((first.Bits()[i] >> shift) & 0xFF)
                                   - static_cast<int>((second.Bits()[i] >> shift) & 0xFF));
            total += d;
            worst = std::max(worst, d);
        }
    }
    // Soft shading loses well under one level on average at quality 90.
    EXPECT_LT(static_cast<double>(total) / (64 * 48 * 3), 1.0);
    EXPECT_LE(worst, 8);
}

TEST(TJPEGImage, SizeIsFixedButScaleDecodesSmaller)
{
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
