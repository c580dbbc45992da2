#include "digital_photo.h"

#include "file_io.h"
#include "jpeg_row_encoder.h"
#include "messages.h"
#include "sheet_render.h"
#include "turned_photo.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kKB = 1000;
constexpr std::int64_t kMB = 1000 * 1000;
// The largest file an own size may ask for.
constexpr std::int64_t kMaxOwnKB = 100 * 1000;

QString kbText(std::int64_t bytes)
{
    return QLocale().toString(static_cast<double>(bytes) / kKB, 'f', 1);
}


}  // namespace

const std::vector<TDigitalPreset>& DigitalPresets()
{
    static const std::vector<TDigitalPreset> presets = [] {
        std::vector<TDigitalPreset> list;
        for (const TDocument& d : Documents()) {
            if (!d.Online)
                continue;
            const std::string_view key = OnlineKey(d);
            list.push_back({{QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())), d.Online->Width,
                             d.Online->Height, d.Online->MinBytes, d.Online->MaxBytes},
                            &d});
        }
        // The forms offered first keep their places; the table's order (by
        // country) follows.
        const auto rank = [](const TDigitalPreset& p) {
            const std::span<const std::string_view> first = OnlineFormsOfferedFirst();
            return static_cast<int>(std::find(first.begin(), first.end(), p.Document->Id) - first.begin());
        };
        std::stable_sort(list.begin(), list.end(),
                         [&](const TDigitalPreset& a, const TDigitalPreset& b) { return rank(a) < rank(b); });
        return list;
    }();
    return presets;
}

THeadRule DigitalHeadRule(const TDigitalSize& size)
{
    for (const TDigitalPreset& preset : DigitalPresets())
        if (!size.Key.isEmpty() && preset.Size.Key == size.Key)
            return DocumentRule(*preset.Document);
    return GenericHeadRule(size.Width, size.Height);
}

std::optional<TFrame> DigitalFrame(const std::optional<TFrame>& frame, const THeadRule& from,
                                   const TDigitalSize& size)
{
    if (!frame)
        return std::nullopt;
    return FollowFormat(*frame, from, DigitalHeadRule(size));
}

TDigitalSize ParseDigitalSize(const QString& text)
{
    const QString key = text.trimmed();
    for (const TDigitalPreset& preset : DigitalPresets()) {
        if (key.compare(preset.Size.Key, Qt::CaseInsensitive) == 0)
            return preset.Size;
    }
    static const QRegularExpression own(
        QStringLiteral("^(\\d{1,5})x(\\d{1,5})px(?:,(\\d{0,6})-(\\d{0,6}))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = own.match(key);
    if (!m.hasMatch())
        throw EDigitalPhoto(MessageText(Msg::kDigitalSizeUnknown).arg(text));
    TDigitalSize size;
    size.Width = m.captured(1).toInt();
    size.Height = m.captured(2).toInt();
    const auto side = [](int v) { return v >= kMinDigitalSide && v <= kMaxDigitalSide; };
    if (!side(size.Width) || !side(size.Height))
        throw EDigitalPhoto(MessageText(Msg::kDigitalSideRange).arg(text).arg(kMinDigitalSide).arg(kMaxDigitalSide));
    const std::int64_t minKB = m.captured(3).isEmpty() ? 0 : m.captured(3).toLongLong();
    const std::int64_t maxKB = m.captured(4).isEmpty() ? 0 : m.captured(4).toLongLong();
    if (minKB > kMaxOwnKB || maxKB > kMaxOwnKB || (maxKB > 0 && maxKB * kKB < minKB * kKiB))
        throw EDigitalPhoto(MessageText(Msg::kDigitalFileRange).arg(text).arg(kMaxOwnKB));
    size.MinBytes = minKB * kKiB;
    size.MaxBytes = maxKB * kKB;
    return size;
}

TFrame DigitalPhotoPart(int PhotoWidth, int PhotoHeight, const std::optional<TFrame>& frame,
                        const TDigitalSize& size)
{
    const double aspect = static_cast<double>(size.Width) / size.Height;
    TFrame shaped;
    if (frame && frame->Height > 0) {
        // The head stays where the window framed it; only the sides move.
        shaped = *frame;
        shaped.Width = frame->Height * aspect;
        shaped.X = frame->CentreX() - shaped.Width / 2;
    } else {
        shaped.Height = std::min<double>(PhotoHeight, PhotoWidth / aspect);
        shaped.Width = shaped.Height * aspect;
        shaped.X = (PhotoWidth - shaped.Width) / 2;
        shaped.Y = (PhotoHeight - shaped.Height) / 2;
    }
    return shaped;
}

void RenderDigitalPhoto(const TBitmap32& photo, const std::optional<TFrame>& frame, const TDigitalSize& size,
                        TBitmap32& out, const std::optional<TPlainBackground>& background, double turn)
{
    out.SetSize(size.Width, size.Height);
    out.Clear(clWhite32);
    if (photo.Empty() || out.Empty())
        return;
    const TFrame shaped = DigitalPhotoPart(photo.Width(), photo.Height(), frame, size);
    const TRect r = FramedPhotoRect(photo.Width(), photo.Height(), shaped, size.Width, size.Height);
    if (r.IsEmpty())
        return;
    if (turn != 0)
        DrawTurned(photo, turn, QRectF(shaped.X, shaped.Y, shaped.Width, shaped.Height), out,
                   QRectF(0, 0, out.Width(), out.Height()));
    else
        photo.DrawTo(out, r);
    if (background)
        PutPlainBackground(out, shaped, *background);
}

QByteArray EncodeDigitalPhotoAt(const TBitmap32& pixels, int quality)
{
    TJPEGSettings settings;
    settings.CompressionQuality = quality;
    settings.ProgressiveEncoding = false;
    TJPEGRowEncoder encoder(pixels.Width(), pixels.Height(), settings);
    for (int y = 0; y < pixels.Height(); ++y) {
        const TColor32* row = pixels.ScanLine(y);
        encoder.WriteRows(&row, 1);
    }
    // The sRGB profile's APP2 marker belongs to the stream here, before
    // its size is measured against the limits.
    return encoder.Finish();
}

TDigitalJpeg EncodeDigitalPhoto(const TBitmap32& pixels, const TDigitalSize& size)
{
    const auto fits = [&](const QByteArray& bytes) { return size.MaxBytes <= 0 || bytes.size() <= size.MaxBytes; };
    TDigitalJpeg best{EncodeDigitalPhotoAt(pixels, 100), 100};
    if (!fits(best.Bytes)) {
        // The file grows with the quality: the highest quality that fits
        // lies between the lowest that fits and the lowest that does not.
        QByteArray lowest = EncodeDigitalPhotoAt(pixels, 1);
        if (!fits(lowest))
            throw EDigitalPhoto(MessageText(Msg::kDigitalTooLarge).arg(kbText(lowest.size()), kbText(size.MaxBytes)));
        best = {std::move(lowest), 1};
        int tooHigh = 100;
        while (tooHigh - best.Quality > 1) {
            const int quality = (best.Quality + tooHigh) / 2;
            QByteArray bytes = EncodeDigitalPhotoAt(pixels, quality);
            if (fits(bytes))
                best = {std::move(bytes), quality};
            else
                tooHigh = quality;
        }
    }
    if (best.Bytes.size() < size.MinBytes)
        // The lower bound was asked for in KB of 1,024 bytes; it is said so.
        throw EDigitalPhoto(MessageText(Msg::kDigitalTooSmall)
                                .arg(kbText(best.Bytes.size()), QLocale().toString(static_cast<double>(size.MinBytes) / kKiB, 'f', 1)));
    return best;
}

TDigitalJpeg SaveDigitalPhoto(const TBitmap32& photo, const std::optional<TFrame>& frame, const TDigitalSize& size,
                              const QString& fileName, TBitmap32* rendered,
                              const std::optional<TPlainBackground>& background, double turn)
{
    TBitmap32 own;
    TBitmap32& pixels = rendered ? *rendered : own;
    pixels.SetStretchFilter(sfMitchell);
    RenderDigitalPhoto(photo, frame, size, pixels, background, turn);
    TDigitalJpeg jpeg = EncodeDigitalPhoto(pixels, size);
    SaveFileAtomically(fileName, jpeg.Bytes);
    return jpeg;
}

QString DigitalSizeText(const TDigitalSize& size)
{
    const auto bytesText = [](std::int64_t bytes) {
        return bytes >= kMB && bytes % kMB == 0 ? QStringLiteral("%1 MB").arg(bytes / kMB)
                                                : QStringLiteral("%1 KB").arg(bytes % kKiB == 0 ? bytes / kKiB : bytes / kKB);
    };
    QString text = QStringLiteral("%1 \u00d7 %2 px").arg(size.Width).arg(size.Height);
    if (size.MinBytes > 0 && size.MaxBytes > 0)
        text += QStringLiteral(", %1 \u2013 %2").arg(bytesText(size.MinBytes), bytesText(size.MaxBytes));
    else if (size.MaxBytes > 0)
        text += QStringLiteral(", \u2264 %1").arg(bytesText(size.MaxBytes));
    else if (size.MinBytes > 0)
        text += QStringLiteral(", \u2265 %1").arg(bytesText(size.MinBytes));
    return text;
}
