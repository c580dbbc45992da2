#include "straighten.h"

#include "bitmap32.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// The eyes are compared on patches this share of their distance apart,
// wide and high, sampled at this many points across.
constexpr double kPatchWidth = 0.55;
constexpr double kPatchHeight = 0.4;
constexpr int kSamples = 48;

// The mirrored eye is moved up and down by up to this share of the eye
// distance, and across by up to the other, to find where it matches.
constexpr double kDown = 0.06;
constexpr double kAcross = 0.08;
constexpr int kSteps = 12;

// Turns of the photo to take the remaining tilt out, at most.
constexpr int kRounds = 4;

double luminance(TColor32 c)
{
    return 0.299 * RedComponent(c) + 0.587 * GreenComponent(c) + 0.114 * BlueComponent(c);
}

double grey(const TBitmap32& photo, double x, double y)
{
    // Bilinear, pixel centres at +0.5, held at the photo's edge.
    x = std::clamp(x - 0.5, 0.0, photo.Width() - 1.0);
    y = std::clamp(y - 0.5, 0.0, photo.Height() - 1.0);
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, photo.Width() - 1), y1 = std::min(y0 + 1, photo.Height() - 1);
    const double fx = x - x0, fy = y - y0;
    return (1 - fy) * ((1 - fx) * luminance(photo.Pixel(x0, y0)) + fx * luminance(photo.Pixel(x1, y0)))
           + fy * ((1 - fx) * luminance(photo.Pixel(x0, y1)) + fx * luminance(photo.Pixel(x1, y1)));
}

// A patch of the photo turned by `angle` (radians, TurnPhoto's sense) about
// `middle`: centred at (across, down) of the turned photo from the middle,
// mirrored left to right when asked, scaled to mean 0 and length 1.
std::vector<double> patch(const TBitmap32& photo, QPointF middle, double angle, double across, double down,
                          double width, double height, bool mirrored)
{
    const double c = std::cos(angle), s = std::sin(angle);
    const int rows = std::max(2, static_cast<int>(std::lround(kSamples * height / width)));
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(kSamples * rows));
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < kSamples; ++i) {
            double u = ((i + 0.5) / kSamples - 0.5) * width;
            if (mirrored)
                u = -u;
            const double v = ((j + 0.5) / rows - 0.5) * height;
            const double x = across + u, y = down + v;
            values.push_back(grey(photo, middle.x() + x * c - y * s, middle.y() + x * s + y * c));
        }
    double mean = 0;
    for (const double v : values)
        mean += v;
    mean /= static_cast<double>(values.size());
    double length = 0;
    for (double& v : values) {
        v -= mean;
        length += v * v;
    }
    length = std::sqrt(length);
    for (double& v : values)
        v = length > 0 ? v / length : 0;
    return values;
}

double correlation(const std::vector<double>& a, const std::vector<double>& b)
{
    double sum = 0;
    for (std::size_t k = 0; k < a.size(); ++k)
        sum += a[k] * b[k];
    return sum;
}

// The vertex of the parabola through three equally spaced values, as an
// offset from the middle one in steps (within one step).
double vertex(double left, double middle, double right)
{
    const double bend = left - 2 * middle + right;
    return bend < 0 ? std::clamp(0.5 * (left - right) / bend, -1.0, 1.0) : 0;
}

// How far the person's left eye (the photo's right) lies below the right
// one in the photo turned by `angle`, in photo pixels: where its mirror
// image best matches the right eye, found to a fraction of a pixel.
double drop(const TBitmap32& photo, QPointF middle, double distance, double angle)
{
    const double width = kPatchWidth * distance, height = kPatchHeight * distance;
    const std::vector<double> right =
        patch(photo, middle, angle, -distance / 2, 0, width, height, false);
    const double downStep = kDown * distance / kSteps, acrossStep = kAcross * distance / kSteps;
    std::vector<double> byDrop;
    for (int d = -kSteps; d <= kSteps; ++d) {
        double best = -2;
        for (int a = -kSteps; a <= kSteps; a += 2)
            best = std::max(best, correlation(right, patch(photo, middle, angle, distance / 2 + a * acrossStep,
                                                           d * downStep, width, height, true)));
        byDrop.push_back(best);
    }
    const auto most = std::max_element(byDrop.begin() + 1, byDrop.end() - 1);
    const std::size_t i = static_cast<std::size_t>(most - byDrop.begin());
    return (static_cast<double>(i) - kSteps + vertex(byDrop[i - 1], byDrop[i], byDrop[i + 1])) * downStep;
}

}  // namespace

std::optional<double> LevellingTurn(const TBitmap32& Photo, const TPhotoAnalysis& Analysis)
{
    if (!Analysis.Measured.HasFace || Analysis.Facts.Landmarks.Points.empty())
        return std::nullopt;
    const QPointF right = Analysis.Facts.Landmarks.RightEye(), left = Analysis.Facts.Landmarks.LeftEye();
    const QPointF middle = (left + right) / 2;
    const double distance = std::hypot(left.x() - right.x(), left.y() - right.y());
    if (distance <= 0)
        return std::nullopt;
    // From the mesh's eye line, turned until the mirrored eyes meet level.
    double turn = Analysis.Measured.Pose.Roll;
    for (int round = 0; round < kRounds; ++round) {
        const double more = std::atan2(drop(Photo, middle, distance, turn * std::numbers::pi / 180), distance)
                            * 180 / std::numbers::pi;
        turn += more;
        if (std::abs(more) < 0.02)
            break;
    }
    return turn;
}
