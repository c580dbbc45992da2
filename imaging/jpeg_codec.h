#pragma once

#include "exception.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>

class TBitmap32;

/// A fatal error of the JPEG library ("Erreur JPEG #%d" with the library's
/// message code, which Code keeps), or an image this program refuses to
/// decode (Code 0).
class EJPEG : public Exception {
public:
    explicit EJPEG(QString message, int code = 0) : Exception(std::move(message)), Code(code) {}
    const int Code;
};

/// The most pixels a JPEG image may declare in its header (2^28, about 268
/// megapixels: far above any camera). Larger claims come from damaged or
/// hostile files and are refused before anything of their size is allocated.
inline constexpr std::int64_t kMaxJPEGPixels = std::int64_t{1} << 28;

/// The most pixels a JPEG image may declare per byte of its file. A whole
/// Huffman-coded image spends at least one bit on every 8 x 8 block of its
/// full-resolution component (the code of the block's DC value), so it cannot
/// be smaller than one byte per 512 pixels, even flat white at the lowest
/// quality; camera photos spend one byte on 2 to 20 pixels. A file below half
/// that floor is cut short or forged, and decoding it would cost memory and
/// time out of all proportion to what was read.
inline constexpr std::int64_t kMaxJPEGPixelsPerByte = 1024;

/// The most scans a progressive JPEG may have. Encoders write about ten (the
/// library's own script: ten for colour, six for gray); every scan makes the
/// decoder walk the blocks of its components once, whatever its length, so
/// a few bytes per empty scan would buy a whole pass each.
inline constexpr int kMaxJPEGScans = 100;

/// The most bytes read from a JPEG file (1 GiB), so that a name pointing at a
/// device or an endless stream cannot exhaust memory.
inline constexpr std::int64_t kMaxJPEGFileBytes = std::int64_t{1} << 30;

enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum class TJPEGPixelFormat { jf24Bit, jf8Bit };
/// Output scale 1 / 2^ordinal.
enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

/// The eight settings of a JPEG image, in their stored order.
struct TJPEGSettings {
    int CompressionQuality = 90;   ///< 1..100, encoding only
    bool Grayscale = false;        ///< one-channel output / file
    TJPEGPerformance Performance = TJPEGPerformance::jpBestQuality;
    TJPEGPixelFormat PixelFormat = TJPEGPixelFormat::jf24Bit;
    bool ProgressiveDisplay = false;   ///< kept for completeness; decoding is always whole
    bool ProgressiveEncoding = false;
    TJPEGScale Scale = TJPEGScale::jsFullSize;
    bool Smoothing = true;             ///< block smoothing while decoding

    bool operator==(const TJPEGSettings&) const = default;
};

/// The process-wide defaults every new TJPEGImage copies. Screens here have
/// more than 8 bits per pixel, so the pixel format default is 24-bit.
TJPEGSettings& JPEGDefaults();

/// What the header of a JPEG stream says.
struct TJPEGHeader {
    int Width = 0;
    int Height = 0;
    bool Grayscale = false;     ///< the file's colour space is single-channel gray
    bool Progressive = false;   ///< the file has more than one scan
};

/// Parses the header of a complete JPEG stream. Raises EJPEG for damaged
/// headers (code 53 when the stream does not start with FF D8), for images
/// larger than kMaxJPEGPixels and for images with more than
/// kMaxJPEGPixelsPerByte pixels per byte of Data.
TJPEGHeader ReadJPEGHeader(const QByteArray& Data);

/// Output size of an image of the given size at Scale (the library rounds up).
int ScaledJPEGSize(int FullSize, TJPEGScale Scale);

/// Decodes a complete JPEG stream with Settings: 24-bit blue-green-red rows
/// (QImage::Format_BGR888), or palette indices (Format_Indexed8 with the
/// library's colour map) when the output is quantised: 8-bit pixel format,
/// or gray output, which always gets the library's one-pass quantiser with
/// 236 levels and Floyd-Steinberg dithering. A truncated stream decodes with
/// the missing part filled by the library and sets *EndedEarly when given.
/// Raises EJPEG, also for more than kMaxJPEGScans scans.
QImage DecodeJPEG(const QByteArray& Data, const TJPEGSettings& Settings, bool* EndedEarly = nullptr);

/// Decodes straight into Target when the output is 24-bit colour and its size
/// is Target's: the pixels DecodeJPEG would give, with alpha 255. Returns
/// false, with Target untouched, when that does not apply (gray or quantised
/// output, another size). Sets *EndedEarly, when given, as DecodeJPEG does.
/// Raises EJPEG; rows decoded before an error stay.
bool DecodeJPEGInto(const QByteArray& Data, const TJPEGSettings& Settings, TBitmap32& Target,
                    bool* EndedEarly = nullptr);

/// Encodes Image as a JFIF stream: the library's defaults, then the quality
/// with baseline tables forced, one gray or three colour channels, progressive
/// when asked. Alpha is dropped. A null or empty image gives an empty stream.
/// Raises EJPEG (for instance for sides above the library's 65500).
QByteArray EncodeJPEG(const QImage& Image, const TJPEGSettings& Settings);
