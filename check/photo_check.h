#pragma once

#include "face_regions.h"
#include "image_measures.h"
#include "measure.h"

#include "frame.h"
#include "head_measure.h"

#include <QRectF>

#include <optional>
#include <vector>

class TBitmap32;

/// What the face models found in one photo (turned upright), in photo pixels.
struct TPhotoFacts {
    int PhotoWidth = 0;
    int PhotoHeight = 0;
    /// Every person's face found, most likely first; the first is the one
    /// checked. A face the mesh doubts is a person's (an animal, a pattern)
    /// is not among them.
    std::vector<QRectF> Faces;
    /// The faces were counted up to the most the analysis looks for: there
    /// may be more.
    bool MoreFaces = false;
    /// The checked face's landmarks and its measured head.
    TFaceLandmarks Landmarks;
    THead Head;
    /// Where its crown comes from: seen, estimated (and why), or given.
    TCrownSource Crown = TCrownSource::Unclear;
    /// The person reaches the photo's top edge above the face: the crown is
    /// cut off, wherever the measured crown was put.
    bool CrownCut = false;
    TPersonMaskMap Person;
};

/// The facts of Photo from its measured faces (MeasureFaces), the first
/// being the one checked; MoreFaces when MeasureFaces stopped at its most.
TPhotoFacts PhotoFactsOf(const TBitmap32& Photo, const std::vector<TMeasuredFace>& Faces, bool MoreFaces = false);

/// The most faces AnalysePhoto measures; a group photo says "at least" so many.
inline constexpr int kMostFacesCounted = 12;

/// The photo's own measures, which do not depend on the frame: computed once
/// per photo, then judged for every frame.
struct TPhotoMeasures {
    bool HasFace = false;
    TPose Pose;
    double EyeOpening = 0;
    double MouthOpening = 0;
    double EyePixels = 0;
    TBackgroundMeasure Background;
    TFaceLight Light;
    /// None where the face is too small in the photo to judge it.
    std::optional<double> Sharpness;
    TGlassesMeasure Glasses;
    /// How strongly the JPEG grid shows around the face (1: not at all);
    /// none where the face is too small to judge it.
    std::optional<double> Compression;
    /// Where the eyes look, none where they cannot be seen well enough.
    std::optional<TGaze> Gaze;
    /// The colour of what should be neutral (the whites of the eyes), in
    /// CIELAB chroma; none where none is seen.
    std::optional<double> NeutralCast;
    /// A plain background was put behind the person: the photo as printed
    /// (or sent) is edited.
    bool BackgroundReplaced = false;
};

TPhotoMeasures MeasurePhoto(const TBitmap32& Photo, const TPhotoFacts& Facts);

/// Everything the check knows of one photo, computed once.
struct TPhotoAnalysis {
    std::vector<TMeasuredFace> Faces;
    TPhotoFacts Facts;
    TPhotoMeasures Measured;
};

/// Runs the face models on Photo and measures it. Raises EFaceModel when a
/// model cannot be used.
TPhotoAnalysis AnalysePhoto(const TBitmap32& Photo, TFaceModels& Models);

/// The checked face's crown and chin put on the user's Lines: its measured
/// head (and so automatic framing), the facts (the crown given, cut when it
/// lies above the photo) and the photo's own measures follow. Without a face
/// nothing changes.
void UseHeadLines(TPhotoAnalysis& Analysis, const TBitmap32& Photo, const THeadLines& Lines);

/// The person mask of the whole photo (a square about it), far coarser than
/// a face's: what lies beyond a face's mask, such as the body below it.
TPersonMaskMap WholePhotoPersonMask(const TBitmap32& Photo, TPersonMask& Mask);

/// The check's table for the photo framed by Frame for Rule: one line per row
/// of MeasureTable() that applies, in the table's order, each with its
/// value, limit, verdict, sentence and source in the catalogue's language
/// (the head height's in Wording, the framing library's). Where Rule comes
/// from a document's row, the row gives the head, eye line, top margin,
/// glasses, background colours and edits, and those lines cite its office's
/// page, naming the document as DocumentName (empty: the row's id). With no
/// face, only "one_face", failing.
TMeasures CheckPhoto(const TPhotoFacts& Facts, const TPhotoMeasures& Measured, const TFrame& Frame,
                     const THeadRule& Rule, const TWording& Wording = {}, const QString& DocumentName = {});

/// The frame an unframed photo prints as: the whole photo in the cell,
/// anchored top-left, the cell's shape filled out to the right or below.
TFrame UnframedFrame(int PhotoWidth, int PhotoHeight, const THeadRule& Rule);

/// The ids of every measure, in table order.
QStringList CheckIds();
