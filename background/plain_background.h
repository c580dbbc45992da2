#pragma once

#include "color32.h"
#include "documents.h"
#include "head_rules.h"
#include "person_mask.h"

#include <QString>

#include <optional>

class TBitmap32;
struct TFrame;
struct TPhotoFacts;
struct TPhotoMeasures;

/// The plain colours offered for a background, as offices ask for them.
inline constexpr TColor32 kBackgroundWhite = Color32(255, 255, 255);
inline constexpr TColor32 kBackgroundLightGrey = Color32(220, 220, 220);
inline constexpr TColor32 kBackgroundLightBlue = Color32(200, 222, 245);
inline constexpr TColor32 kBackgroundOffWhite = Color32(246, 245, 240);
inline constexpr TColor32 kBackgroundCream = Color32(242, 236, 220);

/// A plain background chosen for one photo: its colour and the photo's person
/// masks (in photo pixels), computed once per photo and carried to every
/// cell: the face's, and the whole photo's for what lies beyond it (may be
/// empty).
struct TPlainBackground {
    TColor32 Colour = kBackgroundWhite;
    TPersonMaskMap Mask;
    TPersonMaskMap Beyond;
};

/// ReplaceBackground with the background's colour and masks.
void PutPlainBackground(TBitmap32& Cell, const TFrame& Frame, const TPlainBackground& Background);

/// The colour of a backdrop an office names.
TColor32 BackdropColour(TBackdrop Backdrop);

/// The colour the office of Rule's format asks for first (its row's
/// Backdrop, or the listed size's); for a size of the user's own, white for
/// a square photo and light grey for the rest.
TColor32 DefaultBackgroundColour(const THeadRule& Rule);

/// Whether a plain background is offered for Rule's format: not where the
/// office refuses a photo whose background was changed.
bool BackgroundOffered(const THeadRule& Rule);

/// Reads "white", "grey" (or "gray"), "blue" or "#RRGGBB"; none for
/// anything else.
std::optional<TColor32> ParseBackgroundColour(const QString& Text);

/// "#RRGGBB" of Colour.
QString BackgroundColourName(TColor32 Colour);

/// The photo's measures as they would be with Colour behind the person: the
/// background is measured again on a copy of the photo, shrunk to the
/// check's working scale, whose background was replaced as the print run
/// replaces a cell's, and the photo counts as edited (BackgroundReplaced);
/// the face's own measures stay as Measured has them. Without a face or a
/// mask, Measured as it is.
TPhotoMeasures MeasuredWithBackground(const TBitmap32& Photo, const TPhotoFacts& Facts,
                                      const TPhotoMeasures& Measured, TColor32 Colour);
