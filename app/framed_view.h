#pragma once

#include "frame.h"
#include "plain_background.h"
#include "rect.h"

class TBitmap32;
class TCustomImage32;

/// Where a frame shows in a view of ViewWidth x ViewHeight: fitted with its
/// aspect kept, as the cell holds a photo, in the middle of the view.
TRect FrameRectInView(const TFrame& Frame, int ViewWidth, int ViewHeight);

/// Shows the photo of View as the print run prints it with Frame: the frame's
/// rectangle fills FrameRectInView, white where it reaches past the photo,
/// the view's colour beyond it. A plain background replaces the one behind
/// the person within the frame's rectangle, as the print run does. Turned,
/// the photo straightened (TurnPhoto of View's photo), is shown in its place.
void ShowFrameInView(TCustomImage32& View, const TFrame& Frame,
                     const std::optional<TPlainBackground>& Background = std::nullopt,
                     const TBitmap32* Turned = nullptr);

/// Shows the whole photo again, fitted to the view (smResize, centred),
/// with a plain background behind the person if one is given; Turned as
/// for ShowFrameInView.
void ShowWholePhotoInView(TCustomImage32& View, const std::optional<TPlainBackground>& Background = std::nullopt,
                          const TBitmap32* Turned = nullptr);
