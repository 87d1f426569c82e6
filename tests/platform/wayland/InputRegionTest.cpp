// The input region of the native overlay: exact rows and merged bands below
// the cap, a coarser superset above it, and the region never larger than the cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/wayland/InputRegion.h"

namespace ratiscope {
namespace {

constexpr TPixel kKey = 0xFFFE00FEu, kLine = 0xFFFF0000u;

// '#' a shown pixel, '.' a key pixel.
TImage Picture(const std::vector<std::string>& rows) {
    TImage img(static_cast<std::int32_t>(rows[0].size()), static_cast<std::int32_t>(rows.size()), kKey);
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == '#') img.Set(static_cast<int>(x), static_cast<int>(y), kLine);
    return img;
}

// The region painted back as rows: '#' covered once, '2' covered twice (never wanted).
std::vector<std::string> Covered(const TInputRegion& region, std::int32_t w, std::int32_t h) {
    std::vector<std::string> rows(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
    for (const TRect& r : region.rectangles)
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            for (std::int32_t x = r.left; x < r.right; ++x) {
                char& c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                c = c == '.' ? '#' : '2';
            }
    return rows;
}

struct TExactCase {
    const char* name;
    std::vector<std::string> picture;
    std::vector<TRect> rectangles;
};

class ExactRegion : public testing::TestWithParam<TExactCase> {};

TEST_P(ExactRegion, CoversTheShownPixelsWithMergedBands) {
    const TExactCase& c = GetParam();
    const TImage img = Picture(c.picture);
    const TInputRegion region = BuildInputRegion(img, kKey);
    EXPECT_EQ(region.cell, 1);
    EXPECT_EQ(region.rectangles, c.rectangles);
    EXPECT_EQ(Covered(region, img.Width(), img.Height()), c.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ExactRegion,
    testing::Values(
        TExactCase{"all_key", {"....", "...."}, {}},
        TExactCase{"all_shown", {"###", "###"}, {{0, 0, 3, 2}}},
        // A frame: top and bottom rows are one run each, the sides one band of two runs.
        TExactCase{"frame",
                   {"#####", "#...#", "#...#", "#####"},
                   {{0, 0, 5, 1}, {0, 1, 1, 3}, {4, 1, 5, 3}, {0, 3, 5, 4}}},
        // Equal rows apart from each other are not merged: only neighbours are.
        TExactCase{"equal_rows_apart", {"#..", "...", "#.."}, {{0, 0, 1, 1}, {0, 2, 1, 3}}},
        TExactCase{"vertical_line", {".#.", ".#.", ".#.", ".#."}, {{1, 0, 2, 4}}},
        TExactCase{"staircase", {"#..", ".#.", "..#"}, {{0, 0, 1, 1}, {1, 1, 2, 2}, {2, 2, 3, 3}}},
        TExactCase{"runs_to_the_edges", {"#.#.##"}, {{0, 0, 1, 1}, {2, 0, 3, 1}, {4, 0, 6, 1}}}),
    [](const testing::TestParamInfo<TExactCase>& info) { return std::string(info.param.name); });

TEST(InputRegion, EmptyPictureHasNoRegion) {
    EXPECT_TRUE(BuildInputRegion(TImage(), kKey).rectangles.empty());
}

// A one-pixel grid: exact, it needs a rectangle per grid point.
TImage Grid(std::int32_t w, std::int32_t h, std::int32_t step) {
    TImage img(w, h, kKey);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            if (x % step == 0 || y % step == 0) img.Set(x, y, kLine);
    return img;
}

struct TCapCase {
    std::int32_t w, h, step;
    std::size_t cap;
    std::int32_t cell;  // the cell size that first fits under the cap
};

class CappedRegion : public testing::TestWithParam<TCapCase> {};

TEST_P(CappedRegion, CoarserCellsTakeOverAboveTheCap) {
    const TCapCase& c = GetParam();
    const TImage img = Grid(c.w, c.h, c.step);
    const TInputRegion region = BuildInputRegion(img, kKey, c.cap);
    EXPECT_EQ(region.cell, c.cell);
    EXPECT_LE(region.rectangles.size(), std::max<std::size_t>(c.cap, 1));
    // A superset of the shown pixels, no pixel twice, nothing outside the picture,
    // and no more than a cell away from a shown pixel.
    const auto covered = Covered(region, c.w, c.h);
    for (std::int32_t y = 0; y < c.h; ++y)
        for (std::int32_t x = 0; x < c.w; ++x) {
            const char got = covered[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            ASSERT_NE(got, '2') << x << "," << y;
            if (img.At(x, y) != kKey) {
                ASSERT_EQ(got, '#') << x << "," << y;
            }
            if (got == '#') {
                const std::int32_t cx = x / region.cell * region.cell, cy = y / region.cell * region.cell;
                bool shownInCell = false;
                for (std::int32_t v = cy; v < std::min(c.h, cy + region.cell); ++v)
                    for (std::int32_t u = cx; u < std::min(c.w, cx + region.cell); ++u) shownInCell |= img.At(u, v) != kKey;
                ASSERT_TRUE(shownInCell) << x << "," << y;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CappedRegion,
    testing::Values(
        // 8 x 8 grid points of 4 pixels, plus the full rows: 8 bands of 1 and 8 of 8 runs = 72 rectangles.
        TCapCase{32, 32, 4, 72, 1},
        TCapCase{32, 32, 4, 71, 4},  // cells of 2 still split the grid; cells of 4 cover it whole
        TCapCase{33, 17, 3, 10, 4},  // picture sides not a multiple of the cell
        TCapCase{64, 64, 8, 1, 8},   // cells of 8 each hold a grid line: one rectangle
        TCapCase{64, 64, 2, 1, 2},
        TCapCase{64, 64, 8, 0, 64}));  // a cap of 0 still gets the whole picture as one rectangle

// The grid of a full-screen figure stays under the default cap.
TEST(InputRegion, DenseFullScreenGridStaysUnderTheDefaultCap) {
    const TInputRegion region = BuildInputRegion(Grid(1280, 800, 2), kKey);
    EXPECT_LE(region.rectangles.size(), kMaxInputRectangles);
    EXPECT_GT(region.cell, 1);
}

// Random pictures: under a generous cap the region is the mask exactly.
TEST(InputRegion, RandomPicturesAreExact) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const std::int32_t w = 1 + static_cast<std::int32_t>(random() % 40), h = 1 + static_cast<std::int32_t>(random() % 30);
        std::vector<std::string> rows(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
        for (auto& row : rows)
            for (char& c : row) c = random() % 3 == 0 ? '#' : '.';
        // Repeat some rows so that bands form.
        for (std::size_t y = 1; y < rows.size(); ++y)
            if (random() % 2) rows[y] = rows[y - 1];
        const TInputRegion region = BuildInputRegion(Picture(rows), kKey, 100000);
        ASSERT_EQ(region.cell, 1);
        ASSERT_EQ(Covered(region, w, h), rows) << "round " << round;
    }
}

}  // namespace
}  // namespace ratiscope
