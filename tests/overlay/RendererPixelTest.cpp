// The composed picture pixel by pixel: golden images of a set of looks, and
// probes for the rules a wrong picture breaks first. Glyphs come from the fake
// engine, so nothing here depends on the fonts installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "overlay/OverlayIcons.h"
#include "overlay/Renderer.h"
#include "platform/raster/RasterCanvas.h"
#include "settings/FigureLibrary.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"
#include "support/FakeTextEngine.h"
#include "support/Golden.h"

namespace ratiscope {
namespace {

constexpr TPixel kKey = PixelFromColor(kOverlayKeyColor);

class RendererPixels : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLanguageTable();
        MergeLangPair("MWidthHeight", "%d x %d");
        MergeLangPair("MGridSize", "Grid %d px");
        MergeLangPair("MSLook1", "Ratio sequence");
        s.SetLock(false);
    }
    void TearDown() override { ClearLanguageTable(); }

    const TImage& Compose(bool active = true) {
        ComposeImage(canvas, s, icons, active);
        return canvas.Image();
    }

    // Every pixel the picture may hold: the key, lines, values, both caption
    // greys and the icons' own colours.
    std::set<TPixel> AllowedPixels() const {
        std::set<TPixel> allowed{kKey, PixelFromColor(s.LinesColor), PixelFromColor(s.ValuesColor),
                                 PixelFromColor(kChromeGrey), PixelFromColor(kInactiveCaptionGrey)};
        for (const TIcon* icon : {&icons.TLCorner, &icons.Caption, &icons.TRCorner, &icons.BRCorner})
            for (std::int32_t y = 0; y < icon->Height(); ++y)
                for (std::int32_t x = 0; x < icon->Width(); ++x)
                    if (icon->Opaque(x, y)) allowed.insert(icon->Image().At(x, y));
        return allowed;
    }

    TSettings s{1920};  // 396 x 245 at border 12: window 420 x 285
    TFakeTextEngine text;
    TRasterCanvas canvas{text};
    TOverlayIcons icons = LoadOverlayIcons();
};

TEST_F(RendererPixels, IconsAreLoadedAtTheirSizes) {
    EXPECT_EQ(icons.TLCorner.Width(), 16);
    EXPECT_EQ(icons.Caption.Width(), 32);
    EXPECT_EQ(icons.TRCorner.Width(), 64);
    EXPECT_EQ(icons.BRCorner.Height(), 24);
    EXPECT_EQ(icons.TLCorners.Width(), 16);
    EXPECT_EQ(icons.TRCorner2.Width(), 37);
}

// Lines or values in the key colour would vanish and let clicks through: they
// are drawn in its nearest other colour, on exactly the pixels the default
// colours take, while the settings keep the colour chosen.
TEST_F(RendererPixels, FiguresInTheKeyColourStayVisible) {
    constexpr TColor kNearKey = 0x00FD00FE;  // red 254, green 0, blue 253
    struct Case {
        const char* what;
        TColor lines, values;
        TColor drawnLines, drawnValues;
    };
    const Case cases[] = {
        {"lines in the key", kOverlayKeyColor, kDefaultValuesColor, kNearKey, kDefaultValuesColor},
        {"values in the key", kDefaultLinesColor, kOverlayKeyColor, kDefaultLinesColor, kNearKey},
        {"both, with a high byte set", kOverlayKeyColor | 0xFF000000u, kOverlayKeyColor, kNearKey, kNearKey},
        {"one step off the key stays", kNearKey, kDefaultValuesColor, kNearKey, kDefaultValuesColor},
    };
    s.SetLookMode(TLook::Grid);  // the grid: lines and values both
    const TImage reference = Compose();
    for (const Case& c : cases) {
        s.SetLinesColor(c.lines);
        s.SetValuesColor(c.values);
        const TImage& picture = Compose();
        EXPECT_EQ(s.LinesColor, c.lines) << c.what;
        for (std::int32_t y = 16; y < picture.Height(); ++y)
            for (std::int32_t x = 0; x < picture.Width(); ++x) {
                const TPixel was = reference.At(x, y);
                TPixel want = was;
                if (was == PixelFromColor(kDefaultLinesColor)) want = PixelFromColor(c.drawnLines);
                if (was == PixelFromColor(kDefaultValuesColor)) want = PixelFromColor(c.drawnValues);
                ASSERT_EQ(picture.At(x, y), want) << c.what << " at " << x << "," << y;
            }
        s.SetLinesColor(kDefaultLinesColor);
        s.SetValuesColor(kDefaultValuesColor);
    }
}

TEST_F(RendererPixels, GoldenPictures) {
    struct Case {
        const char* name;
        int look, orient;
        bool values, frame;
    };
    const Case cases[] = {
        {"grid-o0-values", 0, 0, true, true},       {"sequence-o0-values", 1, 0, true, true},
        {"sequence-o2-values", 1, 2, true, false},  {"halves-o1-values", 2, 1, true, true},
        {"thirds-o3-plain", 3, 3, false, true},     {"four-spirals-o3-plain", 6, 3, false, false},
        {"circles-o0-values", 8, 0, true, true},    {"centred-o2-values", 9, 2, true, false},
        {"frames-o0-values", 10, 0, true, true},    {"canon-o1-values", 11, 1, true, true},
        {"armature-o1-plain", 12, 1, false, true},  {"spiral-o2-values", 5, 2, true, true},
        {"triangles-o0-values", 14, 0, true, true}, {"triangles-o3-plain", 14, 3, false, false},
        {"diagonals-o1-values", 15, 1, true, true}, {"diagonals-o2-plain", 15, 2, false, false},
    };
    // A small window keeps the golden files readable: 100 x 62 at border 10 is 120 x 98.
    s.SetBorder(10);
    s.SetWidth(100);
    s.SetHeight(62);
    s.SetGridSize(6);
    for (const Case& k : cases) {
        s.SetLookMode(TLook{k.look});
        s.SetOrientMode(TOrientation{k.orient});
        s.SetShowValues(k.values);
        s.SetSFrame(k.frame);
        EXPECT_TRUE(MatchesGolden(Compose(), std::string("overlay/") + k.name));
    }
}

// The shipped figure files, as the program reads them, in every orientation.
TEST_F(RendererPixels, GoldenPicturesOfTheShippedFigures) {
    struct Example {
        const char* file;
        const char* golden;
    };
    const Example examples[] = {{"Thirds and centre.figure", "own-thirds-centre"}, {"Phi grid.figure", "own-phi-grid"}};
    s.SetBorder(10);
    s.SetWidth(100);
    s.SetHeight(62);
    s.SetShowValues(true);
    for (const Example& e : examples) {
        std::ifstream in(std::filesystem::path(RATISCOPE_FIGURES_DIR) / e.file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        TFigureRead read = ReadFigureFile(bytes, kBuiltInLookCount);
        ASSERT_TRUE(std::holds_alternative<TUserFigure>(read)) << e.file;
        FigureLibrary().figures = {TFigureEntry{e.file, std::get<TUserFigure>(read).name, std::get<TUserFigure>(read)}};
        s.ChooseFigure(e.file);
        for (int orient = 0; orient < kOrientationCount; ++orient) {
            s.SetOrientMode(TOrientation{orient});
            EXPECT_TRUE(MatchesGolden(Compose(), "overlay/" + std::string(e.golden) + "-o" + std::to_string(orient)));
        }
    }
    FigureLibrary() = {};
}

TEST_F(RendererPixels, DiagonalLooksMirrorPixelForPixelForEvenSizes) {
    s.SetShowValues(false);
    s.SetSFrame(false);
    const TPixel line = PixelFromColor(s.LinesColor);
    struct Size {
        std::int32_t w, h;
    };
    for (const Size size : {Size{100, 62}, Size{64, 200}, Size{120, 120}, Size{396, 246}})
        for (const int look : {14, 15}) {
            s.SetWidth(size.w);
            s.SetHeight(size.h);
            s.SetLookMode(TLook{look});
            s.SetOrientMode(TOrientation::TopLeft);
            const TImage base = Compose();
            const std::int32_t b = s.Border, top = b + 16;
            int lit = 0;
            for (int orient = 1; orient <= 3; ++orient) {
                s.SetOrientMode(TOrientation{orient});
                const TImage& turned = Compose();
                const bool flipX = orient == 1 || orient == 2, flipY = orient == 2 || orient == 3;
                for (std::int32_t y = top; y <= top + size.h; ++y)
                    for (std::int32_t x = b; x <= b + size.w; ++x) {
                        const std::int32_t mx = flipX ? 2 * b + size.w - x : x;
                        const std::int32_t my = flipY ? 2 * top + size.h - y : y;
                        ASSERT_EQ(turned.At(x, y), base.At(mx, my))
                            << "look " << look << " orient " << orient << " " << size.w << "x" << size.h << " at "
                            << x << "," << y;
                        lit += turned.At(x, y) == line;
                    }
            }
            EXPECT_GT(lit, 3 * (size.w + size.h)) << "look " << look;
        }
}

TEST_F(RendererPixels, LineEndPointsAreNotDrawn) {
    // Look 1's far-edge lines run to the far corner and stop one short, so
    // the corner itself keeps the key colour in every orientation.
    s.SetShowValues(false);
    s.SetSFrame(false);
    const TPixel line = PixelFromColor(s.LinesColor);
    struct Case {
        int orient;
        std::int32_t x1, y1, dx, dy;
    };
    const Case cases[] = {{0, 408, 273, 1, 1}, {1, 12, 273, -1, 1}, {2, 12, 28, -1, -1}, {3, 408, 28, 1, -1}};
    for (const Case& k : cases) {
        s.SetOrientMode(TOrientation{k.orient});
        const TImage& img = Compose();
        EXPECT_EQ(img.At(k.x1, k.y1), kKey) << k.orient;
        EXPECT_EQ(img.At(k.x1 - k.dx, k.y1), line) << k.orient;
        EXPECT_EQ(img.At(k.x1, k.y1 - k.dy), line) << k.orient;
    }
}

TEST_F(RendererPixels, CirclesStayInsideTheirBox) {
    // 120 x 100: the first circle's box is (12, 18) to (133, 139), wholly in the window.
    s.SetLookMode(TLook::Circles);
    s.SetShowValues(false);
    s.SetSFrame(false);
    s.SetWidth(120);
    s.SetHeight(100);
    const TImage& img = Compose();
    ASSERT_EQ(img.Size(), (TSize{144, 140}));
    const TRect box{12, 18, 133, 139};
    const TPixel line = PixelFromColor(s.LinesColor);
    for (std::int32_t y = 0; y < img.Height(); ++y)
        for (std::int32_t x = 0; x < img.Width(); ++x)
            if (img.At(x, y) == line) {
                EXPECT_TRUE(box.Contains(x, y)) << x << "," << y;
            }
    // It touches all four sides of the box: top and bottom rows at the centre column.
    EXPECT_EQ(img.At(72, 18), line);
    EXPECT_EQ(img.At(72, 138), line);
    EXPECT_EQ(img.At(12, 78), line);
    EXPECT_EQ(img.At(132, 78), line);
}

TEST_F(RendererPixels, ChromeCoversLinesReachingUnderIt) {
    // Look 8's first circle is wider than the section is high, so it crosses
    // the caption strip; the frame's far corner lies under the grip.
    s.SetLookMode(TLook::Circles);
    s.SetSFrame(false);
    const TImage bare = Compose();
    s.SetSFrame(true);
    // Inactive, so the caption text (drawn over the strip last) has a grey of its own.
    const TImage& img = Compose(false);
    const TRect captionText{14, 1, 356, 15};
    const TPixel textGrey = PixelFromColor(kInactiveCaptionGrey);
    struct Placement {
        const TIcon* icon;
        std::int32_t x, y;
    };
    std::vector<Placement> placements{{&icons.TLCorner, 0, 0}, {&icons.TRCorner, 356, 0}, {&icons.BRCorner, 396, 261}};
    for (std::int32_t x = 16; x <= 356; x += 32) placements.push_back({&icons.Caption, x, 0});
    const TPixel line = PixelFromColor(s.LinesColor);
    int coveredLines = 0;
    for (const Placement& p : placements)
        for (std::int32_t y = 0; y < p.icon->Height(); ++y)
            for (std::int32_t x = 0; x < p.icon->Width(); ++x) {
                if (!p.icon->Opaque(x, y) || p.x + x >= img.Width()) continue;
                // The last caption tile lies partly under the button strip.
                if (p.icon == &icons.Caption && p.x + x >= 356) continue;
                if (bare.At(p.x + x, p.y + y) == line) ++coveredLines;
                const TPixel got = img.At(p.x + x, p.y + y);
                if (got == textGrey && captionText.Contains(p.x + x, p.y + y)) continue;
                ASSERT_EQ(got, p.icon->Image().At(x, y)) << p.x + x << "," << p.y + y;
            }
    EXPECT_GT(coveredLines, 10);
}

TEST_F(RendererPixels, NothingButKeyWithoutFrameOrLook) {
    s.SetSFrame(false);
    s.SetShowValues(true);
    for (int look : {kBuiltInLookCount, -1}) {
        s.SetLookMode(TLook{look});
        const TImage& img = Compose();
        for (std::int32_t y = 0; y < img.Height(); ++y)
            for (std::int32_t x = 0; x < img.Width(); ++x) ASSERT_EQ(img.At(x, y), kKey) << x << "," << y;
    }
}

TEST_F(RendererPixels, NoBlendedPixelInAnyLook) {
    s.SetLinesColor(0x0000FF00);
    s.SetValuesColor(0x00FF0000);
    const std::set<TPixel> allowed = AllowedPixels();
    for (int look = 0; look <= 15; ++look)
        for (int orient = 0; orient < 4; ++orient)
            for (bool values : {false, true}) {
                s.SetLookMode(TLook{look});
                s.SetOrientMode(TOrientation{orient});
                s.SetShowValues(values);
                const TImage& img = Compose(orient % 2 == 0);
                for (std::int32_t y = 0; y < img.Height(); ++y)
                    for (std::int32_t x = 0; x < img.Width(); ++x)
                        ASSERT_TRUE(allowed.count(img.At(x, y)))
                            << "look " << look << " orient " << orient << " at " << x << "," << y;
            }
}

TEST_F(RendererPixels, RepaintLeavesNothingOfTheEarlierPicture) {
    // The same canvas composes a busy picture, then an empty look at the same size.
    s.SetLookMode(TLook::FourSpirals);
    Compose();
    s.SetLookMode(TLook{kBuiltInLookCount});
    s.SetSFrame(false);
    const TImage& img = Compose();
    for (std::int32_t y = 0; y < img.Height(); ++y)
        for (std::int32_t x = 0; x < img.Width(); ++x) ASSERT_EQ(img.At(x, y), kKey);
}

TEST_F(RendererPixels, SizesTheSettersNeverMakeStillPaintSafely) {
    // Hand-edited fields bypass the setters' limits; the paint must stay in bounds.
    struct Case {
        std::int32_t width, height, border;
        TSize window;
    };
    const Case cases[] = {
        {-50, 10, 0, {0, 26}},   // no width left: nothing to paint
        {58, 0, 0, {58, 16}},    // only the caption strip
        {58, -40, 0, {58, 0}},   // no height left
        {1, 1, 3, {7, 23}},      // narrower than the chrome
    };
    for (const Case& k : cases)
        for (int look : {0, 1, 2, 8, 10, 11}) {
            s.Width = k.width;
            s.Height = k.height;
            s.Border = k.border;
            s.LookMode = TLook{look};
            const TImage& img = Compose();
            EXPECT_EQ(img.Size(), k.window) << k.width << "x" << k.height << " look " << look;
        }
}

}  // namespace
}  // namespace ratiscope
