// The panel's caption strip pixel by pixel with the program's own icons: a
// golden picture of the strip, and the hover fills staying inside the button
// faces. Glyphs come from the fake engine, so no installed font matters.
#include <set>

#include "PanelFixture.h"
#include "overlay/OverlayIcons.h"
#include "platform/raster/RasterCanvas.h"
#include "support/Golden.h"

namespace ratiscope::testing {
namespace {

constexpr std::int32_t kWidth = 175;  // the panel at 96 dpi

class PanelPixels : public PanelTest {
protected:
    void SetUp() override {
        icons = LoadOverlayIcons();
        Create();
        MergeLangPair("MSCaption", "Settings");
    }

    // The strip's 16 rows of what the window shows after a paint.
    TImage Strip() {
        form->FormPaint();
        const TImage& buffer = window->shown;
        TImage strip(kWidth, 16);
        for (std::int32_t y = 0; y < 16; ++y)
            for (std::int32_t x = 0; x < kWidth; ++x) strip.Set(x, y, buffer.At(x, y));
        return strip;
    }

    // What the hover feedback does on the window: the button picture again,
    // then the fill from the hot spot's corner.
    TImage Lit(std::int32_t start, TColor fill) {
        TRasterCanvas surface(text, kWidth, 16);
        const TImage strip = Strip();
        surface.Image() = strip;
        surface.DrawIcon(icons.TRCorner2, kWidth - 37, 0);
        surface.FloodFill(start, 4, kChromeGrey, fill);
        return surface.Image();
    }
};

TEST_F(PanelPixels, CaptionStripMatchesItsPicture) {
    EXPECT_TRUE(MatchesGolden(Strip(), "panel/caption-strip-active"));
    window->active = false;
    EXPECT_TRUE(MatchesGolden(Strip(), "panel/caption-strip-inactive"));
}

TEST_F(PanelPixels, ShapedEndsAreKeyColouredAndTheRestIsNot) {
    const TImage strip = Strip();
    const TPixel key = PixelFromColor(kPanelKeyColor);
    EXPECT_EQ(strip.At(0, 0), key);
    EXPECT_EQ(strip.At(kWidth - 1, 0), key);
    EXPECT_EQ(strip.At(kWidth - 1, 15), key);
    EXPECT_NE(strip.At(60, 8), key);
    // Below the strip the picture holds no key colour: the controls there must show.
    const TImage& buffer = window->shown;
    for (std::int32_t y = 16; y < buffer.Height(); y += 7)
        for (std::int32_t x = 0; x < buffer.Width(); x += 5) ASSERT_NE(buffer.At(x, y), key) << x << "," << y;
}

TEST_F(PanelPixels, HoverFillsStayInsideTheirButtonFaces) {
    struct Case {
        std::int32_t start;
        TColor fill;
        TRect face;  // the face inside its grey outline
        const char* golden;
    };
    const Case cases[] = {
        {kWidth - 33, 16777215, {kWidth - 37 + 4, 4, kWidth - 37 + 12, 12}, "panel/help-lit"},
        {kWidth - 12, 255, {kWidth - 37 + 25, 4, kWidth - 37 + 33, 12}, "panel/close-lit"},
    };
    const TImage plain = Strip();
    for (const Case& c : cases) {
        const TImage lit = Lit(c.start, c.fill);
        EXPECT_TRUE(MatchesGolden(lit, c.golden));
        int filled = 0;
        for (std::int32_t y = 0; y < 16; ++y)
            for (std::int32_t x = 0; x < kWidth; ++x) {
                if (lit.At(x, y) == plain.At(x, y)) continue;
                EXPECT_TRUE(c.face.Contains(x, y)) << c.golden << " changed " << x << "," << y;
                EXPECT_EQ(lit.At(x, y), PixelFromColor(c.fill));
                ++filled;
            }
        EXPECT_GT(filled, 30) << c.golden;
        // The glyph stays grey inside the lit face.
        int glyph = 0;
        for (std::int32_t y = c.face.top; y < c.face.bottom; ++y)
            for (std::int32_t x = c.face.left; x < c.face.right; ++x)
                if (lit.At(x, y) == PixelFromColor(kChromeGrey)) ++glyph;
        EXPECT_GT(glyph, 5) << c.golden;
    }
}

}  // namespace
}  // namespace ratiscope::testing
