#pragma once

#include "face_models.h"

#include <QPointF>
#include <QRectF>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class TBitmap32;
class TFacePhoto;

/// The six key points of a found face, as the detector gives them; right and
/// left are the person's own (the right eye is on the photo's left).
enum class TFaceKeyPoint { RightEye, LeftEye, NoseTip, Mouth, RightEar, LeftEar };

/// A face found in a photo, in photo pixels (continuous: pixel x spans x to
/// x + 1): the detector's box (brows to chin, cheek to cheek), its
/// confidence from 0 to 1, and the key points.
struct TFace {
    QRectF Box;
    double Score = 0;
    std::array<QPointF, 6> KeyPoints;

    QPointF Point(TFaceKeyPoint Which) const { return KeyPoints[static_cast<std::size_t>(Which)]; }
};

/// Finds faces with the short-range face detector, on the whole photo and on
/// overlapping tiles of 0.64 times its shorter side, so that a face down to
/// a tenth of the shorter side is found anywhere; overlapping finds merge
/// into one face. A dim photo is brightened for the detector first. Finds
/// too doubtful to report (a face turned by a third scores low at that size)
/// are looked at closer (LookCloser) and reported as that finds them.
class TFaceFinder {
public:
    /// Loads the detector from ModelDir; raises EFaceModel when it is missing
    /// or cannot be used.
    explicit TFaceFinder(const QString& ModelDir);
    ~TFaceFinder();
    TFaceFinder(const TFaceFinder&) = delete;
    TFaceFinder& operator=(const TFaceFinder&) = delete;

    /// The faces of Photo, the likely subject first: faces scoring at least
    /// kSureFaceScore largest first, then the others by score. An empty
    /// photo has none.
    std::vector<TFace> Find(const TFacePhoto& Photo);
    std::vector<TFace> Find(const TBitmap32& Photo);

    /// Face looked at again on a square of three times its size around it:
    /// the likeliest face found there whose middle lies in Face's box, from
    /// kMinFaceScore up; none otherwise. A turned face at the detector's
    /// smallest size is doubted in the whole photo and its box and points
    /// fit it loosely; closer, they fit.
    std::optional<TFace> LookCloser(const TFacePhoto& Photo, const TFace& Face);

private:
    struct TNet;
    std::unique_ptr<TNet> FNet;
};

/// Faces whose confidence is below this, on the closer look too, are not
/// reported.
inline constexpr double kMinFaceScore = 0.5;
/// Real faces of the test portraits score above 0.85 (a face of a tenth of
/// the photo too), patterns in clothes or flags below 0.6.
inline constexpr double kSureFaceScore = 0.8;
