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
    /// The photo in grey (0-1) around the eyes and mouth, brought up or down
    /// to kDetailEyeDistance pixels between the eyes (the sharpness measure's
    /// input); empty where the eyes lie closer than kDetailJudgedEyePixels.
    const cv::Mat1f& FaceDetail() const { return FFaceDetail; }
    /// The photo's own pixels in grey (0-255) around the nose, at most
    /// kNativeSide square, the JPEG grid as it was (the compression
    /// measure's input); empty where the face is too small to judge.
    const cv::Mat1f& NativeFace() const { return FNativeFace; }
    /// Pixels between the eyes in the photo.
    double EyePixels() const { return FEyePixels; }

private:
    cv::Mat3f FLab;
    cv::Mat1f FPerson;
    cv::Mat1f FFaceDetail;
    cv::Mat1f FNativeFace;
    double FEyePixels = 0;
    double FScale = 1;
    QPointF FOrigin;
};
