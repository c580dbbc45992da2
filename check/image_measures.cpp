#include "image_measures.h"

#include "check_image.h"
#include "check_limits.h"

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
// Skin or whites brighter than this may have a channel at its top, which
// hides a colour cast.
constexpr float kWhiteUnclipped = 90;
// Compression: steps between neighbours are capped at this many grey levels.
constexpr float kStepCap = 24;
// Glasses: the arcs below each eye, in eye distances from its centre, at
// kRingAngles angles from kRingFrom (below the outer corner) to kRingTo
// (below the eye's inner half), 0 being the outer side; a step of kFrameEdge
// L* over twice kRingStep eye distances is a frame's edge. Below bare eyes
// the steps measure 4 to 12 on the sample portraits, across a metal rim 20
// to 45.
constexpr double kRingInner = 0.3;
constexpr double kRingOuter = 0.6;
constexpr double kRingStep = 0.03;
constexpr int kRingAngles = 8;
constexpr double kRingFrom = 45;
constexpr double kRingTo = 100;
constexpr double kFrameEdge = 13;
// The whites of the eyes and the gaze need this many pixels of the openings;
// a white is this many L* brighter than the face's median.
constexpr int kMinWhitePixels = 6;
constexpr double kWhiteShare = 0.03;
constexpr float kWhiteAboveSkin = 5;
constexpr std::size_t kMinEyePixels = 12;

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

// The L* below which Share of the image's pixels lie.
double percentileOf(const cv::Mat3f& lab, double share)
{
    std::array<int, 101> histogram{};
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3f* row = lab.ptr<cv::Vec3f>(y);
        for (int x = 0; x < lab.cols; ++x)
            ++histogram[static_cast<std::size_t>(std::clamp(static_cast<int>(row[x][0]), 0, 100))];
    }
    const double wanted = share * lab.total();
    double seen = 0;
    for (int l = 0; l <= 100; ++l)
        if ((seen += histogram[static_cast<std::size_t>(l)]) >= wanted)
            return l;
    return 100;
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
    double sumA = 0, sumB = 0;
    for (int y = area.y; y < area.br().y; ++y) {
        const cv::Vec3f* lab = Image.Lab().ptr<cv::Vec3f>(y);
        const std::uint8_t* taken = person.ptr<std::uint8_t>(y);
        for (int x = area.x; x < area.br().x; ++x)
            if (!taken[x]) {
                fit.Add(x - area.x, y - area.y, lab[x][0]);
                sumA += lab[x][1];
                sumB += lab[x][2];
            }
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
    result.A = sumA / n;
    result.B = sumB / n;
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
    result.Highlights = percentileOf(Image.Lab(), 0.99);
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
            if (inside[x] && std::abs(lab[x][0] - static_cast<float>(median)) <= kSkinBand
                && lab[x][0] <= kWhiteUnclipped) {
                a += lab[x][1];
                b += lab[x][2];
                ++skin;
            }
    }
    // Skin whose channels reached their top has lost its hue: a burnt face
    // tells nothing of the light's colour.
    result.SkinSeen = skin >= count / 5;
    if (skin > 0) {
        a /= skin;
        b /= skin;
        result.SkinChroma = std::hypot(a, b);
        result.SkinHue = std::atan2(b, a) * 180 / std::numbers::pi;
    }
    return result;
}

std::optional<double> MeasureSharpness(const TCheckImage& Image)
{
    const cv::Mat1f& detail = Image.FaceDetail();
    if (detail.rows < 8 || detail.cols < 8)
        return std::nullopt;
    cv::Mat1f laplacian;
    cv::Laplacian(detail, laplacian, CV_32F, 3);
    cv::Scalar mean;
    cv::Scalar lapSpread;
    cv::meanStdDev(laplacian, mean, lapSpread);
    cv::Scalar spread;
    cv::meanStdDev(detail, mean, spread);
    return lapSpread[0] / std::max(spread[0], 0.02);
}

std::optional<double> MeasureCompression(const TCheckImage& Image)
{
    const cv::Mat1f& grey = Image.NativeFace();
    if (grey.rows < 16 || grey.cols < 16)
        return std::nullopt;
    // The mean step between neighbours by the column (row) they lie between,
    // modulo 8; strong edges are capped so that a lash or a lid does not
    // outweigh the many small steps a block edge makes on smooth skin.
    std::array<double, 8> across{}, down{};
    std::array<int, 8> acrossCount{}, downCount{};
    for (int y = 0; y + 1 < grey.rows; ++y) {
        const float* row = grey.ptr<float>(y);
        const float* next = grey.ptr<float>(y + 1);
        for (int x = 0; x + 1 < grey.cols; ++x) {
            across[static_cast<std::size_t>(x % 8)] += std::min(std::abs(row[x + 1] - row[x]), kStepCap);
            ++acrossCount[static_cast<std::size_t>(x % 8)];
            down[static_cast<std::size_t>(y % 8)] += std::min(std::abs(next[x] - row[x]), kStepCap);
            ++downCount[static_cast<std::size_t>(y % 8)];
        }
    }
    // The grid's phase is the one whose steps stand out most from the rest.
    const auto standOut = [](const std::array<double, 8>& sum, const std::array<int, 8>& count) {
        double best = 0;
        for (std::size_t p = 0; p < 8; ++p) {
            double others = 0;
            int n = 0;
            for (std::size_t q = 0; q < 8; ++q)
                if (q != p) {
                    others += sum[q];
                    n += count[q];
                }
            const double here = sum[p] / std::max(count[p], 1);
            best = std::max(best, here / std::max(others / std::max(n, 1), 0.05));
        }
        return best;
    };
    return (standOut(across, acrossCount) + standOut(down, downCount)) / 2;
}

TGlassesMeasure MeasureGlasses(const TCheckImage& Image, const TFaceRegions& Face)
{
    TGlassesMeasure result;
    const cv::Point2f right = Image.ToWork(Face.RightEye);
    const cv::Point2f left = Image.ToWork(Face.LeftEye);
    const double d = std::hypot(left.x - right.x, left.y - right.y);
    if (Image.Lab().empty() || Image.EyePixels() < CheckLimit::kDetailJudgedEyePixels || d < 8) {
        result.Judged = false;
        return result;
    }
    cv::Mat1f lightness;
    cv::extractChannel(Image.Lab(), lightness, 0);
    const cv::Point2f across = (left - right) * static_cast<float>(1 / d);
    const cv::Point2f down(-across.y, across.x);
    const auto at = [&](cv::Point2f p) {
        const int x = std::clamp(static_cast<int>(std::lround(p.x)), 0, lightness.cols - 1);
        const int y = std::clamp(static_cast<int>(std::lround(p.y)), 0, lightness.rows - 1);
        return lightness(y, x);
    };
    // The strongest step of lightness along a line, a few pixels either side.
    const auto strongestStep = [&](cv::Point2f from, cv::Point2f direction, double start, double end) {
        const double gap = kRingStep * d;
        double strongest = 0;
        for (double r = start; r <= end; r += 0.02 * d)
            strongest = std::max(strongest, static_cast<double>(std::abs(at(from + direction * static_cast<float>(r + gap))
                                                                         - at(from + direction * static_cast<float>(r - gap)))));
        return strongest;
    };
    int crossed = 0;
    int looked = 0;
    // Below each eye, in the face's own directions, where bare skin is
    // smooth and a rim crosses the cheek; the eye's corners (lashes, make-up)
    // and the eyebrows are left out.
    for (const auto& [eye, outward] : {std::pair{right, -1.0f}, std::pair{left, 1.0f}}) {
        for (int i = 0; i < kRingAngles; ++i) {
            const double angle = (kRingFrom + (kRingTo - kRingFrom) * i / (kRingAngles - 1)) * std::numbers::pi / 180;
            const cv::Point2f direction = across * (outward * static_cast<float>(std::cos(angle)))
                                          + down * static_cast<float>(std::sin(angle));
            crossed += strongestStep(eye, direction, kRingInner * d, kRingOuter * d) >= kFrameEdge;
            ++looked;
        }
    }
    // The bridge: down the nose's top between the eyes, where a frame's
    // bridge crosses it; it counts as much as a quarter of the rings.
    const cv::Point2f middle = (right + left) * 0.5f;
    const bool bridge = strongestStep(middle - down * static_cast<float>(0.4 * d), down, 0, 0.5 * d) >= kFrameEdge;
    result.Frame = (crossed + (bridge ? looked / 4.0 : 0)) / (looked * 1.25);
    return result;
}

namespace {

// An outline on the work grid through landmarks of the mesh.
std::vector<cv::Point> eyeOutline(const TCheckImage& image, const TFaceLandmarks& face, const int* indices, int count)
{
    std::vector<cv::Point> outline;
    for (int i = 0; i < count; ++i) {
        const cv::Point2f p = image.ToWork(face.Points[static_cast<std::size_t>(indices[i])]);
        outline.emplace_back(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    }
    return outline;
}

// The mesh's points round each eye, from the outer corner along the upper
// lid to the inner corner and back along the lower lid.
constexpr int kRightEyeRing[] = {33, 246, 161, 160, 159, 158, 157, 173, 133, 155, 154, 153, 145, 144, 163, 7};
constexpr int kLeftEyeRing[] = {263, 466, 388, 387, 386, 385, 384, 398, 362, 382, 381, 380, 374, 373, 390, 249};

struct TEyePixel {
    cv::Point2f At;
    cv::Vec3f Lab;
};

// The work grid's pixels inside the outline through the given landmarks.
template <std::size_t N>
std::vector<TEyePixel> regionPixels(const TCheckImage& image, const TFaceLandmarks& face, const int (&ring)[N])
{
    std::vector<TEyePixel> pixels;
    if (image.Lab().empty() || !IsCompleteMesh(face))
        return pixels;
    const std::vector<cv::Point> outline = eyeOutline(image, face, ring, static_cast<int>(N));
    const cv::Rect box = cv::boundingRect(outline) & cv::Rect(0, 0, image.Lab().cols, image.Lab().rows);
    if (box.empty())
        return pixels;
    cv::Mat1b mask(box.size(), 0);
    std::vector<cv::Point> shifted;
    for (const cv::Point& p : outline)
        shifted.push_back(p - box.tl());
    cv::fillPoly(mask, std::vector<std::vector<cv::Point>>{shifted}, cv::Scalar(255));
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x)
            if (mask(y, x))
                pixels.push_back({cv::Point2f(static_cast<float>(box.x + x), static_cast<float>(box.y + y)),
                                  image.Lab()(box.y + y, box.x + x)});
    return pixels;
}

}  // namespace

std::optional<double> MeasureNeutralCast(const TCheckImage& Image, const TFaceLandmarks& Landmarks, double SkinLightness)
{
    if (Image.EyePixels() < CheckLimit::kDetailJudgedEyePixels)
        return std::nullopt;
    // The whites (and the lamp's reflection): what in the openings is
    // brighter than the skin; behind the lids of a narrowed eye or in the
    // shade of glasses there is none. The brightest are left out: a channel
    // that reached its top no longer shows a cast.
    double a = 0, b = 0;
    int n = 0;
    std::size_t opening = 0;
    for (const auto* ring : {&kRightEyeRing, &kLeftEyeRing}) {
        const std::vector<TEyePixel> pixels = regionPixels(Image, Landmarks, *ring);
        opening += pixels.size();
        for (const TEyePixel& p : pixels)
            if (p.Lab[0] >= SkinLightness + kWhiteAboveSkin && p.Lab[0] <= kWhiteUnclipped) {
                a += p.Lab[1];
                b += p.Lab[2];
                ++n;
            }
    }
    // A few bright pixels are a glint on glasses, not the whites.
    if (n < kMinWhitePixels || n < kWhiteShare * static_cast<double>(opening))
        return std::nullopt;
    return std::hypot(a / n, b / n);
}

std::optional<TGaze> MeasureGaze(const TCheckImage& Image, const TFaceLandmarks& Landmarks)
{
    if (Image.EyePixels() < CheckLimit::kDetailJudgedEyePixels || !IsCompleteMesh(Landmarks))
        return std::nullopt;
    TGaze gaze;
    int eyes = 0;
    const QPointF acrossFace = Landmarks.LeftEye() - Landmarks.RightEye();
    const double length = std::max(1e-9, std::hypot(acrossFace.x(), acrossFace.y()));
    const cv::Point2f across(static_cast<float>(acrossFace.x() / length), static_cast<float>(acrossFace.y() / length));
    const cv::Point2f down(-across.y, across.x);
    for (const auto* ring : {&kRightEyeRing, &kLeftEyeRing}) {
        const std::vector<TEyePixel> pixels = regionPixels(Image, Landmarks, *ring);
        if (pixels.size() < kMinEyePixels)
            continue;
        // The opening in the face's own directions: its middle and extent.
        double minU = 1e300, maxU = -1e300, minV = 1e300, maxV = -1e300, sumV = 0;
        std::vector<float> lightness;
        for (const TEyePixel& p : pixels) {
            const double u = p.At.dot(across), v = p.At.dot(down);
            minU = std::min(minU, u);
            maxU = std::max(maxU, u);
            minV = std::min(minV, v);
            maxV = std::max(maxV, v);
            sumV += v;
            lightness.push_back(p.Lab[0]);
        }
        std::nth_element(lightness.begin(), lightness.begin() + static_cast<std::ptrdiff_t>(lightness.size() * 4 / 10),
                         lightness.end());
        const float dark = lightness[lightness.size() * 4 / 10];
        // The iris and pupil: the darker part, each pixel weighed by how much darker.
        double weight = 0, u = 0, v = 0;
        for (const TEyePixel& p : pixels) {
            const double w = std::max(0.0f, dark - p.Lab[0]);
            weight += w;
            u += w * p.At.dot(across);
            v += w * p.At.dot(down);
        }
        if (!(weight > 0) || maxU - minU < 4 || maxV - minV < 2)
            continue;
        gaze.Across += (u / weight - (minU + maxU) / 2) / (maxU - minU);
        gaze.Down += (v / weight - sumV / pixels.size()) / (maxV - minV);
        ++eyes;
    }
    if (eyes == 0)
        return std::nullopt;
    gaze.Across /= eyes;
    gaze.Down /= eyes;
    return gaze;
}
