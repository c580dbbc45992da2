#pragma once

#include "face_regions.h"

class TCheckImage;

/// The background beside and above the head, outside the person, in L*
/// units: its spread once a smooth slope is taken out (pattern, objects), the
/// slope's rise across the area (a shadow, a lamp), its mean lightness, and
/// the share of the area that is background at all.
struct TBackgroundMeasure {
    double Texture = 0;
    double Slope = 0;
    double Lightness = 0;
    double SeenShare = 0;
    /// Measured on a plain background the user chose, not the photo's own.
    bool Chosen = false;
};

TBackgroundMeasure MeasureBackground(const TCheckImage& Image, const TFaceRegions& Face);

/// The light on the face, in L* units: the difference between its two cheeks
/// (median of each), its median lightness, the share of burnt-out pixels; the skin's hue angle
/// (degrees) and chroma in CIELAB.
struct TFaceLight {
    double HalvesApart = 0;
    double Lightness = 0;
    double BurntShare = 0;
    double SkinHue = 0;
    double SkinChroma = 0;
};

TFaceLight MeasureFaceLight(const TCheckImage& Image, const TFaceRegions& Face);

/// The face's fine detail: the spread of the Laplacian of the detail around
/// the eyes and the mouth over the spread of its lightness.
double MeasureSharpness(const TCheckImage& Image);

/// Signs of spectacles: the strongest step of lightness across the bridge of
/// the nose between the eyes, row to row (L* units), where bare skin is
/// smooth and a frame's bridge makes an edge; and the share of the eyes'
/// pixels that shine white (glare on the lenses).
struct TGlassesMeasure {
    double BridgeEdge = 0;
    double GlareShare = 0;
};

TGlassesMeasure MeasureGlasses(const TCheckImage& Image, const TFaceRegions& Face);
