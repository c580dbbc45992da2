#include "image_measures.h"

#include "check_image.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// A pixel with a person probability at least this is the person's.
constexpr float kPersonLikely = 0.1f;
// Burnt out: L* this high has lost the skin's detail.
constexpr float kBurntLightness = 97;
// Skin for the colour: within this many L* of the face's median, which
// leaves out eyebrows, lashes, nostrils and highlights.
constexpr float kSkinBand = 20;

cv::Rect workRect(const TCheckImage& image, double left, double top, double right, double bottom)
{
    const cv::Rect all(0, 0, image.Lab().cols, image.Lab().rows);
    const int x0 = static_cast<int>(std::floor(left));
    const int y0 = static_cast<int>(std::floor(top));
    return cv::Rect(x0, y0, static_cast<int>(std::ceil(right)) - x0, static_cast<int>(std::ceil(bottom)) - y0) & all;
}

// The face's outline filled on the work grid, shrunk a little so that no
// hair or background at its edge counts.
cv::Mat1b faceMask(const TCheckImage& image, const TFaceRegions& face)
{
    cv::Mat1b mask(image.Lab().size(), 0);
    std::vector<cv::Point> outline;
    for (const QPointF& p : face.Face) {
        const cv::Point2f w = image.ToWork(p);
        outline.emplace_back(static_cast<int>(std::lround(w.x)), static_cast<int>(std::lround(w.y)));
    }
    if (outline.size() >= 3)
        cv::fillConvexPoly(mask, outline, cv::Scalar(255));
    const int shrink = std::max(1, static_cast<int>(std::lround(0.03 * face.Head.Height() * image.Scale())));
    cv::erode(mask, mask, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * shrink + 1, 2 * shrink + 1)));
    return mask;
}

// Least-squares plane L = a + b x + c y through the given pixels.
struct TPlaneFit {
    std::array<double, 9> Moments{};   // n, x, y, xx, xy, yy, L, xL, yL
    void Add(double x, double y, double l)
    {
        const double m[9] = {1, x, y, x * x, x * y, y * y, l, x * l, y * l};
        for (int i = 0; i < 9; ++i)
            Moments[i] += m[i];
    }
    cv::Vec3d Solve() const
    {
        const auto& m = Moments;
        const cv::Matx33d a(m[0], m[1], m[2], m[1], m[3], m[4], m[2], m[4], m[5]);
        const cv::Vec3d rhs(m[6], m[7], m[8]);
        cv::Vec3d plane(m[0] > 0 ? m[6] / m[0] : 0, 0, 0);
        cv::solve(a, rhs, plane, cv::DECOMP_SVD);
        return plane;
    }
};

// The median of the L* values a histogram of whole units counted.
int medianOf(const std::array<int, 101>& histogram, int count)
{
    int seen = 0;
    int median = 0;
    while (median < 100 && (seen += histogram[static_cast<std::size_t>(median)]) < (count + 1) / 2)
        ++median;
    return median;
}

}  // namespace

TBackgroundMeasure MeasureBackground(const TCheckImage& Image, const TFaceRegions& Face)
{
    TBackgroundMeasure result;
    if (Image.Lab().empty())
        return result;
    const double h = Face.Head.Height() * Image.Scale();
    const cv::Point2f crown = Image.ToWork(QPointF(Face.Head.CentreX, Face.Head.CrownY));
    const cv::Point2f chin = Image.ToWork(QPointF(Face.Head.CentreX, Face.Head.ChinY));
    const cv::Rect area = workRect(Image, crown.x - h, crown.y - 0.5 * h, crown.x + h, chin.y);
    if (area.empty())
        return result;

    // What is not background: the person, grown by a margin for the soft
    // edge of the mask; without a mask, an oval round the head and hair.
    cv::Mat1b person(Image.Lab().size(), 0);
    if (!Image.Person().empty()) {
        person = Image.Person() >= kPersonLikely;
        const int grow = std::max(1, static_cast<int>(std::lround(0.04 * h)));
        cv::dilate(person, person, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * grow + 1, 2 * grow + 1)));
    } else {
        cv::ellipse(person, cv::Point2f(crown.x, (crown.y + chin.y) / 2), cv::Size2f(1.3f * h, 1.35f * h), 0, 0,
                    360, cv::Scalar(255), cv::FILLED);
    }

    TPlaneFit fit;
    for (int y = area.y; y < area.br().y; ++y) {
        const cv::Vec3f* lab = Image.Lab().ptr<cv::Vec3f>(y);
        const std::uint8_t* taken = person.ptr<std::uint8_t>(y);
        for (int x = area.x; x < area.br().x; ++x)
            if (!taken[x])
                fit.Add(x - area.x, y - area.y, lab[x][0]);
    }
    const double n = fit.Moments[0];
    result.SeenShare = n / area.area();
    if (n < 16)
        return result;
    const cv::Vec3d plane = fit.Solve();
    double residual = 0;
    for (int y = area.y; y < area.br().y; ++y) {
        const cv::Vec3f* lab = Image.Lab().ptr<cv::Vec3f>(y);
        const std::uint8_t* taken = person.ptr<std::uint8_t>(y);
        for (int x = area.x; x < area.br().x; ++x)
            if (!taken[x]) {
                const double d = lab[x][0] - (plane[0] + plane[1] * (x - area.x) + plane[2] * (y - area.y));
                residual += d * d;
            }
    }
    result.Texture = std::sqrt(residual / n);
    result.Slope = std::abs(plane[1]) * area.width + std::abs(plane[2]) * area.height;
    result.Lightness = fit.Moments[6] / n;
    return result;
}

TFaceLight MeasureFaceLight(const TCheckImage& Image, const TFaceRegions& Face)
{
    TFaceLight result;
    if (Image.Lab().empty())
        return result;
    const cv::Mat1b mask = faceMask(Image, Face);

    std::array<int, 101> histogram{};
    int burnt = 0;
    int count = 0;
    for (int y = 0; y < mask.rows; ++y) {
        const std::uint8_t* inside = mask.ptr<std::uint8_t>(y);
        const cv::Vec3f* lab = Image.Lab().ptr<cv::Vec3f>(y);
        for (int x = 0; x < mask.cols; ++x) {
            if (!inside[x])
                continue;
            const float l = lab[x][0];
            ++histogram[static_cast<std::size_t>(std::clamp(static_cast<int>(l), 0, 100))];
            burnt += l >= kBurntLightness;
            ++count;
        }
    }
    if (count == 0)
        return result;
    const int median = medianOf(histogram, count);
    result.Lightness = median;
    result.BurntShare = static_cast<double>(burnt) / count;
    // The two cheeks, below each eye along the face's own down: bare skin on
    // every face, where hair, a fringe or a beard on one side does not weigh in.
    const cv::Point2f right = Image.ToWork(Face.RightEye);
    const cv::Point2f left = Image.ToWork(Face.LeftEye);
    const cv::Point2f across = left - right;
    const double d = std::max(1.0, std::hypot(double(across.x), double(across.y)));
    const cv::Point2f down(static_cast<float>(-across.y / d), static_cast<float>(across.x / d));
    double cheek[2] = {0, 0};
    int side = 0;
    for (const cv::Point2f& eye : {right, left}) {
        const cv::Point2f c = eye + down * static_cast<float>(0.62 * d);
        const cv::Rect patch = workRect(Image, c.x - 0.17 * d, c.y - 0.17 * d, c.x + 0.17 * d, c.y + 0.17 * d);
        std::array<int, 101> cheekHistogram{};
        int cheekCount = 0;
        for (int y = patch.y; y < patch.br().y; ++y) {
            const cv::Vec3f* lab = Image.Lab().ptr<cv::Vec3f>(y);
            for (int x = patch.x; x < patch.br().x; ++x) {
                ++cheekHistogram[static_cast<std::size_t>(std::clamp(static_cast<int>(lab[x][0]), 0, 100))];
                ++cheekCount;
            }
        }
        cheek[side++] = cheekCount > 0 ? medianOf(cheekHistogram, cheekCount) : median;
    }
    result.HalvesApart = std::abs(cheek[0] - cheek[1]);

    double a = 0;
    double b = 0;
    int skin = 0;
    for (int y = 0; y < mask.rows; ++y) {
        const std::uint8_t* inside = mask.ptr<std::uint8_t>(y);
        const cv::Vec3f* lab = Image.Lab().ptr<cv::Vec3f>(y);
        for (int x = 0; x < mask.cols; ++x)
            if (inside[x] && std::abs(lab[x][0] - static_cast<float>(median)) <= kSkinBand) {
                a += lab[x][1];
                b += lab[x][2];
                ++skin;
            }
    }
    if (skin > 0) {
        a /= skin;
        b /= skin;
        result.SkinChroma = std::hypot(a, b);
        result.SkinHue = std::atan2(b, a) * 180 / std::numbers::pi;
    }
    return result;
}

double MeasureSharpness(const TCheckImage& Image)
{
    const cv::Mat1f& detail = Image.FaceDetail();
    if (detail.rows < 8 || detail.cols < 8)
        return 0;
    cv::Mat1f laplacian;
    cv::Laplacian(detail, laplacian, CV_32F, 3);
    cv::Scalar mean;
    cv::Scalar lapSpread;
    cv::meanStdDev(laplacian, mean, lapSpread);
    cv::Scalar spread;
    cv::meanStdDev(detail, mean, spread);
    return lapSpread[0] / std::max(spread[0], 0.02);
}

TGlassesMeasure MeasureGlasses(const TCheckImage& Image, const TFaceRegions& Face)
{
    TGlassesMeasure result;
    if (Image.Lab().empty())
        return result;
    const cv::Point2f right = Image.ToWork(Face.RightEye);
    const cv::Point2f left = Image.ToWork(Face.LeftEye);
    const double d = std::hypot(left.x - right.x, left.y - right.y);
    const cv::Point2f middle = (right + left) * 0.5f;
    // The bridge: narrow enough to leave the eyebrows' inner ends out.
    const cv::Rect bridge = workRect(Image, middle.x - 0.12 * d, middle.y - 0.35 * d, middle.x + 0.12 * d,
                                     middle.y + 0.1 * d);
    if (bridge.height >= 5 && bridge.width >= 2) {
        cv::Mat1f rows;
        cv::Mat1f lightness;
        cv::extractChannel(Image.Lab()(bridge), lightness, 0);
        cv::reduce(lightness, rows, 1, cv::REDUCE_AVG);
        for (int y = 2; y < rows.rows - 2; ++y)
            result.BridgeEdge = std::max(result.BridgeEdge, std::abs(rows(y + 2) - rows(y - 2)) / 2.0);
    }
    int shining = 0;
    int all = 0;
    for (const cv::Point2f& eye : {right, left}) {
        const cv::Rect patch = workRect(Image, eye.x - 0.25 * d, eye.y - 0.15 * d, eye.x + 0.25 * d, eye.y + 0.15 * d);
        for (int y = patch.y; y < patch.br().y; ++y) {
            const cv::Vec3f* lab = Image.Lab().ptr<cv::Vec3f>(y);
            for (int x = patch.x; x < patch.br().x; ++x) {
                shining += lab[x][0] >= kBurntLightness;
                ++all;
            }
        }
    }
    if (all > 0)
        result.GlareShare = static_cast<double>(shining) / all;
    return result;
}
