// Windows kept on the screen they open on.
#include "on_screen.h"

#include <gtest/gtest.h>

TEST(KeptInside, AWindowMovesInOnlyAsFarAsItReachesPastTheArea)
{
    // A screen of 800 x 600 whose free area starts below a 30-pixel panel.
    const QRect area(0, 30, 800, 570);
    const struct {
        const char* what;
        QPoint at;
        QSize size;
        QPoint expected;
    } cases[] = {
        {"inside: stays", {100, 100}, {300, 200}, {100, 100}},
        {"past the top-left corner", {-28, -100}, {427, 400}, {0, 30}},
        {"past the bottom-right corner", {600, 500}, {300, 200}, {500, 400}},
        {"taller than the area: its top on it", {100, -100}, {427, 656}, {100, 30}},
        {"wider than the area: its left on it", {50, 100}, {900, 200}, {0, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(KeptInside(area, c.at, c.size), c.expected);
    }
}
