// The whole picture with the platform's real glyphs: text drawn upright and
// turned must leave no pixel blended between the text colour and the key.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

#include "overlay/OverlayIcons.h"
#include "overlay/Renderer.h"
#include "platform/qt/QtGuiSession.h"
#include "platform/qt/QtTextEngine.h"
#include "platform/raster/RasterCanvas.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"

namespace ratiscope {
namespace {

class RendererWithQtGlyphs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        session = std::make_unique<TQtGuiSession>();
    }
    static void TearDownTestSuite() { session.reset(); }

    void SetUp() override {
        ClearLanguageTable();
        MergeLangPair("MWidthHeight", "%d x %d");
        MergeLangPair("MGridSize", "Grid %d px");
        MergeLangPair("MSLook1", "Ratio sequence");
        // Colours far from the key and from each other, so any mixing shows.
        s.SetLinesColor(0x0000FF00);
        s.SetValuesColor(0x00FF0000);
    }
    void TearDown() override { ClearLanguageTable(); }

    std::set<TPixel> AllowedPixels() const {
        std::set<TPixel> allowed{PixelFromColor(kOverlayKeyColor), PixelFromColor(s.LinesColor),
                                 PixelFromColor(s.ValuesColor), PixelFromColor(kChromeGrey),
                                 PixelFromColor(kInactiveCaptionGrey)};
        for (const TIcon* icon : {&icons.TLCorner, &icons.Caption, &icons.TRCorner, &icons.BRCorner})
            for (std::int32_t y = 0; y < icon->Height(); ++y)
                for (std::int32_t x = 0; x < icon->Width(); ++x)
                    if (icon->Opaque(x, y)) allowed.insert(icon->Image().At(x, y));
        return allowed;
    }

    static inline std::unique_ptr<TQtGuiSession> session;
    TSettings s{1920};
    TOverlayIcons icons = LoadOverlayIcons();
};

TEST_F(RendererWithQtGlyphs, EveryPixelHasOneOfThePicturesColours) {
    TQtTextEngine text;
    ASSERT_EQ(text.CellHeight(), 11) << text.Family().toStdString();
    TRasterCanvas canvas(text);
    const std::set<TPixel> allowed = AllowedPixels();
    const TPixel valuePixel = PixelFromColor(s.ValuesColor);
    // Looks whose labels are upright, turned, or both; in every orientation.
    for (int look : {0, 1, 2, 5, 10, 11})
        for (int orient = 0; orient < 4; ++orient) {
            s.SetLookMode(TLook{look});
            s.SetOrientMode(TOrientation{orient});
            ComposeImage(canvas, s, icons, orient % 2 == 0);
            const TImage& img = canvas.Image();
            int textPixels = 0;
            for (std::int32_t y = 0; y < img.Height(); ++y)
                for (std::int32_t x = 0; x < img.Width(); ++x) {
                    const TPixel p = img.At(x, y);
                    ASSERT_TRUE(allowed.count(p)) << "look " << look << " orient " << orient << " at " << x << ","
                                                  << y << ": " << std::hex << p;
                    textPixels += p == valuePixel;
                }
            // The labels really were drawn, so the check above saw glyph edges.
            EXPECT_GT(textPixels, 100) << "look " << look << " orient " << orient;
        }
}

}  // namespace
}  // namespace ratiscope
