#pragma once

/// The limits of the photo check, with where they come from. ICAO: Doc 9303,
/// Machine Readable Travel Documents, part 3 (portrait quality, 8th ed.).
/// ISO: ISO/IEC 19794-5 (face image data), annex on best practice for the
/// full-frontal image. Where neither gives a number, the limit is ours,
/// measured on real portraits, and says so.
namespace CheckLimit {

// Pose, in degrees. ISO 19794-5 best practice: roll within 8°, yaw and pitch
// within 5° of the frontal pose. Half as much again is "look at it".
inline constexpr double kRoll = 8;
inline constexpr double kYaw = 5;
inline constexpr double kPitch = 5;
inline constexpr double kPoseWarnFactor = 1.5;
// On an upright face the mesh's chin lies deeper than the top of its
// forehead: the line between them leans 7° and 10.8° on two real studio
// portraits, taken as 9° for a level head.
inline constexpr double kUprightPitch = 9;

// Centring across: ICAO asks for the face in the middle of the photo; ours:
// within 5 % of the photo's width, 10 % to look at.
inline constexpr double kCentredPercent = 5;
inline constexpr double kCentredWarnPercent = 10;

// Eyes open, mouth closed (ICAO: eyes open and clearly visible, neutral
// expression, mouth closed). Ours, from the mesh: an open eye's lid gap is a
// quarter to a third of its width, a closed one's under a tenth; a closed
// mouth's lip gap is under a twentieth of its width, a smile with the teeth
// apart above a tenth.
inline constexpr double kEyeOpen = 0.15;
inline constexpr double kEyeOpenWarn = 0.10;
inline constexpr double kMouthClosed = 0.06;
inline constexpr double kMouthClosedWarn = 0.12;

// Background (ICAO: plain, uniform, light-coloured, no shadows or pattern).
// Ours, in CIE L* units on the background beside and above the head: the
// spread left once a smooth slope is taken out, the slope's rise across the
// area, and the mean lightness.
inline constexpr double kBackgroundTexture = 4;
inline constexpr double kBackgroundTextureWarn = 8;
inline constexpr double kBackgroundSlope = 12;
inline constexpr double kBackgroundSlopeWarn = 24;
inline constexpr double kBackgroundLight = 65;
inline constexpr double kBackgroundLightWarn = 50;
// At least this share of the area must be background to judge it.
inline constexpr double kBackgroundSeenShare = 0.15;

// Light on the face (ICAO: even lighting, no shadows, no over- or under-
// exposure). Ours, in L* units: the two cheeks within 10 of each other (two
// studio portraits lit from one side measure 2 and 9); a face's mean lightness from 45 to 88 (two stops darker than a
// well-lit face falls below 40); at most 2 % of the face burnt out (L* ≥ 97).
inline constexpr double kHalvesApart = 10;
inline constexpr double kHalvesApartWarn = 18;
inline constexpr double kFaceDark = 45;
inline constexpr double kFaceDarkWarn = 38;
inline constexpr double kFaceBright = 88;
inline constexpr double kBurntShare = 0.02;
inline constexpr double kBurntShareWarn = 0.08;

// Colour (ICAO: natural skin tones, no colour cast). Ours: the skin's hue
// angle in CIELAB lies from 15° to 85° for every skin tone under white light;
// a chroma under 4 is a black-and-white photo.
inline constexpr double kSkinHueMin = 15;
inline constexpr double kSkinHueMax = 85;
inline constexpr double kGreyChroma = 4;

// Sharpness (ICAO: in focus from the chin to the crown). Ours: the face's fine
// detail, the spread of its Laplacian over the spread of its lightness, on
// the face scaled to 128 pixels between the eyes.
// Sharp portraits measure 2.3 to 2.5; blurred by a Gaussian of 1, 2 and 3
// pixels at about 90 pixels between the eyes, 0.9-1.1, 0.4-0.5, 0.26-0.37.
inline constexpr double kSharpness = 0.8;
inline constexpr double kSharpnessWarn = 0.5;

// Resolution: 300 printed pixels per inch (this program's own limit below
// which the print shows its pixels); ICAO asks for at least 90 pixels between
// the eye centres, 120 preferred.
inline constexpr double kPrintedPpi = 300;
inline constexpr double kEyePixels = 90;
inline constexpr double kEyePixelsPreferred = 120;

// Glasses (ICAO: glasses only where the office allows them, no glare, frames
// not across the eyes; the US refuses glasses). Ours: bare skin on the bridge
// of the nose changes by under 3 L* from row to row (2.6 on a real portrait),
// a frame's bridge by far more (9.5); glare is more than 1 % of the eyes'
// pixels shining white.
inline constexpr double kGlassesBridgeEdge = 5;
inline constexpr double kGlareShare = 0.01;

}  // namespace CheckLimit
