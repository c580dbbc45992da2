#pragma once

// Internal to the face library: a model loaded for OpenCV's DNN module, and
// the photo as OpenCV sees it.

#include "face_models.h"
#include "face_photo.h"

#include <opencv2/core.hpp>
#include <opencv2/dnn.hpp>

#include <vector>

class TBitmap32;

/// Reads Model from Dir and runs it once on a blank input to check that it
/// is the model expected (its outputs' sizes). Raises EFaceModel naming the
/// file and its package when the file is missing or cannot be used.
cv::dnn::Net LoadFaceModel(const QString& Dir, TFaceModel Model);

/// Runs Net on Blob; the outputs in the order of their element counts given
/// by the model's table (the converted graph does not fix their order).
std::vector<cv::Mat> RunFaceModel(cv::dnn::Net& Net, TFaceModel Model, const cv::Mat& Blob);

/// The model's input from a square crop of R, G, B pixels of its input side,
/// scaled as the model's table says.
cv::Mat ModelInput(TFaceModel Model, const cv::Mat& Rgb);

/// A probability from a model's logit.
double Sigmoid(double Logit);

/// The photo's pixels as a 4-channel B, G, R, A matrix, without a copy.
cv::Mat PhotoPixels(const TBitmap32& Photo);

/// The photo (level 0, its own pixels) and its halved copies, down to the
/// first whose shorter side is below kMinLevelSide. Level n's continuous
/// coordinates are the photo's divided by 2^n.
struct TFacePhoto::TLevels {
    std::vector<cv::Mat> Mats;
};
inline constexpr int kMinLevelSide = 256;

/// The square of Side pixels around Centre of Pixels (B, G, R, A), turned by
/// Angle (radians, from the image's x axis to the square's), sampled into
/// Size x Size R, G, B pixels; what lies outside the image is black. A square
/// much larger than Size is first reduced by area averaging, so that no
/// detail aliases. ToImage maps the result's coordinates back to the image's
/// (both continuous: pixel i spans i to i + 1).
cv::Mat SquareCrop(const cv::Mat& Pixels, cv::Point2d Centre, double Side, double Angle, int Size,
                   cv::Matx23d& ToImage);

/// The same from the photo's level whose pixels are closest to the crop's
/// without being finer than half of them; ToPhoto maps back to the photo.
cv::Mat SquareCrop(const TFacePhoto& Photo, cv::Point2d Centre, double Side, double Angle, int Size,
                   cv::Matx23d& ToPhoto);

/// The point P mapped by the affine transform M.
inline cv::Point2d Mapped(const cv::Matx23d& M, cv::Point2d P)
{
    return {M(0, 0) * P.x + M(0, 1) * P.y + M(0, 2), M(1, 0) * P.x + M(1, 1) * P.y + M(1, 2)};
}
