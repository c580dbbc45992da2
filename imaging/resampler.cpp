#include "resampler.h"

#include <cstring>

TColor32 CombinePixel(TColor32 F, TColor32 B, const TBitmap32& Src, TDrawMode DrawMode,
                      const TPixelCombineEvent& CombineCallBack)
{
    if (DrawMode == dmCustom) {
        TColor32 M = B;
        CombineCallBack(F, B, M);
        return M;
    }
    // dmBlend: source alpha scaled by the master alpha, straight-alpha blend.
    const int a = AlphaComponent(F) * Src.MasterAlpha() / 255;
    auto mix = [a](int f, int b) { return b + ((f - b) * a + 127) / 255; };
    const int outAlpha = Src.CombineMode() == cmMerge
                             ? a + AlphaComponent(B) * (255 - a) / 255
                             : AlphaComponent(B);
    return Color32(mix(RedComponent(F), RedComponent(B)), mix(GreenComponent(F), GreenComponent(B)),
                   mix(BlueComponent(F), BlueComponent(B)), outAlpha);
}

void BlockTransfer(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip, const TBitmap32& Src,
                   const TRect& SrcRect, TDrawMode DrawMode,
                   const TPixelCombineEvent& CombineCallBack)
{
    const int srcX = SrcRect.Left + Clip.Left - DstRect.Left;
    const int srcY = SrcRect.Top + Clip.Top - DstRect.Top;
    const int w = Clip.Width();
    for (int y = 0; y < Clip.Height(); ++y) {
        const TColor32* s = Src.ScanLine(srcY + y) + srcX;
        TColor32* d = Dst.ScanLine(Clip.Top + y) + Clip.Left;
        if (DrawMode == dmOpaque) {
            std::memcpy(d, s, static_cast<std::size_t>(w) * sizeof(TColor32));
            continue;
        }
        for (int x = 0; x < w; ++x)
            d[x] = CombinePixel(s[x], d[x], Src, DrawMode, CombineCallBack);
    }
}

void StretchTransfer(TBitmap32* Dst, TRect DstRect, TRect DstClip, const TBitmap32* Src,
                     TRect SrcRect, TStretchFilter StretchFilter, TDrawMode DrawMode,
                     const TPixelCombineEvent& CombineCallBack)
{
    if (Src && Src->Empty())
        return;
    if (!Dst || Dst->Empty())
        throw ETransformError("Destination bitmap is nil or empty");
    if (!Src || Src->Empty())
        throw ETransformError("Source bitmap is nil or empty");

    if (SrcRect.IsEmpty())
        return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src->Width()
        || SrcRect.Bottom > Src->Height())
        throw ETransformError("Source rectangle is invalid");

    const TRect clip = IntersectRect(IntersectRect(DstClip, Dst->BoundsRect()), DstRect);
    if (clip.IsEmpty())
        return;

    if (DrawMode == dmCustom && !CombineCallBack)
        DrawMode = dmOpaque;
    if (DrawMode == dmBlend && Src->MasterAlpha() == 0)
        return;

    if (DstRect.Width() == SrcRect.Width() && DstRect.Height() == SrcRect.Height()) {
        BlockTransfer(*Dst, DstRect, clip, *Src, SrcRect, DrawMode, CombineCallBack);
        return;
    }

    switch (StretchFilter) {
    case sfNearest:
        StretchNearest(*Dst, DstRect, DstClip, *Src, SrcRect, DrawMode, CombineCallBack);
        break;
    default:
        Resample(*Dst, DstRect, DstClip, *Src, SrcRect, StretchFilter, DrawMode, CombineCallBack);
        break;
    }
}

// Filled in by the resampling work.
void StretchNearest(TBitmap32&, TRect, TRect, const TBitmap32&, TRect, TDrawMode,
                    const TPixelCombineEvent&)
{
    throw ETransformError("StretchNearest is not available yet");
}

void Resample(TBitmap32&, TRect, TRect, const TBitmap32&, TRect, TStretchFilter, TDrawMode,
              const TPixelCombineEvent&)
{
    throw ETransformError("Resample is not available yet");
}

TMappingTable BuildMappingTable(int, int, int, int, int, int, TStretchFilter)
{
    return {};
}

float MitchellFilter(float)
{
    return 0.0f;
}
