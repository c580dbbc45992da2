#include "face_geometry.h"

#include "check_limits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// The points the pose reads, on an upright face looking into the camera, in
// pixels around the nose: eye corners level, forehead top and chin on the
// middle line, the chin as much deeper as on a real upright face.
struct TPoint3 {
    double X, Y, Z;
};

std::vector<TPoint3> frontalMesh()
{
    std::vector<TPoint3> mesh(Landmark::kCount, TPoint3{0, 0, 0});
    mesh[Landmark::kRightEyeOuter] = {-45, 0, 20};
    mesh[Landmark::kRightEyeInner] = {-15, 0, 15};
    mesh[Landmark::kLeftEyeInner] = {15, 0, 15};
    mesh[Landmark::kLeftEyeOuter] = {45, 0, 20};
    mesh[Landmark::kForeheadTop] = {0, -60, 10};
    mesh[Landmark::kChin] = {0, 90, 10 + 150 * std::tan(CheckLimit::kUprightPitch * std::numbers::pi / 180)};
    return mesh;
}

// Turns the head: pitch about the ears' axis (chin down for > 0), then yaw
// about the neck (toward the person's left, the photo's right, for > 0), then
// roll in the photo's plane (toward the left shoulder for > 0).
TFaceLandmarks turned(const std::vector<TPoint3>& mesh, double roll, double yaw, double pitch)
{
    const double r = roll * std::numbers::pi / 180;
    const double w = yaw * std::numbers::pi / 180;
    const double p = pitch * std::numbers::pi / 180;
    TFaceLandmarks face;
    for (const TPoint3& m : mesh) {
        // Chin down: y turns toward +z.
        const double y1 = m.Y * std::cos(p) - m.Z * std::sin(p);
        const double z1 = m.Y * std::sin(p) + m.Z * std::cos(p);
        // The photo's right side goes back: x turns toward +z.
        const double x2 = m.X * std::cos(w) - z1 * std::sin(w);
        const double z2 = m.X * std::sin(w) + z1 * std::cos(w);
        // The photo's right side goes down: x turns toward +y.
        face.Points.emplace_back(500 + x2 * std::cos(r) - y1 * std::sin(r), 400 + x2 * std::sin(r) + y1 * std::cos(r));
        face.Depth.push_back(z2);
    }
    return face;
}

}  // namespace

TEST(FacePose, AnglesOfATurnedHeadAreFoundWithTheirSigns)
{
    const struct {
        double roll, yaw, pitch;
    } cases[] = {{0, 0, 0}, {6, 0, 0}, {-12, 0, 0}, {0, 7, 0}, {0, -4, 0}, {0, 0, 9}, {0, 0, -6}, {5, -8, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.roll << "/" << c.yaw << "/" << c.pitch);
        const TPose pose = FacePose(turned(frontalMesh(), c.roll, c.yaw, c.pitch));
        EXPECT_NEAR(pose.Roll, c.roll, 0.5);
        EXPECT_NEAR(pose.Yaw, c.yaw, 0.5);
        EXPECT_NEAR(pose.Pitch, c.pitch, 0.5);
    }
}

// The less open eye counts: one closed eye is a closed eye.
TEST(EyeOpening, TheLessOpenEyeIsTheOneJudged)
{
    const struct {
        double right, left, expected;
    } cases[] = {{9, 9, 0.3}, {1.5, 9, 0.05}, {9, 1.5, 0.05}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.right << "/" << c.left);
        TFaceLandmarks face;
        face.Points.assign(Landmark::kCount, QPointF(0, 0));
        face.Depth.assign(Landmark::kCount, 0);
        // Eyes 30 pixels wide, their lids c.right and c.left apart.
        face.Points[Landmark::kRightEyeOuter] = {-45, 0};
        face.Points[Landmark::kRightEyeInner] = {-15, 0};
        face.Points[Landmark::kLeftEyeInner] = {15, 0};
        face.Points[Landmark::kLeftEyeOuter] = {45, 0};
        face.Points[Landmark::kRightUpperLid] = {-30, -c.right / 2};
        face.Points[Landmark::kRightLowerLid] = {-30, c.right / 2};
        face.Points[Landmark::kLeftUpperLid] = {30, -c.left / 2};
        face.Points[Landmark::kLeftLowerLid] = {30, c.left / 2};
        EXPECT_NEAR(EyeOpening(face), c.expected, 1e-9);
    }
}
