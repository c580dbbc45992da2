#include "view_paint.h"

#include "bitmap32.h"
#include "resampler.h"

void PaintViewBackground(const TBitmap32& Photo, const TViewLook& Look, const TRect& Rect, TBitmap32& Dest)
{
    if (Photo.Empty() || Photo.DrawMode() != dmOpaque) {
        Dest.Clear(Look.Color);
        return;
    }
    // The bands are measured by the view's own size, also when Dest is a
    // photo cell larger than the view.
    const int w = Look.Width;
    const int h = Look.Height;
    const TRect& r = Rect;
    if (r.Left > 0 || r.Right < w || r.Top > 0 || (r.Bottom < h && Look.Align != baTile)) {
        Dest.FillRectS(0, 0, w, r.Top, Look.Color);
        Dest.FillRectS(0, r.Bottom, w, h, Look.Color);
        Dest.FillRectS(0, r.Top, r.Left, r.Bottom, Look.Color);
        Dest.FillRectS(r.Right, r.Top, w, r.Bottom, Look.Color);
    }
}

void PaintViewPhoto(const TBitmap32& Photo, TStretchFilter Filter, const TRect& Rect, TBitmap32& Dest)
{
    if (Photo.Empty() || Rect.IsEmpty() || Dest.Empty())
        return;
    StretchTransfer(&Dest, Rect, Dest.ClipRect(), &Photo, Photo.BoundsRect(), Filter, Photo.DrawMode(),
                    Photo.OnPixelCombine);
    Dest.Changed();
}

void PaintView(const TBitmap32& Photo, TStretchFilter Filter, const TViewLook& Look, const TRect& Rect,
               TBitmap32& Dest)
{
    PaintViewBackground(Photo, Look, Rect, Dest);
    PaintViewPhoto(Photo, Filter, Rect, Dest);
}
