#pragma once

/// The numbers of the table of measures (photo_check.cpp, MeasureTable()),
/// with where they come from. ICAO: Doc 9303, Machine Readable Travel
/// Documents, part 3 (portrait quality). ISO: ISO/IEC 19794-5 (face image
/// data), annex on best practice for the full-frontal image. Where neither
/// gives a number, the limit is ours, measured on real portraits and on
/// controlled changes of them (bench/check_eval), and says so. A measure
/// fails beyond the limit its source gives; "look at it" is the last
/// stretch before that limit, or where the measurement itself is unsure.
namespace CheckLimit {

// Pose, in degrees. ISO best practice: roll within 8°, yaw and pitch within
// 5° of the frontal pose. The mesh reads yaw to about a degree and pitch to
// about two (its level head is calibrated on two portraits): the stretch
// before each limit is to be looked at.
inline constexpr double kRoll = 8;
inline constexpr double kRollPass = 6;
inline constexpr double kYaw = 5;
inline constexpr double kYawPass = 4;
inline constexpr double kPitch = 5;
inline constexpr double kPitchPass = 4;
// On an upright face the mesh's chin lies deeper than the top of its
// forehead: the line between them leans 7° and 10.8° on two real studio
// portraits, taken as 9° for a level head.
inline constexpr double kUprightPitch = 9;

// Centring across: ICAO asks for the face in the middle of the photo; ours:
// within 5 % of the photo's width, 10 % to look at.
inline constexpr double kCentredPercent = 5;
inline constexpr double kCentredWarnPercent = 10;

// The space above the crown against the least the rule's own geometry
// leaves there (the largest head allowed, centred as the guides draw it):
// half of it passes, a quarter is to be looked at.
inline constexpr double kTopMarginPass = 0.5;
inline constexpr double kTopMarginLookAt = 0.25;

// A white band where the frame reaches past the photo, in percent of the
// frame's side (ICAO: the portrait fills the photo). Under half a percent is
// the rounding of a frame set on the photo's edge; 2 % is a hairline a
// cutter may take away.
inline constexpr double kWhiteBandPass = 0.5;
inline constexpr double kWhiteBandLookAt = 2;

// Eyes open, mouth closed (ICAO: eyes open and clearly visible, neutral
// expression, mouth closed). Ours, from the mesh: an open eye's lid gap is a
// quarter to a third of its width, a closed one's under a tenth; a closed
// mouth's lip gap is under a twentieth of its width, a smile with the teeth
// apart above a tenth.
inline constexpr double kEyeOpen = 0.15;
inline constexpr double kEyeOpenWarn = 0.10;
inline constexpr double kMouthClosed = 0.06;
inline constexpr double kMouthClosedWarn = 0.12;

// Gaze (ICAO: looking at the camera). Ours: the iris' offset from the middle
// of the eye's opening, in percent of the eye's width across and, counted
// twice, of the opening's height down. Eyes looking into the camera on the
// sample portraits measure 0 to 4; their openings moved aside by a quarter of
// the eye's width (the iris following a glance), 14 to 18; an iris in the
// eye's corner lies a third of the width off.
inline constexpr double kGazeDownWeight = 2;
inline constexpr double kGazePass = 10;
inline constexpr double kGazeLookAt = 20;

// Background (ICAO: plain, uniform, light-coloured, no shadows or pattern).
// Ours, in CIE L* units on the background beside and above the head: the
// spread left once a smooth slope is taken out, or a third of the slope's
// rise across the area, whichever is larger; and the mean lightness.
inline constexpr double kBackgroundTexture = 4;
inline constexpr double kBackgroundTextureWarn = 8;
inline constexpr double kSlopePerTexture = 3;
inline constexpr double kBackgroundLight = 65;
inline constexpr double kBackgroundLightWarn = 50;
// At least this share of the area must be background to judge it.
inline constexpr double kBackgroundSeenShare = 0.15;

// Background colour: the colours an office takes are its row's (the table
// of documents); where each colour's name lies in CIELAB's a*b* plane, and
// how far from it a background may lie, are ours. Each name is a stretch
// from its palest to its strongest tone: white and light grey are neutral,
// off-white and cream lean to yellow, light blue runs from a pale blue to a
// clear sky blue. Lightness is left to the background's own measure: a
// wall's L* follows the exposure more than its paint, so white and light
// grey are not told apart. The plain colours Quorlo puts in lie on their
// stretches; cream (b* 8.5) and Quorlo's light blue (b* -14) lie 8.5 and 14
// from white: one to look at, one refused where only white is taken.
struct TColourStretch {
    double PaleA, PaleB;
    double StrongA, StrongB;
};
// By TBackdrop: white, off-white, light grey, cream, light blue.
inline constexpr TColourStretch kBackdropColours[] = {
    {0, 0, 0, 0}, {0, 1, 0, 4}, {0, 0, 0, 0}, {0, 6, 1, 14}, {-1, -7, -6, -30},
};
inline constexpr double kBackgroundColour = 6;
inline constexpr double kBackgroundColourWarn = 10;

// Light on the face (ICAO: even lighting, no shadows, no over- or under-
// exposure). Ours, in L* units: the two cheeks within 13 of each other (two
// studio portraits lit softly from one side measure 2 and 9 to 11, a face
// half in shadow 25 and more), 20 to look at; a face's median
// lightness from 45 to 88, to be looked at down to 38 and up to 94; at most
// 2 % of the face burnt out (L* ≥ 97), 8 % to be looked at.
inline constexpr double kHalvesApart = 13;
inline constexpr double kHalvesApartWarn = 20;
inline constexpr double kFaceDark = 45;
inline constexpr double kFaceDarkWarn = 38;
inline constexpr double kFaceBright = 88;
inline constexpr double kFaceBrightWarn = 94;
inline constexpr double kBurntShare = 0.02;
inline constexpr double kBurntShareWarn = 0.08;
// The brightest tones around the head (the 99th percentile of L*: the whites
// of the eyes, a collar, the wall): a well-exposed portrait of any skin
// reaches 80 and more; two stops under leave 55 at most.
inline constexpr double kHighlightsPass = 66;
inline constexpr double kHighlightsLookAt = 58;

// Colour (ICAO: natural skin tones, no colour cast). Ours: the chroma of the
// whites of the eyes in CIELAB, about 5 on a studio portrait, while a red
// raised by a fifth gives a white of L* 75-85 a chroma of 16-19; the skin's
// hue angle lies from 15° to 85° for every skin tone under white light; a
// skin chroma under 4 is a black-and-white photo.
inline constexpr double kNeutralCast = 11;
inline constexpr double kNeutralCastWarn = 15;
inline constexpr double kSkinHueMin = 15;
inline constexpr double kSkinHueMax = 85;
inline constexpr double kGreyChroma = 4;

// Sharpness (ICAO: in focus from the chin to the crown). Ours: the face's
// fine detail, the spread of its Laplacian over the spread of its lightness,
// with the face brought to kDetailEyeDistance pixels between the eyes (up or
// down), so that the number does not follow the photo's pixel count.
inline constexpr double kSharpness = 0.8;
inline constexpr double kSharpnessWarn = 0.5;

// Compression (ICAO: no compression artefacts). Ours: how much more the
// lightness steps across the JPEG's 8-pixel grid than between its other
// columns and rows, around the face.
inline constexpr double kBlockiness = 1.5;
inline constexpr double kBlockinessWarn = 2;

// Resolution: 300 printed pixels per inch (this program's own limit below
// which the print shows its pixels), a quarter less to look at; ICAO asks
// for at least 90 pixels between the eye centres, 120 preferred.
inline constexpr double kPrintedPpi = 300;
inline constexpr double kPrintedPpiWarn = 225;
inline constexpr double kEyePixels = 90;
inline constexpr double kEyePixelsPreferred = 120;

// Glasses (ICAO: glasses only where the office allows them, no glare, frames
// not across the eyes; the US refuses glasses). Ours: how clearly a frame's
// dark edges ring the eyes and cross the bridge of the nose.
inline constexpr double kGlassesFrame = 0.35;
inline constexpr double kGlassesFrameWarn = 0.5;

// Faces: a face counts as printed with the photo when a third of its box
// lies inside the frame. The face mesh scores real faces above 0.99; a face
// it scores lower is no person's (an animal, a pattern).
inline constexpr double kFaceInFrameShare = 1.0 / 3;
inline constexpr double kPersonPresence = 0.95;

// Below this many pixels between the eyes the detail measures (sharpness,
// compression, glasses, gaze) cannot be judged.
inline constexpr double kDetailJudgedEyePixels = 24;

}  // namespace CheckLimit
