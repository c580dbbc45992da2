#include "background_replace.h"

#include "guided_filter.h"

#include "bitmap32.h"
#include "frame.h"
#include "person_mask.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

}  // namespace

void ReplaceBackground(TBitmap32& Cell, const TFrame& Frame, const TPersonMaskMap& Mask, TColor32 Colour,
                       const TPersonMaskMap* Beyond)
{
    const int width = Cell.Width(), height = Cell.Height();
    constexpr int side = TPersonMaskMap::kSide;
    if (width <= 0 || height <= 0 || Mask.Probability.size() != static_cast<std::size_t>(side) * side ||
        !(Frame.Width > 0) || !(Frame.Height > 0) || !(Mask.Region.width() > 0) || !(Mask.Region.height() > 0) ||
        !std::isfinite(Frame.X + Frame.Y + Frame.Width + Frame.Height + Mask.Region.x() + Mask.Region.y() +
                       Mask.Region.width() + Mask.Region.height()))
        return;

    cv::Mat cell(height, width, CV_8UC4, Cell.Bits());
    const int workWidth = (width + kWorkScale - 1) / kWorkScale;
    const int workHeight = (height + kWorkScale - 1) / kWorkScale;
    // Kept between calls, as the filter's own buffers are.
    thread_local cv::Mat small, guide, person, outer, maybe, sure, state, hard, a, b, weight, weighted, oldBack,
        weightMean;
    cv::resize(cell, small, cv::Size(workWidth, workHeight), 0, 0, cv::INTER_AREA);
    cv::cvtColor(small, small, cv::COLOR_BGRA2BGR);
    small.convertTo(guide, CV_32FC3, 1.0 / 255);

    // The mask carried to the work pixels' centres: work pixel -> cell -> photo -> mask.
    const double cellX = static_cast<double>(width) / workWidth, cellY = static_cast<double>(height) / workHeight;
    const double photoX = Frame.Width / width, photoY = Frame.Height / height;
    const double maskX = side / Mask.Region.width(), maskY = side / Mask.Region.height();
    const double ax = cellX * photoX * maskX, ay = cellY * photoY * maskY;
    const cv::Matx23d toMask(ax, 0, (Frame.X + 0.5 * cellX * photoX - Mask.Region.x()) * maskX - 0.5, 0, ay,
                             (Frame.Y + 0.5 * cellY * photoY - Mask.Region.y()) * maskY - 0.5);
    const cv::Mat map(side, side, CV_32FC1, const_cast<float*>(Mask.Probability.data()));
    cv::warpAffine(map, person, toMask, cv::Size(workWidth, workHeight), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
    if (Beyond && Beyond->Probability.size() == map.total() && Beyond->Region.width() > 0 &&
        Beyond->Region.height() > 0 && std::isfinite(Beyond->Region.x() + Beyond->Region.y() +
                                                     Beyond->Region.width() + Beyond->Region.height())) {
        // Past the face's region the whole photo's mask says where the person is.
        const double bx = side / Beyond->Region.width(), by = side / Beyond->Region.height();
        const cv::Matx23d toBeyond(cellX * photoX * bx, 0,
                                   (Frame.X + 0.5 * cellX * photoX - Beyond->Region.x()) * bx - 0.5, 0,
                                   cellY * photoY * by, (Frame.Y + 0.5 * cellY * photoY - Beyond->Region.y()) * by - 0.5);
        const cv::Mat whole(side, side, CV_32FC1, const_cast<float*>(Beyond->Probability.data()));
        cv::warpAffine(whole, outer, toBeyond, person.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                       cv::BORDER_REPLICATE);
        const auto inside = [](double at) { return at >= -0.5 && at <= side - 0.5; };
        for (int y = 0; y < workHeight; ++y) {
            const bool row = inside(toMask(1, 1) * y + toMask(1, 2));
            float* p = person.ptr<float>(y);
            const float* o = outer.ptr<float>(y);
            for (int x = 0; x < workWidth; ++x)
                if (!row || !inside(toMask(0, 0) * x + toMask(0, 2)))
                    p[x] = o[x];
        }
    }

    // The band: within reach of the silhouette on either side (no wider than
    // a quarter of the cell, which a frame of a few photo pixels would ask for).
    const int widest = std::max(kMinBandWork, std::min(workWidth, workHeight) / 4);
    const int reach = static_cast<int>(
        std::clamp(std::ceil(kBandMaskPixels / std::min(ax, ay)), double(kMinBandWork), double(widest)));
    const cv::Mat square = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * reach + 1, 2 * reach + 1));
    const cv::Mat silhouette = person >= kPerson;
    cv::dilate(silhouette, maybe, square);
    cv::erode(silhouette, sure, square, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::Scalar(255));
    state.create(workHeight, workWidth, CV_8UC1);
    state.setTo(kOutside);
    state.setTo(kBand, maybe);
    state.setTo(kInside, sure);

    const TTaps across = tapsFor(width, workWidth), down = tapsFor(height, workHeight);
    const cv::Rect band = cv::boundingRect(state == kBand);
    if (band.empty()) {
        // Person or background throughout: nothing to refine.
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* s = state.ptr<std::uint8_t>(down.Nearest[static_cast<std::size_t>(y)]);
            TColor32* p = Cell.ScanLine(y);
            for (int x = 0; x < width; ++x)
                if (s[across.Nearest[static_cast<std::size_t>(x)]] == kOutside)
                    p[x] = Colour;
        }
        return;
    }
    // Around the band, far enough for the filter's windows and the search for
    // the old background.
    const cv::Rect area = (band + cv::Size(6 * reach, 6 * reach) - cv::Point(3 * reach, 3 * reach)) &
                          cv::Rect(0, 0, workWidth, workHeight);
    // The filter moves the hard silhouette onto the cell's own edges within
    // half the band's reach, so that its outer edge is background already.
    silhouette(area).convertTo(hard, CV_32F, 1.0 / 255);
    GuidedFilterCoefficients(guide(area), hard, std::max(2, (reach + 1) / 2), kEpsilon, a, b);

    // The old background near each band pixel: the mean of the surely
    // background pixels within twice the band's reach; the whole cell's where
    // none is that near.
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
    cv::boxFilter(weighted, oldBack, CV_32F, window, cv::Point(-1, -1), true, cv::BORDER_REPLICATE);
    cv::boxFilter(weight, weightMean, CV_32F, window, cv::Point(-1, -1), true, cv::BORDER_REPLICATE);
    for (int y = 0; y < oldBack.rows; ++y) {
        float* o = oldBack.ptr<float>(y);
        const float* w = weightMean.ptr<float>(y);
        for (int x = 0; x < oldBack.cols; ++x, o += 3) {
            if (w[x] > 1e-3f) {
                o[0] /= w[x], o[1] /= w[x], o[2] /= w[x];
            } else {
                o[0] = static_cast<float>(overall[0]), o[1] = static_cast<float>(overall[1]),
                o[2] = static_cast<float>(overall[2]);
            }
        }
    }

    // The final pass at full size.
    const float colour[3] = {BlueComponent(Colour) / 255.f, GreenComponent(Colour) / 255.f, RedComponent(Colour) / 255.f};
    for (int y = 0; y < height; ++y) {
        const auto ky = static_cast<std::size_t>(y);
        const std::uint8_t* s = state.ptr<std::uint8_t>(down.Nearest[ky]);
        const int y0 = std::clamp(down.Index[ky] - area.y, 0, area.height - 1);
        const int y1 = std::clamp(down.Next[ky] - area.y, 0, area.height - 1);
        const float wy = down.Weight[ky];
        TColor32* p = Cell.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const auto kx = static_cast<std::size_t>(x);
            const std::uint8_t where = s[across.Nearest[kx]];
            if (where == kInside)
                continue;
            if (where == kOutside) {
                p[x] = Colour;
                continue;
            }
            const int x0 = std::clamp(across.Index[kx] - area.x, 0, area.width - 1);
            const int x1 = std::clamp(across.Next[kx] - area.x, 0, area.width - 1);
            const float wx = across.Weight[kx];
            float coefficients[3], offset, back[3];
            sample<3>(a, y0, y1, wy, x0, x1, wx, coefficients);
            sample<1>(b, y0, y1, wy, x0, x1, wx, &offset);
            const TColor32 c = p[x];
            const float seen[3] = {BlueComponent(c) / 255.f, GreenComponent(c) / 255.f, RedComponent(c) / 255.f};
            const float filtered =
                coefficients[0] * seen[0] + coefficients[1] * seen[1] + coefficients[2] * seen[2] + offset;
            const float alpha = std::clamp((filtered - kAlphaFloor) / (kAlphaCeiling - kAlphaFloor), 0.f, 1.f);
            if (alpha >= 1.f)
                continue;
            if (alpha <= 0.f) {
                p[x] = Colour;
                continue;
            }
            sample<3>(oldBack, y0, y1, wy, x0, x1, wx, back);
            int out[3];
            for (int k = 0; k < 3; ++k) {
                // The person's own colour: the pixel with its share of old background taken out.
                const float front = std::clamp((seen[k] - (1 - alpha) * back[k]) / alpha, 0.f, 1.f);
                out[k] = static_cast<int>((alpha * front + (1 - alpha) * colour[k]) * 255.f + 0.5f);
            }
            p[x] = Color32(out[2], out[1], out[0]);
        }
    }
}
