#pragma once

#include "graphic.h"

#include <QString>

#include <memory>

/// Reads the primary image of a HEIC or HEIF file through libheif, turned
/// and cropped as the file says (the decoder applies those steps itself).
/// The result carries the file's ICC profile, if any. Raises EFOpenError
/// for a file that cannot be read or is above kMaxJPEGFileBytes, and
/// EInvalidGraphic naming the file for one libheif refuses or whose size
/// breaks the bounds JPEG photos keep (kMaxJPEGPixels, kMaxJPEGPixelsPerByte).
std::unique_ptr<TBitmap> ReadHEIF(const QString& FileName);
