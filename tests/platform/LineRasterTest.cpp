// The line rule: exact pixels per octant, the end point left out, mirror
// symmetry and clipping by arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/raster/LineRaster.h"
#include "platform/raster/RasterCanvas.h"
#include "support/FakeTextEngine.h"

namespace ratiscope {
namespace {

using Pixels = std::vector<std::pair<int, int>>;

Pixels LinePixels(int x0, int y0, int x1, int y1, TRect clip = {-100000, -100000, 100000, 100000}) {
    Pixels out;
    ForEachLinePixel(x0, y0, x1, y1, clip, [&](int x, int y) { out.emplace_back(x, y); });
    return out;
}

// The rule written the slow, obvious way: every step, rounded on its own.
Pixels ReferencePixels(int x0, int y0, int x1, int y1) {
    Pixels out;
    const long dx = x1 - x0, dy = y1 - y0;
    const long n = std::max(std::labs(dx), std::labs(dy)), m = std::min(std::labs(dx), std::labs(dy));
    for (long i = 0; i < n; ++i) {
        long f = i * m / n;                             // floor of i m / n
        if (2 * (i * m - f * n) > n) ++f;              // past the half: round up; an exact half stays
        const long major = i, minor = f;
        const bool xMajor = std::labs(dx) >= std::labs(dy);
        const long sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
        out.emplace_back(x0 + sx * (xMajor ? major : minor), y0 + sy * (xMajor ? minor : major));
    }
    return out;
}

TEST(LineRaster, ExactPixelsOfEveryOctantAndAxis) {
    struct Case {
        const char* what;
        int x0, y0, x1, y1;
        Pixels pixels;
    };
    const Case cases[] = {
        {"zero length", 3, 3, 3, 3, {}},
        {"horizontal right", 0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {"horizontal left", 4, 0, 0, 0, {{4, 0}, {3, 0}, {2, 0}, {1, 0}}},
        {"vertical down", 0, 0, 0, 3, {{0, 0}, {0, 1}, {0, 2}}},
        {"vertical up", 0, 3, 0, 0, {{0, 3}, {0, 2}, {0, 1}}},
        {"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        // Octants, each 4 by 2 (or 2 by 4): the tie at the half step stays on the start's side.
        {"ENE", 0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {"NNE", 0, 0, 2, -4, {{0, 0}, {0, -1}, {1, -2}, {1, -3}}},
        {"NNW", 0, 0, -2, -4, {{0, 0}, {0, -1}, {-1, -2}, {-1, -3}}},
        {"WNW", 0, 0, -4, -2, {{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}}},
        {"WSW", 0, 0, -4, 2, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}}},
        {"SSW", 0, 0, -2, 4, {{0, 0}, {0, 1}, {-1, 2}, {-1, 3}}},
        {"SSE", 0, 0, 2, 4, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {"ESE", 0, 0, 4, -2, {{0, 0}, {1, 0}, {2, -1}, {3, -1}}},
        {"shallow 5 by 2", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {"steep 1 by 3", 10, 10, 11, 13, {{10, 10}, {10, 11}, {11, 12}}},
    };
    for (const Case& c : cases) EXPECT_EQ(LinePixels(c.x0, c.y0, c.x1, c.y1), c.pixels) << c.what;
}

TEST(LineRaster, MatchesTheReferenceAndMirrorsExactly) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-40, 40);
    for (int trial = 0; trial < 3000; ++trial) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        const Pixels p = LinePixels(x0, y0, x1, y1);
        ASSERT_EQ(p, ReferencePixels(x0, y0, x1, y1)) << x0 << "," << y0 << " -> " << x1 << "," << y1;
        // Mirrored in x, in y and in both, keeping the direction.
        for (const auto& [mx, my] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{-1, -1}}) {
            Pixels mirrored;
            for (const auto& [x, y] : p) mirrored.emplace_back(mx * x, my * y);
            EXPECT_EQ(LinePixels(mx * x0, my * y0, mx * x1, my * y1), mirrored);
        }
        // Neighbouring pixels touch (8-connected) and the end point is never lit.
        for (std::size_t i = 1; i < p.size(); ++i) {
            EXPECT_LE(std::abs(p[i].first - p[i - 1].first), 1);
            EXPECT_LE(std::abs(p[i].second - p[i - 1].second), 1);
        }
        EXPECT_EQ(std::count(p.begin(), p.end(), std::pair{x1, y1}), 0);
    }
}

TEST(LineRaster, ClippingKeepsExactlyTheVisiblePixels) {
    const TRect clip{0, 0, 50, 40};
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-300, 300);
    for (int trial = 0; trial < 3000; ++trial) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        Pixels expected;
        for (const auto& px : ReferencePixels(x0, y0, x1, y1))
            if (clip.Contains(px.first, px.second)) expected.push_back(px);
        ASSERT_EQ(LinePixels(x0, y0, x1, y1, clip), expected) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
}

TEST(LineRaster, LinesInsideAndLinesEndingOnTheEdgeAgree) {
    // Ends inside the clip take the short way; an end on the clip's far edge
    // takes the solved bounds: both light exactly the rule's visible pixels.
    const TRect clip{0, 0, 64, 48};
    std::mt19937 rng(13);
    std::uniform_int_distribution<int> x(0, 63), y(0, 47);
    for (int trial = 0; trial < 2000; ++trial) {
        const int x0 = x(rng), y0 = y(rng);
        for (const auto& [x1, y1] : {std::pair{64, y(rng)}, std::pair{x(rng), 48}, std::pair{x(rng), y(rng)}}) {
            Pixels expected;
            for (const auto& px : ReferencePixels(x0, y0, x1, y1))
                if (clip.Contains(px.first, px.second)) expected.push_back(px);
            ASSERT_EQ(LinePixels(x0, y0, x1, y1, clip), expected) << x0 << "," << y0 << " -> " << x1 << "," << y1;
        }
    }
}

TEST(LineRaster, FarOffImageLinesVisitOnlyVisiblePixels) {
    const TRect clip{0, 0, 64, 48};
    struct Case {
        int x0, y0, x1, y1;
    };
    const Case cases[] = {
        {-2000000000, -1000000000, 2000000000, 1000000000},   // crosses the image
        {-2147483647 - 1, 24, 2147483647, 24},                 // the whole 32-bit range, horizontal
        {2147483647, -2147483647 - 1, -2147483647 - 1, 2147483647},  // the other diagonal
        {-5000, 5000, 5000, -5000},
        {-5000, -7000, -3000, 9000},                           // passes left of the image
    };
    for (const Case& c : cases) {
        long visits = 0, inside = 0;
        ForEachLinePixel(c.x0, c.y0, c.x1, c.y1, clip, [&](int x, int y) {
            ++visits;
            inside += clip.Contains(x, y);
        });
        EXPECT_EQ(visits, inside) << c.x0 << "," << c.y0;
        EXPECT_LE(visits, 64 + 48);
    }
    // The one crossing the image does cross it.
    long crossing = 0;
    ForEachLinePixel(-2000000000, -1000000000, 2000000000, 1000000000, TRect{0, 0, 64, 48}, [&](int, int) { ++crossing; });
    EXPECT_GT(crossing, 40);
}

TEST(LineRaster, CanvasDrawsThePenModelWithItsFastPaths) {
    TFakeTextEngine engine;
    TRasterCanvas canvas(engine, 20, 10);
    canvas.FillRect({0, 0, 20, 10}, 0);
    canvas.SetPenColor(0x0000FF);  // red
    canvas.MoveTo(-100, 2);
    canvas.LineTo(5, 2);    // horizontal, from far left
    canvas.LineTo(5, 200);  // vertical, down past the bottom
    canvas.MoveTo(19, 9);
    canvas.LineTo(14, 4);   // diagonal up-left
    EXPECT_EQ(canvas.PenX(), 14);
    EXPECT_EQ(canvas.PenY(), 4);
    std::string rows;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) rows += canvas.Image().At(x, y) == 0xFFFF0000u ? '#' : '.';
        rows += '\n';
    }
    EXPECT_EQ(rows,
              "....................\n"
              "....................\n"
              "######..............\n"
              ".....#..............\n"
              ".....#..............\n"
              ".....#.........#....\n"
              ".....#..........#...\n"
              ".....#...........#..\n"
              ".....#............#.\n"
              ".....#.............#\n");
}

}  // namespace
}  // namespace ratiscope
