#pragma once

#include "color32.h"
#include "graphic.h"
#include "rect.h"
#include "thread_persistent.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class QString;
class TBitmap32;

/// Per-pixel callback of dmCustom: F is the source pixel, B the destination's,
/// M receives the result.
using TPixelCombineEvent = std::function<void(TColor32 F, TColor32 B, TColor32& M)>;

/// The most pixels one bitmap may hold (4 GiB of storage): larger sizes raise
/// "Can't allocate the DIB handle" instead of exhausting memory.
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 30;

/// How much of a picture file a load found.
enum class TLoadedPicture { Whole, EndsEarly };

/// The image buffer: Width x Height pixels of TColor32 in one block, rows
/// top-down and packed, pixel (x, y) at Bits()[x + y * Width()]. Other code
/// addresses the storage directly, so this layout never changes.
///
/// The platform bitmap over the storage is Handle(), a QImage that wraps the
/// very same pixels; Canvas() is a QPainter on it. Both are re-created by
/// every size change: never keep them across one.
class TBitmap32 : public TCustomMap {
public:
    TBitmap32();
    ~TBitmap32() override;

    TColor32* Bits() { return FBits.get(); }
    const TColor32* Bits() const { return FBits.get(); }
    TColor32* ScanLine(int y) { return FBits.get() + static_cast<std::ptrdiff_t>(y) * FWidth; }
    const TColor32* ScanLine(int y) const
    {
        return FBits.get() + static_cast<std::ptrdiff_t>(y) * FWidth;
    }
    /// Unchecked pixel access.
    TColor32 Pixel(int x, int y) const { return ScanLine(y)[x]; }
    void SetPixel(int x, int y, TColor32 c) { ScanLine(y)[x] = c; }

    /// The platform bitmap over the storage; null when there is none.
    QImage* Handle() { return FHandle.get(); }
    /// A drawing surface over the storage, created on first request. Drawing
    /// through it writes blue, green and red; alpha is not to be relied on.
    /// It does not notify by itself: call Changed() when done drawing.
    QPainter& Canvas();

    bool Empty() const override;
    void Delete() override;

    TRect BoundsRect() const { return Rect(0, 0, FWidth, FHeight); }
    /// Limits FillRectS and every transfer into this bitmap; reset to
    /// BoundsRect by every size change.
    TRect ClipRect() const { return FClipRect; }
    void SetClipRect(const TRect& value);
    void ResetClipRect();

    TDrawMode DrawMode() const { return FDrawMode; }
    void SetDrawMode(TDrawMode value);
    TCombineMode CombineMode() const { return FCombineMode; }
    void SetCombineMode(TCombineMode value);
    std::uint8_t MasterAlpha() const { return FMasterAlpha; }
    void SetMasterAlpha(std::uint8_t value);
    TColor32 OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor32 value) { FOuterColor = value; }
    TStretchFilter StretchFilter() const { return FStretchFilter; }
    void SetStretchFilter(TStretchFilter value);

    /// Fills every pixel, then Changed; does nothing on an empty bitmap.
    void Clear(TColor32 color);
    /// Fills rows y1..y2-1, columns x1..x2-1, clipped to ClipRect, then Changed.
    void FillRectS(int x1, int y1, int x2, int y2, TColor32 color);
    void FillRectS(const TRect& r, TColor32 color) { FillRectS(r.Left, r.Top, r.Right, r.Bottom, color); }
    /// Sets every alpha byte to 255, then Changed.
    void ResetAlpha();

    /// Scaled copy of the whole bitmap into DstRect of Dst, limited by Dst's
    /// ClipRect, with this bitmap's StretchFilter and DrawMode; then Dst.Changed.
    void DrawTo(TBitmap32& Dst, const TRect& DstRect) const;
    /// Plain 1:1 copy onto a drawing surface at (X, Y).
    void DrawTo(QPainter& Device, int X, int Y) const;

    /// No source: SetSize(0, 0). Another TBitmap32: its size, pixels, DrawMode,
    /// MasterAlpha, OuterColor and StretchFilter.
    void Assign(const TBitmap32* Source);
    /// A platform bitmap of any format: pixels 1:1, alpha 255 unless the image
    /// has alpha; a transparent image's pixels of the transparent colour get alpha 0.
    void Assign(const QImage& Source, bool Transparent = false, QRgb TransparentColor = 0);
    /// Any graphic: platform bitmaps as above, icons and metafiles with their
    /// mask, every other graphic drawn into the buffer and made opaque.
    void Assign(TGraphic* Source);

    /// Makes Target a 32-bit platform bitmap of this size holding these pixels.
    void AssignTo(QImage& Target) const;
    /// These pixels as an opaque 32-bit platform bitmap, as AssignTo makes it,
    /// but without a copy when every pixel is already opaque: the image then
    /// reads this bitmap's pixels and is only valid while they are neither
    /// changed, resized nor freed. A null image when a copy cannot be made.
    QImage OpaqueImage() const;

    /// Loads a picture file through a TPicture (the decoder is chosen by the
    /// extension; see picture.h), then takes it as Assign would, turned
    /// upright where the file's EXIF block says the camera was held sideways.
    /// A failed load, a decoding error included, leaves the bitmap exactly
    /// as it was; a zero-length JPEG file makes it empty. A file that ends
    /// before its picture does loads what is there (the decoder fills the
    /// rest) and answers TLoadedPicture::EndsEarly, for the caller to say so.
    /// Defined beside the readers, in picture.cpp.
    TLoadedPicture LoadFromFile(const QString& FileName);

    /// Re-points an existing Canvas and raises OnHandleChanged.
    virtual void HandleChanged();

    TPersistentNotifyEvent OnHandleChanged;
    TPixelCombineEvent OnPixelCombine;

protected:
    void ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) override;

private:
    struct FreeDeleter {
        void operator()(TColor32* p) const;
    };

    void releaseStorage();
    void assignBitmapPixels(const QImage& source, bool transparent, QRgb transparentColor);
    void assignMasked(TGraphic& source);
    void assignDrawn(TGraphic& source);
    void takeStorage(TBitmap32& source);

    std::unique_ptr<TColor32, FreeDeleter> FBits;
    std::unique_ptr<QImage> FHandle;
    std::unique_ptr<QPainter> FCanvas;
    TRect FClipRect;
    TDrawMode FDrawMode = dmOpaque;
    TCombineMode FCombineMode = cmBlend;
    std::uint8_t FMasterAlpha = 255;
    TColor32 FOuterColor = 0;
    TStretchFilter FStretchFilter = sfNearest;
};
