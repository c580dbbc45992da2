#include "flag_bitmap.h"

#include "messages.h"

#include <QBuffer>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

namespace {

/// A flag is a small picture; anything larger is not one we show.
constexpr std::int64_t kMaxFlagPixels = std::int64_t{1} << 22;

std::uint32_t le16(const QByteArray& b, int at)
{
    return std::uint32_t{static_cast<std::uint8_t>(b[at])} |
           std::uint32_t{static_cast<std::uint8_t>(b[at + 1])} << 8;
}

std::int32_t le32(const QByteArray& b, int at)
{
    return static_cast<std::int32_t>(le16(b, at) | le16(b, at + 2) << 16);
}

/// Sizes stated by a BMP header, checked before any decoder sees them: the
/// declared picture must be flag-sized and, uncompressed, fit in the bytes.
bool plausibleBmp(const QByteArray& b)
{
    constexpr int fileHeader = 14;
    if (b.size() < fileHeader + 12 || b[0] != 'B' || b[1] != 'M')
        return false;
    const std::int32_t infoSize = le32(b, 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t bitCount = 0;
    std::int32_t compression = 0;
    if (infoSize == 12) {
        width = le16(b, 18);
        height = le16(b, 20);
        bitCount = le16(b, 24);
    } else if (infoSize >= 40 && b.size() >= fileHeader + 40) {
        width = le32(b, 18);
        height = std::abs(std::int64_t{le32(b, 22)});
        bitCount = le16(b, 28);
        compression = le32(b, 30);
    } else {
        return false;
    }
    if (width <= 0 || height <= 0 || width * height > kMaxFlagPixels)
        return false;
    const std::int64_t dataOffset = static_cast<std::uint32_t>(le32(b, 10));
    const bool uncompressed = compression == 0 || compression == 3;
    const std::int64_t rowBytes = (width * bitCount + 31) / 32 * 4;
    return !uncompressed || (dataOffset <= b.size() && rowBytes * height <= b.size() - dataOffset);
}

}  // namespace

QImage BitmapFromBmpBytes(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    const auto invalid = [] { return EInvalidGraphic(QString::fromUtf8(Msg::kBadFlag)); };
    if (!plausibleBmp(bytes))
        throw invalid();
    QByteArray data(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    reader.setAllocationLimit(int(kMaxFlagPixels * 4 / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull())
        throw invalid();
    return image;
}

QByteArray BmpBytesOfBitmap(const QImage& image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}
