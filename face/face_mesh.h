#pragma once

#include "face_models.h"

#include <QPointF>

#include <memory>
#include <optional>
#include <vector>

class TBitmap32;
class TFacePhoto;
struct TFace;

/// Indices of mesh landmarks this program reads (the person's right and left).
namespace Landmark {
inline constexpr int kForeheadTop = 10;    ///< top of the forehead; hair lies above it
inline constexpr int kChin = 152;
inline constexpr int kRightEyeOuter = 33;
inline constexpr int kRightEyeInner = 133;
inline constexpr int kLeftEyeInner = 362;
inline constexpr int kLeftEyeOuter = 263;
inline constexpr int kRightCheek = 234;    ///< the face's outline at the cheekbones
inline constexpr int kLeftCheek = 454;
inline constexpr int kRightUpperLid = 159;
inline constexpr int kRightLowerLid = 145;
inline constexpr int kLeftUpperLid = 386;
inline constexpr int kLeftLowerLid = 374;
inline constexpr int kUpperInnerLip = 13;
inline constexpr int kLowerInnerLip = 14;
inline constexpr int kRightMouthCorner = 78;
inline constexpr int kLeftMouthCorner = 308;
inline constexpr int kCount = 468;
}  // namespace Landmark

/// The 468 landmarks of a face in photo pixels (continuous, like TFace), and
/// how sure the model is that the crop held a face (0 to 1).
struct TFaceLandmarks {
    std::vector<QPointF> Points;
    /// Each point's depth, away from the camera, in photo pixels like x.
    std::vector<double> Depth;
    double Presence = 0;

    QPointF RightEye() const;   ///< centre of the right eye (between its corners)
    QPointF LeftEye() const;
};

/// Places the face mesh on a found face: a square crop 1.5 times the face's
/// size, turned so that the eyes are level, then once more around the first
/// landmarks, which frame the face more closely than the detector's box.
class TFaceMesh {
public:
    /// Loads the mesh model from ModelDir; raises EFaceModel when it is
    /// missing or cannot be used.
    explicit TFaceMesh(const QString& ModelDir);
    ~TFaceMesh();
    TFaceMesh(const TFaceMesh&) = delete;
    TFaceMesh& operator=(const TFaceMesh&) = delete;

    /// The landmarks of Face in Photo; none when the model doubts that there
    /// is a face there (a detector's find on a pattern).
    std::optional<TFaceLandmarks> Fit(const TFacePhoto& Photo, const TFace& Face);
    std::optional<TFaceLandmarks> Fit(const TBitmap32& Photo, const TFace& Face);

private:
    struct TNet;
    std::unique_ptr<TNet> FNet;
};
