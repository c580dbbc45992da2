#pragma once

#include "face_geometry.h"
#include "frame.h"
#include "person_mask.h"

#include <QPointF>
#include <QPolygonF>
#include <QRectF>

/// The parts of a face the image measures look at, in photo pixels.
struct TFaceRegions {
    /// The face's outline (the hull of its landmarks): forehead, cheeks, chin.
    QPolygonF Face;
    /// The face's middle line, from the top of the forehead to the chin.
    QPointF MidTop;
    QPointF MidBottom;
    QPointF RightEye;
    QPointF LeftEye;
    /// The row of the mouth's middle.
    double MouthY = 0;
    THead Head;

    double EyeDistance() const;
};

/// The regions of a face from its landmarks and its measured head.
TFaceRegions FaceRegionsOf(const TFaceLandmarks& Face, const THead& Head);

/// The check's work copy of the photo holds a head at most this many pixels
/// high; the sharpness measure sees the eyes this far apart; the compression
/// measure reads at most a square this wide of the photo's own pixels.
inline constexpr double kWorkHeadHeight = 320;
inline constexpr double kDetailEyeDistance = 64;
inline constexpr int kNativeSide = 256;
