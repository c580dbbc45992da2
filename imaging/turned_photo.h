#pragma once

#include <QRectF>

class TBitmap32;

/// A photo turned by a fraction of a circle: Degrees counter-clockwise as
/// seen, about the photo's centre, on a canvas of the photo's own size. A
/// point (x, y) of the turned photo shows photo point
/// centre + (dx cos a - dy sin a, dx sin a + dy cos a), (dx, dy) = (x, y) - centre.

/// Draws Photo turned by Degrees into Dest in one resampling: the turned
/// photo's rectangle Part (in its pixels) fills To, which may reach past
/// Dest; only Dest's own pixels are written. Each pixel is the Mitchell
/// filter (B = C = 1/3) along the axes of Dest, widened by the reduction
/// where the part is larger than To, over the photo's pixels; where the
/// turned photo does not reach, Dest keeps its pixels, blended with them
/// along the photo's edges. Opaque.
void DrawTurned(const TBitmap32& Photo, double Degrees, const QRectF& Part, TBitmap32& Dest, const QRectF& To);

/// Turned becomes Photo turned by Degrees on a white canvas of its size,
/// bilinear: what the windows show and the face models measure of a photo
/// to be straightened, fast enough to follow a control.
void TurnPhoto(const TBitmap32& Photo, double Degrees, TBitmap32& Turned);
