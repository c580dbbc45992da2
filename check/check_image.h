#pragma once

// Internal to the check: the photo around a head as OpenCV sees it.

#include "face_regions.h"

#include <QPointF>

#include <opencv2/core.hpp>

class TBitmap32;

/// The photo around one head at a fixed scale, in CIE L*a*b*, with the person
/// mask on the same grid: what every image measure reads. The head is at most
/// kWorkHeadHeight pixels high in it (never enlarged), with room beside and
/// above it for the background.
class TCheckImage {
public:
    TCheckImage(const TBitmap32& Photo, const TFaceRegions& Face, const TPersonMaskMap& Person);

    /// L* (0-100), a*, b*, as 32-bit floats.
    const cv::Mat3f& Lab() const { return FLab; }
    /// Probability of the person per pixel; empty without a mask.
    const cv::Mat1f& Person() const { return FPerson; }
    /// Work pixels per photo pixel.
    double Scale() const { return FScale; }
    cv::Point2f ToWork(const QPointF& PhotoPoint) const;
    /// The photo in grey around the eyes and mouth, at its own resolution up
    /// to 128 pixels between the eyes (the sharpness measure's input).
    const cv::Mat1f& FaceDetail() const { return FFaceDetail; }

private:
    cv::Mat3f FLab;
    cv::Mat1f FPerson;
    cv::Mat1f FFaceDetail;
    double FScale = 1;
    QPointF FOrigin;
};
