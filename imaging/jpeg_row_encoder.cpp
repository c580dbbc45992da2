#include "jpeg_row_encoder.h"

#include "colour_profile.h"
#include "jpeg_error.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <new>
#include <utility>

#include <jerror.h>

namespace {

// The library fills a fixed piece of memory and hands it on whenever it is
// full. It calls these from C, so a sink that raises is caught here, kept,
// and turned into a library error that unwinds the library first.
constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

struct TSinkDestination {
    jpeg_destination_mgr pub;
    TJPEGSink sink;
    std::exception_ptr failure;
    unsigned char piece[kPieceBytes];

    bool deliver(std::size_t size) noexcept
    {
        try {
            sink(reinterpret_cast<const char*>(piece), size);
            return true;
        } catch (...) {
            failure = std::current_exception();
            return false;
        }
    }
};

void initDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<TSinkDestination*>(info->dest);
    dest->pub.next_output_byte = dest->piece;
    dest->pub.free_in_buffer = kPieceBytes;
}

boolean deliverPiece(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<TSinkDestination*>(info->dest);
    // Called when the whole piece is full, whatever free_in_buffer says.
    if (!dest->deliver(kPieceBytes))
        ERREXIT(info, JERR_FILE_WRITE);
    initDestination(info);
    return TRUE;
}

void deliverLastPiece(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<TSinkDestination*>(info->dest);
    const std::size_t size = kPieceBytes - dest->pub.free_in_buffer;
    if (size > 0 && !dest->deliver(size))
        ERREXIT(info, JERR_FILE_WRITE);
}

}  // namespace

// Every library call happens in a try* member, which holds nothing with a
// destructor: a fatal error longjmps back into it and it returns false.
struct TJPEGRowEncoder::TState {
    TJPEGErrorManager err{};
    jpeg_compress_struct info{};
    TSinkDestination dest{};
    QByteArray memory;   // the stream, when no sink was given
    bool created = false;
    bool finished = false;

    ~TState()
    {
        if (created)
            jpeg_destroy_compress(&info);
    }

    [[noreturn]] void raise() const
    {
        if (dest.failure)
            std::rethrow_exception(dest.failure);
        ThrowJPEGError(err.pub.msg_code);
    }

    bool tryStart(int width, int height, const TJPEGSettings& settings, int dpiX, int dpiY)
    {
        if (setjmp(err.jump))
            return false;
        jpeg_create_compress(&info);
        created = true;
        info.dest = &dest.pub;
        info.image_width = static_cast<JDIMENSION>(width);
        info.image_height = static_cast<JDIMENSION>(height);
        // 0xAARRGGBB in memory is blue, green, red, alpha: the library reads
        // the rows as they lie and skips the fourth byte.
        info.input_components = 4;
        info.in_color_space = JCS_EXT_BGRX;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, settings.CompressionQuality, TRUE);
        if (settings.Grayscale)
            jpeg_set_colorspace(&info, JCS_GRAYSCALE);
        if (settings.ProgressiveEncoding)
            jpeg_simple_progression(&info);
        if (dpiX > 0 && dpiY > 0) {
            info.density_unit = 1;   // dots per inch
            info.X_density = static_cast<UINT16>(std::min(dpiX, 65535));
            info.Y_density = static_cast<UINT16>(std::min(dpiY, 65535));
        }
        jpeg_start_compress(&info, TRUE);
        // Colour pixels here are sRGB, and the file says so (an APP2 marker).
        if (!settings.Grayscale && !SRGBProfileBytes().isEmpty())
            jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(SRGBProfileBytes().constData()),
                                   static_cast<unsigned>(SRGBProfileBytes().size()));
        return true;
    }

    bool tryWrite(JSAMPARRAY rows, int count)
    {
        if (setjmp(err.jump))
            return false;
        JDIMENSION done = 0;
        while (done < static_cast<JDIMENSION>(count)) {
            const JDIMENSION n = jpeg_write_scanlines(&info, rows + done, static_cast<JDIMENSION>(count) - done);
            if (n == 0)   // the destination never suspends
                break;
            done += n;
        }
        return true;
    }

    bool tryFinish()
    {
        if (setjmp(err.jump))
            return false;
        jpeg_finish_compress(&info);
        return true;
    }
};

TJPEGRowEncoder::TJPEGRowEncoder(int Width, int Height, const TJPEGSettings& Settings, int DpiX,
                                 int DpiY, TJPEGSink Sink)
    : FState(std::make_unique<TState>())
{
    TState& s = *FState;
    s.info.err = InitJPEGErrorManager(s.err);
    if (Width <= 0 || Height <= 0)
        ThrowJPEGError(JERR_EMPTY_IMAGE);
    if (Sink) {
        s.dest.sink = std::move(Sink);
    } else {
        s.dest.sink = [&memory = s.memory](const char* data, std::size_t size) {
            try {
                memory.append(data, static_cast<qsizetype>(size));
            } catch (const std::bad_alloc&) {
                ThrowJPEGError(JERR_OUT_OF_MEMORY);
            }
        };
    }
    s.dest.pub.init_destination = initDestination;
    s.dest.pub.empty_output_buffer = deliverPiece;
    s.dest.pub.term_destination = deliverLastPiece;
    if (!s.tryStart(Width, Height, Settings, DpiX, DpiY))
        s.raise();
}

TJPEGRowEncoder::~TJPEGRowEncoder() = default;

int TJPEGRowEncoder::RowsWritten() const
{
    return static_cast<int>(FState->info.next_scanline);
}

void TJPEGRowEncoder::WriteRows(const TColor32* const* Rows, int Count)
{
    TState& s = *FState;
    if (s.finished || Count < 0
        || static_cast<JDIMENSION>(Count) > s.info.image_height - s.info.next_scanline)
        ThrowJPEGError(JERR_TOO_LITTLE_DATA);
    // The library only reads the rows.
    auto rows = reinterpret_cast<JSAMPARRAY>(const_cast<TColor32**>(Rows));
    if (!s.tryWrite(rows, Count))
        s.raise();
}

QByteArray TJPEGRowEncoder::Finish()
{
    TState& s = *FState;
    if (s.finished || s.info.next_scanline < s.info.image_height)
        ThrowJPEGError(JERR_TOO_LITTLE_DATA);
    s.finished = true;
    if (!s.tryFinish())
        s.raise();
    return std::exchange(s.memory, QByteArray());
}
