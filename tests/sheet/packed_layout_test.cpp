#include "packed_layout.h"

#include <gtest/gtest.h>

namespace {

// As many copies as fit with a gap between neighbours, none on the borders,
// the block centred in the printable area that starts at (10, 20).
TEST(PackedGrid, HoldsTheCopiesThatFitCentred)
{
    struct Case {
        int width, height, gap;
        int columns, rows, offsetX, offsetY;
    } cases[] = {
        // 35 x 45 mm at 300 dpi with 2 mm gaps: 3 * 413 + 2 * 23 = 1285 across,
        // 2 * 531 + 23 = 1085 down.
        {1285, 1085, 23, 3, 2, 10, 20},
        {1284, 1084, 23, 2, 1, 10 + 217, 20 + 276},
        {826, 1062, 0, 2, 2, 10, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", gap " << c.gap);
        const TSheetGrid grid = PackedGrid(c.width, c.height, 10, 20, 413, 531, c.gap, c.gap);
        EXPECT_EQ(grid.Columns, c.columns);
        EXPECT_EQ(grid.Rows, c.rows);
        EXPECT_EQ(grid.OffsetX, c.offsetX);
        EXPECT_EQ(grid.OffsetY, c.offsetY);
        EXPECT_EQ(grid.GapX, c.gap);
    }
}

}  // namespace
