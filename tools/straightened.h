#pragma once

#include "sheet_options.h"

#include "bitmap32.h"
#include "face_models.h"

#include <QStringList>

#include <optional>

/// A photo of a run as --straighten asks for it: the turn its cell (or
/// digital photo) takes, and the turned copy that the face models, the
/// frame and the plain background work on, as the framing window's do.
class TStraightenedPhoto {
public:
    /// Without Straighten the photo as it is. "auto" measures the photo
    /// (LevellingTurn, to a tenth of a degree, as the framing window's
    /// Straighten); a photo without a face stays as it is and adds a warning.
    TStraightenedPhoto(const TBitmap32& Photo, const std::optional<TSheetStraighten>& Straighten,
                       TFaceModels& Models, QStringList& Warnings);
    TStraightenedPhoto(const TStraightenedPhoto&) = delete;
    TStraightenedPhoto& operator=(const TStraightenedPhoto&) = delete;

    double Turn() const { return FTurn; }
    /// The photo as the run sees it: turned, or the photo itself.
    const TBitmap32& Seen() const { return FTurn != 0 ? FTurned : FPhoto; }

private:
    const TBitmap32& FPhoto;
    double FTurn = 0;
    TBitmap32 FTurned;
};
