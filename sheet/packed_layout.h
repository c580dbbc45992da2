#pragma once

#include "cut_marks.h"

/// How the copies stand on a page: spread evenly over it (the sheet
/// printer's grid), or packed side by side with a fixed gap, the block
/// centred on the page, which leaves less to cut.
enum class TSheetArrangement { Even, Packed };

/// The gap of a packed sheet, in tenths of a millimetre.
inline constexpr int kMinPackedGap = 0;
inline constexpr int kMaxPackedGap = 50;
inline constexpr int kDefaultPackedGap = 20;

/// The margin photo lab prints keep clear on every side, in tenths of a
/// millimetre: labs trim prints made to the edge, and that must cut no photo.
inline constexpr int kMinLabMargin = 0;
inline constexpr int kMaxLabMargin = 100;
inline constexpr int kDefaultLabMargin = 30;

struct TSheetLayout {
    TSheetArrangement Arrangement = TSheetArrangement::Even;
    int GapTenthsMm = kDefaultPackedGap;   ///< packed only
    int LabMarginTenthsMm = kDefaultLabMargin;   ///< on photo lab printers only

    bool Packed() const { return Arrangement == TSheetArrangement::Packed; }
    bool operator==(const TSheetLayout&) const = default;
};

/// A gap in whole device pixels at `dpi`, rounded down.
int GapPixels(int gapTenthsMm, int dpi);

/// How many cells of `cell` pixels fit in `space` with `gap` pixels between
/// neighbours; 0 for a cell without pixels.
int PackedFit(int space, int cell, int gap);

/// The packed grid of cells on a printable area of `width` x `height`
/// whose top-left corner is (`offsetX`, `offsetY`): as many columns and rows
/// as PackedFit gives, the block centred in the area.
TSheetGrid PackedGrid(int width, int height, int offsetX, int offsetY, int cellWidth, int cellHeight,
                      int gapX, int gapY);

/// The arrangement, gap and lab margin stored with the sheet options; the
/// even grid with the default gap and margin until the user chooses, and
/// for values edited out of range.
TSheetLayout LoadSheetLayout();
/// Stores them; raises ESheetFormat (SheetSettingsNotSavedText) when the
/// settings cannot be written.
void SaveSheetLayout(const TSheetLayout& layout);
