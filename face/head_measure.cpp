#include "head_measure.h"

#include "bitmap32.h"
#include "face_photo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// The columns searched for the crown: across the middle of the face, where
// the head's outline is highest and ears or shoulders play no part.
constexpr int kColumns = 7;
constexpr double kColumnSpread = 0.15;   // of the face's width, either side
constexpr int kMinColumns = 5;
// The mask's edge at the crown, from 0.8 to 0.2, must be sharper than this
// part of the head's height; a softer one is a background the model cannot
// tell from the hair.
constexpr double kMaxSoftEdge = 0.08;
// Crown height above the eyes over chin depth below them: real heads with
// their hair lie well inside this.
constexpr double kMinCrownRatio = 0.8;
constexpr double kMaxCrownRatio = 1.6;
// Mean colours (0-255 per channel) further apart than this between the top
// of the head and just above the forehead: a hat, not hair.
constexpr double kMaxHairColourDistance = 100;

struct TColumnTop {
    double Y;
    bool AtEdge;
};

// Climbs from the forehead while the mask says person; the 0.5 crossing,
// interpolated. None when the forehead itself is not in the mask.
std::optional<TColumnTop> columnTop(const TPersonMaskMap& mask, double x, double foreheadY)
{
    const double step = mask.Step() / 2;
    double y = foreheadY;
    if (!(step > 0) || mask.At({x, y}) < 0.5)
        return std::nullopt;
    const double top = std::max(0.0, mask.Region.top());
    while (y - step > top) {
        const double above = mask.At({x, y - step});
        if (above < 0.5) {
            const double here = mask.At({x, y});
            const double crossing = y - step * (here - 0.5) / std::max(here - above, 1e-6);
            // Within a map pixel of the photo's top the edge may be the photo's.
            return TColumnTop{crossing, crossing < mask.Step()};
        }
        y -= step;
    }
    return TColumnTop{top, true};
}

// How far up from the crown the mask takes to fall from 0.8 to 0.2.
double edgeWidth(const TPersonMaskMap& mask, double x, double crownY, double headHeight)
{
    const double step = mask.Step() / 4;
    if (!(step > 0))
        return headHeight;
    double high = crownY, low = crownY;
    while (high < crownY + headHeight / 4 && mask.At({x, high}) < 0.8)
        high += step;
    while (low > crownY - headHeight / 4 && mask.At({x, low}) > 0.2)
        low -= step;
    return high - low;
}

std::array<double, 3> meanColour(const TBitmap32& photo, double left, double right, double top, double bottom)
{
    std::array<double, 3> sum{0, 0, 0};
    int n = 0;
    const int x0 = std::max(0, static_cast<int>(left)), x1 = std::min(photo.Width(), static_cast<int>(right) + 1);
    const int y0 = std::max(0, static_cast<int>(top)), y1 = std::min(photo.Height(), static_cast<int>(bottom) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const TColor32 c = photo.Pixel(x, y);
            sum[0] += RedComponent(c);
            sum[1] += GreenComponent(c);
            sum[2] += BlueComponent(c);
            ++n;
        }
    for (double& v : sum)
        v /= std::max(n, 1);
    return sum;
}

}  // namespace

TMeasuredHead MeasureHead(const TBitmap32& Photo, const TFaceLandmarks& Landmarks, const TPersonMaskMap& Mask)
{
    const QPointF right = Landmarks.RightEye(), left = Landmarks.LeftEye();
    const QPointF forehead = Landmarks.Points[Landmark::kForeheadTop];
    TMeasuredHead measured;
    THead& head = measured.Head;
    head.EyeY = (right.y() + left.y()) / 2;
    head.CentreX = (right.x() + left.x()) / 2;
    head.ChinY = Landmarks.Points[Landmark::kChin].y();
    const double chinDepth = std::max(head.ChinY - head.EyeY, 1.0);
    head.CrownY = head.EyeY - kCrownOverChin * chinDepth;
    const double faceWidth =
        std::abs(Landmarks.Points[Landmark::kLeftCheek].x() - Landmarks.Points[Landmark::kRightCheek].x());

    if (Mask.Empty() || Photo.Width() == 0)
        return measured;
    std::vector<double> tops;
    for (int i = 0; i < kColumns; ++i) {
        const double x = head.CentreX + (i - kColumns / 2) * kColumnSpread * faceWidth / (kColumns / 2);
        const std::optional<TColumnTop> top = columnTop(Mask, x, forehead.y());
        if (top && !top->AtEdge)
            tops.push_back(top->Y);
    }
    if (static_cast<int>(tops.size()) < kMinColumns)
        return measured;
    std::nth_element(tops.begin(), tops.begin() + tops.size() / 2, tops.end());
    const double crown = tops[tops.size() / 2];

    const double ratio = (head.EyeY - crown) / chinDepth;
    if (ratio < kMinCrownRatio || ratio > kMaxCrownRatio)
        return measured;
    if (edgeWidth(Mask, head.CentreX, crown, head.ChinY - crown) > kMaxSoftEdge * (head.ChinY - crown))
        return measured;
    // What covers the head: the upper and the lower third between the crown
    // and the forehead, across the middle of the face.
    const double reach = forehead.y() - crown;
    const double l = head.CentreX - kColumnSpread * faceWidth, r = head.CentreX + kColumnSpread * faceWidth;
    const auto top = meanColour(Photo, l, r, crown + reach * 0.05, crown + reach / 3);
    const auto low = meanColour(Photo, l, r, forehead.y() - reach / 3, forehead.y());
    const double distance = std::hypot(top[0] - low[0], top[1] - low[1], top[2] - low[2]);
    if (distance > kMaxHairColourDistance)
        return measured;
    head.CrownY = crown;
    measured.Crown = TCrownSource::Mask;
    return measured;
}

std::vector<TMeasuredFace> MeasureFaces(const TBitmap32& Photo, TFaceFinder& Finder, TFaceMesh& Mesh,
                                        TPersonMask& Mask, int MaxFaces)
{
    std::vector<TMeasuredFace> measured;
    const TFacePhoto photo(Photo);
    for (const TFace& face : Finder.Find(photo)) {
        if (static_cast<int>(measured.size()) >= MaxFaces)
            break;
        std::optional<TFaceLandmarks> landmarks = Mesh.Fit(photo, face);
        if (!landmarks)
            continue;
        TMeasuredFace one{face, std::move(*landmarks), Mask.Compute(photo, HeadRegion(face.Box)), {}};
        one.Head = MeasureHead(Photo, one.Landmarks, one.Mask);
        measured.push_back(std::move(one));
    }
    return measured;
}
