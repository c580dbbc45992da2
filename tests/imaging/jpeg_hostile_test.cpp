#include "jpeg_codec.h"

#include "bitmap32.h"
#include "test_files.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

// Files whose size gives no reason to believe what their headers claim, and
// the smallest honest files they must not be confused with.

namespace {

struct TEncoding {
    int Quality = 90;
    bool Gray = false;
    bool Progressive = false;
    bool Optimize = false;   ///< Huffman tables made for the image
};

QByteArray encode(const QImage& image, const TEncoding& e)
{
    const QImage rows = e.Gray ? image.convertToFormat(QImage::Format_Grayscale8)
                               : image.convertToFormat(QImage::Format_BGR888);
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = rows.width();
    info.image_height = rows.height();
    info.input_components = e.Gray ? 1 : 3;
    info.in_color_space = e.Gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, e.Quality, TRUE);
    info.optimize_coding = e.Optimize ? TRUE : FALSE;
    if (e.Progressive)
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

QImage flat(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A real small file whose frame header is made to claim width x height.
QByteArray claiming(QByteArray file, int width, int height)
{
    const qsizetype sof = std::max(file.indexOf(QByteArray("\xFF\xC0", 2)), file.indexOf(QByteArray("\xFF\xC2", 2)));
    EXPECT_GT(sof, 0);
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    file.replace(sof + 5, 4, QByteArray(size, 4));
    return file;
}

// A progressive file with `scans` scans in all: its last scan (an AC
// refinement of one component, a few bytes) repeated before the end marker.
QByteArray withScans(const QByteArray& progressive, int scans)
{
    const qsizetype last = progressive.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const QByteArray scan = progressive.mid(last, progressive.size() - 2 - last);
    QByteArray file = progressive.left(progressive.size() - 2);
    for (int n = static_cast<int>(progressive.count(QByteArray("\xFF\xDA", 2))); n < scans; ++n)
        file += scan;
    return file + QByteArray("\xFF\xD9", 2);
}

}  // namespace

TEST(JPEGCostPerByte, HostileFilesAreRefusedBeforeTheirBuffersExist)
{
    const QImage tiny = flat(16, 16, qRgb(128, 128, 128));
    const QByteArray baseline = claiming(encode(tiny, {}), 16384, 16384);
    const QByteArray progressive = claiming(encode(tiny, {.Gray = true, .Progressive = true}), 16384, 16384);
    // Enough bytes for its 2048 x 2048 pixels, but a thousand empty scans:
    // each one a pass over all the blocks of a component.
    const QByteArray manyScans = withScans(claiming(encode(tiny, {.Progressive = true}), 2048, 2048), 1000);
    ASSERT_LT(baseline.size(), 700);
    ASSERT_LT(progressive.size(), 600);
    ASSERT_GT(manyScans.size(), 2048 * 2048 / kMaxJPEGPixelsPerByte);

    const std::pair<QByteArray, QString> cases[] = {
        {baseline, QStringLiteral("Image JPEG incomplète ou falsifiée : 16384 x 16384 pixels dans un fichier de %1 "
                                  "octets (il faut au moins un octet pour 1024 pixels)").arg(baseline.size())},
        {progressive, QStringLiteral("Image JPEG incomplète ou falsifiée : 16384 x 16384 pixels dans un fichier de %1 "
                                     "octets (il faut au moins un octet pour 1024 pixels)").arg(progressive.size())},
        {manyScans, QStringLiteral("Image JPEG trop complexe : plus de 100 balayages")},
    };
    QTemporaryDir dir;
    for (const auto& [file, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        const QByteArray& bytes = file;   // lambdas cannot capture a binding in every compiler
        EXPECT_EQ(messageOf([&] { DecodeJPEG(bytes, JPEGDefaults()); }), message);
        TBitmap32 b;
        b.SetSize(3, 2);
        EXPECT_EQ(messageOf([&] { b.LoadFromFile(writeFile(dir, QStringLiteral("hostile.jpg"), bytes)); }), message);
        EXPECT_EQ(b.Width(), 3) << "the photo before stays";
    }
}

TEST(JPEGCostPerByte, TheSmallestHonestFilesStillLoad)
{
    // Flat white at the lowest quality is the cheapest picture there is: a
    // scanned blank page, a studio backdrop. Every way the library can write
    // it must stay within the rule.
    const QImage white = flat(3000, 2000, qRgb(255, 255, 255));
    const TEncoding encodings[] = {
        {.Quality = 1},
        {.Quality = 1, .Optimize = true},
        {.Quality = 1, .Gray = true, .Optimize = true},
        {.Quality = 1, .Progressive = true},
        {.Quality = 1, .Gray = true, .Progressive = true},
    };
    for (const TEncoding& e : encodings) {
        const QByteArray file = encode(white, e);
        SCOPED_TRACE(file.size());
        const TJPEGHeader header = ReadJPEGHeader(file);
        EXPECT_EQ(header.Width, 3000);
        EXPECT_EQ(header.Progressive, e.Progressive);
        // Half the rule's margin is left even for the smallest of them.
        EXPECT_LT(3000 * 2000 / file.size(), kMaxJPEGPixelsPerByte / 2);
    }
    // An honest file cut short within its image data still decodes, with
    // the rest filled in.
    const QByteArray gray = encode(flat(64, 64, qRgb(90, 90, 90)), {});
    EXPECT_EQ(DecodeJPEG(gray.left(gray.size() - 8), JPEGDefaults()).width(), 64);
}
