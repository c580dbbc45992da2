#pragma once

#include "frame.h"
#include "rect.h"

class TCustomImage32;

/// Where a frame shows in a view of ViewWidth x ViewHeight: fitted top-left
/// with its aspect kept, as the cell holds a photo.
TRect FrameRectInView(const TFrame& Frame, int ViewWidth, int ViewHeight);

/// Shows the photo of View as the print run prints it with Frame: the frame's
/// rectangle fills FrameRectInView, white where it reaches past the photo,
/// the view's colour beyond it.
void ShowFrameInView(TCustomImage32& View, const TFrame& Frame);

/// Shows the whole photo again, fitted to the view (smResize, top left).
void ShowWholePhotoInView(TCustomImage32& View);
