#pragma once

#include "face_finder.h"
#include "face_mesh.h"
#include "frame.h"
#include "person_mask.h"

#include <vector>

class TBitmap32;

/// Where the crown of a measured head comes from.
enum class TCrownSource {
    Mask,          ///< the top of the person mask above the face, hair included
    Proportions,   ///< the eyes half way between crown and chin: the mask was unclear
};

struct TMeasuredHead {
    THead Head;
    TCrownSource Crown = TCrownSource::Proportions;
};

/// The head in photo pixels from a face's landmarks and the person mask
/// around it: the chin (landmark 152), the eye line and the face's centre
/// across (the eyes' centres), and the crown where the mask ends above the
/// forehead. Where the mask gives no clear crown (the forehead not in it,
/// a soft edge before a background like the hair, an end at the photo's top,
/// a height no head has, or a hat: the top differing in colour from what
/// lies just above the forehead) the crown is put kCrownOverChin times as far
/// above the eyes as the chin is below them.
TMeasuredHead MeasureHead(const TBitmap32& Photo, const TFaceLandmarks& Landmarks, const TPersonMaskMap& Mask);

/// Crown above the eyes over chin (landmark 152) below them, for a crown
/// taken from proportions: the eyes lie half way down the head, and landmark
/// 152 a little below the chin's visible edge (3 % of the head's height on
/// the test portraits).
inline constexpr double kCrownOverChin = 0.92;

/// A found face with everything measured on it.
struct TMeasuredFace {
    TFace Face;
    TFaceLandmarks Landmarks;
    TPersonMaskMap Mask;   ///< of HeadRegion(Face.Box)
    TMeasuredHead Head;
};

/// The faces of Photo that the face mesh confirms, most likely first, at most
/// MaxFaces of them, each measured: the detector's finds, its doubtful ones
/// (a pattern in the background) weeded out by the mesh's own face test.
std::vector<TMeasuredFace> MeasureFaces(const TBitmap32& Photo, TFaceFinder& Finder, TFaceMesh& Mesh,
                                        TPersonMask& Mask, int MaxFaces = 4);
