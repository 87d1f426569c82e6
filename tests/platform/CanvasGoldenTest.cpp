// Small composed pictures against golden images: the raster rules working
// together, as the overlay and the panel use them.
#include <gtest/gtest.h>

#include "base/Color.h"
#include "platform/raster/RasterCanvas.h"
#include "resources/Resources.h"
#include "support/FakeTextEngine.h"
#include "support/Golden.h"

namespace ratiscope {
namespace {

constexpr TColor kRed = 0x0000FF, kWhite = 0xFFFFFF;

TEST(CanvasGolden, LinesAndEllipses) {
    TFakeTextEngine engine;
    TRasterCanvas c(engine, 48, 36);
    c.FillRect({0, 0, 48, 36}, kOverlayKeyColor);
    c.SetPenColor(kDefaultLinesColor);
    // A star of sixteen directions from the centre: every octant and both ties.
    const int ends[][2] = {{24, 2},  {33, 2}, {44, 8},  {46, 18}, {46, 26}, {44, 34}, {33, 34}, {24, 34},
                           {15, 34}, {4, 34}, {2, 26},  {2, 18},  {2, 10},  {4, 2},   {15, 2},  {40, 4}};
    for (const auto& e : ends) {
        c.MoveTo(24, 18);
        c.LineTo(e[0], e[1]);
    }
    c.SetPenColor(kChromeGrey);
    c.Ellipse({1, 1, 21, 15});     // even box
    c.Ellipse({30, 20, 45, 35});   // odd box
    c.Ellipse({-20, 25, 20, 60});  // clipped at the left and bottom
    c.FillRect({40, -5, 60, 3}, kDefaultValuesColor);
    EXPECT_TRUE(MatchesGolden(c.Image(), "raster/lines_ellipses"));
}

TEST(CanvasGolden, TextAtBothAnglesAndInBoxes) {
    TFakeTextEngine engine;
    TRasterCanvas c(engine, 64, 48);
    c.FillRect({0, 0, 64, 48}, kOverlayKeyColor);
    c.SetTextColor(kDefaultValuesColor);
    c.TextOut(2, 1, "Ab1");
    c.SetFontAngle(90);
    c.TextOut(1, 46, "Ab1");
    c.SetFontAngle(0);
    c.SetTextColor(kChromeGrey);
    c.SetPenColor(kDefaultLinesColor);
    c.MoveTo(20, 16);  // the box outline, to show where the text lands
    c.LineTo(62, 16);
    c.LineTo(62, 46);
    c.LineTo(20, 46);
    c.LineTo(20, 16);
    c.DrawTextInBox("xy", {20, 16, 62, 46}, tfCenter | tfVCenter);
    c.DrawTextInBox("long text", {20, 16, 62, 46}, tfBottom | tfEndEllipsis);
    EXPECT_TRUE(MatchesGolden(c.Image(), "raster/text"));
}

// The caption strip of a narrow overlay with the close button hovered: the
// hover fill of the face must leave outline and glyph alone.
TEST(CanvasGolden, CaptionStripWithHoveredButtons) {
    TFakeTextEngine engine;
    const int w = 100;
    TRasterCanvas c(engine, w, 24);
    c.FillRect({0, 0, w, 24}, kOverlayKeyColor);
    c.DrawIcon(LoadResourceIcon("ZTLCORNER"), 0, 0);
    for (int x = 16; x <= w - 64 || x == 16; x += 32) c.DrawIcon(LoadResourceIcon("ZCAPTION"), x, 0);
    c.DrawIcon(LoadResourceIcon("ZTRCORNER"), w - 64, 0);
    c.FloodFill(w - 12, 4, kChromeGrey, kRed);
    c.FloodFill(w - 51, 4, kChromeGrey, kWhite);
    c.SetTextColor(kChromeGrey);
    c.DrawTextInBox("Caption", {14, 1, w - 64, 15}, tfVCenter | tfEndEllipsis);
    EXPECT_TRUE(MatchesGolden(c.Image(), "raster/caption_strip"));
}

}  // namespace
}  // namespace ratiscope
