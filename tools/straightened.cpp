#include "straightened.h"

#include "messages.h"
#include "photo_check.h"
#include "straighten.h"
#include "turned_photo.h"

#include <cmath>

TStraightenedPhoto::TStraightenedPhoto(const TBitmap32& Photo, const std::optional<TSheetStraighten>& Straighten,
                                       TFaceModels& Models, QStringList& Warnings)
    : FPhoto(Photo)
{
    if (!Straighten)
        return;
    if (Straighten->Automatic) {
        const std::optional<double> level = LevellingTurn(Photo, AnalysePhoto(Photo, Models));
        if (!level)
            Warnings << MessageText(Msg::kNoFaceToStraighten);
        FTurn = level ? std::round(*level * 10) / 10 : 0;
    } else {
        FTurn = Straighten->Degrees;
    }
    if (FTurn != 0) {
        TurnPhoto(Photo, FTurn, FTurned);
        FTurned.SetStretchFilter(Photo.StretchFilter());
    }
}
