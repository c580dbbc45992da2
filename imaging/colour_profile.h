#pragma once

#include <QByteArray>

class TBitmap32;

/// The sRGB profile as ICC bytes (LittleCMS's own sRGB): what every colour
/// JPEG written here carries, so that a print lab need not guess.
const QByteArray& SRGBProfileBytes();

/// Converts Bitmap's pixels from the colour space the ICC profile describes
/// to sRGB (perceptual intent), alpha kept. Returns false, with the pixels
/// untouched, when the profile cannot be read or is not an RGB one: the
/// photo then shows as its numbers say, as it always did.
bool ConvertToSRGB(TBitmap32& Bitmap, const QByteArray& Profile);
