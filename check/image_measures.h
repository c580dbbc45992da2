#pragma once

#include "face_regions.h"

#include <optional>

class TCheckImage;

/// The background beside and above the head, outside the person, in L*
/// units: its spread once a smooth slope is taken out (pattern, objects), the
/// slope's rise across the area (a shadow, a lamp), its mean lightness, and
/// the share of the area that is background at all; then its colour, the
/// mean a* and b* (CIELAB).
struct TBackgroundMeasure {
    double Texture = 0;
    double Slope = 0;
    double Lightness = 0;
    double SeenShare = 0;
    double A = 0;
    double B = 0;
    /// Measured on a plain background the user chose, not the photo's own.
    bool Chosen = false;
};

TBackgroundMeasure MeasureBackground(const TCheckImage& Image, const TFaceRegions& Face);

/// The light on the face, in L* units: the difference between its two cheeks
/// (median of each), its median lightness, the share of burnt-out pixels; the
/// skin's hue angle (degrees) and chroma in CIELAB, from skin that is not
/// near white (SkinSeen: at least a fifth of the face); the brightest tones
/// around the head (the 99th percentile of L* of the work area).
struct TFaceLight {
    double HalvesApart = 0;
    double Lightness = 0;
    double BurntShare = 0;
    double SkinHue = 0;
    double SkinChroma = 0;
    double Highlights = 100;
    bool SkinSeen = true;
};

TFaceLight MeasureFaceLight(const TCheckImage& Image, const TFaceRegions& Face);

/// The face's fine detail: the spread of the Laplacian of the detail around
/// the eyes and the mouth over the spread of its lightness, the face brought
/// to one eye distance; none where the face is too small to judge.
std::optional<double> MeasureSharpness(const TCheckImage& Image);

/// How much more the lightness steps across the JPEG's 8 x 8 block grid
/// than anywhere else around the face (1: no more; a quality-10 JPEG 2 and
/// more); the grid's phase is found, not assumed. None where the face is
/// too small to judge.
std::optional<double> MeasureCompression(const TCheckImage& Image);

/// Signs of spectacles: the share of two rings round the eyes (below and
/// beside each eye, where the face is bare skin or a frame's rim) and of the
/// bridge of the nose that a sharp step of lightness crosses, 0 to 1. Skin
/// glare or a bright face leaves the rings smooth. Not judged where the eyes
/// are too small in the photo.
struct TGlassesMeasure {
    double Frame = 0;
    bool Judged = true;
};

TGlassesMeasure MeasureGlasses(const TCheckImage& Image, const TFaceRegions& Face);

/// The chroma (CIELAB) of what should be near neutral, the whites of the
/// eyes: what in each eye's opening is brighter than the skin's
/// SkinLightness, the brightest tones (a channel at its top) left out; none
/// where too little of it is seen (a narrowed eye, the shade of glasses).
std::optional<double> MeasureNeutralCast(const TCheckImage& Image, const TFaceLandmarks& Landmarks, double SkinLightness);

/// Where the eyes look, from the dark iris and pupil inside each eye's
/// opening (between the mesh's lid and corner points), averaged over both
/// eyes: Across, the iris' offset from the opening's middle in eye widths
/// (> 0 toward the person's left); Down, its offset below the middle in
/// opening heights. A gaze into the camera is near 0 in both.
struct TGaze {
    double Across = 0;
    double Down = 0;
};

std::optional<TGaze> MeasureGaze(const TCheckImage& Image, const TFaceLandmarks& Landmarks);
