#include "framed_view.h"

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

}  // namespace

TRect FrameRectInView(const TFrame& Frame, int ViewWidth, int ViewHeight)
{
    return PhotoRectInCell(static_cast<int>(std::lround(Frame.Width)),
                           static_cast<int>(std::lround(Frame.Height)), ViewWidth, ViewHeight);
}

void ShowFrameInView(TCustomImage32& View, const TFrame& Frame)
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
        View.Layers().Add(std::make_unique<TFrameMask>(View, f));
    }
    View.InvalidateCache();
    View.EndUpdate();
    View.Changed();
}

void ShowWholePhotoInView(TCustomImage32& View)
{
    View.BeginUpdate();
    View.Layers().Clear();
    View.SetBitmapAlign(baTopLeft);
    View.SetScale(1.0f);
    View.SetOffsetHorz(0);
    View.SetOffsetVert(0);
    View.SetScaleMode(smResize);
    View.InvalidateCache();
    View.EndUpdate();
    View.Changed();
}
