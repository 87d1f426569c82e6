// The caption and grip icons: sizes, and the button faces the hover
// highlight floods, which must never leak out of a face.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/Color.h"
#include "platform/raster/RasterOps.h"
#include "resources/Resources.h"

namespace ratiscope {
namespace {

constexpr TPixel kGrey = PixelFromColor(kChromeGrey);
constexpr TPixel kKey = PixelFromColor(kOverlayKeyColor);
constexpr TPixel kWhite = 0xFFFFFFFFu;

TEST(Icons, EveryResourceHasItsSize) {
    struct Case {
        const char* name;
        std::int32_t w, h;
    };
    const Case cases[] = {
        {"ZTLCORNER", 16, 16}, {"ZCAPTION", 32, 16},  {"ZTLCORNERS", 16, 16}, {"ZTRCORNER", 64, 16},
        {"ZTRCORNER2", 37, 16}, {"ZBRCORNER", 24, 24}, {"ZAPPICON", 48, 48},   {"ZAPPICON32", 32, 32},
    };
    for (const Case& c : cases) {
        const TIcon icon = LoadResourceIcon(c.name);
        EXPECT_EQ(icon.Width(), c.w) << c.name;
        EXPECT_EQ(icon.Height(), c.h) << c.name;
    }
    EXPECT_EQ(ResourceIconNames().size(), std::size(cases));
    EXPECT_TRUE(LoadResourceIcon("ZNOSUCH").Empty());
    EXPECT_TRUE(LoadResourceIcon("ztrcorner").Empty());
    EXPECT_TRUE(LoadResourceIcon("").Empty());
}

struct TFace {
    const char* what;
    std::int32_t left, top;  // the 8 x 8 face inside its one-pixel outline
};

// The icon alone on a key-coloured image, one pixel of margin so a leak past
// the icon's edge would show too.
TImage OnKey(const TIcon& icon) {
    TImage img(icon.Width() + 2, icon.Height() + 2, kKey);
    DrawIconOnto(img, icon, 1, 1);
    return img;
}

// Checks one face: a complete opaque grey outline, a top-left pixel that is
// not grey, a glyph in grey on one face colour, and a hover fill from the
// top-left that changes nothing outside the face.
void CheckFace(const TIcon& icon, const TFace& f, std::int32_t expectedFaceGrey = -1) {
    SCOPED_TRACE(f.what);
    for (int i = -1; i <= 8; ++i)
        for (const auto& [x, y] : {std::pair{f.left + i, f.top - 1}, std::pair{f.left + i, f.top + 8},
                                  std::pair{f.left - 1, f.top + i}, std::pair{f.left + 8, f.top + i}}) {
            EXPECT_TRUE(icon.Opaque(x, y)) << x << "," << y;
            EXPECT_EQ(icon.Image().At(x, y) | 0xFF000000u, kGrey) << "outline at " << x << "," << y;
        }
    const TPixel face = icon.Image().At(f.left, f.top) | 0xFF000000u;
    EXPECT_NE(face, kGrey);
    if (expectedFaceGrey >= 0) {
        EXPECT_EQ(face, 0xFF000000u | static_cast<TPixel>(expectedFaceGrey) * 0x010101u);
    }
    int glyph = 0;
    for (int y = f.top; y < f.top + 8; ++y)
        for (int x = f.left; x < f.left + 8; ++x) {
            const TPixel p = icon.Image().At(x, y) | 0xFF000000u;
            EXPECT_TRUE(icon.Opaque(x, y));
            EXPECT_TRUE(p == face || p == kGrey) << "stray colour at " << x << "," << y;
            glyph += p == kGrey;
        }
    EXPECT_GT(glyph, 0) << "no glyph";

    TImage img = OnKey(icon);
    const TImage before = img;
    FloodFillImage(img, f.left + 1, f.top + 1, kGrey, kWhite);
    int lit = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            if (img.At(x, y) == before.At(x, y)) continue;
            const bool inFace = x - 1 >= f.left && x - 1 < f.left + 8 && y - 1 >= f.top && y - 1 < f.top + 8;
            EXPECT_TRUE(inFace) << "the hover fill leaked to " << x - 1 << "," << y - 1;
            ++lit;
        }
    EXPECT_GE(lit, 8 * 8 - glyph - 6) << "the fill should reach nearly all of the face";
}

TEST(Icons, ButtonStripFacesAreClosedAndGreyOutlined) {
    const TIcon strip = LoadResourceIcon("ZTRCORNER");
    ASSERT_FALSE(strip.Empty());
    const TFace faces[] = {{"orientation", 4, 4}, {"look", 13, 4},     {"settings", 22, 4},
                           {"help", 31, 4},        {"minimise", 43, 4}, {"close", 52, 4}};
    for (const TFace& f : faces) CheckFace(strip, f);
}

// The orientation mark is drawn in grey over the first face; with each of
// its four corners the face's top-left stays free and the fill stays inside.
TEST(Icons, OrientationMarkKeepsTheFirstFaceFloodable) {
    const int marks[4][6] = {{5, 10, 5, 5, 10, 5}, {5, 5, 10, 5, 10, 11}, {10, 5, 10, 10, 5, 10}, {10, 10, 5, 10, 5, 4}};
    for (const auto& m : marks) {
        TIcon strip = LoadResourceIcon("ZTRCORNER");
        TImage img = strip.Image();
        auto segment = [&](int x0, int y0, int x1, int y1) {  // axis-parallel, end point not drawn
            const int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
            for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy) img.Set(x, y, kGrey);
        };
        segment(m[0], m[1], m[2], m[3]);
        segment(m[2], m[3], m[4], m[5]);
        std::vector<std::uint8_t> mask(64 * 16, 1);
        CheckFace(TIcon(img, mask), {"orientation with mark", 4, 4});
    }
}

TEST(Icons, PanelStripHelpAndCloseFaces) {
    const TIcon strip = LoadResourceIcon("ZTRCORNER2");
    ASSERT_FALSE(strip.Empty());
    // Outlines at x 3..12 and 24..33, y 3..12; the faces inside are light grey 221.
    CheckFace(strip, {"help", 4, 4}, 221);
    CheckFace(strip, {"close", 25, 4}, 221);
}

// The chrome is drawn over the key colour, so no icon may contain it, and the
// strip pieces must be opaque where the caption text and buttons sit.
TEST(Icons, NoIconUsesTheKeyColours) {
    for (const std::string_view name : ResourceIconNames()) {
        const TIcon icon = LoadResourceIcon(name);
        for (int y = 0; y < icon.Height(); ++y)
            for (int x = 0; x < icon.Width(); ++x) {
                if (!icon.Opaque(x, y)) continue;
                const TPixel p = icon.Image().At(x, y) | 0xFF000000u;
                ASSERT_NE(p, kKey) << name << " " << x << "," << y;
                ASSERT_NE(p, PixelFromColor(kPanelKeyColor)) << name << " " << x << "," << y;
            }
    }
    const TIcon band = LoadResourceIcon("ZCAPTION");
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) EXPECT_TRUE(band.Opaque(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace ratiscope
