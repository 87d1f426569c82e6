// Text in a box: the end-ellipsis rule and the placement of both angles,
// measured with the font-free fake engine (6 x 11 per character).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/raster/RasterCanvas.h"
#include "platform/raster/TextBox.h"
#include "support/FakeTextEngine.h"
#include "support/RecordingCanvas.h"

namespace ratiscope {
namespace {

TEST(TextBox, EndEllipsisKeepsTheLongestFittingStart) {
    struct Case {
        const char* text;
        std::int32_t width;
        const char* shown;
    };
    const Case cases[] = {
        {"abcdefgh", 48, "abcdefgh"},  // fits exactly: unchanged
        {"abcdefgh", 47, "abcd..."},   // 8 cells do not fit, nor 5 + 3; 4 + 3 do
        {"abcdefgh", 30, "ab..."},
        {"abcdefgh", 18, "..."},
        {"abcdefgh", 5, "..."},        // nothing fits: the ellipsis alone
        {"abcdefgh", -40, "..."},      // an inverted box
        {"", 0, ""},
        {"\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f", 35, "\xc3\xa4\xc3\xb6..."},  // cut between characters, not bytes
        {"Vendrel Ratiscope - Golden sections", 120, "Vendrel Ratiscope..."},
    };
    for (const Case& c : cases) {
        TFakeTextEngine engine;
        EXPECT_EQ(ShortenWithEllipsis(engine, c.text, c.width), c.shown) << c.text << " in " << c.width;
    }
}

TEST(TextBox, ShorteningMeasuresLogarithmicallyOften) {
    TFakeTextEngine engine;
    const std::string text(10000, 'x');
    EXPECT_EQ(ShortenWithEllipsis(engine, text, 60), "xxxxxxx...");
    EXPECT_LE(engine.measureCalls, 2 + static_cast<int>(std::ceil(std::log2(10000.0))));
}

TEST(TextBox, PlacementByFormatAndAngle) {
    struct Case {
        const char* what;
        std::uint32_t format;
        int angle;
        TRect box;
        TTextPlacement expected;
    };
    // "abcd" measures 24 x 11.
    const Case cases[] = {
        {"top left", tfLeft | tfTop, 0, {10, 20, 100, 40}, {"abcd", 10, 20}},
        {"centred", tfCenter, 0, {10, 20, 100, 40}, {"abcd", 10 + 33, 20}},
        {"vertically centred", tfVCenter, 0, {10, 20, 100, 40}, {"abcd", 10, 20 + 4}},
        {"bottom", tfBottom, 0, {10, 20, 100, 40}, {"abcd", 10, 29}},
        {"centred both ways, odd slack truncated", tfCenter | tfVCenter, 0, {0, 0, 27, 14}, {"abcd", 1, 1}},
        {"caption box", tfVCenter | tfEndEllipsis, 0, {14, 1, 356, 15}, {"abcd", 14, 2}},
        {"too narrow, centred: the text overhangs both sides", tfCenter, 0, {0, 0, 10, 11}, {"abcd", -7, 0}},
        {"ellipsis", tfEndEllipsis, 0, {0, 0, 23, 11}, {"...", 0, 0}},
        // Turned: 11 across, 24 upward; the start point is the footprint's bottom-left.
        {"turned top left", tfLeft, 90, {10, 20, 100, 80}, {"abcd", 10, 44}},
        {"turned centred", tfCenter | tfVCenter, 90, {10, 20, 100, 80}, {"abcd", 10 + 39, 20 + 18 + 24}},
        {"turned bottom", tfBottom, 90, {10, 20, 100, 80}, {"abcd", 10, 80}},
        {"turned ellipsis along the height", tfEndEllipsis, 90, {0, 0, 100, 23}, {"...", 0, 18}},
    };
    for (const Case& c : cases) {
        TFakeTextEngine engine;
        const TTextPlacement p = PlaceTextInBox(engine, "abcd", c.box, c.format, c.angle);
        EXPECT_EQ(p.text, c.expected.text) << c.what;
        EXPECT_EQ(p.x, c.expected.x) << c.what;
        EXPECT_EQ(p.y, c.expected.y) << c.what;
    }
}

TEST(TextBox, TextAtTheEndsOfTheCoordinateRangeIsOffTheImage) {
    TFakeTextEngine engine;
    TRasterCanvas canvas(engine, 30, 20);
    canvas.FillRect({0, 0, 30, 20}, 0);
    canvas.SetTextColor(0xFFFFFF);
    for (const int angle : {0, 90}) {
        canvas.SetFontAngle(angle);
        canvas.TextOut(2147483647, 2147483647, "edge");
        canvas.TextOut(-2147483647 - 1, -2147483647 - 1, "edge");
        canvas.DrawTextInBox("edge", {-2147483647 - 1, 0, 2147483647, 20}, tfBottom | tfEndEllipsis);
    }
    canvas.SetFontAngle(0);
    canvas.DrawTextInBox("edge", {-2147483647 - 1, 0, 2147483647, 20}, tfCenter | tfVCenter);
    int lit = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) lit += canvas.Image().At(x, y) != 0xFF000000u;
    EXPECT_GT(lit, 0);  // only the centred one lands on the image, across its middle
    for (int x = 0; x < 30; ++x) EXPECT_EQ(canvas.Image().At(x, 0), 0xFF000000u);
}

TEST(RecordingCanvas, WritesOneLinePerCall) {
    TRecordingCanvas canvas;
    canvas.Resize(420, 285);
    canvas.FillRect({0, 0, 420, 285}, kOverlayKeyColor);
    canvas.SetPenColor(kDefaultLinesColor);
    canvas.MoveTo(12, 28);
    canvas.LineTo(408, 28);
    canvas.SetFontAngle(90.04);
    canvas.SetFontAngle(0);
    canvas.DrawTextInBox("Vendrel Ratiscope - ", {14, 1, 356, 15}, tfVCenter | tfEndEllipsis);
    EXPECT_EQ(canvas.MeasureText("abc"), (TSize{18, 11}));
    EXPECT_EQ(canvas.Size(), (TSize{420, 285}));
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{
                                "Resize 420,285", "FillRect 0,0,420,285 16646398", "SetPenColor 4210943",
                                "MoveTo 12,28", "LineTo 408,28", "SetFontAngle 90", "SetFontAngle 0",
                                "DrawTextInBox \"Vendrel Ratiscope - \" 14,1,356,15 10"}));
    EXPECT_EQ(canvas.CallsOf("SetFontAngle").size(), 2u);
}

}  // namespace
}  // namespace ratiscope
