// Exact coordinates of the looks, from the worked examples of the geometry.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "overlay/DiagonalLooks.h"
#include "overlay/SectionGeometry.h"

namespace ratiscope {
namespace {

TFigureInput Example(int look, int orient = 0) {
    TFigureInput in;  // 396 x 245, border 12, golden ratio, grid 8
    in.LookMode = TLook{look};
    in.OrientMode = TOrientation{orient};
    return in;
}

std::vector<int> VerticalXs(const TFigure& f) {
    std::vector<int> xs;
    for (const auto& p : f.primitives) {
        auto pts = f.PointsOf(p);
        if (p.kind == TPrimitiveKind::Line && pts[0].x == pts[1].x) xs.push_back(pts[0].x);
    }
    return xs;
}

std::vector<int> HorizontalYs(const TFigure& f) {
    std::vector<int> ys;
    for (const auto& p : f.primitives) {
        auto pts = f.PointsOf(p);
        if (p.kind == TPrimitiveKind::Line && pts[0].y == pts[1].y) ys.push_back(pts[0].y);
    }
    return ys;
}

const TPrimitive& OnlyPolyline(const TFigure& f, int index) {
    int seen = 0;
    for (const auto& p : f.primitives)
        if (p.kind == TPrimitiveKind::Polyline && seen++ == index) return p;
    throw std::runtime_error("no such polyline");
}

TEST(SectionGeometry, FramePerOrientation) {
    struct Case {
        int orient;
        TFrame frame;
    };
    const Case cases[] = {
        {0, {12, 28, 408, 273, +1, +1, 210, 150}},
        {1, {408, 28, 12, 273, -1, +1, 210, 150}},
        {2, {408, 273, 12, 28, -1, -1, 210, 150}},
        {3, {12, 273, 408, 28, +1, -1, 210, 150}},
        {7, {12, 273, 408, 28, +1, -1, 210, 150}},
    };
    for (const Case& c : cases) {
        const TFrame f = OrientationFrame(Example(1, c.orient));
        const TFrame& e = c.frame;
        EXPECT_EQ(std::vector<int>({f.X0, f.Y0, f.X1, f.Y1, f.DX, f.DY, f.CX, f.CY}),
                  std::vector<int>({e.X0, e.Y0, e.X1, e.Y1, e.DX, e.DY, e.CX, e.CY}))
            << "orient " << c.orient;
    }
}

TEST(SectionGeometry, WorkingRatioReplacesOneAndFolds) {
    EXPECT_EQ(WorkingRatio(1.0).N, 0.6180339887498949);
    EXPECT_EQ(WorkingRatio(2.0).N, 2.0);
    EXPECT_EQ(WorkingRatio(2.0).r, 0.5);
    EXPECT_EQ(WorkingRatio(0.25).r, 0.25);
}

TEST(SectionGeometry, RatioSequenceLinesOfTheWorkedExample) {
    const TFigure f = BuildFigure(Example(1));
    EXPECT_EQ(VerticalXs(f), (std::vector<int>{408, 257, 163, 105, 69, 47, 34, 26, 21, 12}));
    EXPECT_EQ(HorizontalYs(f), (std::vector<int>{273, 179, 121, 85, 63, 50, 42, 37, 28}));
    for (const auto& p : f.primitives) {
        auto pts = f.PointsOf(p);
        if (pts[0].x == pts[1].x) {
            EXPECT_EQ(pts[0].y, 28);
            EXPECT_EQ(pts[1].y, 273);
        }
    }
}

TEST(SectionGeometry, RatioSequenceStopsAtItsCapWhenRoundingStalls) {
    TFigureInput in = Example(1);
    in.Ratio = 0.999;  // round(v x 0.999) stops shrinking for small v
    in.GridSize = 3;
    const TFigure f = BuildFigure(in);
    EXPECT_EQ(f.primitives.size(), 2u * 102u);  // 101 lines and the origin edge, twice
}

TEST(SectionGeometry, FirstElementIsDrawnEvenBelowTheGrid) {
    TFigureInput in = Example(8);
    in.GridSize = 10000;
    const TFigure circles = BuildFigure(in);
    ASSERT_EQ(circles.primitives.back().kind, TPrimitiveKind::Circle);
    EXPECT_EQ(circles.primitives.size(), 1u + 2u + 1u);  // frame, halves, one circle
    auto box = circles.PointsOf(circles.primitives.back());
    EXPECT_EQ(box[0], (TPoint{210 - 198, 150 - 198}));
    EXPECT_EQ(box[1], (TPoint{210 + 198 + 1, 150 + 198 + 1}));

    in.LookMode = TLook::NestedFrames;
    EXPECT_EQ(BuildFigure(in).primitives.size(), 1u + 2u + 1u);
    in.LookMode = TLook::RatioSequence;
    EXPECT_EQ(BuildFigure(in).primitives.size(), 4u);
}

TEST(SectionGeometry, GridNeverDrawsTheFarEdge) {
    TFigureInput in = Example(0);
    in.Width = 400;
    in.Height = 240;
    const TFigure f = BuildFigure(in);
    const auto xs = VerticalXs(f);
    ASSERT_EQ(xs.size(), 50u);
    EXPECT_EQ(xs.front(), 12);
    EXPECT_EQ(xs.back(), 12 + 392);
    const auto ys = HorizontalYs(f);
    ASSERT_EQ(ys.size(), 30u);
    EXPECT_EQ(ys.back(), 28 + 232);

    in.OrientMode = TOrientation::BottomRight;  // from the bottom right corner, leftward and upward
    const auto mirrored = VerticalXs(BuildFigure(in));
    EXPECT_EQ(mirrored.front(), 412);
    EXPECT_EQ(mirrored.back(), 412 - 392);
}

TEST(SectionGeometry, SpiralOfTheWorkedExample) {
    const TFigure f = BuildFigure(Example(5));
    const TPrimitive& spiral = OnlyPolyline(f, 1);  // after the frame
    auto pts = f.PointsOf(spiral);
    ASSERT_GE(pts.size(), 4u);
    EXPECT_EQ(pts[0], (TPoint{12, 150}));
    EXPECT_EQ(pts[1], (TPoint{15, 140}));
    EXPECT_EQ(pts[2], (TPoint{19, 131}));
    EXPECT_EQ(pts[3], (TPoint{23, 122}));
    EXPECT_EQ(pts.size(), 1u + 209u);

    const TFigure slow = BuildFigure(Example(7));
    EXPECT_EQ(slow.PointsOf(OnlyPolyline(slow, 1)).size(), 1u + 837u);
}

TEST(SectionGeometry, SpiralStartsByCaseAndOrientation) {
    struct Case {
        double ratio;
        int orient;
        TPoint start1, start2, start3, start4;
    };
    // Half width 198 for N < 1, half height 122 for N >= 1, about (210, 150).
    const Case cases[] = {
        {0.6180339887498949, 0, {12, 150}, {408, 150}, {210, -48}, {210, 348}},
        {0.6180339887498949, 2, {408, 150}, {12, 150}, {210, 348}, {210, -48}},
        {1.6180339887498947, 0, {210, 28}, {210, 272}, {88, 150}, {332, 150}},
        {1.6180339887498947, 3, {210, 272}, {210, 28}, {88, 150}, {332, 150}},
    };
    for (const Case& c : cases) {
        TFigureInput in = Example(6, c.orient);
        in.Ratio = c.ratio;
        const TFigure f = BuildFigure(in);
        EXPECT_EQ(f.PointsOf(OnlyPolyline(f, 1))[0], c.start1);
        EXPECT_EQ(f.PointsOf(OnlyPolyline(f, 2))[0], c.start2);
        EXPECT_EQ(f.PointsOf(OnlyPolyline(f, 3))[0], c.start3);
        EXPECT_EQ(f.PointsOf(OnlyPolyline(f, 4))[0], c.start4);
    }
}

TEST(SectionGeometry, SpiralsEndAtTheirStepCap) {
    TFigureInput in = Example(5);
    in.Ratio = 0.99999999;  // barely shrinks: only the cap ends it
    in.GridSize = 3;
    const TFigure f = BuildFigure(in);
    EXPECT_EQ(f.PointsOf(OnlyPolyline(f, 1)).size(), 1u + 4001u);
}

TEST(SectionGeometry, RatioOfOneDrawsAsTheGoldenFactor) {
    TFigureInput golden = Example(9), one = Example(9);
    one.Ratio = 1.0;
    EXPECT_EQ(BuildFigure(golden).points, BuildFigure(one).points);
}

TEST(SectionGeometry, CentredSectionsPickTheThirdPairByCase) {
    TFigureInput in = Example(9);
    const TFigure narrow = BuildFigure(in);
    in.Ratio = 1.6180339887498947;
    const TFigure wide = BuildFigure(in);
    // Frame, 2 crosses, 4 plus marks (8 lines), halves, 2 x 4 section lines, then the last pair.
    ASSERT_EQ(narrow.primitives.size(), 1u + 2u + 8u + 2u + 8u + 2u);
    auto last = narrow.PointsOf(narrow.primitives.back());
    EXPECT_EQ(last[0].x, last[1].x);  // vertical: x = CX - round(198 r)
    EXPECT_EQ(last[0].x, 210 - 122);
    auto lastWide = wide.PointsOf(wide.primitives.back());
    EXPECT_EQ(lastWide[0].y, lastWide[1].y);  // horizontal
    EXPECT_EQ(lastWide[0].y, 150 - 75);       // round(122 x 0.618...) = 75
}

TEST(SectionGeometry, PageCanonSetsItsOwnFrame) {
    TFigureInput in = Example(11, 2);  // orientation is ignored
    const TCanon spread = CanonFrame(in);
    EXPECT_EQ(spread.ux, 22);
    EXPECT_EQ(spread.uy, 13);
    EXPECT_EQ(spread.frame.X0, 12);
    EXPECT_EQ(spread.frame.X1, 408);
    EXPECT_EQ(spread.frame.CX, 210);
    in.Ratio = 1.5;
    const TCanon page = CanonFrame(in);
    EXPECT_EQ(page.ux, 44);
    EXPECT_EQ(page.frame.X1, 12 + 2 * 396);
    EXPECT_EQ(page.frame.CX, 12 + 396);
    const TFigure f = BuildFigure(in);
    auto frame = f.PointsOf(f.primitives[0]);
    EXPECT_EQ(frame[1], (TPoint{804, 28}));
    auto leftBlock = f.PointsOf(f.primitives[3]);
    EXPECT_EQ(leftBlock[0], (TPoint{12 + 88, 28 + 13}));
    EXPECT_EQ(leftBlock[2], (TPoint{408 - 44, 273 - 26}));
}

TEST(SectionGeometry, SingleGoldenLinesSitAtTheShorterPartFromTheOrigin) {
    const TFigure f0 = BuildFigure(Example(13, 0));
    EXPECT_EQ(VerticalXs(f0), (std::vector<int>{12 + 151}));
    EXPECT_EQ(HorizontalYs(f0), (std::vector<int>{28 + 94}));
    const TFigure f2 = BuildFigure(Example(13, 2));
    EXPECT_EQ(VerticalXs(f2), (std::vector<int>{408 - 151}));
    EXPECT_EQ(HorizontalYs(f2), (std::vector<int>{273 - 94}));
}

TEST(SectionGeometry, ThirdsAndGoldenMarks) {
    const TFigure f = BuildFigure(Example(3));
    EXPECT_EQ(VerticalXs(f).front(), 12 + 132);
    EXPECT_EQ(HorizontalYs(f).front(), 28 + 81);
    // First plus mark at the golden point (X0 + 245, Y0 + 151).
    auto plus = f.PointsOf(f.primitives[5]);
    EXPECT_EQ(plus[0], (TPoint{12 + 245 - 8, 28 + 151}));
}

using Segments = std::vector<std::pair<TPoint, TPoint>>;

// The lines of a figure after its frame, each from its first point to its second.
Segments LinesAfterFrame(const TFigure& f) {
    Segments out;
    EXPECT_EQ(f.primitives.at(0).kind, TPrimitiveKind::Polyline);
    for (std::size_t i = 1; i < f.primitives.size(); ++i) {
        auto pts = f.PointsOf(f.primitives[i]);
        EXPECT_EQ(f.primitives[i].kind, TPrimitiveKind::Line);
        out.push_back({pts[0], pts[1]});
    }
    return out;
}

TFigureInput Sized(int look, int orient, std::int32_t w, std::int32_t h) {
    TFigureInput in = Example(look, orient);
    in.Width = w;
    in.Height = h;
    return in;
}

TEST(SectionGeometry, GoldenTrianglesDiagonalAndTheFeetOfThePerpendiculars) {
    struct Case {
        std::int32_t w, h;
        int orient;
        Segments lines;
    };
    // 396 x 245 at border 12: the rectangle spans (12, 28) to (408, 273). The feet
    // lie 286, 177 and 110, 68 from the origin edges: 396^3 / (396^2 + 245^2) = 286.38.
    const Case cases[] = {
        {396, 245, 0, {{{12, 28}, {408, 273}}, {{408, 28}, {298, 205}}, {{12, 273}, {122, 96}}}},
        {396, 245, 1, {{{408, 28}, {12, 273}}, {{12, 28}, {122, 205}}, {{408, 273}, {298, 96}}}},
        {396, 245, 2, {{{408, 273}, {12, 28}}, {{12, 273}, {122, 96}}, {{408, 28}, {298, 205}}}},
        {396, 245, 3, {{{12, 273}, {408, 28}}, {{408, 273}, {298, 96}}, {{12, 28}, {122, 205}}}},
        // Upright 200 x 300 (12, 28)-(212, 328): feet 62, 92 and 138, 208.
        {200, 300, 0, {{{12, 28}, {212, 328}}, {{212, 28}, {74, 120}}, {{12, 328}, {150, 236}}}},
        {200, 300, 3, {{{12, 328}, {212, 28}}, {{212, 328}, {74, 236}}, {{12, 28}, {150, 120}}}},
        // A square: both feet are the centre.
        {120, 120, 0, {{{12, 28}, {132, 148}}, {{132, 28}, {72, 88}}, {{12, 148}, {72, 88}}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinesAfterFrame(BuildFigure(Sized(14, c.orient, c.w, c.h))), c.lines)
            << c.w << "x" << c.h << " orient " << c.orient;
    const TFigure f = BuildFigure(Example(14, 2));
    EXPECT_EQ(std::vector<TPoint>(f.PointsOf(f.primitives[0]).begin(), f.PointsOf(f.primitives[0]).end()),
              (std::vector<TPoint>{{408, 273}, {12, 273}, {12, 28}, {408, 28}, {408, 273}}));
}

TEST(SectionGeometry, DiagonalMethodFortyFiveDegreesFromEveryCornerToTheFarSide) {
    struct Case {
        std::int32_t w, h;
        int orient;
        Segments lines;
    };
    const Case cases[] = {
        // Landscape: each line runs 245 across and down and meets the top or bottom side.
        {396, 245, 0, {{{12, 28}, {257, 273}}, {{408, 28}, {163, 273}}, {{408, 273}, {163, 28}}, {{12, 273}, {257, 28}}}},
        {396, 245, 1, {{{408, 28}, {163, 273}}, {{12, 28}, {257, 273}}, {{12, 273}, {257, 28}}, {{408, 273}, {163, 28}}}},
        {396, 245, 2, {{{408, 273}, {163, 28}}, {{12, 273}, {257, 28}}, {{12, 28}, {257, 273}}, {{408, 28}, {163, 273}}}},
        {396, 245, 3, {{{12, 273}, {257, 28}}, {{408, 273}, {163, 28}}, {{408, 28}, {163, 273}}, {{12, 28}, {257, 273}}}},
        // Upright: 200 across and down, meeting the left or right side.
        {200, 300, 0, {{{12, 28}, {212, 228}}, {{212, 28}, {12, 228}}, {{212, 328}, {12, 128}}, {{12, 328}, {212, 128}}}},
        {200, 300, 2, {{{212, 328}, {12, 128}}, {{12, 328}, {212, 128}}, {{12, 28}, {212, 228}}, {{212, 28}, {12, 228}}}},
        // A square: corner to corner.
        {120, 120, 1, {{{132, 28}, {12, 148}}, {{12, 28}, {132, 148}}, {{12, 148}, {132, 28}}, {{132, 148}, {12, 28}}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinesAfterFrame(BuildFigure(Sized(15, c.orient, c.w, c.h))), c.lines)
            << c.w << "x" << c.h << " orient " << c.orient;
}

TEST(SectionGeometry, DiagonalLengthsOfOddAndEmptyRectangles) {
    const TTriangleFeet odd = GoldenTriangleFeet(101, 63);
    // 101^3 / (101^2 + 63^2) = 72.75 and 63 x 101^2 / 14170 = 45.35; 101 x 63^2 / 14170 = 28.29, 63^3 / 14170 = 17.65.
    EXPECT_EQ(odd.x1, 73);
    EXPECT_EQ(odd.y1, 45);
    EXPECT_EQ(odd.x2, 28);
    EXPECT_EQ(odd.y2, 18);
    const TTriangleFeet none = GoldenTriangleFeet(0, 0);
    EXPECT_EQ(none.x1 + none.y1 + none.x2 + none.y2, 0) << "an empty rectangle has no diagonal to drop onto";
    EXPECT_EQ(DiagonalReach(396, 245), 245);
    EXPECT_EQ(DiagonalReach(58, 0), 0);
    EXPECT_EQ(DiagonalReach(58, -3), 0);
}

TEST(SectionGeometry, LooksOutsideTheRangeAreEmpty) {
    for (int look : {kBuiltInLookCount, -1, 1000}) EXPECT_TRUE(BuildFigure(Example(look)).primitives.empty()) << look;
}

TEST(SectionGeometry, NestedFramesShareOneInset) {
    const TFigure f = BuildFigure(Example(10));
    // d = round(396 r^4) = 58, then 36, 22, 14, 9.
    std::vector<int> insets;
    for (std::size_t i = 3; i < f.primitives.size(); ++i) insets.push_back(f.PointsOf(f.primitives[i])[0].x - 12);
    EXPECT_EQ(insets, (std::vector<int>{58, 36, 22, 14, 9}));
    auto first = f.PointsOf(f.primitives[3]);
    EXPECT_EQ(first[2], (TPoint{408 - 58, 273 - 58}));
}

}  // namespace
}  // namespace ratiscope
