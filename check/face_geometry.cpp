#include "face_geometry.h"

#include "check_limits.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct TVector {
    double X, Y, Z;
};

TVector between(const TFaceLandmarks& face, int from, int to)
{
    const QPointF d = face.Points[static_cast<std::size_t>(to)] - face.Points[static_cast<std::size_t>(from)];
    return {d.x(), d.y(), face.Depth[static_cast<std::size_t>(to)] - face.Depth[static_cast<std::size_t>(from)]};
}

double dot(const TVector& a, const TVector& b)
{
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

TVector unit(const TVector& v)
{
    const double n = std::sqrt(dot(v, v));
    return n > 0 ? TVector{v.X / n, v.Y / n, v.Z / n} : TVector{0, 0, 0};
}

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

double gap(const TFaceLandmarks& face, int a, int b)
{
    const QPointF d = face.Points[static_cast<std::size_t>(a)] - face.Points[static_cast<std::size_t>(b)];
    return std::hypot(d.x(), d.y());
}

double ratio(const TFaceLandmarks& face, int a, int b, int acrossA, int acrossB)
{
    return gap(face, a, b) / std::max(1e-9, gap(face, acrossA, acrossB));
}

}  // namespace

bool IsCompleteMesh(const TFaceLandmarks& Face)
{
    return Face.Points.size() >= static_cast<std::size_t>(Landmark::kCount) && Face.Depth.size() == Face.Points.size();
}

double EyeDistance(const TFaceLandmarks& Face)
{
    const QPointF d = Face.LeftEye() - Face.RightEye();
    return std::hypot(d.x(), d.y());
}

TPose FacePose(const TFaceLandmarks& Face)
{
    using namespace Landmark;
    const QPointF eyes = Face.LeftEye() - Face.RightEye();
    // The face's own axes: across from the right eye's outer corner to the
    // left one's, and down from the forehead to the chin, made orthogonal.
    const TVector across = unit(between(Face, kRightEyeOuter, kLeftEyeOuter));
    const TVector rawDown = between(Face, kForeheadTop, kChin);
    const double along = dot(rawDown, across);
    const TVector down =
        unit({rawDown.X - along * across.X, rawDown.Y - along * across.Y, rawDown.Z - along * across.Z});
    TPose pose;
    pose.Roll = degrees(std::atan2(eyes.y(), eyes.x()));
    pose.Yaw = degrees(std::asin(std::clamp(across.Z, -1.0, 1.0)));
    pose.Pitch = degrees(std::asin(std::clamp(down.Z, -1.0, 1.0))) - CheckLimit::kUprightPitch;
    return pose;
}

double EyeOpening(const TFaceLandmarks& Face)
{
    using namespace Landmark;
    return std::min(ratio(Face, kRightUpperLid, kRightLowerLid, kRightEyeOuter, kRightEyeInner),
                    ratio(Face, kLeftUpperLid, kLeftLowerLid, kLeftEyeOuter, kLeftEyeInner));
}

double MouthOpening(const TFaceLandmarks& Face)
{
    using namespace Landmark;
    return ratio(Face, kUpperInnerLip, kLowerInnerLip, kRightMouthCorner, kLeftMouthCorner);
}
