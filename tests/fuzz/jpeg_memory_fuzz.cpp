// A JPEG read from memory with every decoding setting: the first byte of the
// input picks the settings, the rest is the stream.
#include "fuzz_support.h"

#include "bitmap32.h"
#include "jpeg_image.h"

#include "exception.h"

#include <QBuffer>
#include <QPainter>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    if (size < 1)
        return 0;
    const std::uint8_t pick = data[0];
    QByteArray bytes = FuzzBytes(data + 1, size - 1);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);

    TJPEGImage jpeg;
    TJPEGSettings settings = jpeg.Settings();
    settings.Grayscale = pick & 1;
    settings.PixelFormat = pick & 2 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit;
    settings.Performance = pick & 4 ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality;
    settings.Smoothing = pick & 8;
    settings.Scale = static_cast<TJPEGScale>((pick >> 4) & 3);
    jpeg.SetSettings(settings);
    try {
        jpeg.LoadFromStream(stream);
        // Straight into a buffer of the output size, as the photo loads...
        TBitmap32 target;
        target.SetSize(jpeg.Width(), jpeg.Height());
        jpeg.DecodeInto(target);
        // ...and drawn through the intermediate bitmap.
        QImage canvas(16, 16, QImage::Format_RGB32);
        QPainter painter(&canvas);
        jpeg.Draw(painter, TRect{0, 0, 16, 16});
    } catch (const Exception&) {
    }
    return 0;
}
