// What a window shows after a new picture on its surface, composed for its
// size or another one: the picture where it reaches, the key colour
// (see-through) elsewhere, never what the surface held before.
#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/RasterOffscreen.h"
#include "support/FakeTextEngine.h"

namespace ratiscope {
namespace {

constexpr TColor kPictureGrey = 0x808080;
constexpr TPixel kStaleGreen = 0xFF00FF00u;

TEST(NewPictureOn, ShowsThePictureAndKeysWhatItDoesNotCover) {
    struct Case {
        const char* what;
        TSize surfaceBefore;
        TSize window;
        TSize picture;
    };
    const Case cases[] = {
        {"same size", {40, 30}, {40, 30}, {40, 30}},
        {"window grew past a picture of the older size", {40, 30}, {60, 50}, {40, 30}},
        {"window grew in width only", {40, 30}, {60, 30}, {40, 30}},
        {"picture larger than the window is clipped", {40, 30}, {20, 10}, {40, 30}},
        {"first picture onto an empty surface", {0, 0}, {25, 15}, {25, 15}},
        {"window shrank, picture wider but shorter", {80, 80}, {30, 30}, {50, 10}},
        {"nothing drawn at all", {40, 30}, {40, 30}, {0, 0}},
        {"window of no size", {40, 30}, {0, 0}, {10, 10}},
    };
    TFakeTextEngine text;
    const TPixel key = PixelFromColor(kOverlayKeyColor);
    for (const Case& c : cases) {
        TRasterOffscreen surface(text, c.surfaceBefore.width, c.surfaceBefore.height);
        // Whatever was on the surface before: an older picture, hover feedback.
        surface.Picture().Resize(c.surfaceBefore.width, c.surfaceBefore.height, kStaleGreen);
        ICanvas& canvas = NewPictureOn(surface, c.window, kOverlayKeyColor);
        canvas.FillRect({0, 0, c.picture.width, c.picture.height}, kPictureGrey);

        const TImage& shown = surface.Picture();
        ASSERT_EQ(shown.Size(), c.window) << c.what;
        ASSERT_EQ(&canvas, &surface.Canvas()) << c.what;
        int wrong = 0;
        for (std::int32_t y = 0; y < shown.Height(); ++y)
            for (std::int32_t x = 0; x < shown.Width(); ++x) {
                const bool covered = x < c.picture.width && y < c.picture.height;
                wrong += shown.At(x, y) != (covered ? PixelFromColor(kPictureGrey) : key);
            }
        EXPECT_EQ(wrong, 0) << c.what;
    }
}

}  // namespace
}  // namespace ratiscope
