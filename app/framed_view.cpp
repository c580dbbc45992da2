#include "framed_view.h"

#include "bitmap32.h"
#include "image_view.h"
#include "sheet_render.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Paints over what the bitmap stage drew: white inside the frame where the
// photo is not, the view's colour outside the frame.
class TFrameMask : public TCustomLayer {
public:
    TFrameMask(TCustomImage32& View, const TRect& FrameRect) : FView(View), FFrame(FrameRect) {}

    void Paint(TBitmap32& Buffer) override
    {
        const TRect& f = FFrame;
        const TRect p = FView.CachedBitmapRect();
        const TColor32 outside = Color32(FView.Color());
        fillAround(Buffer, f, Rect(0, 0, Buffer.Width(), Buffer.Height()), outside);
        // The photo's rectangle clipped to the frame; the rest of the frame is paper.
        const TRect in = Rect(std::max(p.Left, f.Left), std::max(p.Top, f.Top),
                              std::min(p.Right, f.Right), std::min(p.Bottom, f.Bottom));
        if (in.IsEmpty())
            Buffer.FillRectS(f.Left, f.Top, f.Right, f.Bottom, clWhite32);
        else
            fillAround(Buffer, in, f, clWhite32);
    }

private:
    // Fills Outer less Inner (Inner within Outer).
    static void fillAround(TBitmap32& b, const TRect& inner, const TRect& outer, TColor32 c)
    {
        b.FillRectS(outer.Left, outer.Top, outer.Right, inner.Top, c);
        b.FillRectS(outer.Left, inner.Bottom, outer.Right, outer.Bottom, c);
        b.FillRectS(outer.Left, inner.Top, inner.Left, inner.Bottom, c);
        b.FillRectS(inner.Right, inner.Top, outer.Right, inner.Bottom, c);
    }

    TCustomImage32& FView;
    TRect FFrame;
};

// Paints the straightened photo where the stage below drew the photo: a
// copy of the view's photo, of its size, turned.
class TTurnedLayer : public TCustomLayer {
public:
    TTurnedLayer(TCustomImage32& View, const TBitmap32& Turned) : FView(View), FTurned(Turned) {}

    void Paint(TBitmap32& Buffer) override { FTurned.DrawTo(Buffer, FView.CachedBitmapRect()); }

private:
    TCustomImage32& FView;
    const TBitmap32& FTurned;
};

// Paints a plain background behind the person over what the stages below
// drew: within the frame's rectangle, or within the photo's where there is
// no frame (the whole photo, as the cell shows it).
class TBackgroundLayer : public TCustomLayer {
public:
    TBackgroundLayer(TCustomImage32& View, std::optional<TRect> FrameRect, const TFrame& Shown,
                     TPlainBackground Background)
        : FView(View), FFrameRect(FrameRect), FShown(Shown), FBackground(std::move(Background))
    {
    }

    void Paint(TBitmap32& Buffer) override
    {
        const TRect r = FFrameRect.value_or(FView.CachedBitmapRect());
        const TRect clipped = Rect(std::max(0, r.Left), std::max(0, r.Top), std::min(Buffer.Width(), r.Right),
                                   std::min(Buffer.Height(), r.Bottom));
        if (clipped.IsEmpty() || r.IsEmpty())
            return;
        // The part of the shown rectangle inside the buffer, as a cell of its own.
        const double sx = FShown.Width / r.Width(), sy = FShown.Height / r.Height();
        const TFrame part{FShown.X + (clipped.Left - r.Left) * sx, FShown.Y + (clipped.Top - r.Top) * sy,
                          clipped.Width() * sx, clipped.Height() * sy};
        FCell.SetSize(clipped.Width(), clipped.Height());
        for (int y = 0; y < clipped.Height(); ++y)
            std::copy_n(Buffer.ScanLine(clipped.Top + y) + clipped.Left, clipped.Width(), FCell.ScanLine(y));
        PutPlainBackground(FCell, part, FBackground);
        for (int y = 0; y < clipped.Height(); ++y)
            std::copy_n(FCell.ScanLine(y), clipped.Width(), Buffer.ScanLine(clipped.Top + y) + clipped.Left);
    }

private:
    TCustomImage32& FView;
    std::optional<TRect> FFrameRect;
    TFrame FShown;
    TPlainBackground FBackground;
    TBitmap32 FCell;
};

}  // namespace

TRect FrameRectInView(const TFrame& Frame, int ViewWidth, int ViewHeight)
{
    TRect r = PhotoRectInCell(static_cast<int>(std::lround(Frame.Width)),
                              static_cast<int>(std::lround(Frame.Height)), ViewWidth, ViewHeight);
    const int dx = (ViewWidth - r.Width()) / 2;
    const int dy = (ViewHeight - r.Height()) / 2;
    return Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
}

void ShowFrameInView(TCustomImage32& View, const TFrame& Frame, const std::optional<TPlainBackground>& Background,
                     const TBitmap32* Turned)
{
    const TBitmap32& photo = View.Bitmap();
    const TRect f = FrameRectInView(Frame, View.width(), View.height());
    const TRect p = FramedPhotoRect(photo.Width(), photo.Height(), Frame, f.Width(), f.Height());
    View.BeginUpdate();
    View.Layers().Clear();
    if (!photo.Empty() && !f.IsEmpty() && !p.IsEmpty()) {
        View.SetScaleMode(smScale);
        View.SetScale(static_cast<float>(static_cast<double>(p.Width()) / photo.Width()));
        View.SetBitmapAlign(baCustom);
        View.SetOffsetHorz(static_cast<float>(p.Left + f.Left));
        View.SetOffsetVert(static_cast<float>(p.Top + f.Top));
        if (Turned)
            View.Layers().Add(std::make_unique<TTurnedLayer>(View, *Turned));
        View.Layers().Add(std::make_unique<TFrameMask>(View, f));
        if (Background)
            View.Layers().Add(std::make_unique<TBackgroundLayer>(View, f, Frame, *Background));
    }
    View.InvalidateCache();
    View.EndUpdate();
    View.Changed();
}

void ShowWholePhotoInView(TCustomImage32& View, const std::optional<TPlainBackground>& Background,
                          const TBitmap32* Turned)
{
    View.BeginUpdate();
    View.Layers().Clear();
    const TBitmap32& photo = View.Bitmap();
    if (Turned && !photo.Empty())
        View.Layers().Add(std::make_unique<TTurnedLayer>(View, *Turned));
    if (Background && !photo.Empty())
        View.Layers().Add(std::make_unique<TBackgroundLayer>(
            View, std::nullopt, TFrame{0, 0, double(photo.Width()), double(photo.Height())}, *Background));
    View.SetBitmapAlign(baCenter);
    View.SetScale(1.0f);
    View.SetOffsetHorz(0);
    View.SetOffsetVert(0);
    View.SetScaleMode(smResize);
    View.InvalidateCache();
    View.EndUpdate();
    View.Changed();
}
