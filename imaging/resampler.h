#pragma once

#include "bitmap32.h"
#include "exception.h"
#include "rect.h"

#include <cstdint>
#include <vector>

/// The errors of a transfer: "Destination bitmap is nil or empty", "Source
/// bitmap is nil or empty", "Source rectangle is invalid" (and "Invalid
/// SrcRect" from StretchNearest called on its own).
QRL_DECLARE_EXCEPTION(ETransformError, Exception);

/// One source pixel of a cluster: its position on the axis and its weight.
struct TPointRec {
    std::int32_t Pos;
    std::int32_t Weight;
    constexpr bool operator==(const TPointRec&) const = default;
};

/// Weights in units of 1/256; the weights of each cluster sum to exactly 256.
inline constexpr int kWeightOne = 256;

using TCluster = std::vector<TPointRec>;
/// One cluster per destination pixel of the clipped span, in order.
using TMappingTable = std::vector<TCluster>;

/// Every scaled or unscaled copy between bitmaps. Does nothing when Src is
/// empty; raises ETransformError when Dst is missing or empty, Src is
/// missing, or SrcRect (when not empty) leaves Src. Draws into
/// DstClip ∩ Dst's bounds ∩ DstRect only; an empty clip does nothing. Equal
/// sizes copy pixels unchanged; otherwise sfNearest goes to StretchNearest
/// and every other filter to Resample. dmCustom without a callback counts as
/// dmOpaque; dmBlend with Src's MasterAlpha 0 does nothing.
void StretchTransfer(TBitmap32* Dst, TRect DstRect, TRect DstClip,
                     const TBitmap32* Src, TRect SrcRect,
                     TStretchFilter StretchFilter, TDrawMode DrawMode,
                     const TPixelCombineEvent& CombineCallBack);

/// Copies the block of Clip 1:1 from the same place of SrcRect. Clip is
/// limited to Dst, DstRect and the size of SrcRect, so nothing is read
/// outside SrcRect; raises "Source rectangle is invalid" when SrcRect leaves Src.
void BlockTransfer(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip,
                   const TBitmap32& Src, const TRect& SrcRect,
                   TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);

/// Nearest-neighbour stretch: destination column i takes source column
/// trunc((i - DstRect.Left) x ScaleX + SrcRect.Left), ScaleX the width ratio
/// as a 32-bit float (a destination one pixel wide takes the middle column);
/// rows alike. Raises "Invalid SrcRect" when SrcRect leaves Src.
void StretchNearest(TBitmap32& Dst, TRect DstRect, TRect DstClip,
                    const TBitmap32& Src, TRect SrcRect,
                    TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);

/// Separable filtered resampling with the kernel of StretchFilter: the
/// weight tables of both axes, a vertical pass into per-column sums, a
/// horizontal pass over those, each channel floor(sum / 65536) clamped to
/// 0..255. Raises "Source rectangle is invalid" when SrcRect leaves Src.
void Resample(TBitmap32& Dst, TRect DstRect, TRect DstClip,
              const TBitmap32& Src, TRect SrcRect, TStretchFilter StretchFilter,
              TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);

/// The weight table of one axis: one cluster for each destination pixel
/// ClipLo..ClipHi-1 of the span DstLo..DstHi, drawn from SrcLo..SrcHi.
/// Empty when either span is empty; a source one pixel wide gives clusters of
/// the single entry (SrcLo, 256). Positions are clamped to SrcLo..SrcHi-1,
/// zero weights are left out, and rounding differences go to the entry at
/// (count - 1) / 2.
TMappingTable BuildMappingTable(int DstLo, int DstHi, int ClipLo, int ClipHi,
                                int SrcLo, int SrcHi, TStretchFilter StretchFilter);

/// The Mitchell-Netravali cubic, B = C = 1/3, on 32-bit floats: 0.888889 at
/// 0, 0.055556 at 1, negative between 1 and 2, 0 from 2 on.
float MitchellFilter(float x);

/// Combines one source pixel F into a destination pixel B for dmBlend (with
/// Src's MasterAlpha and CombineMode) and dmCustom (the callback decides).
TColor32 CombinePixel(TColor32 F, TColor32 B, const TBitmap32& Src,
                      TDrawMode DrawMode, const TPixelCombineEvent& CombineCallBack);
