#pragma once

#include "photo_check.h"

#include <optional>

class TBitmap32;

/// The turn that levels the eyes of Photo, in degrees as TurnPhoto counts
/// them (counter-clockwise as seen), to be added to any turn the photo
/// already has; none when Analysis (Photo's) found no face. The face mesh
/// knows the eye line to about a degree; from there the photo is turned
/// until the mirror image of one eye meets the other level, to within
/// about a tenth of a degree.
std::optional<double> LevellingTurn(const TBitmap32& Photo, const TPhotoAnalysis& Analysis);

/// The fine turn the windows and quorlo-sheet take, either way.
inline constexpr double kMaxTurn = 45;
