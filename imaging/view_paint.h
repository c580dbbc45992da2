#pragma once

#include "color32.h"
#include "rect.h"

class TBitmap32;

enum TBitmapAlign : int { baTopLeft, baCenter, baTile, baCustom };
enum TScaleMode : int { smNormal, smStretch, smScale, smResize };

/// What an image view's own painting depends on besides its photo: its size
/// in pixels, which bounds the background bands even when the view paints
/// into a larger buffer, its background colour and the photo's alignment.
struct TViewLook {
    int Width = 0;
    int Height = 0;
    TColor32 Color = clWhite32;
    TBitmapAlign Align = baTopLeft;

    bool operator==(const TViewLook&) const = default;
};

/// The clear-background stage: with `Photo` placed at `Rect`, fills the
/// bands of the view around Rect with the view's colour, each band bounded
/// by the view's own size and clipped to Dest; the whole of Dest when there
/// is no opaque photo. The area under Rect is left for the photo.
void PaintViewBackground(const TBitmap32& Photo, const TViewLook& Look, const TRect& Rect, TBitmap32& Dest);

/// The draw-bitmap stage for a photo that is not tiled: `Photo` resampled
/// into `Rect` of Dest with `Filter`; nothing for an empty photo or Rect.
void PaintViewPhoto(const TBitmap32& Photo, TStretchFilter Filter, const TRect& Rect, TBitmap32& Dest);

/// What the view's run-time paint stages draw into Dest with the photo at
/// Rect: the background bands, then the photo. This is how the main window's
/// photo view paints the photo into the sheet printer's cell, so a printed
/// cell needs the view's look but not the view.
void PaintView(const TBitmap32& Photo, TStretchFilter Filter, const TViewLook& Look, const TRect& Rect,
               TBitmap32& Dest);
