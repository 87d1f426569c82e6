// Figures of the user's own on the section rectangle: where each statement's
// pixels land, an included look drawn as itself, and the four orientations
// mirroring each other for any size.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "overlay/OwnFigure.h"
#include "settings/FigureLibrary.h"
#include "settings/Settings.h"
#include "settings/Looks.h"
#include "support/FigureSegments.h"

namespace ratiscope {
namespace {

using testing::Segments;
using testing::TSegment;

TUserFigure Read(const std::string& text) {
    TFigureRead read = ReadFigureFile(text, kBuiltInLookCount);
    if (auto* error = std::get_if<TFigureError>(&read)) ADD_FAILURE() << FigureErrorText(*error);
    return std::get_if<TUserFigure>(&read) ? std::get<TUserFigure>(read) : TUserFigure{};
}

std::vector<TSegment> Drawn(const std::string& text, const TFigureInput& in) {
    TFigure f;
    BuildOwnFigure(Read(text), in, f);
    return Segments(f, [](TPoint p) { return p; });
}

// 396 x 245 in a border of 12: the section rectangle spans x 12 .. 408, y 28 .. 273.
TEST(OwnFigure, StatementsLandOnTheirPixels) {
    struct Case {
        const char* text;
        std::int32_t orient;
        std::vector<TSegment> expected;
    };
    const Case cases[] = {
        {"vline 1/3", 0, {{144, 28, 144, 273}}},
        {"vline 1/3", 1, {{276, 28, 276, 273}}},  // measured from the right edge
        {"hline 1/phi", 0, {{12, 179, 408, 179}}},  // round(245 x 0.618...) = 151
        {"hline 1/phi", 3, {{12, 122, 408, 122}}},  // from the bottom edge
        {"vline 0\nvline 1", 0, {{12, 28, 12, 273}, {408, 28, 408, 273}}},
        {"columns 3", 0, {{144, 28, 144, 273}, {276, 28, 276, 273}}},
        {"rows 2", 2, {{12, 151, 408, 151}}},  // 245 / 2 = 122.5 rounds to the even 122, from the bottom
        {"line 0 0 1/2 1", 0, {{12, 28, 210, 273}}},
        {"line 0 0 1/2 1", 2, {{210, 28, 408, 273}}},
        {"diagonals", 0, {{12, 28, 408, 273}, {12, 273, 408, 28}}},
        {"frame", 0, {{12, 28, 12, 273}, {12, 28, 408, 28}, {12, 273, 408, 273}, {408, 28, 408, 273}}},
        // Circle boxes: the centre pixel and the radius to each side, the right and bottom exclusive.
        {"circle 1/2 1/2 1/2", 0, {{88, 28, 333, 273}}},  // radius round(122.5) = 122 of the shorter side
        {"ellipse 1/2 1/2 1/2 1/4", 0, {{12, 89, 409, 212}}},
        {"circle 0 0 1/10", 0, {{-12, 4, 37, 53}}},  // a circle about a corner is clipped by the window
    };
    for (const Case& c : cases) {
        TFigureInput in;
        in.OrientMode = TOrientation{c.orient};
        auto expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Drawn(c.text, in), expected) << c.text << " orient " << c.orient;
    }
}

TEST(OwnFigure, AnIncludedLookIsTheLookItself) {
    for (std::int32_t look = 0; look < kBuiltInLookCount; ++look) {
        for (std::int32_t orient = 0; orient < 4; ++orient) {
            TFigureInput in;
            in.OrientMode = TOrientation{orient};
            TFigure own;
            BuildOwnFigure(Read("look " + std::to_string(look)), in, own);
            in.LookMode = TLook{look};
            const TFigure builtIn = BuildFigure(in);
            EXPECT_EQ(own.points, builtIn.points) << "look " << look << " orient " << orient;
            EXPECT_EQ(own.primitives.size(), builtIn.primitives.size()) << "look " << look << " orient " << orient;
        }
    }
}

TEST(OwnFigure, StatementsFollowEachOtherInTheFilesOrder) {
    TFigure f;
    BuildOwnFigure(Read("hline 1/2\nlook 2\nvline 1/2"), TFigureInput{}, f);
    ASSERT_GE(f.primitives.size(), 3u);
    EXPECT_EQ(f.PointsOf(f.primitives.front())[0], (TPoint{12, 150}));
    EXPECT_EQ(f.PointsOf(f.primitives.back())[0], (TPoint{210, 28}));
}

TEST(OwnFigure, OrientationsMirrorOrientationZeroForAnySize) {
    const std::string figure =
        "frame\nvline 1/phi\nhline 1 - 1/phi\nline 0 1/3 1 2/3\ndiagonals\ncolumns 7\nrows 5\n"
        "circle 1/3 1/4 1/5\nellipse 0.9 0.1 0.3 0.7\n";
    std::mt19937 rng(20261209);
    for (int trial = 0; trial < 40; ++trial) {
        TFigureInput in;
        in.Width = std::uniform_int_distribution<int>(58, 1200)(rng);  // odd sizes too
        in.Height = std::uniform_int_distribution<int>(20, 800)(rng);
        in.Border = std::uniform_int_distribution<int>(0, 30)(rng);
        const int left = in.Border, right = in.Border + in.Width;
        const int top = in.Border + 16, bottom = top + in.Height;
        in.OrientMode = TOrientation::TopLeft;
        TFigure base;
        BuildOwnFigure(Read(figure), in, base);
        for (int orient = 1; orient <= 3; ++orient) {
            in.OrientMode = TOrientation{orient};
            const bool flipX = orient == 1 || orient == 2, flipY = orient == 2 || orient == 3;
            auto mirror = [&](TPoint p) {
                return TPoint{flipX ? left + right - p.x : p.x, flipY ? top + bottom - p.y : p.y};
            };
            TFigure turned;
            BuildOwnFigure(Read(figure), in, turned);
            EXPECT_EQ(Segments(turned, [](TPoint p) { return p; }), Segments(base, mirror))
                << "orient " << orient << " size " << in.Width << "x" << in.Height;
        }
    }
}

TEST(OwnFigure, MarksAreTheLinesDistancesOnceAndInside) {
    struct Case {
        const char* text;
        std::vector<std::int32_t> across, down;
        std::vector<TLook> looks;
    };
    const Case cases[] = {
        {"columns 3\nrows 2", {132, 264}, {122}, {}},
        {"vline 1/2\ncolumns 2\nvline 0\nvline 1", {198}, {}, {}},
        {"hline 1/phi\nhline 1 - 1/phi", {}, {94, 151}, {}},
        // Slanted lines, diagonals and circles stand at no single distance.
        {"line 0 0 1 1\ndiagonals\ncircle 1/2 1/2 1/4\nframe", {}, {}, {}},
        {"look 3\nlook 0\nlook 3", {}, {}, {TLook::Thirds, TLook::Grid}},
    };
    for (const Case& c : cases) {
        const TOwnFigureMarks m = OwnFigureMarks(Read(c.text), TFigureInput{});
        EXPECT_EQ(m.across, c.across) << c.text;
        EXPECT_EQ(m.down, c.down) << c.text;
        EXPECT_EQ(m.looks, c.looks) << c.text;
    }
}

TEST(OwnFigure, TheSettingsFigureIsDrawnWhileItsFileIsListed) {
    TFigureLibrary& library = FigureLibrary();
    library.figures = {TFigureEntry{"mine.figure", "Mine", Read("columns 4")}};
    TSettings s(1920);
    s.ChooseFigure("mine.figure");
    const TFigureInput in = FigureInputFrom(s);
    ASSERT_EQ(in.OwnFigure, &library.figures[0].figure);
    TFigure own;
    BuildOwnFigure(library.figures[0].figure, in, own);
    EXPECT_EQ(Segments(BuildFigure(in), [](TPoint p) { return p; }), Segments(own, [](TPoint p) { return p; }));
    // A name no file has draws the look.
    s.ChooseFigure("gone.figure");
    const TFigureInput look = FigureInputFrom(s);
    EXPECT_EQ(look.OwnFigure, nullptr);
    const TSettings plain(1920);
    EXPECT_EQ(Segments(BuildFigure(look), [](TPoint p) { return p; }),
              Segments(BuildFigure(FigureInputFrom(plain)), [](TPoint p) { return p; }));
    library = {};
}

TEST(OwnFigure, TheGridStepMattersWhereTheGridIsDrawn) {
    struct Case {
        const char* figure;  // null: the look alone
        TLook look;
        bool grid;
    };
    const Case cases[] = {
        {nullptr, TLook::Grid, true},
        {nullptr, TLook::Spiral, false},
        {"look 5\nlook 0", TLook::Spiral, true},
        {"columns 3", TLook::Grid, false},  // drawn instead of the grid
    };
    for (const Case& c : cases) {
        const TUserFigure own = c.figure ? Read(c.figure) : TUserFigure{};
        TFigureInput in;
        in.LookMode = c.look;
        in.OwnFigure = c.figure ? &own : nullptr;
        EXPECT_EQ(DrawsGrid(in), c.grid) << (c.figure ? c.figure : "look alone");
    }
}

}  // namespace
}  // namespace ratiscope
