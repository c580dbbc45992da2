#pragma once

#include "frame.h"

#include <QString>

#include <optional>

class TBitmap32;

/// Photo pixels per inch where a print run puts the photo: the frame's, or
/// without one the whole photo fitted into the cell. 0 for an empty photo.
double PrintResolution(const TBitmap32& Photo, const std::optional<TFrame>& Frame,
                       const THeadRule& Rule);

/// The warning for a photo that prints below kMinPrintPixelsPerInch, in the
/// user's language; empty when the resolution is enough or there is no photo.
QString LowResolutionWarning(const TBitmap32& Photo, const std::optional<TFrame>& Frame,
                             const THeadRule& Rule);
