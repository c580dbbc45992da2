#pragma once

#include "face_models.h"
#include "frame.h"

#include <QPointF>
#include <QRectF>

#include <memory>
#include <vector>

class TBitmap32;
class TFacePhoto;

/// The person mask of a square part of a photo: kSide x kSide probabilities
/// (0 to 1) that a pixel is the person, hair and clothes included. Region is
/// the part of the photo it covers, in photo pixels; it may reach past the
/// photo's edges, where the photo counts as black.
struct TPersonMaskMap {
    static constexpr int kSide = FaceModelInfo(TFaceModel::PersonMask).InputSide;

    std::vector<float> Probability;   ///< kSide rows of kSide, top row first
    QRectF Region;

    bool Empty() const { return Probability.empty(); }
    /// The probability at a point of the photo, interpolated between the
    /// map's pixels; 0 outside Region.
    double At(QPointF Photo) const;
    /// Photo pixels per map pixel, down.
    double Step() const { return Region.height() / kSide; }
};

/// Runs the person-segmentation model on a square part of a photo.
class TPersonMask {
public:
    /// Loads the model from ModelDir; raises EFaceModel when it is missing or
    /// cannot be used.
    explicit TPersonMask(const QString& ModelDir);
    ~TPersonMask();
    TPersonMask(const TPersonMask&) = delete;
    TPersonMask& operator=(const TPersonMask&) = delete;

    /// The mask of Region (a square, in photo pixels) of Photo; empty for an
    /// empty photo or region.
    TPersonMaskMap Compute(const TFacePhoto& Photo, const QRectF& Region);
    TPersonMaskMap Compute(const TBitmap32& Photo, const QRectF& Region);

private:
    struct TNet;
    std::unique_ptr<TNet> FNet;
};

/// The square around a face that its mask is best computed on: three face
/// sizes wide, from well above the face (hair, hats) to the shoulders.
QRectF HeadRegion(const QRectF& FaceBox);

/// The person of Mask kept to the head and what joins it, for a plain
/// background to leave nothing of the old one: nothing above Top (the top of
/// the head, a hat's included) by more than a few percent of the head's
/// height; beside the head, outside an ellipse about the face FaceWidth
/// wide, nothing thinner than a strand (a flag's cord or pole, a lamp's
/// stem), nor what Photo shows in the background's colours at the person's
/// edge (a flag's field against a dark cap) where it joins the background
/// beside it; and only the part joined to the face. The probabilities kept
/// are untouched, the others become 0. An empty Photo leaves colours out.
void KeepHeadAndShoulders(TPersonMaskMap& Mask, const TFacePhoto& Photo, const THead& Head, double Top,
                          double FaceWidth);
