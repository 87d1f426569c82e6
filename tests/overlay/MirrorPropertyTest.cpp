// Orientations 1 to 3 are mirror images of orientation 0 for even sizes:
// compared as sets of segments with unordered end points.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "overlay/SectionGeometry.h"
#include "support/FigureSegments.h"

namespace ratiscope {
namespace {

using testing::Segments;

TEST(MirrorProperty, OrientationsMirrorOrientationZeroForEvenSizes) {
    std::mt19937 rng(20261208);
    const double ratios[] = {0.6180339887498949, 1.6180339887498947, 0.5, 2.0, 0.75, 1.3333333333333333,
                             0.7071067811865476, 1.0, 0.5625, 2.39};
    int checked = 0;
    for (int trial = 0; trial < 60; ++trial) {
        TFigureInput in;
        in.Width = 2 * std::uniform_int_distribution<int>(29, 600)(rng);
        in.Height = 2 * std::uniform_int_distribution<int>(10, 400)(rng);
        in.Border = std::uniform_int_distribution<int>(0, 30)(rng);
        in.GridSize = std::uniform_int_distribution<int>(3, 40)(rng);
        in.Ratio = ratios[trial % std::size(ratios)];
        const int left = in.Border, right = in.Border + in.Width;
        const int top = in.Border + 16, bottom = in.Border + 16 + in.Height;
        for (int look = 0; look <= 15; ++look) {
            if (look == 11) continue;  // the page canon ignores the orientation
            in.LookMode = TLook{look};
            in.OrientMode = TOrientation::TopLeft;
            const TFigure base = BuildFigure(in);
            const bool spiral = look >= 5 && look <= 7;
            for (int orient = 1; orient <= 3; ++orient) {
                in.OrientMode = TOrientation{orient};
                const bool flipX = orient == 1 || orient == 2, flipY = orient == 2 || orient == 3;
                auto mirror = [&](TPoint p) {
                    return TPoint{flipX ? left + right - p.x : p.x, flipY ? top + bottom - p.y : p.y};
                };
                const TFigure turned = BuildFigure(in);
                if (spiral) {
                    // The spirals come last; their points may differ by a pixel, so they are
                    // compared point by point, and the straight parts before them as segments.
                    const std::size_t spirals = look == 6 ? 4 : 1;
                    ASSERT_EQ(turned.primitives.size(), base.primitives.size());
                    for (std::size_t k = base.primitives.size() - spirals; k < base.primitives.size(); ++k) {
                        auto a = base.PointsOf(base.primitives[k]);
                        auto b = turned.PointsOf(turned.primitives[k]);
                        ASSERT_EQ(a.size(), b.size()) << "look " << look;
                        for (std::size_t i = 0; i < a.size(); ++i) {
                            const TPoint m = mirror(a[i]);
                            EXPECT_LE(std::abs(m.x - b[i].x), 1);
                            EXPECT_LE(std::abs(m.y - b[i].y), 1);
                        }
                    }
                    TFigure baseLines = base, turnedLines = turned;
                    baseLines.primitives.resize(base.primitives.size() - spirals);
                    turnedLines.primitives.resize(turned.primitives.size() - spirals);
                    EXPECT_EQ(Segments(turnedLines, [](TPoint p) { return p; }), Segments(baseLines, mirror))
                        << "look " << look << " orient " << orient;
                    ++checked;
                    continue;
                }
                EXPECT_EQ(Segments(turned, [](TPoint p) { return p; }), Segments(base, mirror))
                    << "look " << look << " orient " << orient << " size " << in.Width << "x" << in.Height
                    << " ratio " << in.Ratio << " grid " << in.GridSize;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 60 * 15 * 3);  // every look but the page canon, three orientations
}

}  // namespace
}  // namespace ratiscope
