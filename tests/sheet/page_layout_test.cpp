#include "page_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(PageLayout, CopiesFollowInOrderAndContinueOnTheNextPage)
{
    struct Case {
        std::vector<int> counts;
        int capacity;
        std::vector<TSheetPage> pages;
    } cases[] = {
        // Three photos over two pages of six places.
        {{4, 3, 2}, 6, {{0, 0, 0, 0, 1, 1}, {1, 2, 2}}},
        // Exactly full pages: no empty page after them.
        {{3, 3}, 3, {{0, 0, 0}, {1, 1, 1}}},
        // Entries without copies take no place but keep the others' numbers.
        {{0, 2, -1, 1}, 4, {{1, 1, 3}}},
        {{}, 4, {}},
        {{5}, 0, {}},
        // One photo above a page's capacity.
        {{7}, 3, {{0, 0, 0}, {0, 0, 0}, {0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayoutPages(c.counts, c.capacity), c.pages) << "capacity " << c.capacity;
}

TEST(PageLayout, RefusesMoreThanTheLargestRun)
{
    EXPECT_EQ(LayoutPages({kMaxSheetPages * 10}, 10).size(), static_cast<std::size_t>(kMaxSheetPages));
    try {
        LayoutPages({kMaxSheetPages * 10, 1}, 10);
        FAIL() << "laid out";
    } catch (const ETooManyPages& e) {
        EXPECT_TRUE(e.Message.startsWith("1001 copies need more than 100 pages")) << e.Message.toStdString();
    }
    EXPECT_THROW(LayoutPages({2'000'000'000, 2'000'000'000}, 1), ETooManyPages);
}

}  // namespace
