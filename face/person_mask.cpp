#include "person_mask.h"

#include "bitmap32.h"
#include "face_net.h"
#include "face_photo.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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
// Parts of the background the model took for the person (a flag's field
// against a dark cap, a cord across the head's edge) are peeled off the
// person's edge, down to kPeelDepth head heights: where their colour goes on
// across the edge, within kPeelBeside head heights, and is not the person's
// own further inside, within kPeelWindow head heights. The background's
// colour must be nearer than kPeelMatch (Lab units) and than kPeelRatio
// times the person's.
constexpr double kPeelDepth = 0.08;
constexpr double kPeelBeside = 0.035;
constexpr double kPeelWindow = 0.12;
constexpr float kPeelMatch = 12.f;
constexpr float kPeelRatio = 0.5f;

// The photo's colours at the map's pixels (Lab, L from 0 to 100), sampled
// as the model saw them; OnPhoto marks the pixels whose centre lies on the
// photo.
void mapColours(const TFacePhoto& photo, const TPersonMaskMap& mask, cv::Mat& lab, cv::Mat& onPhoto)
{
    constexpr int side = TPersonMaskMap::kSide;
    cv::Matx23d toPhoto;
    const QPointF centre = mask.Region.center();
    const cv::Mat rgb = SquareCrop(photo, {centre.x(), centre.y()}, mask.Region.width(), 0, side, toPhoto);
    cv::Mat unit;
    rgb.convertTo(unit, CV_32FC3, 1.0 / 255);
    cv::cvtColor(unit, lab, cv::COLOR_RGB2Lab);
    const double step = mask.Step();
    const auto first = [&](double origin) {
        return std::clamp(static_cast<int>(std::ceil(-origin / step - 0.5)), 0, side);
    };
    const auto end = [&](double origin, int length) {
        return std::clamp(static_cast<int>(std::ceil((length - origin) / step - 0.5)), 0, side);
    };
    const int x0 = first(mask.Region.x()), y0 = first(mask.Region.y());
    const int x1 = end(mask.Region.x(), photo.Width()), y1 = end(mask.Region.y(), photo.Height());
    onPhoto = cv::Mat::zeros(side, side, CV_8UC1);
    if (x1 > x0 && y1 > y0)
        onPhoto(cv::Rect(x0, y0, x1 - x0, y1 - y0)).setTo(255);
}

// The distance from C to the nearest colour of Lab's pixels that Which marks
// within Reach of (X, Y), looked at every Stride pixels; a large value where
// there is none. The search ends at the first colour within Enough.
float nearestColour(const cv::Mat& lab, const cv::Mat& which, int x, int y, int reach, int stride, const cv::Vec3f& c,
                    float enough = 0)
{
    constexpr int side = TPersonMaskMap::kSide;
    float nearest = 1e18f;
    const float stop = enough * enough;
    for (int v = std::max(0, y - reach); v <= std::min(side - 1, y + reach); v += stride) {
        const std::uint8_t* w = which.ptr<std::uint8_t>(v);
        const cv::Vec3f* l = lab.ptr<cv::Vec3f>(v);
        for (int u = std::max(0, x - reach); u <= std::min(side - 1, x + reach); u += stride)
            if (w[u]) {
                const cv::Vec3f d = l[u] - c;
                nearest = std::min(nearest, d.dot(d));
                if (nearest <= stop)
                    return std::sqrt(nearest);
            }
    }
    return std::sqrt(nearest);
}

// Takes out of Person (beyond Core, the face's own) the pixels near its edge
// whose colour is the background's right beside them rather than the
// person's own further inside, where they join the background through
// others like them.
void peelBackgroundColours(cv::Mat& person, const cv::Mat& core, const cv::Mat& lab, const cv::Mat& onPhoto,
                           double headPixels)
{
    constexpr int side = TPersonMaskMap::kSide;
    const double depth = std::max(2.0, kPeelDepth * headPixels);
    const int beside = std::max(2, static_cast<int>(std::lround(kPeelBeside * headPixels)));
    const int window = std::max(3, static_cast<int>(std::lround(kPeelWindow * headPixels)));
    // A large window is looked at on every other pixel: at the map's scale
    // the colours change little from one to the next.
    const int stride = window > 8 ? 2 : 1;
    cv::Mat fromEdge;
    cv::distanceTransform(person, fromEdge, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    const cv::Mat background = ~person & onPhoto;
    const cv::Mat deep = (fromEdge > depth) & onPhoto;
    cv::Mat like = cv::Mat::zeros(side, side, CV_8UC1);
    for (int y = 0; y < side; ++y) {
        const float* d = fromEdge.ptr<float>(y);
        const std::uint8_t* c = core.ptr<std::uint8_t>(y);
        const std::uint8_t* on = onPhoto.ptr<std::uint8_t>(y);
        for (int x = 0; x < side; ++x) {
            if (d[x] <= 0 || d[x] > depth || c[x] || !on[x])
                continue;
            const cv::Vec3f colour = lab.at<cv::Vec3f>(y, x);
            const float back = nearestColour(lab, background, x, y, beside, 1, colour);
            // The person's own colour nearer than back / kPeelRatio settles it.
            if (back <= kPeelMatch
                && back <= kPeelRatio * nearestColour(lab, deep, x, y, window, stride, colour, back / kPeelRatio))
                like.at<std::uint8_t>(y, x) = 255;
        }
    }
    cv::Mat labels;
    const int count = cv::connectedComponents(like | ~person, labels, 8, CV_32S);
    std::vector<bool> joinsBackground(static_cast<std::size_t>(count), false);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (!person.at<std::uint8_t>(y, x))
                joinsBackground[static_cast<std::size_t>(labels.at<int>(y, x))] = true;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (like.at<std::uint8_t>(y, x) && joinsBackground[static_cast<std::size_t>(labels.at<int>(y, x))])
                person.at<std::uint8_t>(y, x) = 0;
}

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

void KeepHeadAndShoulders(TPersonMaskMap& Mask, const TFacePhoto& Photo, const THead& Head, double Top,
                          double FaceWidth)
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

    // The face's ellipse, whose own thin hair stays.
    cv::Mat core = cv::Mat::zeros(side, side, CV_8UC1);
    const cv::Point2f centre(static_cast<float>(u(Head.CentreX)), static_cast<float>(v((Head.CrownY + Head.ChinY) / 2)));
    const cv::Size2f axes(static_cast<float>(2 * kCoreAcross * FaceWidth / step),
                          static_cast<float>(2 * kCoreDown * Head.Height() / step));
    cv::ellipse(core, cv::RotatedRect(centre, axes, 0), cv::Scalar(255), cv::FILLED);

    // Strands beside the head go; the face's ellipse keeps its own.
    const int strand = std::max(3, static_cast<int>(std::lround(kStrand * Head.Height() / step)) | 1);
    const cv::Mat round = cv::getStructuringElement(cv::MORPH_ELLIPSE, {strand, strand});
    cv::Mat kept;
    cv::morphologyEx(person, kept, cv::MORPH_OPEN, round);
    kept |= person & core;

    // What is left of the background's colours at the edge goes, and the
    // strands that leaves.
    if (!Photo.Empty()) {
        cv::Mat lab, onPhoto;
        mapColours(Photo, Mask, lab, onPhoto);
        peelBackgroundColours(kept, core, lab, onPhoto, Head.Height() / step);
        cv::Mat thick;
        cv::morphologyEx(kept, thick, cv::MORPH_OPEN, round);
        kept = thick | (kept & core);
    }

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
