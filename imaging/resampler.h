#pragma once

#include "bitmap32.h"
#include "Exception.h"
#include "rect.h"

#include <cstdint>
#include <vector>

QRL_DECLARE_EXCEPTION(ETransformError, Exception);

/// One source pixel of a cluster: its position on the axis and its weight.
struct TPointRec {
    std::int32_t Pos;
    std::int32_t Weight;
};

/// Weights in units of 1/256; the weights of each cluster sum to exactly 256.
inline constexpr int kWeightOne = 256;

using TCluster = std::vector<TPointRec>;
/// One cluster per destination pixel of the clipped span, in order.
using TMappingTable = std::vector<TCluster>;

/// Every scaled or unscaled copy between bitmaps: validates, clips and
/// dispatches to BlockTransfer, StretchNearest or Resample.
void StretchTransfer(TBitmap32* Dst, TRect DstRect, TRect DstClip,
                     const TBitmap32* Src, TRect SrcRect,
                     TStretchFilter StretchFilter, TDrawMode DrawMode,
                     const TPixelCombineEvent& CombineCallBack);

/// Copies the clipped block 1:1 (Clip is already clipped and non-empty).
void BlockTransfer(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip,
                   const TBitmap32& Src, const TRect& SrcRect,
                   TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);

/// Nearest-neighbour stretch.
void StretchNearest(TBitmap32& Dst, TRect DstRect, TRect DstClip,
                    const TBitmap32& Src, TRect SrcRect,
                    TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);

/// Separable filtered resampling with the kernel of StretchFilter.
void Resample(TBitmap32& Dst, TRect DstRect, TRect DstClip,
              const TBitmap32& Src, TRect SrcRect, TStretchFilter StretchFilter,
              TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);

/// The weight table of one axis.
TMappingTable BuildMappingTable(int DstLo, int DstHi, int ClipLo, int ClipHi,
                                int SrcLo, int SrcHi, TStretchFilter StretchFilter);

/// The Mitchell-Netravali cubic, B = C = 1/3, on 32-bit floats.
float MitchellFilter(float x);

/// Combines one source pixel into a destination pixel for dmBlend and dmCustom.
TColor32 CombinePixel(TColor32 F, TColor32 B, const TBitmap32& Src,
                      TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);
