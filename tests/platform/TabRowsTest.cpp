// Wrapping tabs into rows: which tabs share a row, which row touches the
// pages, and where each tab lands.
#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/TabRows.h"

namespace ratiscope {
namespace {

using TRows = std::vector<std::vector<int>>;

TEST(WrapTabs, FillsRowsInOrderAndPutsTheChosenRowLast) {
    struct Case {
        std::vector<std::int32_t> widths;
        std::int32_t available;
        int selected;
        TRows rows;
    };
    const std::vector<Case> cases = {
        {{40, 40, 40, 60}, 171, 0, {{3}, {0, 1, 2}}},  // 0 1 2 fit (120), 3 does not (180)
        {{40, 40, 40, 60}, 180, 0, {{0, 1, 2, 3}}},
        {{40, 40, 40, 60}, 171, 3, {{0, 1, 2}, {3}}},
        {{60, 60, 60, 60}, 130, 0, {{2, 3}, {0, 1}}},
        {{60, 60, 60, 60}, 130, 2, {{0, 1}, {2, 3}}},
        {{60, 60, 60, 60, 60, 60}, 130, 2, {{4, 5}, {0, 1}, {2, 3}}},
        {{200, 30}, 100, 1, {{0}, {1}}},  // a tab wider than the row gets a row of its own
        {{200, 30}, 100, 0, {{1}, {0}}},
        {{}, 100, 0, {}},
        {{40, 40}, 100, -1, {{0, 1}}},
    };
    for (const Case& c : cases) {
        const TRows rows = WrapTabs(c.widths, c.available, c.selected);
        EXPECT_EQ(rows, c.rows) << "available " << c.available << ", selected " << c.selected;
    }
}

TEST(TabRects, OneRowKeepsNaturalWidthsSeveralRowsStretch) {
    const std::vector<std::int32_t> widths{40, 50, 60};
    const auto one = TabRects(widths, 200, 20, 0);
    EXPECT_EQ(one, (std::vector<TRect>{{0, 0, 40, 20}, {40, 0, 90, 20}, {90, 0, 150, 20}}));

    // Two rows of 100: [0 1] then [2]; choosing 2 keeps its row at the bottom.
    const auto two = TabRects(widths, 100, 20, 2);
    EXPECT_EQ(two, (std::vector<TRect>{{0, 0, 45, 20}, {45, 0, 100, 20}, {0, 20, 100, 40}}));
    // Choosing 0 rotates: [2] on top, [0 1] next to the pages.
    const auto rotated = TabRects(widths, 100, 20, 0);
    EXPECT_EQ(rotated, (std::vector<TRect>{{0, 20, 45, 40}, {45, 20, 100, 40}, {0, 0, 100, 20}}));
}

TEST(TabRects, OddRemaindersGoToTheLastTabOfTheRow) {
    const std::vector<std::int32_t> widths{30, 30, 30, 90};
    const auto r = TabRects(widths, 101, 10, 3);
    // Row [0 1 2] has 11 spare pixels: 3 each, the last tab takes the rest.
    EXPECT_EQ(r[0], (TRect{0, 0, 33, 10}));
    EXPECT_EQ(r[1], (TRect{33, 0, 66, 10}));
    EXPECT_EQ(r[2], (TRect{66, 0, 101, 10}));
    EXPECT_EQ(r[3], (TRect{0, 10, 101, 20}));
}

}  // namespace
}  // namespace ratiscope
