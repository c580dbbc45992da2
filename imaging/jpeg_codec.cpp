#include "jpeg_codec.h"

#include "bitmap32.h"
#include "jpeg_error.h"
#include "jpeg_row_encoder.h"

#include <QList>
#include <QString>

#include <bit>
#include <cstddef>
#include <vector>

#include <jerror.h>

// Blue, green, red rows and 0xAARRGGBB pixels are the same bytes only on a
// little-endian machine.
static_assert(std::endian::native == std::endian::little);

namespace {

// The library calls its progress hook between the rows and markers it
// consumes, so counting scans there stops a file with too many of them early.
struct TScanLimit {
    jpeg_progress_mgr pub;
    bool exceeded;
};

void limitScans(j_common_ptr info)
{
    if (!info->is_decompressor
        || reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxJPEGScans)
        return;
    reinterpret_cast<TScanLimit*>(info->progress)->exceeded = true;
    (*info->err->error_exit)(info);
}

// One decompression context. Every library call happens inside a try*
// function that holds nothing with a destructor: a fatal error longjmps back
// into it, it returns false, and the C++ caller throws. The constructor cannot
// fail, so the destructor is the one way out that releases the context.
class TDecompressor {
public:
    TDecompressor()
    {
        info_.err = InitJPEGErrorManager(err_);
        scanLimit_.pub.progress_monitor = limitScans;
    }
    ~TDecompressor() { jpeg_destroy_decompress(&info_); }
    TDecompressor(const TDecompressor&) = delete;
    TDecompressor& operator=(const TDecompressor&) = delete;

    /// Reads the header of data, which must outlive this object.
    void open(const QByteArray& data)
    {
        check(tryOpen(reinterpret_cast<const unsigned char*>(data.constData()),
                      static_cast<unsigned long>(data.size())));
        // A header can claim 65500 x 65500 pixels in a few hundred bytes;
        // refuse it before the library sizes its buffers by it.
        const std::int64_t pixels = std::int64_t{info_.image_width} * info_.image_height;
        if (pixels > kMaxJPEGPixels)
            throw EJPEG(QStringLiteral("Image JPEG trop grande : %1 x %2 pixels (au plus %3 pixels)")
                            .arg(info_.image_width)
                            .arg(info_.image_height)
                            .arg(kMaxJPEGPixels));
        // The same few hundred bytes can claim a size that is allowed: the
        // buffers must be paid for by bytes of the file.
        if (pixels > kMaxJPEGPixelsPerByte * data.size())
            throw EJPEG(QStringLiteral("Image JPEG incomplète ou falsifiée : %1 x %2 pixels dans un "
                                       "fichier de %3 octets (il faut au moins un octet pour %4 pixels)")
                            .arg(info_.image_width)
                            .arg(info_.image_height)
                            .arg(data.size())
                            .arg(kMaxJPEGPixelsPerByte));
    }

    jpeg_decompress_struct& info() { return info_; }
    bool multipleScans() const { return multipleScans_; }
    /// The library met the end of the data before the last row.
    bool endedEarly() const { return err_.endedEarly; }

    void calcOutputDimensions() { check(tryCalcOutputDimensions()); }
    void start() { check(tryStart()); }
    /// Reads every output row; rows[y] receives row y.
    void readAll(JSAMPARRAY rows) { check(tryReadAll(rows)); }
    void finish() { check(tryFinish()); }

private:
    void check(bool ok) const
    {
        if (ok)
            return;
        if (scanLimit_.exceeded)
            throw EJPEG(QStringLiteral("Image JPEG trop complexe : plus de %1 balayages").arg(kMaxJPEGScans));
        ThrowJPEGError(err_.pub.msg_code);
    }

    bool tryOpen(const unsigned char* data, unsigned long size)
    {
        if (setjmp(err_.jump))
            return false;
        jpeg_create_decompress(&info_);
        info_.progress = &scanLimit_.pub;   // creating the context cleared it
        jpeg_mem_src(&info_, data, size);
        jpeg_read_header(&info_, TRUE);
        multipleScans_ = jpeg_has_multiple_scans(&info_);
        return true;
    }

    bool tryCalcOutputDimensions()
    {
        if (setjmp(err_.jump))
            return false;
        jpeg_calc_output_dimensions(&info_);
        return true;
    }

    bool tryStart()
    {
        if (setjmp(err_.jump))
            return false;
        jpeg_start_decompress(&info_);
        return true;
    }

    bool tryReadAll(JSAMPARRAY rows)
    {
        if (setjmp(err_.jump))
            return false;
        while (info_.output_scanline < info_.output_height) {
            // The memory source never suspends; a zero would mean no progress.
            if (jpeg_read_scanlines(&info_, rows + info_.output_scanline,
                                    info_.output_height - info_.output_scanline) == 0)
                break;
        }
        return true;
    }

    bool tryFinish()
    {
        if (setjmp(err_.jump))
            return false;
        jpeg_finish_decompress(&info_);
        return true;
    }

    TJPEGErrorManager err_{};
    TScanLimit scanLimit_{};
    jpeg_decompress_struct info_{};
    boolean multipleScans_ = FALSE;
};

void applyDecodeSettings(jpeg_decompress_struct& info, const TJPEGSettings& settings)
{
    info.scale_num = 1;
    info.scale_denom = 1u << static_cast<unsigned>(settings.Scale);
    info.do_block_smoothing = settings.Smoothing ? TRUE : FALSE;
    if (settings.Grayscale)
        info.out_color_space = JCS_GRAYSCALE;
    if (settings.PixelFormat == TJPEGPixelFormat::jf8Bit || info.out_color_space == JCS_GRAYSCALE) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = 236;
    }
    if (settings.Performance == TJPEGPerformance::jpBestSpeed) {
        info.dct_method = JDCT_IFAST;
        info.two_pass_quantize = FALSE;
        info.dither_mode = JDITHER_ORDERED;
    }
    // Colour comes out in the platform's blue-green-red order (palette entries
    // stay red-green-blue). Files in other colour spaces (CMYK) then fail with
    // the library's conversion error instead of filling rows of another width.
    if (info.out_color_space != JCS_GRAYSCALE)
        info.out_color_space = info.quantize_colors ? JCS_RGB : JCS_EXT_BGR;
}

QList<QRgb> colourTable(const jpeg_decompress_struct& info)
{
    QList<QRgb> table(info.actual_number_of_colors);
    for (int i = 0; i < info.actual_number_of_colors; ++i) {
        if (info.out_color_components == 1) {
            const int v = info.colormap[0][i];
            table[i] = qRgb(v, v, v);
        } else {
            table[i] = qRgb(info.colormap[0][i], info.colormap[1][i], info.colormap[2][i]);
        }
    }
    return table;
}

}  // namespace

TJPEGSettings& JPEGDefaults()
{
    static TJPEGSettings defaults;
    return defaults;
}

TJPEGHeader ReadJPEGHeader(const QByteArray& Data)
{
    TDecompressor decompressor;
    decompressor.open(Data);
    const jpeg_decompress_struct& info = decompressor.info();
    TJPEGHeader header;
    header.Width = static_cast<int>(info.image_width);
    header.Height = static_cast<int>(info.image_height);
    header.Grayscale = info.jpeg_color_space == JCS_GRAYSCALE;
    header.Progressive = decompressor.multipleScans();
    return header;
}

int ScaledJPEGSize(int FullSize, TJPEGScale Scale)
{
    const int denom = 1 << static_cast<int>(Scale);
    return (FullSize + denom - 1) / denom;
}

QImage DecodeJPEG(const QByteArray& Data, const TJPEGSettings& Settings, bool* EndedEarly)
{
    TDecompressor decompressor;
    decompressor.open(Data);
    applyDecodeSettings(decompressor.info(), Settings);
    decompressor.start();

    const jpeg_decompress_struct& info = decompressor.info();
    const bool quantized = info.quantize_colors;
    if (info.output_components != (quantized ? 1 : 3))
        ThrowJPEGError(JERR_CONVERSION_NOTIMPL);
    QImage image(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 quantized ? QImage::Format_Indexed8 : QImage::Format_BGR888);
    if (image.isNull())
        ThrowJPEGError(JERR_OUT_OF_MEMORY);
    if (quantized)
        image.setColorTable(colourTable(info));

    std::vector<JSAMPROW> rows(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        rows[y] = image.scanLine(y);
    decompressor.readAll(rows.data());
    decompressor.finish();
    if (EndedEarly)
        *EndedEarly = decompressor.endedEarly();
    return image;
}

bool DecodeJPEGInto(const QByteArray& Data, const TJPEGSettings& Settings, TBitmap32& Target, bool* EndedEarly)
{
    if (Target.Empty())
        return false;
    TDecompressor decompressor;
    decompressor.open(Data);
    jpeg_decompress_struct& info = decompressor.info();
    applyDecodeSettings(info, Settings);
    if (info.quantize_colors || info.out_color_space != JCS_EXT_BGR)
        return false;
    // The same conversion with a fourth byte per pixel, which the library
    // sets to 0xFF: the 32-bit buffer gets opaque pixels without another pass.
    info.out_color_space = JCS_EXT_BGRX;
    decompressor.calcOutputDimensions();
    if (static_cast<int>(info.output_width) != Target.Width()
        || static_cast<int>(info.output_height) != Target.Height())
        return false;
    decompressor.start();

    std::vector<JSAMPROW> rows(static_cast<std::size_t>(Target.Height()));
    for (int y = 0; y < Target.Height(); ++y)
        rows[y] = reinterpret_cast<JSAMPROW>(Target.ScanLine(y));
    decompressor.readAll(rows.data());
    decompressor.finish();
    if (EndedEarly)
        *EndedEarly = decompressor.endedEarly();
    return true;
}

QByteArray EncodeJPEG(const QImage& Image, const TJPEGSettings& Settings)
{
    if (Image.isNull() || Image.width() <= 0 || Image.height() <= 0)
        return {};
    // 32-bit rows go in as they lie with the library skipping the fourth
    // byte; other formats are first given that layout, which keeps their
    // colours and so the stream.
    QImage source = Image;
    if (Image.format() != QImage::Format_RGB32 && Image.format() != QImage::Format_ARGB32) {
        source = Image.convertToFormat(QImage::Format_RGB32);
        if (source.isNull())
            ThrowJPEGError(JERR_OUT_OF_MEMORY);
    }
    TJPEGRowEncoder encoder(source.width(), source.height(), Settings);
    std::vector<const TColor32*> rows(static_cast<std::size_t>(source.height()));
    for (int y = 0; y < source.height(); ++y)
        rows[y] = reinterpret_cast<const TColor32*>(source.constScanLine(y));
    encoder.WriteRows(rows.data(), source.height());
    return encoder.Finish();
}
