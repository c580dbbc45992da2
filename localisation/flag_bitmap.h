#pragma once

#include "graphic_error.h"

#include <QByteArray>
#include <QImage>

/// Decodes a flag bitmap item: a BMP file (starting with "BM"). No bytes give
/// an empty image; anything else raises EInvalidGraphic("Bitmap image is not
/// valid"), also for a picture too large for a flag.
QImage BitmapFromBmpBytes(const QByteArray& bytes);
/// A BMP file of the image; no bytes for an empty image.
QByteArray BmpBytesOfBitmap(const QImage& image);
