#pragma once

#include "frame.h"

#include "exception.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TBitmap32;

/// The face detector's data cannot be read, or the detector failed.
QRL_DECLARE_EXCEPTION(EFaceDetection, Exception);

/// A face found in a photo, in photo pixels: the detector's square box (from
/// the eyebrows to the chin, cheek to cheek) and, when both eyes were found
/// inside it, the line through them.
struct TFaceBox {
    double X = 0;
    double Y = 0;
    double Width = 0;
    double Height = 0;
    std::optional<double> EyeY;
};

/// Where the head lies, estimated from a face box: the crown (top of the
/// head) 0.22 box heights above the box, the chin 0.98 box heights below its
/// top, the eyes (when they were not found) 0.38 box heights below its top,
/// half way down the head. Measured on real photographs: chin and eyes against
/// hand-placed landmarks of 24 faces (medians 1.04 and 0.39; those faces
/// mostly laugh, which lowers the chin) and by hand on portraits with a closed
/// mouth (chin 0.91 to 0.96); the crown, which landmarks do not mark, by hand
/// on the portraits.
THead HeadFromFace(const TFaceBox& Face);

/// Finds frontal faces with OpenCV's Haar cascades (frontal face, then eyes
/// inside each face) on a grey copy of the photo reduced to at most
/// kDetectionSide pixels on its longest side.
class TFaceDetector {
public:
    /// Reads the cascades of the opencv-data package. Raises EFaceDetection
    /// when they are missing or damaged.
    TFaceDetector();
    ~TFaceDetector();
    TFaceDetector(const TFaceDetector&) = delete;
    TFaceDetector& operator=(const TFaceDetector&) = delete;

    /// The faces of Photo, most likely first: faces whose eyes were found
    /// before faces without, larger before smaller. Faces smaller than a
    /// tenth of the photo's shorter side are not looked for. An empty photo
    /// has no faces.
    std::vector<TFaceBox> Detect(const TBitmap32& Photo) const;

private:
    struct TCascades;
    std::unique_ptr<TCascades> FCascades;
};

/// The longest side of the reduced copy that detection works on.
inline constexpr int kDetectionSide = 480;

/// The outcome of automatic framing: a frame when a face was found, and a
/// message for the user when there is something to say (no face, several faces).
struct TAutoFrame {
    std::optional<TFrame> Frame;
    std::optional<THead> Head;
    int FacesFound = 0;
    QString Message;
};

/// Detects the faces of Photo and frames the most likely one for Rule. With
/// no face the result has no frame, so the caller keeps the frame it had.
TAutoFrame AutoFrame(const TFaceDetector& Detector, const TBitmap32& Photo, const THeadRule& Rule,
                     const TWording& Wording = {});
