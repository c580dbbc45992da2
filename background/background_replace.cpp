#include "background_replace.h"

#include "guided_filter.h"

#include "bitmap32.h"
#include "frame.h"
#include "person_mask.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// The work below the final pass runs on a copy of the cell at half its size:
// the mask is several cell pixels per mask pixel, and the guided filter's
// coefficients are smooth by construction.
constexpr int kWorkScale = 2;
// The band reaches this many mask pixels either side of the silhouette, and
// never fewer than kMinBandWork work pixels.
constexpr double kBandMaskPixels = 1.5;
constexpr int kMinBandWork = 3;
// The silhouette: where the mask finds the person more likely than not.
constexpr float kPerson = 0.5f;
// The guided filter's regularisation, in squared colour units (0 to 1).
constexpr float kEpsilon = 1e-3f;
// Filtered opacities below kAlphaFloor are background, above kAlphaCeiling
// the person; between, they are stretched to 0 to 1.
constexpr float kAlphaFloor = 0.08f;
constexpr float kAlphaCeiling = 0.92f;

// A band pixel whose colour the old background seen nearby (within
// kSampleReach band reaches, on kSamplesAcross samples across) explains
// better than the person's does is at most as opaque as it lies between
// the two: the flag's field beside a dark cap, which the filter's linear fit
// takes for the cap. Better means: the background's colour nearer than
// kBackMatch (Lab units) and than kBackRatio times the person's, whose
// lightness counts kShadeWeight times; colours closer than kMinSeparation
// (units of 0 to 1) tell nothing.
constexpr int kSampleReach = 4;
constexpr int kSamplesAcross = 10;
constexpr float kBackMatch = 6.f;
constexpr float kBackRatio = 0.5f;
constexpr float kShadeWeight = 0.25f;
constexpr float kMinSeparation = 0.06f;
// Outwards from the person the band's opacity may rise by this much from a
// neighbour at least kInwards work pixels nearer the person.
constexpr float kRiseAllowed = 0.05f;
constexpr float kInwards = 0.5f;

enum : std::uint8_t { kOutside = 0, kBand = 1, kInside = 2 };

// Where each full-size pixel samples the work copy: two neighbours and the
// weight of the second, along one axis.
struct TTaps {
    std::vector<int> Index;
    std::vector<int> Next;
    std::vector<float> Weight;
    std::vector<int> Nearest;
};

TTaps tapsFor(int full, int work)
{
    TTaps t;
    t.Index.resize(static_cast<std::size_t>(full));
    t.Next.resize(static_cast<std::size_t>(full));
    t.Weight.resize(static_cast<std::size_t>(full));
    t.Nearest.resize(static_cast<std::size_t>(full));
    const double scale = static_cast<double>(work) / full;
    for (int x = 0; x < full; ++x) {
        const double u = std::clamp((x + 0.5) * scale - 0.5, 0.0, work - 1.0);
        const int i = static_cast<int>(u);
        const auto k = static_cast<std::size_t>(x);
        t.Index[k] = i;
        t.Next[k] = std::min(i + 1, work - 1);
        t.Weight[k] = static_cast<float>(u - i);
        t.Nearest[k] = std::min(static_cast<int>((x + 0.5) * scale), work - 1);
    }
    return t;
}

// Samples a CV_32F map of Channels channels between four work pixels.
template <int Channels>
void sample(const cv::Mat& map, int y0, int y1, float wy, int x0, int x1, float wx, float* out)
{
    const float* a = map.ptr<float>(y0) + x0 * Channels;
    const float* b = map.ptr<float>(y0) + x1 * Channels;
    const float* c = map.ptr<float>(y1) + x0 * Channels;
    const float* d = map.ptr<float>(y1) + x1 * Channels;
    for (int k = 0; k < Channels; ++k) {
        const float top = a[k] + (b[k] - a[k]) * wx;
        const float bottom = c[k] + (d[k] - c[k]) * wx;
        out[k] = top + (bottom - top) * wy;
    }
}

// The band's fit on the work pixels of Area: the guided filter's
// coefficients (opacity = A · colour + B), the old background seen nearby
// and the most opacity a pixel may have (in the filter's units).
struct TBandFit {
    cv::Rect Area;
    cv::Mat A, B, OldBack, Most;
};

// Where a full-size pixel of the band samples the fit: two rows and two
// columns of Area and the weights of the second ones.
struct TSpot {
    int Y0, Y1;
    float Wy;
    int X0, X1;
    float Wx;
};

// A cell, frame and mask the stages below can work with.
bool usable(const TBitmap32& cell, const TFrame& frame, const TPersonMaskMap& mask)
{
    constexpr int side = TPersonMaskMap::kSide;
    return cell.Width() > 0 && cell.Height() > 0 && mask.Probability.size() == static_cast<std::size_t>(side) * side &&
           frame.Width > 0 && frame.Height > 0 && mask.Region.width() > 0 && mask.Region.height() > 0 &&
           std::isfinite(frame.X + frame.Y + frame.Width + frame.Height + mask.Region.x() + mask.Region.y() +
                         mask.Region.width() + mask.Region.height());
}

// The whole photo's mask, checked on its own: without it the face's mask
// continues past its region.
bool usableBeyond(const TPersonMaskMap& beyond)
{
    constexpr int side = TPersonMaskMap::kSide;
    return beyond.Probability.size() == static_cast<std::size_t>(side) * side && beyond.Region.width() > 0 &&
           beyond.Region.height() > 0 &&
           std::isfinite(beyond.Region.x() + beyond.Region.y() + beyond.Region.width() + beyond.Region.height());
}

// The cell at work size, BGR from 0 to 1: the guided filter's guide.
void workGuide(TBitmap32& cell, cv::Size work, cv::Mat& guide)
{
    thread_local cv::Mat small;
    const cv::Mat pixels(cell.Height(), cell.Width(), CV_8UC4, cell.Bits());
    cv::resize(pixels, small, work, 0, 0, cv::INTER_AREA);
    cv::cvtColor(small, small, cv::COLOR_BGRA2BGR);
    small.convertTo(guide, CV_32FC3, 1.0 / 255);
}

// From the work pixels' centres to the pixels of a mask over Region: work
// pixel -> cell -> photo -> mask.
cv::Matx23d workToMask(const TFrame& frame, cv::Size cell, cv::Size work, const QRectF& region)
{
    constexpr int side = TPersonMaskMap::kSide;
    const double cellX = static_cast<double>(cell.width) / work.width;
    const double cellY = static_cast<double>(cell.height) / work.height;
    const double photoX = frame.Width / cell.width, photoY = frame.Height / cell.height;
    const double maskX = side / region.width(), maskY = side / region.height();
    return cv::Matx23d(cellX * photoX * maskX, 0, (frame.X + 0.5 * cellX * photoX - region.x()) * maskX - 0.5, 0,
                       cellY * photoY * maskY, (frame.Y + 0.5 * cellY * photoY - region.y()) * maskY - 0.5);
}

// The person's probability at the work pixels' centres; past the mask's
// region its edge rows and columns continue.
void carryMask(const TPersonMaskMap& mask, const cv::Matx23d& toMask, cv::Size work, cv::Mat& person)
{
    constexpr int side = TPersonMaskMap::kSide;
    const cv::Mat map(side, side, CV_32FC1, const_cast<float*>(mask.Probability.data()));
    cv::warpAffine(map, person, toMask, work, cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_REPLICATE);
}

// Past the face's region (toMask) the whole photo's mask says where the
// person is.
void takeOverBeyond(const TPersonMaskMap& beyond, const cv::Matx23d& toBeyond, const cv::Matx23d& toMask,
                    cv::Mat& person)
{
    constexpr int side = TPersonMaskMap::kSide;
    thread_local cv::Mat outer;
    const cv::Mat whole(side, side, CV_32FC1, const_cast<float*>(beyond.Probability.data()));
    cv::warpAffine(whole, outer, toBeyond, person.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
    const auto inside = [](double at) { return at >= -0.5 && at <= side - 0.5; };
    for (int y = 0; y < person.rows; ++y) {
        const bool row = inside(toMask(1, 1) * y + toMask(1, 2));
        float* p = person.ptr<float>(y);
        const float* o = outer.ptr<float>(y);
        for (int x = 0; x < person.cols; ++x)
            if (!row || !inside(toMask(0, 0) * x + toMask(0, 2)))
                p[x] = o[x];
    }
}

// How far the band reaches either side of the silhouette, in work pixels: no
// wider than a quarter of the cell, which a frame of a few photo pixels would
// ask for.
int bandReach(const cv::Matx23d& toMask, cv::Size work)
{
    const int widest = std::max(kMinBandWork, std::min(work.width, work.height) / 4);
    return static_cast<int>(std::clamp(std::ceil(kBandMaskPixels / std::min(toMask(0, 0), toMask(1, 1))),
                                       double(kMinBandWork), double(widest)));
}

// Each work pixel's place: in the band within reach of the silhouette on
// either side, else inside (the person) or outside (the background).
void markBand(const cv::Mat& silhouette, int reach, cv::Mat& state)
{
    thread_local cv::Mat maybe, sure;
    const cv::Mat round = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * reach + 1, 2 * reach + 1));
    cv::dilate(silhouette, maybe, round);
    cv::erode(silhouette, sure, round, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::Scalar(255));
    state.create(silhouette.rows, silhouette.cols, CV_8UC1);
    state.setTo(kOutside);
    state.setTo(kBand, maybe);
    state.setTo(kInside, sure);
}

// Without a band the cell is the person or the background throughout.
void fillOutside(TBitmap32& cell, const cv::Mat& state, const TTaps& across, const TTaps& down, TColor32 colour)
{
    const int width = cell.Width(), height = cell.Height();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = state.ptr<std::uint8_t>(down.Nearest[static_cast<std::size_t>(y)]);
        TColor32* p = cell.ScanLine(y);
        for (int x = 0; x < width; ++x)
            if (s[across.Nearest[static_cast<std::size_t>(x)]] == kOutside)
                p[x] = colour;
    }
}

// Around the band, far enough for the filter's windows and the search for
// the old background.
cv::Rect aroundBand(const cv::Rect& band, int reach, cv::Size work)
{
    return (band + cv::Size(6 * reach, 6 * reach) - cv::Point(3 * reach, 3 * reach)) &
           cv::Rect(0, 0, work.width, work.height);
}

// The filter moves the hard silhouette onto the cell's own edges within half
// the band's reach, so that its outer edge is background already; what the
// old background's colours explain is background to it from the start.
void refineSilhouette(const cv::Mat& guide, const cv::Mat& silhouette, int reach, TBandFit& fit)
{
    thread_local cv::Mat hard;
    silhouette(fit.Area).convertTo(hard, CV_32F, 1.0 / 255);
    cv::min(hard, fit.Most, hard);
    GuidedFilterCoefficients(guide(fit.Area), hard, std::max(2, (reach + 1) / 2), kEpsilon, fit.A, fit.B);
}

// The old background near each band pixel: the mean of the surely
// background pixels within twice the band's reach; the whole cell's where
// none is that near.
void estimateOldBackground(const cv::Mat& guide, const cv::Mat& state, int reach, TBandFit& fit)
{
    thread_local cv::Mat weight, weighted, weightMean;
    const cv::Rect& area = fit.Area;
    const cv::Scalar overall = cv::countNonZero(state == kOutside) > 0 ? cv::mean(guide, state == kOutside)
                                                                      : cv::Scalar(1, 1, 1);
    weight.create(area.size(), CV_32FC1);
    weighted.create(area.size(), CV_32FC3);
    for (int y = 0; y < area.height; ++y) {
        const std::uint8_t* s = state.ptr<std::uint8_t>(area.y + y) + area.x;
        const float* g = guide.ptr<float>(area.y + y) + 3 * area.x;
        float* w = weight.ptr<float>(y);
        float* o = weighted.ptr<float>(y);
        for (int x = 0; x < area.width; ++x, g += 3, o += 3) {
            w[x] = s[x] == kOutside ? 1.f : 0.f;
            o[0] = g[0] * w[x], o[1] = g[1] * w[x], o[2] = g[2] * w[x];
        }
    }
    const cv::Size window(4 * reach + 1, 4 * reach + 1);
    cv::boxFilter(weighted, fit.OldBack, CV_32F, window, cv::Point(-1, -1), true, cv::BORDER_REPLICATE);
    cv::boxFilter(weight, weightMean, CV_32F, window, cv::Point(-1, -1), true, cv::BORDER_REPLICATE);
    for (int y = 0; y < fit.OldBack.rows; ++y) {
        float* o = fit.OldBack.ptr<float>(y);
        const float* w = weightMean.ptr<float>(y);
        for (int x = 0; x < fit.OldBack.cols; ++x, o += 3) {
            if (w[x] > 1e-3f) {
                o[0] /= w[x], o[1] /= w[x], o[2] /= w[x];
            } else {
                o[0] = static_cast<float>(overall[0]), o[1] = static_cast<float>(overall[1]),
                o[2] = static_cast<float>(overall[2]);
            }
        }
    }
}

// The most opacity each band pixel's colour allows: where the old
// background's colour nearest to it explains it better than the person's
// nearest (both seen beyond the band nearby), its place on the line from
// the one to the other; 1 elsewhere. The person's colours are compared with
// their lightness discounted: they come in every shade of its light, where
// the background beside the edge lies in the edge's own.
void sampleOpacity(const cv::Mat& guide, const cv::Mat& state, int reach, TBandFit& fit)
{
    const cv::Rect& area = fit.Area;
    const int window = kSampleReach * reach;
    const int stride = std::max(1, 2 * window / kSamplesAcross);
    // The samples: every stride-th pixel of the whole copy, so that
    // neighbours compare with the same ones, gathered into a small grid.
    const cv::Size grid((guide.cols + stride - 1) / stride, (guide.rows + stride - 1) / stride);
    thread_local cv::Mat gridGuide, gridLab, gridState, lab;
    gridGuide.create(grid, CV_32FC3);
    gridState.create(grid, CV_8UC1);
    for (int v = 0; v < grid.height; ++v) {
        const cv::Vec3f* g = guide.ptr<cv::Vec3f>(v * stride);
        const std::uint8_t* s = state.ptr<std::uint8_t>(v * stride);
        cv::Vec3f* gg = gridGuide.ptr<cv::Vec3f>(v);
        std::uint8_t* gs = gridState.ptr<std::uint8_t>(v);
        for (int u = 0; u < grid.width; ++u)
            gg[u] = g[u * stride], gs[u] = s[u * stride];
    }
    cv::cvtColor(gridGuide, gridLab, cv::COLOR_BGR2Lab);
    cv::cvtColor(guide(area), lab, cv::COLOR_BGR2Lab);
    fit.Most.create(area.size(), CV_32FC1);
    fit.Most.setTo(1.f);
    const int cells = window / stride;
    for (int y = 0; y < area.height; ++y) {
        const std::uint8_t* s = state.ptr<std::uint8_t>(area.y + y) + area.x;
        const cv::Vec3f* l = lab.ptr<cv::Vec3f>(y);
        float* most = fit.Most.ptr<float>(y);
        const int gy = (area.y + y) / stride;
        const int v0 = std::max(0, gy - cells), v1 = std::min(grid.height - 1, gy + cells);
        for (int x = 0; x < area.width; ++x) {
            if (s[x] != kBand)
                continue;
            const cv::Vec3f c = l[x];
            float nearFront = 1e9f, nearBack = 1e9f;
            cv::Point front, back;
            const int gx = (area.x + x) / stride;
            const int u0 = std::max(0, gx - cells), u1 = std::min(grid.width - 1, gx + cells);
            for (int v = v0; v <= v1; ++v) {
                const std::uint8_t* sv = gridState.ptr<std::uint8_t>(v);
                const cv::Vec3f* lv = gridLab.ptr<cv::Vec3f>(v);
                for (int u = u0; u <= u1; ++u) {
                    if (sv[u] == kBand)
                        continue;
                    const cv::Vec3f d = lv[u] - c;
                    if (sv[u] == kInside) {
                        const float distance = kShadeWeight * kShadeWeight * d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
                        if (distance < nearFront)
                            nearFront = distance, front = {u, v};
                    } else if (const float distance = d.dot(d); distance < nearBack) {
                        nearBack = distance, back = {u, v};
                    }
                }
            }
            if (nearFront >= 1e9f || nearBack > kBackMatch * kBackMatch || nearBack > kBackRatio * kBackRatio * nearFront)
                continue;
            // The opacity between the two, in the guide's own colours.
            const cv::Vec3f f = gridGuide.at<cv::Vec3f>(front), k = gridGuide.at<cv::Vec3f>(back);
            const cv::Vec3f span = f - k;
            const float separation = span.dot(span);
            if (separation >= kMinSeparation * kMinSeparation)
                most[x] = std::clamp((guide.at<cv::Vec3f>(area.y + y, area.x + x) - k).dot(span) / separation, 0.f, 1.f);
        }
    }
}

// The band's opacity falls off outwards from the person: at a work pixel it
// is at most that of its most opaque neighbour nearer the person (plus
// kRiseAllowed). A thin layer that is opaque again beyond a clear one (a
// cord's dark edge beyond the flag's field taken away beside a cap) is not
// the person; a strand of hair is opaque all the way along. Lowers Most
// where it holds less.
void fallOutwards(const cv::Mat& guide, const cv::Mat& state, TBandFit& fit)
{
    const cv::Rect& area = fit.Area;
    thread_local cv::Mat fromInside, alpha;
    thread_local std::vector<int> order, start;
    cv::distanceTransform(state(area) != kInside, fromInside, cv::DIST_L2, cv::DIST_MASK_3);
    alpha.create(area.size(), CV_32FC1);
    // The band's pixels by their distance from the person, in steps of
    // kInwards: a counting sort.
    const auto step = [](float distance) { return static_cast<int>(distance / kInwards); };
    start.assign(1, 0);
    for (int y = 0; y < area.height; ++y) {
        const std::uint8_t* s = state.ptr<std::uint8_t>(area.y + y) + area.x;
        const cv::Vec3f* g = guide.ptr<cv::Vec3f>(area.y + y) + area.x;
        const cv::Vec3f* k = fit.A.ptr<cv::Vec3f>(y);
        const float* b = fit.B.ptr<float>(y);
        const float* most = fit.Most.ptr<float>(y);
        const float* d = fromInside.ptr<float>(y);
        float* a = alpha.ptr<float>(y);
        for (int x = 0; x < area.width; ++x) {
            if (s[x] != kBand) {
                a[x] = s[x] == kInside ? 1.f : 0.f;
                continue;
            }
            const float filtered = std::min(k[x].dot(g[x]) + b[x], most[x]);
            a[x] = std::clamp((filtered - kAlphaFloor) / (kAlphaCeiling - kAlphaFloor), 0.f, 1.f);
            const auto bucket = static_cast<std::size_t>(step(d[x])) + 1;
            if (start.size() <= bucket)
                start.resize(bucket + 1, 0);
            ++start[bucket];
        }
    }
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    order.resize(static_cast<std::size_t>(start.back()));
    for (int y = 0; y < area.height; ++y) {
        const std::uint8_t* s = state.ptr<std::uint8_t>(area.y + y) + area.x;
        const float* d = fromInside.ptr<float>(y);
        for (int x = 0; x < area.width; ++x)
            if (s[x] == kBand)
                order[static_cast<std::size_t>(start[static_cast<std::size_t>(step(d[x]))]++)] = y * area.width + x;
    }
    for (const int at : order) {
        const int y = at / area.width, x = at % area.width;
        const float distance = fromInside.at<float>(y, x);
        float allowed = 0;
        for (int v = std::max(0, y - 1); v <= std::min(area.height - 1, y + 1); ++v)
            for (int u = std::max(0, x - 1); u <= std::min(area.width - 1, x + 1); ++u)
                if (fromInside.at<float>(v, u) <= distance - kInwards)
                    allowed = std::max(allowed, alpha.at<float>(v, u));
        float& a = alpha.at<float>(y, x);
        if (a > allowed + kRiseAllowed) {
            a = allowed + kRiseAllowed;
            fit.Most.at<float>(y, x) = kAlphaFloor + a * (kAlphaCeiling - kAlphaFloor);
        }
    }
}

// One pixel of the band: the filter's opacity from its colour, within the
// most the band allows there; where it is partly the person, the person's
// own colour over the new one.
TColor32 blendInBand(TColor32 c, const TBandFit& fit, const TSpot& at, const float (&colourUnits)[3],
                     TColor32 colour)
{
    float coefficients[3], offset, back[3];
    sample<3>(fit.A, at.Y0, at.Y1, at.Wy, at.X0, at.X1, at.Wx, coefficients);
    sample<1>(fit.B, at.Y0, at.Y1, at.Wy, at.X0, at.X1, at.Wx, &offset);
    const float seen[3] = {BlueComponent(c) / 255.f, GreenComponent(c) / 255.f, RedComponent(c) / 255.f};
    float most;
    sample<1>(fit.Most, at.Y0, at.Y1, at.Wy, at.X0, at.X1, at.Wx, &most);
    const float filtered =
        std::min(coefficients[0] * seen[0] + coefficients[1] * seen[1] + coefficients[2] * seen[2] + offset, most);
    const float alpha = std::clamp((filtered - kAlphaFloor) / (kAlphaCeiling - kAlphaFloor), 0.f, 1.f);
    if (alpha >= 1.f)
        return c;
    if (alpha <= 0.f)
        return colour;
    sample<3>(fit.OldBack, at.Y0, at.Y1, at.Wy, at.X0, at.X1, at.Wx, back);
    int out[3];
    for (int k = 0; k < 3; ++k) {
        // The person's own colour: the pixel with its share of old background taken out.
        const float front = std::clamp((seen[k] - (1 - alpha) * back[k]) / alpha, 0.f, 1.f);
        out[k] = static_cast<int>((alpha * front + (1 - alpha) * colourUnits[k]) * 255.f + 0.5f);
    }
    return Color32(out[2], out[1], out[0]);
}

// The final pass at full size: inside stays exactly as it was, outside
// becomes exactly the new colour, the band is blended.
void compose(TBitmap32& cell, const cv::Mat& state, const TTaps& across, const TTaps& down, const TBandFit& fit,
             TColor32 colour)
{
    const cv::Rect& area = fit.Area;
    const float colourUnits[3] = {BlueComponent(colour) / 255.f, GreenComponent(colour) / 255.f,
                                  RedComponent(colour) / 255.f};
    const int width = cell.Width(), height = cell.Height();
    TSpot at{};
    for (int y = 0; y < height; ++y) {
        const auto ky = static_cast<std::size_t>(y);
        const std::uint8_t* s = state.ptr<std::uint8_t>(down.Nearest[ky]);
        at.Y0 = std::clamp(down.Index[ky] - area.y, 0, area.height - 1);
        at.Y1 = std::clamp(down.Next[ky] - area.y, 0, area.height - 1);
        at.Wy = down.Weight[ky];
        TColor32* p = cell.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const auto kx = static_cast<std::size_t>(x);
            const std::uint8_t where = s[across.Nearest[kx]];
            if (where == kInside)
                continue;
            if (where == kOutside) {
                p[x] = colour;
                continue;
            }
            at.X0 = std::clamp(across.Index[kx] - area.x, 0, area.width - 1);
            at.X1 = std::clamp(across.Next[kx] - area.x, 0, area.width - 1);
            at.Wx = across.Weight[kx];
            p[x] = blendInBand(p[x], fit, at, colourUnits, colour);
        }
    }
}

}  // namespace

void ReplaceBackground(TBitmap32& Cell, const TFrame& Frame, const TPersonMaskMap& Mask, TColor32 Colour,
                       const TPersonMaskMap* Beyond)
{
    if (!usable(Cell, Frame, Mask))
        return;
    const cv::Size size(Cell.Width(), Cell.Height());
    const cv::Size work((size.width + kWorkScale - 1) / kWorkScale, (size.height + kWorkScale - 1) / kWorkScale);
    // Kept between calls, as the filter's own buffers are.
    thread_local cv::Mat guide, person, state;
    thread_local TBandFit fit;
    workGuide(Cell, work, guide);

    const cv::Matx23d toMask = workToMask(Frame, size, work, Mask.Region);
    carryMask(Mask, toMask, work, person);
    if (Beyond && usableBeyond(*Beyond))
        takeOverBeyond(*Beyond, workToMask(Frame, size, work, Beyond->Region), toMask, person);

    const int reach = bandReach(toMask, work);
    const cv::Mat silhouette = person >= kPerson;
    markBand(silhouette, reach, state);
    const TTaps across = tapsFor(size.width, work.width), down = tapsFor(size.height, work.height);
    const cv::Rect band = cv::boundingRect(state == kBand);
    if (band.empty()) {
        fillOutside(Cell, state, across, down, Colour);
        return;
    }

    fit.Area = aroundBand(band, reach, work);
    sampleOpacity(guide, state, reach, fit);
    refineSilhouette(guide, silhouette, reach, fit);
    fallOutwards(guide, state, fit);
    estimateOldBackground(guide, state, reach, fit);
    compose(Cell, state, across, down, fit, Colour);
}
