#pragma once

#include "orientation.h"

#include <QByteArray>

/// The orientation that the EXIF block of a JPEG stream records (the
/// Orientation tag of the main image), read with libexif. TopLeft when the
/// stream has no EXIF block, the block has no such tag, or the tag is damaged
/// or holds a value outside 1..8: such photos load as they are stored.
TOrientation ReadExifOrientation(const QByteArray& JPEGData);
