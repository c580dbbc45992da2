#pragma once

#include "bitmap32.h"
#include "exception.h"
#include "frame.h"
#include "plain_background.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

/// A digital photo that cannot be made as asked; the message says why.
QRL_DECLARE_EXCEPTION(EDigitalPhoto, Exception);

/// The pixel size and file size an online application takes. Sizes in
/// bytes; MinBytes 0 and MaxBytes 0 mean no limit.
struct TDigitalSize {
    QString Key;              ///< its form's OnlineKey ("us-passport"), or empty for an own size
    int Width = 0;
    int Height = 0;
    std::int64_t MinBytes = 0;
    std::int64_t MaxBytes = 0;

    bool operator==(const TDigitalSize&) const = default;
};

/// One preset: an online form of the table of documents.
struct TDigitalPreset {
    TDigitalSize Size;
    const TDocument* Document;
};

/// The rule automatic framing follows for `size`: its online form's row's
/// (its shape, head and crown), and for an own size the head at 70 to 80 %
/// of the height (GenericHeadRule).
THeadRule DigitalHeadRule(const TDigitalSize& size);

/// The presets, in the order they are offered: every online form of the
/// table, those of OnlineFormsOfferedFirst first (the US passport renewal,
/// the US visa and the UK passport, as they have always been offered).
const std::vector<TDigitalPreset>& DigitalPresets();

/// The frame of `size`'s online form from a frame made for `from`: the form's
/// own shape and head rule (FollowFormat), so a UK file cut from a square
/// 2 x 2 in. frame gets its 700 x 900 frame. None stays none.
std::optional<TFrame> DigitalFrame(const std::optional<TFrame>& frame, const THeadRule& from,
                                   const TDigitalSize& size);

/// Sides of an own size, in pixels.
inline constexpr int kMinDigitalSide = 100;
inline constexpr int kMaxDigitalSide = 6000;

/// A preset's key, or WxHpx with an optional ",MINKB-MAXKB" (either side
/// may be left out: ",-240", ",50-"). Offices count a KB as 1,000 or as
/// 1,024 bytes; the lower bound is taken in the larger unit and the upper
/// in the smaller, so the file passes either way. Raises EDigitalPhoto.
TDigitalSize ParseDigitalSize(const QString& text);

/// The part of a PhotoWidth x PhotoHeight photo that becomes the digital
/// photo, in photo pixels: `frame` widened or narrowed about its centre to
/// the size's shape, its height kept; without a frame the largest rectangle
/// of that shape in the middle of the photo. Taller than size.Height: the
/// photo is reduced; shorter: enlarged beyond its pixels.
TFrame DigitalPhotoPart(int PhotoWidth, int PhotoHeight, const std::optional<TFrame>& frame,
                        const TDigitalSize& size);

/// The framed part of `photo` resampled once, with the photo's own filter,
/// to size.Width x size.Height. The frame is widened or narrowed about its
/// centre to the size's shape, its height kept; without a frame the largest
/// rectangle of that shape in the middle of the photo. What the frame holds
/// beyond the photo is white. `out` becomes that picture, with a plain
/// background behind the person when one is given. A turn straightens the
/// photo as RenderPhotoCell's does: the frame is then the turned photo's.
void RenderDigitalPhoto(const TBitmap32& photo, const std::optional<TFrame>& frame, const TDigitalSize& size,
                        TBitmap32& out, const std::optional<TPlainBackground>& background = std::nullopt,
                        double turn = 0);

/// A digital photo as encoded: the stream and the quality it took.
struct TDigitalJpeg {
    QByteArray Bytes;
    int Quality = 0;
};

/// `pixels` as the baseline JPEG a digital photo is written as, at one
/// quality: the stream exactly as it goes to the file.
QByteArray EncodeDigitalPhotoAt(const TBitmap32& pixels, int quality);

/// `pixels` as a baseline JPEG of the highest quality whose file keeps
/// within size's limits, found by bisection over qualities 1 to 100. Raises
/// EDigitalPhoto when even quality 1 is above MaxBytes, or quality 100 below
/// MinBytes.
TDigitalJpeg EncodeDigitalPhoto(const TBitmap32& pixels, const TDigitalSize& size);

/// Render, encode and write `fileName` atomically (an existing file stays
/// as it was on any failure). The rendered pixels are left in `rendered`
/// when given, for a check of the photo to run on; `photo` may not be it.
TDigitalJpeg SaveDigitalPhoto(const TBitmap32& photo, const std::optional<TFrame>& frame,
                              const TDigitalSize& size, const QString& fileName,
                              TBitmap32* rendered = nullptr,
                              const std::optional<TPlainBackground>& background = std::nullopt, double turn = 0);

/// The size as one line: "1200 x 1200 px, 54 KB - 10 MB".
QString DigitalSizeText(const TDigitalSize& size);
