#pragma once

#include <QPointF>

#include <vector>

/// One point of a face's landmark mesh in photo pixels (after the photo was
/// turned upright): x to the right, y down, z away from the camera, in the
/// same unit as x.
struct TLandmark {
    double X = 0;
    double Y = 0;
    double Z = 0;

    QPointF Xy() const { return {X, Y}; }
};

/// The 468 landmarks of one face, in the face mesh model's order.
using TFaceMesh = std::vector<TLandmark>;

/// The mesh points the check reads. "Right" and "left" are the person's own:
/// the right eye is on the photo's left.
namespace MeshPoint {
inline constexpr int kCount = 468;
inline constexpr int kForeheadTop = 10;   // the top of the forehead, below the hair
inline constexpr int kChin = 152;
inline constexpr int kRightEyeOuter = 33;
inline constexpr int kRightEyeInner = 133;
inline constexpr int kLeftEyeInner = 362;
inline constexpr int kLeftEyeOuter = 263;
inline constexpr int kRightUpperLid = 159;
inline constexpr int kRightLowerLid = 145;
inline constexpr int kLeftUpperLid = 386;
inline constexpr int kLeftLowerLid = 374;
inline constexpr int kUpperInnerLip = 13;
inline constexpr int kLowerInnerLip = 14;
inline constexpr int kRightMouthCorner = 78;
inline constexpr int kLeftMouthCorner = 308;
}  // namespace MeshPoint

/// The turn of a head in degrees, 0 for a face looking straight into the
/// camera. Roll > 0: the head leans toward the person's left shoulder (the
/// photo's right). Yaw > 0: the face is turned toward the person's left.
/// Pitch > 0: the chin is lowered.
struct TPose {
    double Roll = 0;
    double Yaw = 0;
    double Pitch = 0;
};

/// The pose from the mesh: roll from the line through the eye centres in the
/// photo; yaw and pitch from the depth of the eye line and of the forehead to
/// chin line (the orthonormal frame they span, against the camera's axis).
TPose FacePose(const TFaceMesh& Mesh);

/// Centre of each eye (the middle of its corners).
QPointF RightEyeCentre(const TFaceMesh& Mesh);
QPointF LeftEyeCentre(const TFaceMesh& Mesh);
/// Distance between the eye centres, in photo pixels.
double EyeDistance(const TFaceMesh& Mesh);

/// Gap between the eyelids over the eye's width, for the less open eye:
/// about 0.25 to 0.35 open, below 0.1 closed.
double EyeOpening(const TFaceMesh& Mesh);
/// Gap between the inner lips over the mouth's width: near 0 closed.
double MouthOpening(const TFaceMesh& Mesh);

/// True when Mesh has every point the check reads.
bool IsCompleteMesh(const TFaceMesh& Mesh);
