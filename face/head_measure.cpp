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
// Colour distances below are in units of the face's own light: the mean of
// its channels counts as kFaceLight, so that a dim photo's hat is as far
// from its hair as a bright one's.
constexpr double kFaceLight = 160;
// Mean colours further apart than this between the top of the head and just
// above the forehead, and further than kMaxSideDistance from the hair
// beside the face: a hat. The hair's top and its sides differ
// more than the two bands above the forehead, by the light from above.
constexpr double kMaxHairColourDistance = 100;
constexpr double kMaxSideDistance = 150;
// The photo's edge is taken only where the mask still sees some person.
constexpr double kMinEdgePerson = 0.15;
// The photo's edge between the hair and what lies above it is looked for
// this share of the head's height either side of the mask's crown, where
// the two differ by at least kMinEdgeContrast.
constexpr double kEdgeSearch = 0.08;
constexpr double kMinEdgeContrast = 40;
// The hair's outermost strands begin where the colour has gone this share of
// the way from the background's to the hair's.
constexpr double kEdgeShare = 0.25;
// Rows of the profile searched for that edge, per head height.
constexpr double kProfileRows = 200;
// The hair's outline beside a head cut by the photo's top: rows from the
// top edge down to the forehead, at least this many of them.
constexpr int kMinOutlineRows = 6;
// A crown continued past the top edge by more than this share of the
// head's height is a guess too far.
constexpr double kMaxContinued = 0.35;

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

using TColour = std::array<double, 3>;

double distance(const TColour& a, const TColour& b)
{
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The mean colour of the person's pixels in a box; none where the mask has
// too few of them.
std::optional<TColour> personColour(const TBitmap32& photo, const TPersonMaskMap& mask, double left, double right,
                                    double top, double bottom)
{
    TColour sum{0, 0, 0};
    int n = 0, all = 0;
    const int x0 = std::max(0, static_cast<int>(left)), x1 = std::min(photo.Width(), static_cast<int>(right) + 1);
    const int y0 = std::max(0, static_cast<int>(top)), y1 = std::min(photo.Height(), static_cast<int>(bottom) + 1);
    // A few hundred samples are plenty for a mean.
    const int step = std::max(1, static_cast<int>(std::sqrt(double(x1 - x0) * (y1 - y0) / 400)));
    for (int y = y0; y < y1; y += step)
        for (int x = x0; x < x1; x += step, ++all) {
            if (mask.At({x + 0.5, y + 0.5}) < 0.5)
                continue;
            const TColor32 c = photo.Pixel(x, y);
            sum[0] += RedComponent(c);
            sum[1] += GreenComponent(c);
            sum[2] += BlueComponent(c);
            ++n;
        }
    if (n == 0 || n < all / 4)
        return std::nullopt;
    for (double& v : sum)
        v /= n;
    return sum;
}

// The first row whose band's colour has gone kEdgeShare of the way from what
// lies above the mask's crown to the hair below it: the photo's own edge there. None where
// the two are too alike to tell apart (dark hair before a dark wall), or
// the rows above are not in the photo.
std::optional<double> edgeCrown(const TBitmap32& photo, const TPersonMaskMap& mask, double left, double right,
                                double crown, double height, double light)
{
    const double reach = kEdgeSearch * height;
    const double row = std::max(1.0, height / kProfileRows);
    const double aboveTop = crown - 2 * reach, aboveBottom = crown - reach;
    if (aboveTop < 0)
        return std::nullopt;
    const TColour above = meanColour(photo, left, right, aboveTop, aboveBottom);
    const TColour below = meanColour(photo, left, right, crown + reach, crown + 2 * reach);
    const double apart = distance(above, below);
    if (apart * light < kMinEdgeContrast)
        return std::nullopt;
    for (double y = aboveBottom; y < crown + 2 * reach; y += row) {
        const TColour here = meanColour(photo, left, right, y, y + row - 1);
        if (distance(here, above) >= kEdgeShare * apart)
            return mask.At({(left + right) / 2, y}) >= kMinEdgePerson || y > crown - mask.Step() ? std::optional(y)
                                                                                                 : std::nullopt;
    }
    return std::nullopt;
}

// Half the mask's width at row Y about Centre: where it falls below 0.5 on
// either side, within Reach. None where the row is not the person's there
// or runs on past Reach.
std::optional<double> halfWidth(const TPersonMaskMap& mask, double centre, double y, double reach)
{
    const double step = mask.Step() / 2;
    if (mask.At({centre, y}) < 0.5)
        return std::nullopt;
    double left = centre, right = centre;
    while (mask.At({left - step, y}) >= 0.5 && centre - left < reach)
        left -= step;
    while (mask.At({right + step, y}) >= 0.5 && right - centre < reach)
        right += step;
    if (centre - left >= reach || right - centre >= reach)
        return std::nullopt;
    return (right - left) / 2;
}

// Where the head's outline closes above the photo's top edge: the squared
// half width of the mask's rows from the top edge to the forehead, fitted as
// a parabola in y (an ellipse's rows), reaches zero. None for rows that do
// not narrow upwards.
std::optional<double> continuedCrown(const TPersonMaskMap& mask, double centre, double foreheadY, double faceWidth)
{
    const double step = std::max(mask.Step(), 1.0);
    double sy = 0, sy2 = 0, sy3 = 0, sy4 = 0, sa = 0, sya = 0, sy2a = 0;
    int n = 0;
    for (double y = std::max(0.0, mask.Region.top()) + step / 2; y < foreheadY; y += step) {
        const std::optional<double> half = halfWidth(mask, centre, y, 1.5 * faceWidth);
        if (!half)
            continue;
        // Centred on the forehead, so that the sums stay well conditioned.
        const double t = (y - foreheadY) / faceWidth, a = (*half / faceWidth) * (*half / faceWidth);
        sy += t, sy2 += t * t, sy3 += t * t * t, sy4 += t * t * t * t;
        sa += a, sya += t * a, sy2a += t * t * a;
        ++n;
    }
    if (n < kMinOutlineRows)
        return std::nullopt;
    // The normal equations of a + b t + c t^2, by Cramer's rule.
    const double m[3][3] = {{double(n), sy, sy2}, {sy, sy2, sy3}, {sy2, sy3, sy4}};
    const double v[3] = {sa, sya, sy2a};
    const auto det = [](const double (&x)[3][3]) {
        return x[0][0] * (x[1][1] * x[2][2] - x[1][2] * x[2][1]) - x[0][1] * (x[1][0] * x[2][2] - x[1][2] * x[2][0])
               + x[0][2] * (x[1][0] * x[2][1] - x[1][1] * x[2][0]);
    };
    const double d = det(m);
    if (std::abs(d) < 1e-12)
        return std::nullopt;
    double coefficient[3];
    for (int k = 0; k < 3; ++k) {
        double mk[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                mk[i][j] = j == k ? v[i] : m[i][j];
        coefficient[k] = det(mk) / d;
    }
    const double a = coefficient[0], b = coefficient[1], c = coefficient[2];
    // Narrowing upwards: a parabola opening downwards whose upper root lies
    // above the rows fitted.
    const double discriminant = b * b - 4 * a * c;
    if (!(c < 0) || discriminant < 0)
        return std::nullopt;
    const double root = (-b + std::sqrt(discriminant)) / (2 * c);
    return foreheadY + root * faceWidth;
}

}  // namespace

const char* CrownSourceName(TCrownSource Source)
{
    switch (Source) {
    case TCrownSource::Seen:
        return "seen";
    case TCrownSource::Given:
        return "given";
    case TCrownSource::CutOff:
    case TCrownSource::Covered:
    case TCrownSource::Unclear:
        break;
    }
    return "estimated";
}

const char* CrownReasonName(TCrownSource Source)
{
    switch (Source) {
    case TCrownSource::CutOff:
        return "cut_off";
    case TCrownSource::Covered:
        return "covered";
    case TCrownSource::Unclear:
        return "unclear";
    case TCrownSource::Seen:
    case TCrownSource::Given:
        break;
    }
    return "";
}

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
    measured.Top = head.CrownY;
    const double cheekLeft = std::min(Landmarks.Points[Landmark::kLeftCheek].x(),
                                      Landmarks.Points[Landmark::kRightCheek].x());
    const double cheekRight = std::max(Landmarks.Points[Landmark::kLeftCheek].x(),
                                       Landmarks.Points[Landmark::kRightCheek].x());
    const double faceWidth = std::max(1.0, cheekRight - cheekLeft);

    if (Mask.Empty() || Photo.Width() == 0)
        return measured;
    std::vector<double> tops;
    int cut = 0;
    for (int i = 0; i < kColumns; ++i) {
        const double x = head.CentreX + (i - kColumns / 2) * kColumnSpread * faceWidth / (kColumns / 2);
        const std::optional<TColumnTop> top = columnTop(Mask, x, forehead.y());
        if (top && !top->AtEdge)
            tops.push_back(top->Y);
        cut += top && top->AtEdge;
    }
    const auto plausible = [&](double crown) {
        const double ratio = (head.EyeY - crown) / chinDepth;
        return ratio >= kMinCrownRatio && ratio <= kMaxCrownRatio;
    };
    // The hair goes on past the photo's top (or the mask's): its outline
    // tells how far.
    if (cut > kColumns - kMinColumns) {
        measured.Crown = Mask.Region.top() < Mask.Step() ? TCrownSource::CutOff : TCrownSource::Unclear;
        const std::optional<double> continued = continuedCrown(Mask, head.CentreX, forehead.y(), faceWidth);
        const double edge = std::max(0.0, Mask.Region.top());
        if (continued && *continued < edge && plausible(*continued)
            && edge - *continued < kMaxContinued * (head.ChinY - *continued))
            head.CrownY = *continued;
        else
            head.CrownY = std::min(head.CrownY, edge);
        measured.Top = head.CrownY;
        return measured;
    }
    if (static_cast<int>(tops.size()) < kMinColumns)
        return measured;
    std::sort(tops.begin(), tops.end());
    double crown = tops[tops.size() / 2];
    if (!plausible(crown))
        return measured;
    if (edgeWidth(Mask, head.CentreX, crown, head.ChinY - crown) > kMaxSoftEdge * (head.ChinY - crown))
        return measured;
    // The mask's edge is a few of its pixels wide and may take in a
    // background like the hair, or a person behind: the photo's own edge
    // there, where it shows.
    const double l = head.CentreX - kColumnSpread * faceWidth, r = head.CentreX + kColumnSpread * faceWidth;
    // The face between the eyes and the chin sets the unit of colour distances.
    const TColour face = meanColour(Photo, head.CentreX - 0.2 * faceWidth, head.CentreX + 0.2 * faceWidth, head.EyeY,
                                    head.ChinY);
    const double light = kFaceLight / std::max((face[0] + face[1] + face[2]) / 3, 8.0);
    const std::optional<double> edge = edgeCrown(Photo, Mask, l, r, crown, head.ChinY - crown, light);
    if (edge && plausible(*edge))
        crown = *edge;

    // What covers the head: the upper and the lower third between the crown
    // and the forehead, across the middle of the face, differ for a hat or
    // for hair above a bare forehead; the hair beside the face, where the
    // mask has it, tells the two apart.
    const double reach = forehead.y() - crown;
    const TColour top = meanColour(Photo, l, r, crown + reach * 0.05, crown + reach / 3);
    const TColour low = meanColour(Photo, l, r, forehead.y() - reach / 3, forehead.y());
    const double sideTop = forehead.y(), sideBottom = (forehead.y() + head.EyeY) / 2;
    bool hair = distance(top, low) * light <= kMaxHairColourDistance;
    for (const auto& side : {personColour(Photo, Mask, cheekLeft - 0.15 * faceWidth, cheekLeft, sideTop, sideBottom),
                             personColour(Photo, Mask, cheekRight, cheekRight + 0.15 * faceWidth, sideTop, sideBottom)})
        hair = hair || (side && distance(top, *side) * light <= kMaxSideDistance);
    measured.Top = crown;
    if (!hair) {
        measured.Crown = TCrownSource::Covered;
        return measured;
    }
    head.CrownY = crown;
    measured.Crown = TCrownSource::Seen;
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
        // The mesh may doubt a face the detector's box and points fit loosely
        // (a turned face, small): a closer look fits them.
        TFace fitted = face;
        std::optional<TFaceLandmarks> landmarks = Mesh.Fit(photo, fitted);
        if (!landmarks) {
            const std::optional<TFace> closer = Finder.LookCloser(photo, face);
            if (!closer || !(landmarks = Mesh.Fit(photo, *closer)))
                continue;
            fitted = *closer;
        }
        TMeasuredFace one{fitted, std::move(*landmarks), Mask.Compute(photo, HeadRegion(fitted.Box)), {}};
        one.Head = MeasureHead(Photo, one.Landmarks, one.Mask);
        const THead& head = one.Head.Head;
        const double faceWidth = std::abs(one.Landmarks.Points[Landmark::kLeftCheek].x()
                                          - one.Landmarks.Points[Landmark::kRightCheek].x());
        KeepHeadAndShoulders(one.Mask, photo, head, std::min(one.Head.Top, head.CrownY), faceWidth);
        measured.push_back(std::move(one));
    }
    return measured;
}
