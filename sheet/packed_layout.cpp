#include "packed_layout.h"

#include "registry.h"
#include "sheet_formats.h"
#include "sheet_settings.h"

#include <algorithm>
#include <cstdint>

namespace {

const QString kPackedName = QStringLiteral("Packed");
const QString kGapName = QStringLiteral("PackedGap");
const QString kLabMarginName = QStringLiteral("LabMargin");

}  // namespace

int GapPixels(int gapTenthsMm, int dpi)
{
    if (gapTenthsMm <= 0 || dpi <= 0)
        return 0;
    // 254 tenths of a millimetre to the inch, in integers: 2 mm at 300 dpi
    // is 23.6 pixels and gives 23.
    return static_cast<int>(std::int64_t{gapTenthsMm} * dpi / 254);
}

int PackedFit(int space, int cell, int gap)
{
    if (cell <= 0 || space < cell)
        return 0;
    // n cells and n - 1 gaps: n * (cell + gap) <= space + gap.
    return static_cast<int>((std::int64_t{space} + std::max(gap, 0)) / (std::int64_t{cell} + std::max(gap, 0)));
}

TSheetGrid PackedGrid(int width, int height, int offsetX, int offsetY, int cellWidth, int cellHeight,
                      int gapX, int gapY)
{
    TSheetGrid grid;
    grid.Columns = PackedFit(width, cellWidth, gapX);
    grid.Rows = PackedFit(height, cellHeight, gapY);
    grid.CellWidth = cellWidth;
    grid.CellHeight = cellHeight;
    grid.GapX = std::max(gapX, 0);
    grid.GapY = std::max(gapY, 0);
    const auto blockSide = [](int n, int cell, int gap) {
        return n > 0 ? std::int64_t{n} * cell + std::int64_t{n - 1} * gap : 0;
    };
    grid.OffsetX = offsetX + static_cast<int>((width - blockSide(grid.Columns, cellWidth, grid.GapX)) / 2);
    grid.OffsetY = offsetY + static_cast<int>((height - blockSide(grid.Rows, cellHeight, grid.GapY)) / 2);
    return grid;
}

TSheetLayout LoadSheetLayout()
{
    TSheetLayout layout;
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(QString::fromUtf8(kSheetSettingsKey)))
        return layout;
    if (reg.ReadInteger(kPackedName).value_or(0) != 0)
        layout.Arrangement = TSheetArrangement::Packed;
    const int gap = reg.ReadInteger(kGapName).value_or(kDefaultPackedGap);
    if (gap >= kMinPackedGap && gap <= kMaxPackedGap)
        layout.GapTenthsMm = gap;
    const int margin = reg.ReadInteger(kLabMarginName).value_or(kDefaultLabMargin);
    if (margin >= kMinLabMargin && margin <= kMaxLabMargin)
        layout.LabMarginTenthsMm = margin;
    return layout;
}

void SaveSheetLayout(const TSheetLayout& layout)
{
    TRegistry reg;
    if (!reg.OpenKey(QString::fromUtf8(kSheetSettingsKey), true)
        || !reg.WriteInteger(kPackedName, layout.Packed() ? 1 : 0)
        || !reg.WriteInteger(kGapName, std::clamp(layout.GapTenthsMm, kMinPackedGap, kMaxPackedGap))
        || !reg.WriteInteger(kLabMarginName, std::clamp(layout.LabMarginTenthsMm, kMinLabMargin, kMaxLabMargin)))
        throw ESheetFormat(SheetSettingsNotSavedText());
}
