#include "face_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct TVector {
    double X, Y, Z;
};

TVector between(const TLandmark& from, const TLandmark& to)
{
    return {to.X - from.X, to.Y - from.Y, to.Z - from.Z};
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

double distance(const QPointF& a, const QPointF& b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

double middleDistance(const TLandmark& a, const TLandmark& b)
{
    return distance(a.Xy(), b.Xy());
}

}  // namespace

bool IsCompleteMesh(const TFaceMesh& Mesh)
{
    return Mesh.size() >= static_cast<std::size_t>(MeshPoint::kCount);
}

QPointF RightEyeCentre(const TFaceMesh& Mesh)
{
    return (Mesh[MeshPoint::kRightEyeOuter].Xy() + Mesh[MeshPoint::kRightEyeInner].Xy()) / 2;
}

QPointF LeftEyeCentre(const TFaceMesh& Mesh)
{
    return (Mesh[MeshPoint::kLeftEyeOuter].Xy() + Mesh[MeshPoint::kLeftEyeInner].Xy()) / 2;
}

double EyeDistance(const TFaceMesh& Mesh)
{
    return distance(RightEyeCentre(Mesh), LeftEyeCentre(Mesh));
}

TPose FacePose(const TFaceMesh& Mesh)
{
    using namespace MeshPoint;
    const QPointF eyes = LeftEyeCentre(Mesh) - RightEyeCentre(Mesh);
    // The face's own axes: across from the right eye's outer corner to the
    // left one's, and down from the forehead to the chin, made orthogonal.
    const TVector across = unit(between(Mesh[kRightEyeOuter], Mesh[kLeftEyeOuter]));
    const TVector rawDown = between(Mesh[kForeheadTop], Mesh[kChin]);
    const double along = dot(rawDown, across);
    const TVector down =
        unit({rawDown.X - along * across.X, rawDown.Y - along * across.Y, rawDown.Z - along * across.Z});
    TPose pose;
    pose.Roll = degrees(std::atan2(eyes.y(), eyes.x()));
    pose.Yaw = degrees(std::asin(std::clamp(across.Z, -1.0, 1.0)));
    pose.Pitch = degrees(std::asin(std::clamp(down.Z, -1.0, 1.0)));
    return pose;
}

double EyeOpening(const TFaceMesh& Mesh)
{
    using namespace MeshPoint;
    const double right = middleDistance(Mesh[kRightUpperLid], Mesh[kRightLowerLid])
                         / std::max(1e-9, middleDistance(Mesh[kRightEyeOuter], Mesh[kRightEyeInner]));
    const double left = middleDistance(Mesh[kLeftUpperLid], Mesh[kLeftLowerLid])
                        / std::max(1e-9, middleDistance(Mesh[kLeftEyeOuter], Mesh[kLeftEyeInner]));
    return std::min(right, left);
}

double MouthOpening(const TFaceMesh& Mesh)
{
    using namespace MeshPoint;
    return middleDistance(Mesh[kUpperInnerLip], Mesh[kLowerInnerLip])
           / std::max(1e-9, middleDistance(Mesh[kRightMouthCorner], Mesh[kLeftMouthCorner]));
}
