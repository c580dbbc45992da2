#include "resampler.h"

#include "resample_engine.h"
#include "resample_weights.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Spans in 64 bits: a destination rectangle may lie anywhere, and its width
// must not overflow.
std::int64_t span(int lo, int hi)
{
    return std::int64_t{hi} - lo;
}

bool sameSize(const TRect& a, const TRect& b)
{
    return span(a.Left, a.Right) == span(b.Left, b.Right) && span(a.Top, a.Bottom) == span(b.Top, b.Bottom);
}

bool insideSource(const TRect& r, const TBitmap32& Src)
{
    return r.Left >= 0 && r.Top >= 0 && r.Right <= Src.Width() && r.Bottom <= Src.Height();
}

TRect clipOf(const TBitmap32& Dst, const TRect& DstRect, const TRect& DstClip)
{
    return IntersectRect(IntersectRect(DstClip, Dst.BoundsRect()), DstRect);
}

// Step shared by every routine: a custom mode needs its callback, and a fully
// transparent blend changes nothing. False when there is nothing to draw.
bool settleDrawMode(TDrawMode& DrawMode, const TBitmap32& Src, const TPixelCombineEvent& CombineCallBack)
{
    if (DrawMode == dmCustom && !CombineCallBack)
        DrawMode = dmOpaque;
    return !(DrawMode == dmBlend && Src.MasterAlpha() == 0);
}

// Drawing a bitmap into itself would read pixels already overwritten; such a
// transfer reads a copy instead.
template <class Run>
void withDistinctSource(const TBitmap32& Dst, const TBitmap32& Src, Run&& run)
{
    if (&Dst != &Src) {
        run(Src);
        return;
    }
    TBitmap32 copy;
    copy.Assign(&Src);
    copy.SetCombineMode(Src.CombineMode());
    run(static_cast<const TBitmap32&>(copy));
}

void combineRow(TColor32* dst, const TColor32* src, int count, const TBitmap32& Src,
                TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack)
{
    for (int x = 0; x < count; ++x)
        dst[x] = CombinePixel(src[x], dst[x], Src, DrawMode, CombineCallBack);
}

// The source pixel of each destination pixel lo..hi-1 of one axis: the middle
// pixel for a one-pixel destination, otherwise trunc(offset x scale + source
// low) with the scale as a 32-bit float. Kept inside the source, which the
// float scale could otherwise overshoot on huge destinations.
std::vector<std::int32_t> nearestMap(int lo, int hi, int dstLo, int dstHi, int srcLo, int srcHi)
{
    std::vector<std::int32_t> map(static_cast<std::size_t>(hi - lo));
    const std::int64_t dstW = span(dstLo, dstHi);
    const std::int64_t srcW = span(srcLo, srcHi);
    if (dstW < 2) {
        std::fill(map.begin(), map.end(), static_cast<std::int32_t>((std::int64_t{srcLo} + srcHi - 1) / 2));
        return map;
    }
    const auto scale = static_cast<float>(static_cast<double>(srcW) / static_cast<double>(dstW));
    for (int i = lo; i < hi; ++i) {
        const double at = static_cast<double>(std::int64_t{i} - dstLo) * scale + srcLo;
        map[i - lo] = static_cast<std::int32_t>(std::clamp<double>(std::trunc(at), srcLo, srcHi - 1));
    }
    return map;
}

}  // namespace

TColor32 CombinePixel(TColor32 F, TColor32 B, const TBitmap32& Src, TDrawMode DrawMode,
                      const TPixelCombineEvent& CombineCallBack)
{
    if (DrawMode == dmCustom) {
        TColor32 M = B;
        CombineCallBack(F, B, M);
        return M;
    }
    // dmBlend: source alpha scaled by the master alpha, straight-alpha blend;
    // full opacity gives F's colour, none leaves B's.
    const int a = AlphaComponent(F) * Src.MasterAlpha() / 255;
    auto mix = [a](int f, int b) { return (f * a + b * (255 - a) + 127) / 255; };
    const int outAlpha = Src.CombineMode() == cmMerge
                             ? a + AlphaComponent(B) * (255 - a) / 255
                             : AlphaComponent(B);
    return Color32(mix(RedComponent(F), RedComponent(B)), mix(GreenComponent(F), GreenComponent(B)),
                   mix(BlueComponent(F), BlueComponent(B)), outAlpha);
}

void BlockTransfer(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip, const TBitmap32& Src,
                   const TRect& SrcRect, TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack)
{
    if (Dst.Empty() || Src.Empty() || SrcRect.IsEmpty())
        return;
    if (!insideSource(SrcRect, Src))
        throw ETransformError("Source rectangle is invalid");
    // Only the part of the destination rectangle that the source block covers.
    const TRect covered = Rect(DstRect.Left, DstRect.Top,
                               static_cast<int>(std::min<std::int64_t>(DstRect.Right, std::int64_t{DstRect.Left} + SrcRect.Width())),
                               static_cast<int>(std::min<std::int64_t>(DstRect.Bottom, std::int64_t{DstRect.Top} + SrcRect.Height())));
    const TRect clip = IntersectRect(IntersectRect(Clip, Dst.BoundsRect()), covered);
    if (clip.IsEmpty())
        return;

    withDistinctSource(Dst, Src, [&](const TBitmap32& src) {
        const int srcX = static_cast<int>(SrcRect.Left + (std::int64_t{clip.Left} - DstRect.Left));
        const int srcY = static_cast<int>(SrcRect.Top + (std::int64_t{clip.Top} - DstRect.Top));
        const int w = clip.Width();
        for (int y = 0; y < clip.Height(); ++y) {
            const TColor32* s = src.ScanLine(srcY + y) + srcX;
            TColor32* d = Dst.ScanLine(clip.Top + y) + clip.Left;
            if (DrawMode == dmOpaque)
                std::memcpy(d, s, static_cast<std::size_t>(w) * sizeof(TColor32));
            else
                combineRow(d, s, w, src, DrawMode, CombineCallBack);
        }
    });
}

void StretchTransfer(TBitmap32* Dst, TRect DstRect, TRect DstClip, const TBitmap32* Src,
                     TRect SrcRect, TStretchFilter StretchFilter, TDrawMode DrawMode,
                     const TPixelCombineEvent& CombineCallBack)
{
    if (Src && Src->Empty())
        return;
    if (!Dst || Dst->Empty())
        throw ETransformError("Destination bitmap is nil or empty");
    if (!Src)
        throw ETransformError("Source bitmap is nil or empty");

    if (SrcRect.IsEmpty())
        return;
    if (!insideSource(SrcRect, *Src))
        throw ETransformError("Source rectangle is invalid");

    const TRect clip = clipOf(*Dst, DstRect, DstClip);
    if (clip.IsEmpty())
        return;
    if (!settleDrawMode(DrawMode, *Src, CombineCallBack))
        return;

    if (sameSize(DstRect, SrcRect)) {
        BlockTransfer(*Dst, DstRect, clip, *Src, SrcRect, DrawMode, CombineCallBack);
        return;
    }
    if (StretchFilter == sfNearest)
        StretchNearest(*Dst, DstRect, DstClip, *Src, SrcRect, DrawMode, CombineCallBack);
    else
        Resample(*Dst, DstRect, DstClip, *Src, SrcRect, StretchFilter, DrawMode, CombineCallBack);
}

void StretchNearest(TBitmap32& Dst, TRect DstRect, TRect DstClip, const TBitmap32& Src, TRect SrcRect,
                    TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack)
{
    if (Dst.Empty() || Src.Empty() || SrcRect.IsEmpty())
        return;
    if (!insideSource(SrcRect, Src))
        throw ETransformError("Invalid SrcRect");
    const TRect clip = clipOf(Dst, DstRect, DstClip);
    if (clip.IsEmpty() || !settleDrawMode(DrawMode, Src, CombineCallBack))
        return;
    if (sameSize(DstRect, SrcRect)) {
        BlockTransfer(Dst, DstRect, clip, Src, SrcRect, DrawMode, CombineCallBack);
        return;
    }

    withDistinctSource(Dst, Src, [&](const TBitmap32& src) {
        const std::vector<std::int32_t> columns =
            nearestMap(clip.Left, clip.Right, DstRect.Left, DstRect.Right, SrcRect.Left, SrcRect.Right);
        const std::vector<std::int32_t> rows =
            nearestMap(clip.Top, clip.Bottom, DstRect.Top, DstRect.Bottom, SrcRect.Top, SrcRect.Bottom);
        const int w = clip.Width();
        std::vector<TColor32> line(DrawMode == dmOpaque ? 0 : static_cast<std::size_t>(w));
        for (int y = clip.Top; y < clip.Bottom; ++y) {
            TColor32* d = Dst.ScanLine(y) + clip.Left;
            const std::int32_t row = rows[y - clip.Top];
            // Enlarging repeats source rows: copy the row just made.
            if (DrawMode == dmOpaque && y > clip.Top && row == rows[y - clip.Top - 1]) {
                std::memcpy(d, Dst.ScanLine(y - 1) + clip.Left, static_cast<std::size_t>(w) * sizeof(TColor32));
                continue;
            }
            const TColor32* s = src.ScanLine(row);
            TColor32* out = DrawMode == dmOpaque ? d : line.data();
            for (int x = 0; x < w; ++x)
                out[x] = s[columns[x]];
            if (DrawMode != dmOpaque)
                combineRow(d, out, w, src, DrawMode, CombineCallBack);
        }
    });
}

void Resample(TBitmap32& Dst, TRect DstRect, TRect DstClip, const TBitmap32& Src, TRect SrcRect,
              TStretchFilter StretchFilter, TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack)
{
    if (Dst.Empty() || Src.Empty() || SrcRect.IsEmpty())
        return;
    if (!insideSource(SrcRect, Src))
        throw ETransformError("Source rectangle is invalid");
    const TRect clip = clipOf(Dst, DstRect, DstClip);
    if (clip.IsEmpty() || !settleDrawMode(DrawMode, Src, CombineCallBack))
        return;

    const TFlatTable x = BuildFlatTable(DstRect.Left, DstRect.Right, clip.Left, clip.Right, SrcRect.Left,
                                        SrcRect.Right, StretchFilter);
    const TFlatTable y = BuildFlatTable(DstRect.Top, DstRect.Bottom, clip.Top, clip.Bottom, SrcRect.Top,
                                        SrcRect.Bottom, StretchFilter);
    if (x.Empty() || y.Empty())
        return;

    withDistinctSource(Dst, Src, [&](const TBitmap32& src) {
        // The column sums cover every column any horizontal cluster names
        // (x.MinPos..x.MaxPos): with a clipped destination a later cluster
        // can reach left of the first one's first entry.
        TResampleRows rows(src, x, y);
        std::vector<TColor32> line(DrawMode == dmOpaque ? 0 : static_cast<std::size_t>(clip.Width()));
        for (int row = clip.Top; row < clip.Bottom; ++row) {
            TColor32* d = Dst.ScanLine(row) + clip.Left;
            if (DrawMode == dmOpaque) {
                rows.Row(row - clip.Top, d);
                continue;
            }
            rows.Row(row - clip.Top, line.data());
            combineRow(d, line.data(), clip.Width(), src, DrawMode, CombineCallBack);
        }
    });
}
