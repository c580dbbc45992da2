#pragma once

#include "rect.h"

#include <QByteArray>
#include <QImage>
#include <QRgb>

class QPainter;
class TBitmap32;

/// A picture that can draw itself: the decoders (JPEG, the platform's bitmap,
/// icon and metafile readers) deliver one of these to TBitmap32::Assign.
class TGraphic {
public:
    virtual ~TGraphic() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }

    /// Draws the picture scaled into Rect of the surface. Not const: a graphic
    /// may decode itself on first draw.
    virtual void Draw(QPainter& Canvas, const TRect& Rect) = 0;

    /// Writes the picture straight into Target, already of the picture's
    /// size: the very pixels Draw followed by an opaque alpha would give,
    /// where a graphic can make them without drawing. Returns false, with
    /// Target untouched, where it cannot; TBitmap32::Assign then draws.
    virtual bool DecodeInto(TBitmap32&) const { return false; }

    /// Icons and metafiles: pictures whose uncovered parts show what lies
    /// beneath. TBitmap32::Assign finds their mask by drawing them twice.
    virtual bool IsIconOrMetafile() const { return false; }

    /// The file ended before the picture did: what was there was drawn, the
    /// rest filled in by the decoder. Known once the picture is decoded.
    virtual bool EndsEarly() const { return false; }
};

/// The platform bitmap: a QImage of any format, optionally marked transparent
/// with a colour whose pixels count as see-through.
class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    explicit TBitmap(QImage image) : Image(std::move(image)) {}

    int Width() const override { return Image.width(); }
    int Height() const override { return Image.height(); }
    void Draw(QPainter& Canvas, const TRect& Rect) override;

    QImage Image;
    bool Transparent = false;
    QRgb TransparentColor = 0;   ///< compared on red, green and blue only
    /// The ICC profile of the file read; empty when it has none (the pixels
    /// are then taken as sRGB).
    QByteArray ColourProfile;
};
