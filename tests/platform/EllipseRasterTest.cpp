// The ellipse rule: exact small outlines, symmetry, closure and clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/raster/EllipseRaster.h"
#include "platform/raster/RasterOps.h"

namespace ratiscope {
namespace {

// The outline of `box` drawn into a picture of the box itself, rows joined by '/'.
std::string Outline(std::int32_t w, std::int32_t h) {
    std::vector<std::string> rows(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
    ForEachEllipsePixel(TRect{0, 0, w, h}, TRect{0, 0, w, h}, [&](int x, int y) { rows[y][x] = '#'; });
    std::string out;
    for (const auto& r : rows) out += (out.empty() ? "" : "/") + r;
    return out;
}

TEST(EllipseRaster, ExactOutlinesOfSmallBoxes) {
    struct Case {
        std::int32_t w, h;
        const char* rows;
    };
    const Case cases[] = {
        {1, 1, "#"},
        {2, 2, "##/##"},
        {3, 3, ".#./#.#/.#."},
        {4, 4, ".##./#..#/#..#/.##."},
        {5, 5, ".###./#...#/#...#/#...#/.###."},
        {7, 7, "..###../.#...#./#.....#/#.....#/#.....#/.#...#./..###.."},
        {8, 8, "..####../.#....#./#......#/#......#/#......#/#......#/.#....#./..####.."},
        {12, 7, "...######.../.##......##./#..........#/#..........#/#..........#/.##......##./...######..."},
        {9, 3, ".#######./#.......#/.#######."},
        {1, 4, "#/#/#/#"},
        {5, 1, "#####"},
        {2, 5, "##/##/##/##/##"},
    };
    for (const Case& c : cases) EXPECT_EQ(Outline(c.w, c.h), c.rows) << c.w << "x" << c.h;
}

TEST(EllipseRaster, EmptyAndInvertedBoxesDrawNothing) {
    const TRect boxes[] = {{5, 5, 5, 9}, {5, 5, 9, 5}, {9, 5, 5, 9}, {5, 9, 9, 5}};
    for (const TRect& b : boxes) {
        int n = 0;
        ForEachEllipsePixel(b, TRect{0, 0, 20, 20}, [&](int, int) { ++n; });
        EXPECT_EQ(n, 0) << b.left << "," << b.top << "," << b.right << "," << b.bottom;
    }
}

// Every box from 1 x 1 to 60 x 60: inside the box, touching all four sides,
// symmetric about both centre lines, and closed (for boxes of 3 x 3 and more,
// a 4-connected fill from the centre does not reach the box's edge).
TEST(EllipseRaster, OutlinesStayInTheirBoxAreSymmetricAndClosed) {
    for (std::int32_t w = 1; w <= 60; ++w)
        for (std::int32_t h = 1; h <= 60; ++h) {
            const TRect box{3, 4, 3 + w, 4 + h};
            TImage img(w + 6, h + 8, 0xFF000000u);
            bool outside = false;
            ForEachEllipsePixel(box, TRect{0, 0, img.Width(), img.Height()}, [&](int x, int y) {
                outside |= !box.Contains(x, y);
                img.Set(x, y, 0xFFFFFFFFu);
            });
            ASSERT_FALSE(outside) << w << "x" << h;
            bool left = false, right = false, top = false, bottom = false, symmetric = true;
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x) {
                    const bool on = img.At(x, y) == 0xFFFFFFFFu;
                    left |= on && x == box.left;
                    right |= on && x == box.right - 1;
                    top |= on && y == box.top;
                    bottom |= on && y == box.bottom - 1;
                    symmetric &= on == (img.At(box.left + box.right - 1 - x, y) == 0xFFFFFFFFu);
                    symmetric &= on == (img.At(x, box.top + box.bottom - 1 - y) == 0xFFFFFFFFu);
                }
            ASSERT_TRUE(left && right && top && bottom) << w << "x" << h;
            ASSERT_TRUE(symmetric) << w << "x" << h;
            const int cx = (box.left + box.right - 1) / 2, cy = (box.top + box.bottom - 1) / 2;
            if (w >= 3 && h >= 3 && img.At(cx, cy) != 0xFFFFFFFFu) {
                FloodFillImage(img, cx, cy, 0xFFFFFFFFu, 0xFF00FF00u);
                for (int x = 0; x < img.Width(); ++x) ASSERT_NE(img.At(x, 0), 0xFF00FF00u) << w << "x" << h;
                for (int y = 0; y < img.Height(); ++y) ASSERT_NE(img.At(0, y), 0xFF00FF00u) << w << "x" << h;
            }
        }
}

TEST(EllipseRaster, ClippedOutlineIsTheVisiblePartOfTheWholeOne) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coord(-80, 120);
    const TRect clip{0, 0, 50, 40};
    for (int trial = 0; trial < 500; ++trial) {
        int l = coord(rng), t = coord(rng), r = coord(rng), b = coord(rng);
        if (r < l) std::swap(l, r);
        if (b < t) std::swap(t, b);
        std::vector<std::pair<int, int>> whole, clipped;
        ForEachEllipsePixel(TRect{l, t, r, b}, TRect{-1000, -1000, 1000, 1000}, [&](int x, int y) {
            if (clip.Contains(x, y)) whole.emplace_back(x, y);
        });
        ForEachEllipsePixel(TRect{l, t, r, b}, clip, [&](int x, int y) { clipped.emplace_back(x, y); });
        std::sort(whole.begin(), whole.end());
        std::sort(clipped.begin(), clipped.end());
        ASSERT_EQ(clipped, whole) << l << "," << t << "," << r << "," << b;
    }
}

TEST(EllipseRaster, HugeBoxesCostOnlyTheClip) {
    const TRect clip{0, 0, 64, 48};
    const TRect boxes[] = {
        {-2000000000, -1500000000, 2000000000, 1500000000},  // the image sits deep inside: nothing visible
        {-100000, 10, 100064, 40},                            // flat and wide: its top and bottom cross the image
        {-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647},
        {20, -1000000, 40, 1000000},                          // tall and thin
    };
    for (const TRect& b : boxes) {
        long visits = 0, inside = 0;
        ForEachEllipsePixel(b, clip, [&](int x, int y) {
            ++visits;
            inside += clip.Contains(x, y);
        });
        EXPECT_EQ(visits, inside);
        EXPECT_LE(visits, 2 * (64 + 48) + 8);
    }
    long flat = 0;
    ForEachEllipsePixel(TRect{-100000, 10, 100064, 40}, clip, [&](int, int) { ++flat; });
    EXPECT_GE(flat, 2 * 64);  // both long edges cross the whole width
}

}  // namespace
}  // namespace ratiscope
