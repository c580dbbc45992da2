#include "face_mesh.h"

#include "bitmap32.h"
#include "face_finder.h"
#include "face_net.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kInput = FaceModelInfo(TFaceModel::Mesh).InputSide;
constexpr double kCropScale = 1.5;
// The mesh's own face test: real faces of the test portraits, dim, small or
// turned, score above 0.99; detector finds on clothes or a flag 0.6 and less.
constexpr double kMinPresence = 0.8;

QPointF middle(QPointF a, QPointF b)
{
    return (a + b) / 2;
}

double angleOf(QPointF from, QPointF to)
{
    return std::atan2(to.y() - from.y(), to.x() - from.x());
}

}  // namespace

QPointF TFaceLandmarks::RightEye() const
{
    return middle(Points[Landmark::kRightEyeOuter], Points[Landmark::kRightEyeInner]);
}

QPointF TFaceLandmarks::LeftEye() const
{
    return middle(Points[Landmark::kLeftEyeInner], Points[Landmark::kLeftEyeOuter]);
}

struct TFaceMesh::TNet {
    cv::dnn::Net Net;

    TFaceLandmarks run(const TFacePhoto& photo, QPointF centre, double side, double angle)
    {
        cv::Matx23d toPhoto;
        const cv::Mat input = SquareCrop(photo, {centre.x(), centre.y()}, side, angle, kInput, toPhoto);
        const std::vector<cv::Mat> out = RunFaceModel(Net, TFaceModel::Mesh, ModelInput(TFaceModel::Mesh, input));
        const float* xyz = out[0].ptr<float>();
        TFaceLandmarks result;
        result.Points.reserve(Landmark::kCount);
        result.Depth.reserve(Landmark::kCount);
        // The crop is turned and scaled evenly: depth scales like x.
        const double depthScale = std::sqrt(std::abs(toPhoto(0, 0) * toPhoto(1, 1) - toPhoto(0, 1) * toPhoto(1, 0)));
        for (int i = 0; i < Landmark::kCount; ++i) {
            const cv::Point2d p = Mapped(toPhoto, {xyz[3 * i], xyz[3 * i + 1]});
            result.Points.emplace_back(p.x, p.y);
            result.Depth.push_back(xyz[3 * i + 2] * depthScale);
        }
        result.Presence = Sigmoid(out[1].ptr<float>()[0]);
        return result;
    }
};

TFaceMesh::TFaceMesh(const QString& ModelDir)
    : FNet(std::make_unique<TNet>())
{
    FNet->Net = LoadFaceModel(ModelDir, TFaceModel::Mesh);
}

TFaceMesh::~TFaceMesh() = default;

std::optional<TFaceLandmarks> TFaceMesh::Fit(const TBitmap32& Photo, const TFace& Face)
{
    return Fit(TFacePhoto(Photo), Face);
}

std::optional<TFaceLandmarks> TFaceMesh::Fit(const TFacePhoto& Photo, const TFace& Face)
{
    if (Photo.Empty() || Face.Box.isEmpty())
        return std::nullopt;
    const double angle = angleOf(Face.Point(TFaceKeyPoint::RightEye), Face.Point(TFaceKeyPoint::LeftEye));
    TFaceLandmarks first = FNet->run(Photo, Face.Box.center(), kCropScale * std::max(Face.Box.width(), Face.Box.height()),
                                     angle);
    if (first.Presence < kMinPresence)
        return std::nullopt;

    // The second crop: the landmarks' extent across and down the level face.
    const double level = angleOf(first.RightEye(), first.LeftEye());
    const double c = std::cos(level), s = std::sin(level);
    double minU = 1e300, maxU = -1e300, minV = 1e300, maxV = -1e300;
    for (const QPointF& p : first.Points) {
        const double u = c * p.x() + s * p.y(), v = -s * p.x() + c * p.y();
        minU = std::min(minU, u);
        maxU = std::max(maxU, u);
        minV = std::min(minV, v);
        maxV = std::max(maxV, v);
    }
    const double u = (minU + maxU) / 2, v = (minV + maxV) / 2;
    const QPointF centre(c * u - s * v, s * u + c * v);
    TFaceLandmarks second = FNet->run(Photo, centre, kCropScale * std::max(maxU - minU, maxV - minV), level);
    if (second.Presence < kMinPresence)
        return first;
    return second;
}
