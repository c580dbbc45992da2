#include "check_image.h"

#include "bitmap32.h"
#include "check_limits.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The work area around a head, in head heights: beside the face's middle,
// above the crown and below the chin.
constexpr double kAreaBeside = 1.2;
constexpr double kAreaAbove = 0.6;
constexpr double kAreaBelow = 0.3;

// The photo's pixels as OpenCV sees them: TColor32 is 0xAARRGGBB, so bytes
// in memory are B, G, R, A. The matrix shares the photo's memory.
cv::Mat bgraOf(const TBitmap32& photo)
{
    return cv::Mat(photo.Height(), photo.Width(), CV_8UC4, const_cast<TColor32*>(photo.Bits()));
}

cv::Rect clippedRect(double left, double top, double right, double bottom, int width, int height)
{
    const int x0 = std::clamp(static_cast<int>(std::floor(left)), 0, width);
    const int y0 = std::clamp(static_cast<int>(std::floor(top)), 0, height);
    const int x1 = std::clamp(static_cast<int>(std::ceil(right)), 0, width);
    const int y1 = std::clamp(static_cast<int>(std::ceil(bottom)), 0, height);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

// Shrinks a part of the photo to about `size`: first by a whole factor, each
// pixel the mean of a block (OpenCV's fast path for whole factors, which
// reads every pixel once), then the rest of the way from that small copy.
cv::Mat shrunk(const cv::Mat& part, const cv::Size& size)
{
    const int factor = std::max(1, std::min(part.cols / std::max(1, size.width), part.rows / std::max(1, size.height)));
    cv::Mat small = part;
    if (factor >= 2) {
        const cv::Mat whole = part(cv::Rect(0, 0, part.cols / factor * factor, part.rows / factor * factor));
        cv::resize(whole, small, cv::Size(whole.cols / factor, whole.rows / factor), 0, 0, cv::INTER_AREA);
    }
    cv::Mat result;
    cv::resize(small, result, size, 0, 0, cv::INTER_AREA);
    return result;
}

// CIE L*a*b* through OpenCV's 8-bit conversion (a table per channel, far
// quicker than the float one), then in its own units: L* 0-100, a* and b*
// around 0.
cv::Mat3f labOf(const cv::Mat& bgra)
{
    cv::Mat bgr;
    cv::cvtColor(bgra, bgr, cv::COLOR_BGRA2BGR);
    cv::Mat lab8;
    cv::cvtColor(bgr, lab8, cv::COLOR_BGR2Lab);
    cv::Mat3f lab;
    lab8.convertTo(lab, CV_32F);
    lab = lab.mul(cv::Scalar(100.0 / 255, 1, 1)) - cv::Scalar(0, 128, 128);
    return lab;
}

}  // namespace
TCheckImage::TCheckImage(const TBitmap32& Photo, const TFaceRegions& Face, const TPersonMaskMap& Person)
{
    const THead& Head = Face.Head;
    const double h = std::max(1.0, Head.Height());
    const cv::Rect area = clippedRect(Head.CentreX - kAreaBeside * h, Head.CrownY - kAreaAbove * h,
                                      Head.CentreX + kAreaBeside * h, Head.ChinY + kAreaBelow * h, Photo.Width(),
                                      Photo.Height());
    if (area.empty())
        return;
    FScale = std::min(1.0, kWorkHeadHeight / h);
    FOrigin = QPointF(area.x, area.y);
    const cv::Size size(std::max(1, static_cast<int>(std::lround(area.width * FScale))),
                        std::max(1, static_cast<int>(std::lround(area.height * FScale))));
    FLab = labOf(shrunk(bgraOf(Photo)(area), size));

    // The detail around the eyes and the mouth, from the photo itself at one
    // eye distance, enlarged or shrunk: a number that does not follow the
    // photo's pixel count (too few pixels are the resolution's to report).
    const double d = std::max(1.0, Face.EyeDistance());
    FEyePixels = Face.EyeDistance();
    const double eyeY = (Face.RightEye.y() + Face.LeftEye.y()) / 2;
    const cv::Rect detail =
        clippedRect(std::min(Face.RightEye.x(), Face.LeftEye.x()) - 0.35 * d, eyeY - 0.35 * d,
                    std::max(Face.RightEye.x(), Face.LeftEye.x()) + 0.35 * d, std::max(eyeY, Face.MouthY) + 0.1 * d,
                    Photo.Width(), Photo.Height());
    if (!detail.empty() && FEyePixels >= CheckLimit::kDetailJudgedEyePixels) {
        const double ds = kDetailEyeDistance / d;
        const cv::Size detailSize(std::max(1, static_cast<int>(std::lround(detail.width * ds))),
                                  std::max(1, static_cast<int>(std::lround(detail.height * ds))));
        cv::Mat part;
        if (ds < 1)
            part = shrunk(bgraOf(Photo)(detail), detailSize);
        else
            cv::resize(bgraOf(Photo)(detail), part, detailSize, 0, 0, cv::INTER_CUBIC);
        cv::Mat grey;
        cv::cvtColor(part, grey, cv::COLOR_BGRA2GRAY);
        grey.convertTo(FFaceDetail, CV_32F, 1.0 / 255);

        // The JPEG grid lies on the photo's own pixels: no resampling here.
        const double noseX = (Face.RightEye.x() + Face.LeftEye.x()) / 2;
        const double noseY = (eyeY + Face.MouthY) / 2;
        const double half = std::min(kNativeSide / 2.0, 0.9 * d);
        const cv::Rect native =
            clippedRect(noseX - half, noseY - half, noseX + half, noseY + half, Photo.Width(), Photo.Height());
        if (native.width >= 16 && native.height >= 16) {
            cv::Mat nativeGrey;
            cv::cvtColor(bgraOf(Photo)(native), nativeGrey, cv::COLOR_BGRA2GRAY);
            nativeGrey.convertTo(FNativeFace, CV_32F);
        }
    }

    if (!Person.Empty() && !Person.Region.isEmpty()) {
        // Work pixel -> photo -> mask cell: one affine map from the work grid
        // into the mask, sampled at pixel centres. Outside its region the
        // mask says nothing: no person there.
        const int side = TPersonMaskMap::kSide;
        const cv::Mat1f probability(side, side, const_cast<float*>(Person.Probability.data()));
        const double sx = side / Person.Region.width();
        const double sy = side / Person.Region.height();
        const cv::Matx23d workToMask(sx / FScale, 0, (area.x - Person.Region.x()) * sx - 0.5 + 0.5 * sx / FScale,
                                     0, sy / FScale, (area.y - Person.Region.y()) * sy - 0.5 + 0.5 * sy / FScale);
        cv::warpAffine(probability, FPerson, workToMask, size, cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                       cv::BORDER_CONSTANT, cv::Scalar(0));
    }
}

cv::Point2f TCheckImage::ToWork(const QPointF& PhotoPoint) const
{
    const QPointF p = (PhotoPoint - FOrigin) * FScale;
    return {static_cast<float>(p.x()), static_cast<float>(p.y())};
}
