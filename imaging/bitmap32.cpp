#include "bitmap32.h"

#include "exception.h"
#include "resampler.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Runs an assignment inside an update bracket: EndUpdate and one Changed run
// on every way out, also when the assignment fails halfway.
template <typename Work>
void assignBracketed(TBitmap32& bitmap, Work&& work)
{
    bitmap.BeginUpdate();
    try {
        work();
    } catch (...) {
        bitmap.EndUpdate();
        bitmap.Changed();
        throw;
    }
    bitmap.EndUpdate();
    bitmap.Changed();
}

// Ends the Canvas, and any other painter on the handle, before the handle goes.
void endPainter(std::unique_ptr<QPainter>& painter)
{
    if (painter && painter->isActive())
        painter->end();
    painter.reset();
}

}  // namespace

void TBitmap32::FreeDeleter::operator()(TColor32* p) const
{
    std::free(p);
}

TBitmap32::TBitmap32() = default;

TBitmap32::~TBitmap32()
{
    TLockGuard guard(*this);
    endPainter(FCanvas);
    releaseStorage();
    FWidth = 0;
    FHeight = 0;
}

void TBitmap32::releaseStorage()
{
    FHandle.reset();
    FBits.reset();
}

void TBitmap32::ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight)
{
    endPainter(FCanvas);
    releaseStorage();
    Width = 0;
    Height = 0;

    // Runs on every way out: the clip follows the size, and listeners learn
    // that the storage went away even when the new one could not be made.
    auto finish = [this] {
        ResetClipRect();
        HandleChanged();
    };

    if (NewWidth > 0 && NewHeight > 0) {
        const std::int64_t pixels = std::int64_t{NewWidth} * NewHeight;
        // calloc hands out zeroed pages without touching them, so a large page
        // costs nothing until it is drawn.
        TColor32* bits = pixels <= kMaxBitmapPixels
            ? static_cast<TColor32*>(std::calloc(static_cast<std::size_t>(pixels), sizeof(TColor32)))
            : nullptr;
        if (!bits) {
            finish();
            throw Exception("Can't allocate the DIB handle");
        }
        FBits.reset(bits);

        auto handle = std::make_unique<QImage>(reinterpret_cast<uchar*>(bits), NewWidth,
                                               NewHeight, NewWidth * 4, QImage::Format_RGB32);
        if (handle->isNull()) {
            FBits.reset();
            finish();
            throw Exception("Can't create compatible DC");
        }
        if (handle->constBits() != reinterpret_cast<const uchar*>(bits)) {
            handle.reset();
            FBits.reset();
            finish();
            throw Exception("Can't select an object into DC");
        }
        FHandle = std::move(handle);
    }
    // A 0 x 10 bitmap keeps its size; it is Empty and has no storage.
    Width = NewWidth;
    Height = NewHeight;
    finish();
}

void TBitmap32::HandleChanged()
{
    // The Canvas was discarded with the old storage; the next request binds a
    // new one to the new storage.
    if (OnHandleChanged)
        OnHandleChanged(*this);
}

QPainter& TBitmap32::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<QPainter>();
    // A caller may have ended the painter; the surface stays usable.
    if (!FCanvas->isActive() && FHandle)
        FCanvas->begin(FHandle.get());
    return *FCanvas;
}

bool TBitmap32::Empty() const
{
    return !FBits || FWidth == 0 || FHeight == 0;
}

void TBitmap32::Delete()
{
    SetSize(0, 0);
}

void TBitmap32::SetClipRect(const TRect& value)
{
    FClipRect = IntersectRect(value, BoundsRect());
}

void TBitmap32::ResetClipRect()
{
    FClipRect = BoundsRect();
}

void TBitmap32::SetDrawMode(TDrawMode value)
{
    if (value == FDrawMode)
        return;
    FDrawMode = value;
    Changed();
}

void TBitmap32::SetCombineMode(TCombineMode value)
{
    FCombineMode = value;
    Changed();
}

void TBitmap32::SetMasterAlpha(std::uint8_t value)
{
    if (value == FMasterAlpha)
        return;
    FMasterAlpha = value;
    Changed();
}

void TBitmap32::SetStretchFilter(TStretchFilter value)
{
    if (value == FStretchFilter)
        return;
    FStretchFilter = value;
    Changed();
}

void TBitmap32::Clear(TColor32 color)
{
    if (Empty())
        return;
    TColor32* bits = FBits.get();
    std::fill(bits, bits + static_cast<std::ptrdiff_t>(FWidth) * FHeight, color);
    Changed();
}

void TBitmap32::FillRectS(int x1, int y1, int x2, int y2, TColor32 color)
{
    if (x1 >= x2 || y1 >= y2)
        return;
    const TRect r = IntersectRect(Rect(x1, y1, x2, y2), FClipRect);
    if (r.IsEmpty())
        return;
    for (int y = r.Top; y < r.Bottom; ++y) {
        TColor32* row = ScanLine(y);
        std::fill(row + r.Left, row + r.Right, color);
    }
    Changed();
}

void TBitmap32::ResetAlpha()
{
    if (!Empty()) {
        TColor32* bits = FBits.get();
        const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(FWidth) * FHeight;
        for (std::ptrdiff_t i = 0; i < n; ++i)
            bits[i] |= 0xFF000000u;
    }
    Changed();
}

void TBitmap32::DrawTo(TBitmap32& Dst, const TRect& DstRect) const
{
    if (Empty() || Dst.Empty())
        return;
    StretchTransfer(&Dst, DstRect, Dst.ClipRect(), this, BoundsRect(), FStretchFilter,
                    FDrawMode, OnPixelCombine);
    Dst.Changed();
}

void TBitmap32::DrawTo(QPainter& Device, int X, int Y) const
{
    if (Empty())
        return;
    const QPainter::CompositionMode mode = Device.compositionMode();
    Device.setCompositionMode(QPainter::CompositionMode_Source);
    Device.drawImage(QPoint(X, Y), *FHandle);
    Device.setCompositionMode(mode);
}

void TBitmap32::Assign(const TBitmap32* Source)
{
    assignBracketed(*this, [&] {
        if (!Source) {
            SetSize(0, 0);
        } else {
            SetSize(Source->Width(), Source->Height());
            if (!Empty()) {
                std::memcpy(FBits.get(), Source->Bits(),
                            static_cast<std::size_t>(FWidth) * FHeight * sizeof(TColor32));
                FDrawMode = Source->FDrawMode;
                FMasterAlpha = Source->FMasterAlpha;
                FOuterColor = Source->FOuterColor;
                FStretchFilter = Source->FStretchFilter;
            }
        }
    });
}

void TBitmap32::Assign(const QImage& Source, bool Transparent, QRgb TransparentColor)
{
    assignBracketed(*this, [&] {
        assignBitmapPixels(Source, Transparent, TransparentColor);
    });
}

void TBitmap32::assignBitmapPixels(const QImage& source, bool transparent, QRgb transparentColor)
{
    SetSize(source.width(), source.height());
    if (Empty())
        return;
    const bool hasAlpha = source.hasAlphaChannel();
    // Non-premultiplied ARGB32 is exactly this buffer's pixel layout.
    const QImage converted = source.format() == QImage::Format_ARGB32
                                 || source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(hasAlpha ? QImage::Format_ARGB32
                                                               : QImage::Format_RGB32);
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(ScanLine(y), converted.constScanLine(y),
                    static_cast<std::size_t>(FWidth) * sizeof(TColor32));
    if (!hasAlpha)
        ResetAlpha();
    if (transparent) {
        const TColor32 key = transparentColor & 0x00FFFFFFu;
        TColor32* bits = FBits.get();
        const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(FWidth) * FHeight;
        for (std::ptrdiff_t i = 0; i < n; ++i)
            if ((bits[i] & 0x00FFFFFFu) == key)
                bits[i] &= 0x00FFFFFFu;
    }
}

void TBitmap32::assignMasked(TGraphic& source)
{
    SetSize(source.Width(), source.Height());
    if (Empty())
        return;
    Clear(clWhite32);
    source.Draw(Canvas(), BoundsRect());

    TBitmap32 scratch;
    scratch.SetSize(FWidth, FHeight);
    scratch.Clear(0xFFFF0000u);
    source.Draw(scratch.Canvas(), scratch.BoundsRect());

    // Where the picture covers the background both renderings agree.
    TColor32* bits = FBits.get();
    const TColor32* red = scratch.Bits();
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(FWidth) * FHeight;
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        const bool covered = (bits[i] & 0x00FFFFFFu) == (red[i] & 0x00FFFFFFu);
        bits[i] = covered ? (bits[i] | 0xFF000000u) : (bits[i] & 0x00FFFFFFu);
    }
}

void TBitmap32::assignDrawn(TGraphic& source)
{
    SetSize(source.Width(), source.Height());
    if (Empty())
        return;
    // A JPEG decodes straight into the storage when it can: the same pixels
    // as drawing its 24-bit bitmap and making them opaque, at a fraction of
    // the cost for a camera photo.
    if (source.DecodeInto(*this))
        return;
    source.Draw(Canvas(), BoundsRect());
    ResetAlpha();
}

void TBitmap32::Assign(TGraphic* Source)
{
    assignBracketed(*this, [&] {
        if (!Source)
            SetSize(0, 0);
        else if (auto* bitmap = dynamic_cast<TBitmap*>(Source))
            assignBitmapPixels(bitmap->Image, bitmap->Transparent, bitmap->TransparentColor);
        else if (Source->IsIconOrMetafile())
            assignMasked(*Source);
        else
            assignDrawn(*Source);
    });
}

void TBitmap32::AssignTo(QImage& Target) const
{
    Target = QImage(FWidth, FHeight, QImage::Format_RGB32);
    if (Target.isNull())
        return;
    for (int y = 0; y < FHeight; ++y) {
        // Format_RGB32 promises opaque pixels; the alpha byte carries nothing.
        const TColor32* src = ScanLine(y);
        auto* dst = reinterpret_cast<TColor32*>(Target.scanLine(y));
        for (int x = 0; x < FWidth; ++x)
            dst[x] = src[x] | 0xFF000000u;
    }
}

QImage TBitmap32::OpaqueImage() const
{
    const TColor32* bits = Bits();
    const std::size_t count = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
    const bool opaque = std::all_of(bits, bits + count, [](TColor32 c) { return c >= 0xFF000000u; });
    if (opaque && count > 0) {
        return QImage(reinterpret_cast<const uchar*>(bits), FWidth, FHeight,
                      static_cast<qsizetype>(FWidth) * 4, QImage::Format_RGB32);
    }
    QImage image;
    AssignTo(image);
    return image;
}

// The end state of Assign(source) without copying the pixels: source's
// storage and size move here, with the notifications SetSize would raise.
void TBitmap32::takeStorage(TBitmap32& source)
{
    assignBracketed(*this, [&] {
        const bool resized = source.FWidth != FWidth || source.FHeight != FHeight;
        endPainter(FCanvas);
        endPainter(source.FCanvas);
        releaseStorage();
        FBits = std::move(source.FBits);
        FHandle = std::move(source.FHandle);
        FWidth = source.FWidth;
        FHeight = source.FHeight;
        source.FWidth = 0;
        source.FHeight = 0;
        ResetClipRect();
        HandleChanged();
        if (resized) {
            Changed();
            Resized();
        }
    });
}

void TBitmap::Draw(QPainter& Canvas, const TRect& Rect)
{
    Canvas.drawImage(Rect.ToQRect(), Image);
}
