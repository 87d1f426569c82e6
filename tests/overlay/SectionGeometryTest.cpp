// Exact coordinates of the looks, from the worked examples of the geometry.
#include <gtest/gtest.h>

#include <vector>

#include "overlay/SectionGeometry.h"

namespace ratiscope {
namespace {

TFigureInput Example(int look, int orient = 0) {
    TFigureInput in;  // 396 x 245, border 12, golden ratio, grid 8
    in.LookMode = look;
    in.OrientMode = orient;
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

    in.LookMode = 10;
    EXPECT_EQ(BuildFigure(in).primitives.size(), 1u + 2u + 1u);
    in.LookMode = 1;
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

    in.OrientMode = 2;  // from the bottom right corner, leftward and upward
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

TEST(SectionGeometry, LooksOutsideTheRangeAreEmpty) {
    for (int look : {14, -1, 1000}) EXPECT_TRUE(BuildFigure(Example(look)).primitives.empty()) << look;
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
