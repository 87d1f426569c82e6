// The font size for an 11-pixel cell: the walk from a guess finds what a
// measurement of every size would find, for the cells real faces have, and
// with the right guess sets up only two sizes.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <vector>

#include "platform/raster/CellFontSize.h"

namespace ratiscope {
namespace {

constexpr int kCell = 11;
constexpr int kSmallest = 4;

// Cells measured with Qt's full hinting, without antialiasing, for pixel
// sizes 4, 5, ... 22.
const std::vector<int> kTahoma = {5, 6, 7, 8, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 22};
const std::vector<int> kDejaVuSans = {5, 6, 7, 9, 9, 10, 11, 13, 14, 15, 16, 18, 19, 20, 21, 22, 24, 25, 25};
const std::vector<int> kLiberationSans = {5, 6, 6, 7, 9, 10, 11, 12, 14, 15, 16, 17, 17, 19, 20, 21, 22, 23, 25};
const std::vector<int> kNimbusSans = {7, 8, 9, 11, 12, 13, 14, 16, 17, 18, 21, 22, 23, 25, 26, 27, 28, 30, 31};
const std::vector<int> kAllSmall(19, 8);
const std::vector<int> kAllTall(19, 12);

// The answer of measuring every size: the largest whose cell fits, the tallest fitting cell preferred.
std::optional<int> EverySize(const std::vector<int>& cells) {
    std::optional<int> best;
    int bestCell = 0;
    for (int i = 0; i < int(cells.size()); ++i)
        if (cells[i] <= kCell && cells[i] >= bestCell) {
            best = kSmallest + i;
            bestCell = cells[i];
        }
    return best;
}

TEST(CellFontSize, TheWalkFindsWhatMeasuringEverySizeFinds) {
    struct Case {
        const char* face;
        const std::vector<int>& cells;
        std::optional<int> size;
    };
    const Case cases[] = {
        {"Tahoma", kTahoma, 11},
        {"DejaVu Sans", kDejaVuSans, 10},
        {"Liberation Sans", kLiberationSans, 10},
        {"Nimbus Sans", kNimbusSans, 7},
        {"every size small", kAllSmall, 22},
        {"every size too tall", kAllTall, std::nullopt},
    };
    for (const Case& c : cases)
        for (int guess = 0; guess <= 30; ++guess) {
            const TCellSizeSearch search{kSmallest, kSmallest + int(c.cells.size()) - 1, guess};
            const auto cellOf = [&c](int px) { return c.cells.at(std::size_t(px - kSmallest)); };
            const std::optional<int> found = LargestSizeWithinCell(kCell, search, cellOf);
            EXPECT_EQ(found, c.size) << c.face << ", first guess " << guess;
            EXPECT_EQ(found, EverySize(c.cells)) << c.face << ", first guess " << guess;
        }
}

TEST(CellFontSize, TheRightGuessSetsUpTwoSizes) {
    struct Case {
        const char* face;
        const std::vector<int>& cells;
        int guess;
        std::set<int> measured;
    };
    const Case cases[] = {
        {"Tahoma, its own size", kTahoma, 11, {11, 12}},
        {"Tahoma, one too large", kTahoma, 12, {11, 12}},
        {"DejaVu Sans from Tahoma's size", kDejaVuSans, 11, {10, 11}},
        {"Nimbus Sans from Tahoma's size", kNimbusSans, 11, {7, 8, 9, 10, 11}},
    };
    for (const Case& c : cases) {
        std::set<int> measured;
        const auto cellOf = [&](int px) {
            measured.insert(px);
            return c.cells.at(std::size_t(px - kSmallest));
        };
        LargestSizeWithinCell(kCell, {kSmallest, 22, c.guess}, cellOf);
        EXPECT_EQ(measured, c.measured) << c.face;
    }
}

TEST(CellFontSize, AnEmptyRangeHasNoSize) {
    int measured = 0;
    const auto cellOf = [&measured](int) { return ++measured, 1; };
    EXPECT_EQ(LargestSizeWithinCell(kCell, {10, 9, 10}, cellOf), std::nullopt);
    EXPECT_EQ(measured, 0);
}

}  // namespace
}  // namespace ratiscope
