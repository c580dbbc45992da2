#pragma once

#include "face_finder.h"
#include "face_mesh.h"
#include "frame.h"
#include "person_mask.h"

#include <vector>

class TBitmap32;

/// Where the crown of a measured head comes from: seen on the photo, or
/// estimated for one of three reasons, or given by the user.
enum class TCrownSource {
    Seen,       ///< the top of the person mask above the face, hair included, on the photo's own edge
    CutOff,     ///< estimated: the hair goes on past the photo's top edge; the head's outline is continued
    Covered,    ///< estimated: a hat or scarf covers the head (its top is neither hair nor skin)
    Unclear,    ///< estimated: the mask gives no clear top (soft, uneven, or of a height no head has)
    Given,      ///< placed by the user
};

/// True for a crown estimated rather than seen or given.
constexpr bool IsEstimated(TCrownSource Source)
{
    return Source == TCrownSource::CutOff || Source == TCrownSource::Covered || Source == TCrownSource::Unclear;
}

/// "seen", "estimated" or "given"; and the reason of an estimate
/// ("cut_off", "covered", "unclear"), empty otherwise.
const char* CrownSourceName(TCrownSource Source);
const char* CrownReasonName(TCrownSource Source);

struct TMeasuredHead {
    THead Head;
    TCrownSource Crown = TCrownSource::Unclear;
    /// The top of what the head wears or grows, seen on the photo's edge: a
    /// hat's top for a covered crown; the crown where it was not seen.
    double Top = 0;
};

/// The head in photo pixels from a face's landmarks and the person mask
/// around it: the chin (landmark 152), the eye line and the face's centre
/// across (the eyes' centres), and the crown where the mask ends above the
/// forehead, moved onto the photo's own edge between the hair and what lies
/// above it where the two differ in colour. Where the mask goes on past the
/// photo's top edge the crown is where the head's outline, continued as an
/// ellipse through its sides, closes (CutOff). Where the mask gives no clear
/// crown (the forehead not in it, a soft or uneven edge, a height no head
/// has) or a hat covers the head (the top's colour matches neither the hair
/// beside the face nor the forehead) the crown is put kCrownOverChin times
/// as far above the eyes as the chin is below them.
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
