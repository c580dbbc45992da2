#include "person_mask.h"

#include "bitmap32.h"
#include "face_net.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kRegionFaces = 3.0;     // side of the head region, in face sizes
constexpr double kRegionAbove = 1.1;     // its top above the face box, in face sizes
// Above the eyes the person is kept within the head's outline: an ellipse
// about the eyes through the top of the head (and this many head heights
// more), kOutlineAcross times as wide as it is high but no wider than
// kOutlineFaces face widths either side (tall hair is not wide).
constexpr double kAboveTop = 0.03;
constexpr double kOutlineAcross = 0.9;
constexpr double kOutlineFaces = 0.95;
// Beside the head, parts of the person thinner than this many head heights
// are strands of the background.
constexpr double kStrand = 0.07;
// The ellipse about the face that keeps even thin hair: its half axes in
// face widths across and head heights down.
constexpr double kCoreAcross = 0.6;
constexpr double kCoreDown = 0.6;

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

void KeepHeadAndShoulders(TPersonMaskMap& Mask, const THead& Head, double Top, double FaceWidth)
{
    constexpr int side = TPersonMaskMap::kSide;
    if (Mask.Empty() || !(Head.Height() > 0) || !(Mask.Step() > 0))
        return;
    // Map pixel (u, v) covers the photo's Region.x + u * step onwards.
    const double step = Mask.Step();
    const auto u = [&](double x) { return (x - Mask.Region.x()) / step; };
    const auto v = [&](double y) { return (y - Mask.Region.y()) / step; };
    cv::Mat probability(side, side, CV_32FC1, Mask.Probability.data());
    cv::Mat person = probability >= 0.5f;

    // Nothing above the head's outline.
    const double high = (Head.EyeY - Top + kAboveTop * Head.Height()) / step;
    const double wide = std::min(kOutlineAcross * high, kOutlineFaces * FaceWidth / step);
    const double eyeRow = v(Head.EyeY), middle = u(Head.CentreX);
    for (int y = 0; y < std::min(side, static_cast<int>(eyeRow)); ++y) {
        const double dy = (eyeRow - (y + 0.5)) / high;
        const double reach = dy < 1 ? wide * std::sqrt(1 - dy * dy) : -1;
        std::uint8_t* row = person.ptr<std::uint8_t>(y);
        for (int x = 0; x < side; ++x)
            if (std::abs(x + 0.5 - middle) > reach)
                row[x] = 0;
    }

    // Strands beside the head go; the face's ellipse keeps its own.
    const int strand = std::max(3, static_cast<int>(std::lround(kStrand * Head.Height() / step)) | 1);
    cv::Mat thick;
    cv::morphologyEx(person, thick, cv::MORPH_OPEN, cv::getStructuringElement(cv::MORPH_ELLIPSE, {strand, strand}));
    cv::Mat core = cv::Mat::zeros(side, side, CV_8UC1);
    const cv::Point2f centre(static_cast<float>(u(Head.CentreX)), static_cast<float>(v((Head.CrownY + Head.ChinY) / 2)));
    const cv::Size2f axes(static_cast<float>(2 * kCoreAcross * FaceWidth / step),
                          static_cast<float>(2 * kCoreDown * Head.Height() / step));
    cv::ellipse(core, cv::RotatedRect(centre, axes, 0), cv::Scalar(255), cv::FILLED);
    cv::Mat kept = thick | (person & core);

    // Only what joins the face.
    cv::Mat labels;
    cv::connectedComponents(kept, labels, 8, CV_32S);
    const cv::Point face(std::clamp(static_cast<int>(u(Head.CentreX)), 0, side - 1),
                         std::clamp(static_cast<int>(v(Head.EyeY)), 0, side - 1));
    const int faceLabel = labels.at<int>(face);
    if (faceLabel == 0)
        return;   // the face itself is not in the mask: nothing to go by
    // What goes, with the soft edge around it; the kept person's own soft
    // edge stays as the model gave it.
    const cv::Mat joined = labels == faceLabel;
    cv::Mat gone = (probability >= 0.5f) & ~joined;
    cv::dilate(gone, gone, cv::Mat());
    probability.setTo(0.f, gone & ~joined);
}
