#include "face_detector.h"

#include "bitmap32.h"

#include <opencv2/core.hpp>
#include <opencv2/core/ocl.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <vector>

namespace {

// The estimate of the head from the face box; see HeadFromFace.
constexpr double kCrownAboveBox = 0.22;
constexpr double kChinBelowTop = 0.98;
constexpr double kEyesBelowTop = 0.38;

// The frontal-face cascade looks through a 20 x 20 window; faces below a
// tenth of the photo's shorter side are not looked for: at that size a face
// gives too few pixels for a printed identity photo anyway.
constexpr double kMinFaceFraction = 0.1;
constexpr int kMinFacePixels = 24;

QString cascadePath(const char* name)
{
    return QStringLiteral(QRL_HAAR_CASCADE_DIR "/") + QString::fromLatin1(name);
}

void loadCascade(cv::CascadeClassifier& cascade, const QString& path)
{
    bool loaded = false;
    try {
        loaded = cascade.load(path.toStdString());
    } catch (const cv::Exception&) {
        loaded = false;
    }
    if (!loaded || cascade.empty())
        throw EFaceDetection(QStringLiteral("The face detector's data could not be read (\"%1\"). "
                                            "Install the package opencv-data.")
                                 .arg(path));
}

// The photo in grey, shrunk by a whole factor so that its longest side is at
// most kDetectionSide: each output pixel is the mean of a factor x factor
// block. One pass over the photo; only the small copy is allocated.
cv::Mat reducedGrey(const TBitmap32& photo, int& factor)
{
    const int longest = std::max(photo.Width(), photo.Height());
    factor = std::max(1, (longest + kDetectionSide - 1) / kDetectionSide);
    const int w = photo.Width() / factor;
    const int h = photo.Height() / factor;
    cv::Mat grey(h, w, CV_8UC1);
    // 64 bits: a block of a very long, thin photo can hold millions of pixels.
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(w));
    const std::uint64_t area = static_cast<std::uint64_t>(factor) * factor;
    for (int y = 0; y < h; ++y) {
        std::fill(sums.begin(), sums.end(), std::uint64_t{0});
        for (int dy = 0; dy < factor; ++dy) {
            const TColor32* row = photo.ScanLine(y * factor + dy);
            for (int x = 0; x < w; ++x) {
                std::uint32_t s = 0;
                for (int dx = 0; dx < factor; ++dx) {
                    const TColor32 c = row[x * factor + dx];
                    // ITU-R BT.601 luma in units of 1/256.
                    s += ((c >> 16) & 0xFF) * 77 + ((c >> 8) & 0xFF) * 150 + (c & 0xFF) * 29;
                }
                sums[static_cast<std::size_t>(x)] += s;
            }
        }
        std::uint8_t* out = grey.ptr<std::uint8_t>(y);
        for (int x = 0; x < w; ++x)
            out[x] = static_cast<std::uint8_t>((sums[static_cast<std::size_t>(x)] / area + 128) >> 8);
    }
    return grey;
}

// Both eyes: two detections in the upper part of the face, one on each side
// of its middle. Returns the height of the line through them within the face.
std::optional<double> eyeLine(cv::CascadeClassifier& eyes, const cv::Mat& grey, const cv::Rect& face)
{
    const cv::Rect upper(face.x, face.y, face.width, face.height * 6 / 10);
    std::vector<cv::Rect> found;
    const int smallest = std::max(8, face.width / 8);
    eyes.detectMultiScale(grey(upper), found, 1.1, 3, 0, cv::Size(smallest, smallest),
                          cv::Size(face.width / 2, face.width / 2));
    std::optional<cv::Rect> left;
    std::optional<cv::Rect> right;
    for (const cv::Rect& e : found) {
        const int cx = e.x + e.width / 2;
        std::optional<cv::Rect>& side = cx < face.width / 2 ? left : right;
        if (!side || e.area() > side->area())
            side = e;
    }
    if (!left || !right)
        return std::nullopt;
    return (left->y + left->height / 2.0 + right->y + right->height / 2.0) / 2;
}

}  // namespace

struct TFaceDetector::TCascades {
    // detectMultiScale is not const in OpenCV; detection changes nothing we keep.
    mutable cv::CascadeClassifier Faces;
    mutable cv::CascadeClassifier Eyes;
};

THead HeadFromFace(const TFaceBox& Face)
{
    THead head;
    head.CrownY = Face.Y - kCrownAboveBox * Face.Height;
    head.ChinY = Face.Y + kChinBelowTop * Face.Height;
    head.CentreX = Face.X + Face.Width / 2;
    head.EyeY = Face.EyeY ? *Face.EyeY : Face.Y + kEyesBelowTop * Face.Height;
    return head;
}

TFaceDetector::TFaceDetector() : FCascades(std::make_unique<TCascades>())
{
    loadCascade(FCascades->Faces, cascadePath("haarcascade_frontalface_alt2.xml"));
    loadCascade(FCascades->Eyes, cascadePath("haarcascade_eye.xml"));
}

TFaceDetector::~TFaceDetector() = default;

std::vector<TFaceBox> TFaceDetector::Detect(const TBitmap32& Photo) const
{
    if (Photo.Empty())
        return {};
    // On the processor, never through OpenCL: the same faces on every
    // machine, and no graphics driver loaded for a few milliseconds of work.
    // The switch holds for the calling thread.
    cv::ocl::setUseOpenCL(false);
    int factor = 1;
    cv::Mat grey = reducedGrey(Photo, factor);
    if (grey.empty())
        return {};

    struct Candidate {
        cv::Rect Box;
        std::optional<double> EyeY;
    };
    std::vector<Candidate> candidates;
    try {
        cv::equalizeHist(grey, grey);
        const int smallest = std::max(kMinFacePixels,
                                      static_cast<int>(kMinFaceFraction * std::min(grey.cols, grey.rows)));
        if (smallest > std::min(grey.cols, grey.rows))
            return {};
        std::vector<cv::Rect> faces;
        FCascades->Faces.detectMultiScale(grey, faces, 1.1, 4, 0, cv::Size(smallest, smallest));
        for (const cv::Rect& face : faces)
            candidates.push_back({face, eyeLine(FCascades->Eyes, grey, face)});
    } catch (const cv::Exception& e) {
        throw EFaceDetection(QStringLiteral("Face detection failed: %1").arg(QString::fromStdString(e.what())));
    }

    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.EyeY.has_value() != b.EyeY.has_value())
            return a.EyeY.has_value();
        return a.Box.area() > b.Box.area();
    });

    // Back to photo pixels: the reduced copy's pixel (x, y) covers the block
    // from (x, y) * factor.
    std::vector<TFaceBox> result;
    for (const Candidate& c : candidates) {
        TFaceBox box{static_cast<double>(c.Box.x) * factor, static_cast<double>(c.Box.y) * factor,
                     static_cast<double>(c.Box.width) * factor, static_cast<double>(c.Box.height) * factor,
                     std::nullopt};
        if (c.EyeY)
            box.EyeY = (c.Box.y + *c.EyeY) * factor;
        result.push_back(box);
    }
    return result;
}

TAutoFrame AutoFrame(const TFaceDetector& Detector, const TBitmap32& Photo, const THeadRule& Rule,
                     const TWording& Wording)
{
    auto wording = [&Wording](const char* original) {
        const QString text = QString::fromLatin1(original);
        return Wording ? Wording(text) : text;
    };
    TAutoFrame result;
    const std::vector<TFaceBox> faces = Detector.Detect(Photo);
    result.FacesFound = static_cast<int>(faces.size());
    if (faces.empty()) {
        result.Message = wording(kNoFaceText);
        return result;
    }
    result.Head = HeadFromFace(faces.front());
    result.Frame = FrameForHead(*result.Head, Rule);
    if (faces.size() > 1)
        result.Message = wording(kSeveralFacesText).arg(faces.size());
    return result;
}
