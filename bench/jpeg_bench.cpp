// JPEG decoding and encoding through TBitmap32 / TJPEGImage, next to the
// library's own decode and encode of the same images in the same process.
//
//   jpeg_bench [--write-samples=DIR] [Google Benchmark flags]
//
// --write-samples writes photo.jpg (the 12-megapixel photo) and page.ppm (the
// 4960 x 7016 page) into DIR and exits; bench/compare_libjpeg.sh times djpeg
// and cjpeg on them.

#include "bitmap32.h"
#include "jpeg_image.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kPhotoWidth = 4000;    // 12 megapixels, 4:3
constexpr int kPhotoHeight = 3000;
constexpr int kPageWidth = 4960;     // A4 at 600 dpi
constexpr int kPageHeight = 7016;

// Shading, edges and a little sensor noise: about what a camera photo costs
// the codec at quality 90.
QImage makePhoto()
{
    QImage image(kPhotoWidth, kPhotoHeight, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    auto noise = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return static_cast<int>(seed % 13) - 6;
    };
    for (int y = 0; y < kPhotoHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kPhotoWidth; ++x) {
            const int face = ((x - 2000) * (x - 2000) / 3 + (y - 1300) * (y - 1300) / 2) < 900000 ? 60 : 0;
            const int texture = ((x * 7 + y * 3) % 23) - 11;   // hair, fabric
            const int r = 90 + face + x * 80 / kPhotoWidth + texture + noise();
            const int g = 70 + face / 2 + y * 90 / kPhotoHeight + texture + noise();
            const int b = 110 + ((x / 40 + y / 40) % 2) * 30 - face / 3 + noise();
            row[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

// A white page with a grid of 35 x 45 mm photo cells at 600 dpi.
QImage makePage(const QImage& photo)
{
    QImage page(kPageWidth, kPageHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    const int cellW = 827, cellH = 1063, gap = 100, margin = 60;
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 5; ++col) {
            const int x0 = margin + col * (cellW + gap), y0 = margin + row * (cellH + gap);
            for (int y = 0; y < cellH; ++y)
                std::memcpy(page.scanLine(y0 + y) + x0 * 4, photo.constScanLine(1000 + y) + 1600 * 4,
                            static_cast<std::size_t>(cellW) * 4);
        }
    }
    return page;
}

struct Samples {
    QTemporaryDir dir;
    QImage page;
    QImage pageBGR;            // the library's own input: 24-bit blue, green, red
    QByteArray photoJpeg;
    QString photoPath;
};

Samples& samples()
{
    static Samples s = [] {
        Samples s;
        const QImage photo = makePhoto();
        TJPEGImage jpeg;
        jpeg.Assign(photo);
        jpeg.Compress();
        s.photoJpeg = jpeg.Data();
        s.photoPath = s.dir.filePath(QStringLiteral("photo.jpg"));
        jpeg.SaveToFile(s.photoPath);
        s.page = makePage(photo);
        s.pageBGR = s.page.convertToFormat(QImage::Format_BGR888);
        return s;
    }();
    return s;
}

void setPixelRate(benchmark::State& state, std::int64_t pixels)
{
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// The library alone: the file's bytes decoded into a new blue-green-red buffer
// with the same settings the wrapper uses (its defaults: accurate integer
// transform, fancy upsampling, block smoothing).
void libraryDecode(const QByteArray& data)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    std::unique_ptr<unsigned char[]> pixels(new unsigned char[stride * info.output_height]);
    std::vector<JSAMPROW> rows(info.output_height);
    for (JDIMENSION y = 0; y < info.output_height; ++y)
        rows[y] = pixels.get() + y * stride;
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, rows.data() + info.output_scanline,
                            info.output_height - info.output_scanline);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.get());
}

// The library alone: a ready 24-bit image encoded at quality 90, defaults.
std::size_t libraryEncode(const QImage& bgr)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = bgr.width();
    info.image_height = bgr.height();
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPROW> rows(bgr.height());
    for (int y = 0; y < bgr.height(); ++y)
        rows[y] = const_cast<JSAMPROW>(bgr.constScanLine(y));
    jpeg_write_scanlines(&info, rows.data(), bgr.height());
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return size;
}

void BM_PhotoLoadFromFile(benchmark::State& state)
{
    const QString path = samples().photoPath;
    for (auto _ : state) {
        TBitmap32 bitmap;
        bitmap.LoadFromFile(path);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    setPixelRate(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}

void BM_PhotoLibraryDecodeFile(benchmark::State& state)
{
    const QString path = samples().photoPath;
    for (auto _ : state)
        libraryDecode(readWhole(path));
    setPixelRate(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}

void BM_PhotoAssignFromMemory(benchmark::State& state)
{
    QBuffer file;
    file.setData(samples().photoJpeg);
    for (auto _ : state) {
        file.open(QIODevice::ReadOnly);
        TJPEGImage jpeg;
        jpeg.LoadFromStream(file);
        file.close();
        TBitmap32 bitmap;
        bitmap.Assign(&jpeg);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    setPixelRate(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}

void BM_PhotoLibraryDecodeMemory(benchmark::State& state)
{
    const QByteArray& data = samples().photoJpeg;
    for (auto _ : state)
        libraryDecode(data);
    setPixelRate(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}

// The slower road the direct decode replaces: 24-bit bitmap, then drawn.
void BM_PhotoAssignThroughIntermediate(benchmark::State& state)
{
    QBuffer file;
    file.setData(samples().photoJpeg);
    for (auto _ : state) {
        file.open(QIODevice::ReadOnly);
        TJPEGImage jpeg;
        jpeg.LoadFromStream(file);
        file.close();
        jpeg.Decode();
        TBitmap32 bitmap;
        bitmap.Assign(&jpeg);
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    setPixelRate(state, std::int64_t{kPhotoWidth} * kPhotoHeight);
}

void BM_PageEncodeToMemory(benchmark::State& state)
{
    const QImage& page = samples().page;
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.Assign(page);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        jpeg.SaveToStream(out);
        benchmark::DoNotOptimize(out.data().constData());
    }
    setPixelRate(state, std::int64_t{kPageWidth} * kPageHeight);
}

void BM_PageLibraryEncode(benchmark::State& state)
{
    const QImage& bgr = samples().pageBGR;
    for (auto _ : state)
        benchmark::DoNotOptimize(libraryEncode(bgr));
    setPixelRate(state, std::int64_t{kPageWidth} * kPageHeight);
}

// What the user waits for: encoding plus the safe write (fsync, rename).
void BM_PageSaveToFile(benchmark::State& state)
{
    const QImage& page = samples().page;
    const QString path = samples().dir.filePath(QStringLiteral("page.jpg"));
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.Assign(page);
        jpeg.SaveToFile(path);
    }
    setPixelRate(state, std::int64_t{kPageWidth} * kPageHeight);
}

BENCHMARK(BM_PhotoLoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PhotoLibraryDecodeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PhotoAssignFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PhotoLibraryDecodeMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PhotoAssignThroughIntermediate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageEncodeToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageLibraryEncode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageSaveToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The page as a binary PPM (red, green, blue), cjpeg's input.
bool writePPM(const QImage& page, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QImage rgb = page.convertToFormat(QImage::Format_RGB888);
    file.write(QByteArray("P6\n") + QByteArray::number(rgb.width()) + ' ' + QByteArray::number(rgb.height())
               + "\n255\n");
    for (int y = 0; y < rgb.height(); ++y)
        file.write(reinterpret_cast<const char*>(rgb.constScanLine(y)), qsizetype{rgb.width()} * 3);
    return file.error() == QFileDevice::NoError;
}

int writeSamples(const QString& dir)
{
    const QString photo = QDir(dir).filePath(QStringLiteral("photo.jpg"));
    QFile::remove(photo);
    if (!QFile::copy(samples().photoPath, photo)
        || !writePPM(samples().page, QDir(dir).filePath(QStringLiteral("page.ppm")))) {
        std::fprintf(stderr, "jpeg_bench: cannot write the samples into %s\n", qPrintable(dir));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string flag = "--write-samples=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], flag.c_str(), flag.size()) == 0)
            return writeSamples(QString::fromLocal8Bit(argv[i] + flag.size()));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
