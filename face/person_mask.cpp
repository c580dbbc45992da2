#include "person_mask.h"

#include "bitmap32.h"
#include "face_net.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRegionFaces = 3.0;     // side of the head region, in face sizes
constexpr double kRegionAbove = 1.1;     // its top above the face box, in face sizes

}  // namespace

double TPersonMaskMap::At(QPointF Photo) const
{
    if (Empty() || !Region.contains(Photo))
        return 0;
    // Map pixel i covers i to i + 1; its value belongs to its centre.
    const double u = (Photo.x() - Region.x()) / Region.width() * kSide - 0.5;
    const double v = (Photo.y() - Region.y()) / Region.height() * kSide - 0.5;
    const int x0 = std::clamp(static_cast<int>(std::floor(u)), 0, kSide - 1);
    const int y0 = std::clamp(static_cast<int>(std::floor(v)), 0, kSide - 1);
    const int x1 = std::min(x0 + 1, kSide - 1), y1 = std::min(y0 + 1, kSide - 1);
    const double fx = std::clamp(u - x0, 0.0, 1.0), fy = std::clamp(v - y0, 0.0, 1.0);
    auto p = [this](int x, int y) { return double(Probability[static_cast<std::size_t>(y) * kSide + x]); };
    return (p(x0, y0) * (1 - fx) + p(x1, y0) * fx) * (1 - fy) + (p(x0, y1) * (1 - fx) + p(x1, y1) * fx) * fy;
}

QRectF HeadRegion(const QRectF& FaceBox)
{
    const double size = std::max(FaceBox.width(), FaceBox.height());
    const double side = kRegionFaces * size;
    return {FaceBox.center().x() - side / 2, FaceBox.top() - kRegionAbove * size, side, side};
}

struct TPersonMask::TNet {
    cv::dnn::Net Net;
};

TPersonMask::TPersonMask(const QString& ModelDir)
    : FNet(std::make_unique<TNet>())
{
    FNet->Net = LoadFaceModel(ModelDir, TFaceModel::PersonMask);
}

TPersonMask::~TPersonMask() = default;

TPersonMaskMap TPersonMask::Compute(const TBitmap32& Photo, const QRectF& Region)
{
    return Compute(TFacePhoto(Photo), Region);
}

TPersonMaskMap TPersonMask::Compute(const TFacePhoto& Photo, const QRectF& Region)
{
    TPersonMaskMap map;
    if (Photo.Empty() || Region.isEmpty())
        return map;
    constexpr int side = TPersonMaskMap::kSide;
    const QPointF centre = Region.center();
    cv::Matx23d toPhoto;
    const cv::Mat input = SquareCrop(Photo, {centre.x(), centre.y()},
                                     std::max(Region.width(), Region.height()), 0, side, toPhoto);
    const std::vector<cv::Mat> out =
        RunFaceModel(FNet->Net, TFaceModel::PersonMask, ModelInput(TFaceModel::PersonMask, input));
    const float* p = out[0].ptr<float>();
    map.Probability.assign(p, p + side * side);
    const double s = std::max(Region.width(), Region.height());
    map.Region = QRectF(centre.x() - s / 2, centre.y() - s / 2, s, s);
    return map;
}
