// The EXIF orientation of a JPEG stream: the input either as the whole stream
// or, to reach the EXIF reader at once, as the body of an APP1 segment
// placed after the start-of-image marker.
#include "fuzz_support.h"

#include "exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray body = FuzzBytes(data + 1, size - 1);
    QByteArray stream;
    if (data[0] & 1) {
        // The segment's length field is two bytes; a longer body is cut.
        const QByteArray segment = QByteArray("Exif\0\0", 6) + body.left(0xFFFF - 8);
        const int length = static_cast<int>(segment.size()) + 2;
        stream = QByteArray("\xFF\xD8\xFF\xE1", 4);
        stream.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
        stream += segment;
        stream += QByteArray("\xFF\xD9", 2);
    } else {
        stream = body;
    }
    const TOrientation orientation = ReadExifOrientation(stream);
    const int value = static_cast<int>(orientation);
    if (value < 1 || value > 8)
        __builtin_trap();   // the reader promises one of the eight
    return 0;
}
