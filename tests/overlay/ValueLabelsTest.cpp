// Where each look's values go and what they read, from the worked examples;
// positions are checked on the recording canvas (6 pixels a character, 11 high).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/Numbers.h"
#include "overlay/SectionGeometry.h"
#include "overlay/ValueLabels.h"
#include "settings/FigureFile.h"
#include "settings/Looks.h"
#include "settings/LangTable.h"
#include "support/RecordingCanvas.h"

namespace ratiscope {
namespace {

using Calls = std::vector<std::string>;

// 396 x 245 at border 12, golden ratio, grid 8: window 420 x 285, centre (210, 150).
TFigureInput Example(int look, int orient = 0) {
    TFigureInput in;
    in.LookMode = TLook{look};
    in.OrientMode = TOrientation{orient};
    return in;
}

TLangTable EnglishTemplates() {
    TLangTable t;
    t.MergeLangPair("MWidthHeight", "%d x %d");
    t.MergeLangPair("MGridSize", "Grid %d");
    return t;
}

// The texts of the boxed labels ("centred over x") in drawing order.
Calls BoxedTexts(const TRecordingCanvas& c) {
    Calls out;
    for (const auto& line : c.CallsOf("DrawTextInBox ")) {
        const auto open = line.find('"'), close = line.find('"', open + 1);
        out.push_back(line.substr(open + 1, close - open - 1));
    }
    return out;
}

TEST(RatioSequenceText, ChainsOfTheGoldenFactor) {
    struct Case {
        std::int32_t length;
        double r;
        const char* text;
    };
    const Case cases[] = {
        {396, kGoldenFactor, "641,396,245,151,93,57,35,22,14,9,6,4,2"},
        {198, kGoldenFactor, "320,198,122,75,46,28,17,11,7,4,2"},
        // The given length is always listed, even when it is below 2.
        {1, kGoldenFactor, "2,1"},
        {2, 0.5, "4,2"},
        // A factor near 1 stops at 21 members after the larger one.
        {1000, 0.999, "1001,1000,999,998,997,996,995,994,993,992,991,990,989,988,987,986,985,984,983,982,981,980"},
    };
    for (const Case& c : cases) EXPECT_EQ(RatioSequenceText(c.length, c.r), c.text) << c.length;
}

TEST(ValueLabels, HalfLabelsOfAnOddWidthPutTheSmallerHalfFirst) {
    TFigureInput in = Example(2);
    in.Width = 397;  // centre x (12 + 409) div 2 = 210
    TRecordingCanvas c;
    DrawHalfLabels(c, in, OrientationFrame(in));
    EXPECT_EQ(c.calls, (Calls{
                           "SetFontAngle 0",
                           "TextOut 102,18 \"198\"",  // 210 - 397 div 4 - 18 div 2, border + 6
                           "TextOut 300,18 \"199\"",  // 210 + 99 - 9
                           "SetFontAngle 90",
                           "TextOut 1,98 \"122\"",  // border - 11; 150 - 61 + 9: centred on its half
                           "TextOut 1,220 \"123\"",
                       }));
}

TEST(ValueLabels, GridLabelsEveryThirdLineAboveAndFromZeroAtTheLeft) {
    TRecordingCanvas c;
    const TFigureInput in = Example(0);
    DrawGridLabels(c, in, OrientationFrame(in), EnglishTemplates());
    Calls above;
    for (int v = 24; v <= 376; v += 24) above.push_back(std::to_string(v));
    EXPECT_EQ(BoxedTexts(c), above);
    // Centred over the line (x = 12 + 24), bottom at border + 17.
    EXPECT_EQ(c.CallsOf("DrawTextInBox ").front(), "DrawTextInBox \"24\" 36,29,36,29 5");
    const Calls out = c.CallsOf("TextOut ");
    ASSERT_EQ(out.size(), 11u);
    EXPECT_EQ(out[0], "TextOut 15,274 \"Grid 8\"");
    EXPECT_EQ(out[1], "TextOut 1,31 \"0\"");    // turned, centred on y = 28
    EXPECT_EQ(out[2], "TextOut 1,58 \"24\"");   // 28 + 24 + 6
    EXPECT_EQ(out[10], "TextOut 1,253 \"216\"");
    EXPECT_EQ(c.CallsOf("SetFontAngle"), (Calls{"SetFontAngle 0", "SetFontAngle 90"}));
}

TEST(ValueLabels, GridLabelsMirrorWithTheOrigin) {
    // Origin at the right: offset 0 now lies at x = 408 and passes the position test.
    TRecordingCanvas c;
    const TFigureInput in = Example(0, 2);
    DrawGridLabels(c, in, OrientationFrame(in), EnglishTemplates());
    EXPECT_EQ(c.CallsOf("DrawTextInBox ").front(), "DrawTextInBox \"0\" 408,29,408,29 5");
    EXPECT_EQ(c.CallsOf("TextOut ")[1], "TextOut 1,276 \"0\"");  // y = 273 + 3
}

TEST(ValueLabels, RatioLinePositionsAndSpacings) {
    TRecordingCanvas c;
    const TFigureInput in = Example(1);
    DrawRatioLineLabels(c, in, OrientationFrame(in), WorkingRatio(in.Ratio).r);
    // Positions above (bottom at 29), spacings below (top at 273), alternating.
    const Calls boxed = c.CallsOf("DrawTextInBox ");
    ASSERT_GE(boxed.size(), 4u);
    EXPECT_EQ(boxed[0], "DrawTextInBox \"396\" 408,29,408,29 5");
    EXPECT_EQ(boxed[1], "DrawTextInBox \"245\" 257,29,257,29 5");
    EXPECT_EQ(boxed[2], "DrawTextInBox \"151\" 332,273,332,273 1");  // between 396 and 245
    EXPECT_EQ(boxed[3], "DrawTextInBox \"151\" 163,29,163,29 5");
    // Small neighbours crowd out: 14 lies within "14"'s width of 22, 9 of 14,
    // and the spacing 14 - 9 = 5 is narrower than "5".
    EXPECT_EQ(BoxedTexts(c),
              (Calls{"396", "245", "151", "151", "94", "93", "58", "57", "36", "35", "22", "22", "13", "8"}));
    // Turned: positions in the left margin, spacings in the right one.
    const Calls out = c.CallsOf("TextOut ");
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0], "TextOut 1,282 \"245\"");    // y = 273, centred: + 9
    EXPECT_EQ(out[1], "TextOut 1,188 \"151\"");
    EXPECT_EQ(out[2], "TextOut 408,232 \"94\"");  // between 245 and 151: 28 + 198 + 6
}

TEST(ValueLabels, FullWidthPositionIsNotLabelledWhenTheOriginIsAtTheRight) {
    for (int orient : {1, 2}) {
        TRecordingCanvas c;
        const TFigureInput in = Example(1, orient);
        DrawRatioLineLabels(c, in, OrientationFrame(in), WorkingRatio(in.Ratio).r);
        const Calls texts = BoxedTexts(c);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "396"), 0) << orient;
        EXPECT_EQ(texts.front(), "245") << orient;
        EXPECT_EQ(c.CallsOf("DrawTextInBox ").front(), "DrawTextInBox \"245\" 163,29,163,29 5") << orient;
    }
}

TEST(ValueLabels, PositionGapCountsFromTheLastLabelDrawn) {
    // With a ratio near 1 the first positions lie within 8 pixels of the left
    // border at orientation 1 and are skipped; the gap is then measured from
    // the last label actually drawn, so 388 still gets its label.
    TFigureInput in = Example(1, 1);
    in.Width = 400;
    in.Ratio = 0.99;  // 400, 396, 392, 388, ...
    TRecordingCanvas c;
    DrawRatioLineLabels(c, in, OrientationFrame(in), WorkingRatio(in.Ratio).r);
    const Calls texts = BoxedTexts(c);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "388");
    EXPECT_EQ(c.CallsOf("DrawTextInBox ").front(), "DrawTextInBox \"388\" 24,29,24,29 5");
}

TEST(ValueLabels, SequenceLabelsSitInTheOriginCorner) {
    struct Case {
        int orient;
        Calls calls;
    };
    const char* s1 = "\"641,396,245,151,93,57,35,22,14,9,6,4,2\"";  // 38 characters: 228 wide
    const char* s2 = "\"320,198,122,75,46,28,17,11,7,4,2\"";
    const Case cases[] = {
        {0, {"SetFontAngle 0", std::string("TextOut 14,30 ") + s1, std::string("TextOut 14,41 ") + s2}},
        {1, {"SetFontAngle 0", std::string("TextOut 178,30 ") + s1, std::string("TextOut 178,41 ") + s2}},
        // Both lines inside the bottom-right corner; the second keeps the first one's x.
        {2, {"SetFontAngle 0", std::string("TextOut 178,249 ") + s1, std::string("TextOut 178,260 ") + s2}},
        {3, {"SetFontAngle 0", std::string("TextOut 14,249 ") + s1, std::string("TextOut 14,260 ") + s2}},
    };
    for (const Case& k : cases) {
        TRecordingCanvas c;
        const TFigureInput in = Example(2, k.orient);
        DrawSequenceLabels(c, in, OrientationFrame(in), WorkingRatio(in.Ratio).r);
        EXPECT_EQ(c.calls, k.calls) << "orient " << k.orient;
    }
}

TEST(ValueLabels, FarSequenceLabelSitsInTheFarCorner) {
    struct Case {
        int orient;
        const char* call;
    };
    const Case cases[] = {
        {0, "TextOut 214,260 \"320,198,122,75,46,28,17,11,7,4,2\""},
        {1, "TextOut 14,260 \"320,198,122,75,46,28,17,11,7,4,2\""},
        {2, "TextOut 14,30 \"320,198,122,75,46,28,17,11,7,4,2\""},
        {3, "TextOut 214,30 \"320,198,122,75,46,28,17,11,7,4,2\""},
    };
    for (const Case& k : cases) {
        TRecordingCanvas c;
        const TFigureInput in = Example(5, k.orient);
        DrawFarSequenceLabel(c, in, OrientationFrame(in), WorkingRatio(in.Ratio).r);
        EXPECT_EQ(c.calls, (Calls{"SetFontAngle 0", k.call})) << "orient " << k.orient;
    }
}

TEST(ValueLabels, NestedFramesStopAtTheFirstGapNarrowerThanItsNumber) {
    TFigureInput in = Example(10);
    in.GridSize = 3;  // frames inset 58, 36, 22, 14, 9, 6, 4
    TRecordingCanvas c;
    DrawSpacingLabels(c, in, OrientationFrame(in), WorkingRatio(in.Ratio).r);
    EXPECT_EQ(c.calls, (Calls{
                           "SetFontAngle 0",
                           "TextOut 54,150 \"22\"",  // 12 + 36 + 1 + 11 - 6, on the centre line
                           "TextOut 36,150 \"14\"",
                           "TextOut 28,150 \"8\"",
                           "TextOut 21,150 \"5\"",  // 5 is narrower than its 6-pixel text: the last
                       }));
    // More frames than labels: the geometry keeps going where the labels stopped.
    const TFigure fig = BuildFigure(in);
    const auto polylines = std::count_if(fig.primitives.begin(), fig.primitives.end(),
                                         [](const TPrimitive& p) { return p.kind == TPrimitiveKind::Polyline; });
    EXPECT_EQ(polylines, 1 + 7);
}

TEST(ValueLabels, CanonUnitsInTheMargins) {
    const TFigureInput in = Example(11);  // two-page spread: ux 22, uy 13
    TRecordingCanvas c;
    DrawCanonLabels(c, in, CanonFrame(in));
    EXPECT_EQ(c.calls, (Calls{
                           "SetFontAngle 0",
                           "TextOut 105,29 \"13x1=13\"",
                           "TextOut 110,151 \"(13x6=78)x(22x6=132)\"",
                           "TextOut 105,255 \"13x2=26\"",
                           "SetFontAngle 90",
                           "TextOut 29,148 \"22x2=44\"",
                       }));
}

TEST(ValueLabels, OnePageCanonCentresHalfLabelsOnItsOwnCentre) {
    TFigureInput in = Example(11);
    in.Ratio = 1.618;  // one page: centre x = border + width
    TRecordingCanvas c;
    DrawValueLabels(c, in, EnglishTemplates());
    EXPECT_EQ(c.CallsOf("TextOut ")[1], "TextOut 204,29 \"13x1=13\"");  // 408 div 2
    EXPECT_EQ(c.CallsOf("TextOut ")[5], "TextOut 300,18 \"198\"");      // 408 - 99 - 9
}

TEST(ValueLabels, SizeLabelFillsItsTemplateOrShowsIt) {
    struct Case {
        const char* templ;  // nullptr: the key is missing
        const char* text;
    };
    const Case cases[] = {
        {"%d x %d", "396 x 245"},
        {"%dx%d px", "396x245 px"},
        {"%5d|%-4d|", "  396|245 |"},
        {"Width %d", "Width 396"},  // extra values are ignored
        {"no numbers", "no numbers"},
        {"%s x %s", "%s x %s"},      // wrong kind: shown as written
        {"%n%n%n", "%n%n%n"},
        {"%d x %d x %d", "%d x %d x %d"},  // too few values
        {"%999999999d", "%999999999d"},
        {nullptr, "MWidthHeight"},
    };
    for (const Case& k : cases) {
        TLangTable texts;
        if (k.templ) texts.MergeLangPair("MWidthHeight", k.templ);
        TRecordingCanvas c;
        DrawSizeLabel(c, Example(3), texts);
        EXPECT_EQ(c.calls, (Calls{"SetFontAngle 0", std::string("TextOut 15,274 \"") + k.text + "\""}))
            << (k.templ ? k.templ : "(missing)");
    }
}

TEST(ValueLabels, EachLookDrawsItsGroupsInOrder) {
    using Group = std::function<void(ICanvas&, const TFigureInput&)>;
    const TLangTable texts = EnglishTemplates();
    const auto r = [](const TFigureInput& in) { return WorkingRatio(in.Ratio).r; };
    const auto frame = [](const TFigureInput& in) { return OrientationFrame(in); };
    const Group size = [&](ICanvas& c, const TFigureInput& in) { DrawSizeLabel(c, in, texts); };
    const Group halves = [&](ICanvas& c, const TFigureInput& in) { DrawHalfLabels(c, in, frame(in)); };
    const Group canonHalves = [&](ICanvas& c, const TFigureInput& in) { DrawHalfLabels(c, in, CanonFrame(in).frame); };
    const Group sequence = [&](ICanvas& c, const TFigureInput& in) { DrawSequenceLabels(c, in, frame(in), r(in)); };
    const Group far = [&](ICanvas& c, const TFigureInput& in) { DrawFarSequenceLabel(c, in, frame(in), r(in)); };
    const Group grid = [&](ICanvas& c, const TFigureInput& in) { DrawGridLabels(c, in, frame(in), texts); };
    const Group lines = [&](ICanvas& c, const TFigureInput& in) { DrawRatioLineLabels(c, in, frame(in), r(in)); };
    const Group spacing = [&](ICanvas& c, const TFigureInput& in) { DrawSpacingLabels(c, in, frame(in), r(in)); };
    const Group canon = [&](ICanvas& c, const TFigureInput& in) { DrawCanonLabels(c, in, CanonFrame(in)); };
    const Group feet = [&](ICanvas& c, const TFigureInput& in) { DrawTriangleLabels(c, in, frame(in)); };
    const Group meets = [&](ICanvas& c, const TFigureInput& in) { DrawDiagonalLabels(c, in, frame(in)); };
    struct Case {
        int look;
        std::vector<Group> groups;
    };
    const Case cases[] = {
        {0, {grid}},
        {1, {lines}},
        {2, {size, halves, sequence}},
        {3, {size}},
        {4, {size}},
        {5, {size, halves, far}},
        {6, {size, halves, far}},
        {7, {far}},
        {8, {size, halves, far}},
        {9, {size, halves}},
        {10, {size, spacing}},
        {11, {size, canon, canonHalves}},
        {12, {size, halves}},
        {13, {size}},
        {14, {size, feet}},
        {15, {size, meets}},
        {kBuiltInLookCount, {}},
        {-1, {}},
    };
    for (const Case& k : cases) {
        for (int orient = 0; orient < 4; ++orient) {
            const TFigureInput in = Example(k.look, orient);
            TRecordingCanvas actual, expected;
            DrawValueLabels(actual, in, texts);
            for (const Group& g : k.groups) g(expected, in);
            EXPECT_EQ(actual.calls, expected.calls) << "look " << k.look << " orient " << orient;
        }
    }
}

TEST(ValueLabels, OddInputsEndQuietly) {
    // Sizes the setters never produce still end: every loop is capped or
    // advances by at least one pixel, and a grid pitch below 1 draws no grid labels.
    struct Case {
        int look;
        std::int32_t width, height, grid;
        double ratio;
    };
    const Case cases[] = {
        {0, 396, 245, 0, kGoldenFactor},   {0, 396, 245, -5, kGoldenFactor}, {0, 0, 0, 3, kGoldenFactor},
        {1, 396, 0, 1, 0.999999},         {1, 30000, 30000, 1, 1e-300},     {10, 30000, 245, 1, 0.999999},
        {2, 58, 0, 3, 3.0},               {11, 1, 1, 3, 1.0},               {8, -10, -10, 3, kGoldenFactor},
    };
    for (const Case& k : cases) {
        TFigureInput in = Example(k.look);
        in.Width = k.width;
        in.Height = k.height;
        in.GridSize = k.grid;
        in.Ratio = k.ratio;
        TRecordingCanvas c;
        DrawValueLabels(c, in, EnglishTemplates());
        EXPECT_LE(c.calls.size(), 1000u) << "look " << k.look;
    }
}

}  // namespace
}  // namespace ratiscope

namespace ratiscope {
namespace {

TEST(ValueLabels, GoldenTrianglesNameTheFeetAboveAndInTheLeftMargin) {
    struct Case {
        int orient;
        std::int32_t w, h;
        Calls boxed, turned;
    };
    // 396 x 245: the feet lie 286, 177 and 110, 68 from the origin edges.
    const Case cases[] = {
        {0, 396, 245, {"DrawTextInBox \"286\" 298,29,298,29 5", "DrawTextInBox \"110\" 122,29,122,29 5"},
         {"TextOut 1,214 \"177\"", "TextOut 1,102 \"68\""}},
        {1, 396, 245, {"DrawTextInBox \"286\" 122,29,122,29 5", "DrawTextInBox \"110\" 298,29,298,29 5"},
         {"TextOut 1,214 \"177\"", "TextOut 1,102 \"68\""}},
        {2, 396, 245, {"DrawTextInBox \"286\" 122,29,122,29 5", "DrawTextInBox \"110\" 298,29,298,29 5"},
         {"TextOut 1,105 \"177\"", "TextOut 1,211 \"68\""}},
        // A square: both feet at the centre, each number once.
        {0, 120, 120, {"DrawTextInBox \"60\" 72,29,72,29 5"}, {"TextOut 1,94 \"60\""}},
    };
    for (const Case& c : cases) {
        TFigureInput in;
        in.LookMode = TLook::GoldenTriangles;
        in.OrientMode = TOrientation{c.orient};
        in.Width = c.w;
        in.Height = c.h;
        TRecordingCanvas canvas;
        DrawTriangleLabels(canvas, in, OrientationFrame(in));
        EXPECT_EQ(canvas.CallsOf("DrawTextInBox "), c.boxed) << c.orient << " " << c.w;
        EXPECT_EQ(canvas.CallsOf("TextOut "), c.turned) << c.orient << " " << c.w;
        EXPECT_EQ(canvas.CallsOf("SetFontAngle "), (Calls{"SetFontAngle 0", "SetFontAngle 90"}));
    }
}

TEST(ValueLabels, DiagonalMethodNamesWhereTheLinesMeetTheFarSides) {
    struct Case {
        int orient;
        std::int32_t w, h;
        Calls boxed, turned;
    };
    const Case cases[] = {
        // Landscape: the lines meet the top and bottom 245 and 151 from the origin edge.
        {0, 396, 245, {"DrawTextInBox \"245\" 257,29,257,29 5", "DrawTextInBox \"151\" 163,29,163,29 5"}, {}},
        {3, 396, 245, {"DrawTextInBox \"245\" 257,29,257,29 5", "DrawTextInBox \"151\" 163,29,163,29 5"}, {}},
        {1, 396, 245, {"DrawTextInBox \"245\" 163,29,163,29 5", "DrawTextInBox \"151\" 257,29,257,29 5"}, {}},
        // Upright: they meet the left and right sides 200 and 100 from the top.
        {0, 200, 300, {}, {"TextOut 1,237 \"200\"", "TextOut 1,137 \"100\""}},
        {2, 200, 300, {}, {"TextOut 1,137 \"200\"", "TextOut 1,237 \"100\""}},
        // Nearly twice as wide as high: the two places nearly meet, so only the first is named.
        {0, 400, 196, {"DrawTextInBox \"196\" 208,29,208,29 5"}, {}},
    };
    for (const Case& c : cases) {
        TFigureInput in;
        in.LookMode = TLook::DiagonalMethod;
        in.OrientMode = TOrientation{c.orient};
        in.Width = c.w;
        in.Height = c.h;
        TRecordingCanvas canvas;
        DrawDiagonalLabels(canvas, in, OrientationFrame(in));
        EXPECT_EQ(canvas.CallsOf("DrawTextInBox "), c.boxed) << c.orient << " " << c.w;
        EXPECT_EQ(canvas.CallsOf("TextOut "), c.turned) << c.orient << " " << c.w;
    }
}

TEST(ValueLabels, TheNewLooksStartWithTheSizeLabelAndNothingWithoutThem) {
    const TLangTable texts = EnglishTemplates();
    for (int look : {14, 15}) {
        TRecordingCanvas c;
        DrawValueLabels(c, Example(look), texts);
        const Calls out = c.CallsOf("TextOut ");
        ASSERT_FALSE(out.empty()) << look;
        EXPECT_EQ(out[0], "TextOut 15,274 \"396 x 245\"") << look;
        EXPECT_GE(c.CallsOf("DrawTextInBox ").size(), 2u) << look;
    }
    TRecordingCanvas none;
    DrawValueLabels(none, Example(kBuiltInLookCount), texts);
    EXPECT_TRUE(none.calls.empty());
}

TUserFigure OwnFigure(const char* text) {
    TFigureRead read = ReadFigureFile(text, kBuiltInLookCount);
    if (auto* error = std::get_if<TFigureError>(&read)) ADD_FAILURE() << FigureErrorText(*error);
    return std::get_if<TUserFigure>(&read) ? std::get<TUserFigure>(read) : TUserFigure{};
}

TEST(ValueLabels, OwnFigureLinesReadTheirDistanceFromTheOriginEdges) {
    struct Case {
        const char* what;
        const char* figure;
        int orient;
        Calls boxed;       // above the rectangle, in drawing order
        Calls turned;      // every TextOut: the size, then the left margin
    };
    const Case cases[] = {
        {"thirds", "columns 3\nrows 3", 0, {"132", "264"}, {"TextOut 15,274 \"396 x 245\"", "TextOut 1,116 \"82\"", "TextOut 1,200 \"163\""}},
        // The same distances from the right edge: 132 lies at x = 408 - 132.
        {"mirrored", "vline 1/3", 1, {"132"}, {"TextOut 15,274 \"396 x 245\""}},
        // 0 and the full width are the frame's, and one line is labelled once.
        {"edges and repeats", "vline 0\nvline 1\nvline 1/2\ncolumns 2", 0, {"198"}, {"TextOut 15,274 \"396 x 245\""}},
        // 4 px apart: the second text would touch the first.
        {"crowded", "vline 0.5\nvline 0.51", 0, {"198"}, {"TextOut 15,274 \"396 x 245\""}},
    };
    for (const Case& c : cases) {
        const TUserFigure own = OwnFigure(c.figure);
        TFigureInput in = Example(1, c.orient);
        in.OwnFigure = &own;
        TRecordingCanvas canvas;
        DrawValueLabels(canvas, in, EnglishTemplates());
        EXPECT_EQ(BoxedTexts(canvas), c.boxed) << c.what;
        EXPECT_EQ(canvas.CallsOf("TextOut "), c.turned) << c.what;
    }
    // Where the mirrored label stands.
    const TUserFigure own = OwnFigure("vline 1/3");
    TFigureInput in = Example(1, 1);
    in.OwnFigure = &own;
    TRecordingCanvas canvas;
    DrawValueLabels(canvas, in, EnglishTemplates());
    EXPECT_EQ(canvas.CallsOf("DrawTextInBox ").front(), "DrawTextInBox \"132\" 276,29,276,29 5");
}

TEST(ValueLabels, AnIncludedLookBringsItsOwnLabels) {
    const TUserFigure own = OwnFigure("look 0\nlook 0");
    TFigureInput in = Example(1);
    in.OwnFigure = &own;
    TRecordingCanvas withOwn, grid;
    DrawValueLabels(withOwn, in, EnglishTemplates());
    DrawValueLabels(grid, Example(0), EnglishTemplates());
    // Once, however often the file includes it, and without the size label.
    EXPECT_EQ(withOwn.calls, grid.calls);
}

}  // namespace
}  // namespace ratiscope
