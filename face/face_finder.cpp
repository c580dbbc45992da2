#include "face_finder.h"

#include "bitmap32.h"
#include "face_net.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kInput = FaceModelInfo(TFaceModel::Detector).InputSide;
// Faces from this many input pixels up are found reliably (scores above 0.9
// on the test portraits; 16 pixels gave 0.7 to 0.8, 12 about 0.5).
constexpr double kMinFacePixels = 20;
// Tiles come from a copy whose shorter side makes a face of a tenth of it
// just that size; a tile is the detector's input, no resampling.
constexpr int kWorkShorter = static_cast<int>(kMinFacePixels * 10);
constexpr int kTile = kInput;
constexpr int kMinStride = kTile / 4;
// A long, thin photo keeps its tiles' count and memory bounded: its copy is
// at most this long, and its faces must be larger than a tenth.
constexpr int kMaxWorkLonger = 8 * kWorkShorter;
constexpr double kMergeOverlap = 0.3;
// A find lying mostly inside a likelier one is a part of that face (a tile
// that holds only its lower half): dropped, not averaged in.
constexpr double kInsideShare = 0.5;
// A closer look at a find: a square of kCloserFaces face sizes around it,
// where the face is about kInput / kCloserFaces input pixels large. Finds
// below kMinFaceScore, from kWeakFaceScore up (a face turned by a third
// scores that low at the detector's smallest size), are looked at closer,
// the kMostLookedCloser likeliest of them, and kept as the closer look finds
// them.
constexpr double kCloserFaces = 3;
constexpr double kWeakFaceScore = 0.35;
constexpr std::size_t kMostLookedCloser = 6;

// The detector's anchors: a 16 x 16 grid with 2 per cell, then 8 x 8 with 6.
std::vector<cv::Point2f> anchors()
{
    std::vector<cv::Point2f> all;
    for (const auto& [grid, perCell] : {std::pair{16, 2}, std::pair{8, 6}})
        for (int y = 0; y < grid; ++y)
            for (int x = 0; x < grid; ++x)
                for (int i = 0; i < perCell; ++i)
                    all.emplace_back((x + 0.5f) / grid, (y + 0.5f) / grid);
    return all;
}

// Brightens a dim copy (3 or 4 channels, colour first) so that its bright
// end reaches white: the detector misses faces in photos taken in poor
// light. At most four times (two stops).
void brightenDim(cv::Mat& pixels)
{
    std::vector<int> histogram(256, 0);
    const int channels = pixels.channels();
    for (int y = 0; y < pixels.rows; ++y) {
        const std::uint8_t* row = pixels.ptr<std::uint8_t>(y);
        for (int x = 0; x < pixels.cols; ++x, row += channels)
            ++histogram[std::max({row[0], row[1], row[2]})];
    }
    const long long total = static_cast<long long>(pixels.rows) * pixels.cols;
    long long seen = 0;
    int bright = 255;
    while (bright > 0 && (seen += histogram[static_cast<std::size_t>(bright)]) < total / 100)
        --bright;
    if (bright >= 160)
        return;
    const double gain = std::min(4.0, 255.0 / std::max(bright, 1));
    pixels.convertTo(pixels, -1, gain);
}

double area(const QRectF& r)
{
    return r.width() * r.height();
}

// Intersection over union of two boxes.
double overlap(const QRectF& a, const QRectF& b)
{
    const double shared = area(a.intersected(b));
    const double joined = area(a) + area(b) - shared;
    return joined > 0 ? shared / joined : 0;
}

// The share of the smaller box that lies inside the other.
double inside(const QRectF& a, const QRectF& b)
{
    const double smaller = std::min(area(a), area(b));
    return smaller > 0 ? area(a.intersected(b)) / smaller : 0;
}

// Overlapping finds of one face (from the whole photo and from tiles) become
// one, their boxes and points averaged by confidence; most likely first.
std::vector<TFace> merged(std::vector<TFace> found)
{
    std::sort(found.begin(), found.end(), [](const TFace& a, const TFace& b) { return a.Score > b.Score; });
    std::vector<TFace> faces;
    std::vector<bool> used(found.size(), false);
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (used[i])
            continue;
        TFace sum;
        double weight = 0;
        double x = 0, y = 0, w = 0, h = 0;
        for (std::size_t j = i; j < found.size(); ++j) {
            if (used[j])
                continue;
            if (overlap(found[i].Box, found[j].Box) < kMergeOverlap) {
                used[j] = inside(found[i].Box, found[j].Box) > kInsideShare;
                continue;
            }
            used[j] = true;
            const double s = found[j].Score;
            x += s * found[j].Box.x();
            y += s * found[j].Box.y();
            w += s * found[j].Box.width();
            h += s * found[j].Box.height();
            for (std::size_t k = 0; k < sum.KeyPoints.size(); ++k)
                sum.KeyPoints[k] += s * found[j].KeyPoints[k];
            weight += s;
        }
        sum.Box = QRectF(x / weight, y / weight, w / weight, h / weight);
        for (QPointF& p : sum.KeyPoints)
            p /= weight;
        sum.Score = found[i].Score;
        faces.push_back(sum);
    }
    // The photo's subject first: of the sure faces the largest, then the
    // doubtful ones by their confidence.
    std::stable_sort(faces.begin(), faces.end(), [](const TFace& a, const TFace& b) {
        const bool aSure = a.Score >= kSureFaceScore, bSure = b.Score >= kSureFaceScore;
        if (aSure != bSure)
            return aSure;
        return aSure ? area(a.Box) > area(b.Box) : a.Score > b.Score;
    });
    return faces;
}

}  // namespace

struct TFaceFinder::TNet {
    cv::dnn::Net Net;
    std::vector<cv::Point2f> Anchors = anchors();

    // The finds of one input square (kInput RGB pixels) from Threshold up,
    // in the coordinates ToPhoto maps its pixels to; Keep says which boxes
    // (centre and size in input pixels) count.
    template <typename TMap, typename TKeep>
    void Detect(const cv::Mat& input, double threshold, const TMap& toPhoto, const TKeep& keep,
                std::vector<TFace>& found)
    {
        const std::vector<cv::Mat> out = RunFaceModel(Net, TFaceModel::Detector, ModelInput(TFaceModel::Detector, input));
        const float* boxes = out[0].ptr<float>();
        const float* logits = out[1].ptr<float>();
        for (std::size_t i = 0; i < Anchors.size(); ++i) {
            const double score = Sigmoid(logits[i]);
            if (score < threshold)
                continue;
            const float* r = boxes + i * 16;
            const cv::Point2f a = Anchors[i] * kInput;
            const double cx = a.x + r[0], cy = a.y + r[1], w = r[2], h = r[3];
            if (!keep(cx, cy, w, h))
                continue;
            TFace face;
            face.Box = QRectF(toPhoto(cx - w / 2, cy - h / 2), toPhoto(cx + w / 2, cy + h / 2));
            face.Score = score;
            for (std::size_t k = 0; k < face.KeyPoints.size(); ++k)
                face.KeyPoints[k] = toPhoto(a.x + r[4 + 2 * k], a.y + r[5 + 2 * k]);
            found.push_back(face);
        }
    }
};

TFaceFinder::TFaceFinder(const QString& ModelDir)
    : FNet(std::make_unique<TNet>())
{
    FNet->Net = LoadFaceModel(ModelDir, TFaceModel::Detector);
}

TFaceFinder::~TFaceFinder() = default;

std::vector<TFace> TFaceFinder::Find(const TBitmap32& Photo)
{
    return Find(TFacePhoto(Photo));
}

std::vector<TFace> TFaceFinder::Find(const TFacePhoto& Photo)
{
    if (Photo.Width() < 8 || Photo.Height() < 8)
        return {};
    // One reduced copy for every pass, made from the smallest halved copy.
    const cv::Mat& smallest = Photo.Levels().Mats.back();
    const double toWork = std::min(static_cast<double>(kWorkShorter) / std::min(Photo.Width(), Photo.Height()),
                                   static_cast<double>(kMaxWorkLonger) / std::max(Photo.Width(), Photo.Height()));
    const cv::Size workSize(std::max(1, static_cast<int>(std::lround(Photo.Width() * toWork))),
                            std::max(1, static_cast<int>(std::lround(Photo.Height() * toWork))));
    cv::Mat work;
    cv::resize(smallest, work, workSize, 0, 0, workSize.width < smallest.cols ? cv::INTER_AREA : cv::INTER_LINEAR);
    brightenDim(work);
    // The work copy's continuous coordinates over the photo's, across and down.
    const double toWorkX = static_cast<double>(work.cols) / Photo.Width();
    const double toWorkY = static_cast<double>(work.rows) / Photo.Height();

    // The squares looked at, in the work copy: the whole photo, then the tiles.
    struct TSquare {
        cv::Point2d Centre;
        double Side;
        bool Tile;
    };
    std::vector<TSquare> squares{{{work.cols / 2.0, work.rows / 2.0}, double(std::max(work.cols, work.rows)), false}};
    // Tiles overlap so that every face too small for the whole-photo pass
    // lies whole in one of them.
    const double smallestWhole = kMinFacePixels * std::max(work.cols, work.rows) / kInput;
    const int stride = std::max(kMinStride, static_cast<int>(kTile - smallestWhole));
    auto starts = [stride](int length) {
        std::vector<int> at;
        for (int s = 0; s + kTile < length; s += stride)
            at.push_back(s);
        at.push_back(std::max(0, length - kTile));
        return at;
    };
    for (int ty : starts(work.rows))
        for (int tx : starts(work.cols))
            squares.push_back({{tx + kTile / 2.0, ty + kTile / 2.0}, double(kTile), true});

    std::vector<TFace> found;
    for (const TSquare& square : squares) {
        cv::Matx23d toWorkCopy;
        const cv::Mat input = SquareCrop(work, square.Centre, square.Side, 0, kInput, toWorkCopy);
        const double tileLeft = square.Centre.x - square.Side / 2, tileTop = square.Centre.y - square.Side / 2;
        const auto toPhoto = [&](double u, double v) {
            const cv::Point2d p = Mapped(toWorkCopy, {u, v});
            return QPointF(p.x / toWorkX, p.y / toWorkY);
        };
        // A face cut by a tile's inner edge is found whole in a neighbour.
        const auto whole = [&](double cx, double cy, double w, double h) {
            const double margin = 0.02 * kInput;
            return !square.Tile
                   || !((cx - w / 2 < -margin && tileLeft > 0) || (cy - h / 2 < -margin && tileTop > 0)
                        || (cx + w / 2 > kInput + margin && tileLeft + kTile < work.cols)
                        || (cy + h / 2 > kInput + margin && tileTop + kTile < work.rows));
        };
        FNet->Detect(input, kWeakFaceScore, toPhoto, whole, found);
    }
    // The finds from kMinFaceScore up merge as they always have; the weaker
    // ones, apart from those, count where a closer look confirms them.
    const auto weak = std::stable_partition(found.begin(), found.end(),
                                            [](const TFace& f) { return f.Score >= kMinFaceScore; });
    std::vector<TFace> faces = merged(std::vector<TFace>(found.begin(), weak));
    const auto apart = [&faces](const TFace& candidate) {
        return std::none_of(faces.begin(), faces.end(), [&](const TFace& f) {
            return overlap(f.Box, candidate.Box) >= kMergeOverlap || inside(f.Box, candidate.Box) > kInsideShare;
        });
    };
    std::vector<TFace> doubtful = merged(std::vector<TFace>(weak, found.end()));
    std::stable_sort(doubtful.begin(), doubtful.end(), [](const TFace& a, const TFace& b) { return a.Score > b.Score; });
    std::size_t looked = 0;
    for (const TFace& candidate : doubtful) {
        if (looked >= kMostLookedCloser)
            break;
        if (!apart(candidate))
            continue;
        ++looked;
        if (const std::optional<TFace> closer = LookCloser(Photo, candidate); closer && apart(*closer))
            faces.push_back(*closer);
    }
    return merged(std::move(faces));
}

std::optional<TFace> TFaceFinder::LookCloser(const TFacePhoto& Photo, const TFace& Face)
{
    if (Photo.Empty() || Face.Box.isEmpty())
        return std::nullopt;
    const QPointF centre = Face.Box.center();
    const double side = kCloserFaces * std::max(Face.Box.width(), Face.Box.height());
    cv::Matx23d toCrop;
    cv::Mat input = SquareCrop(Photo, {centre.x(), centre.y()}, side, 0, kInput, toCrop);
    brightenDim(input);
    const auto toPhoto = [&](double u, double v) {
        const cv::Point2d p = Mapped(toCrop, {u, v});
        return QPointF(p.x, p.y);
    };
    // The face looked at, not another one at the square's edge.
    const auto same = [&](double cx, double cy, double, double) { return Face.Box.contains(toPhoto(cx, cy)); };
    std::vector<TFace> closer;
    FNet->Detect(input, kMinFaceScore, toPhoto, same, closer);
    closer = merged(std::move(closer));
    const auto best = std::max_element(closer.begin(), closer.end(),
                                       [](const TFace& a, const TFace& b) { return a.Score < b.Score; });
    if (best == closer.end())
        return std::nullopt;
    return *best;
}
