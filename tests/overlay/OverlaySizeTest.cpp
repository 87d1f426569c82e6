// The overlay window's size from the settings: the one formula the window,
// the renderer and the exports share.
#include <gtest/gtest.h>

#include <limits>

#include "overlay/OverlaySize.h"
#include "settings/Settings.h"

namespace ratiscope {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(OverlaySize, SectionPlusBordersPlusCaptionStrip) {
    struct Case {
        const char* what;
        std::int32_t width, height, border;
        TSize size;
    };
    const Case cases[] = {
        {"first start", 401, 301, 12, {425, 341}},
        {"no border", 58, 35, 0, {58, 51}},
        {"largest the setters allow", 30000, 30000, 1024, {32048, 32064}},
        {"fields set past the 32-bit range", kMax, 10, kMax, {kMax, kMax}},
    };
    for (const Case& c : cases) {
        TSettings s(1280);
        s.Width = c.width;
        s.Height = c.height;
        s.Border = c.border;
        EXPECT_EQ(OverlayWindowSize(s), c.size) << c.what;
    }
}

}  // namespace
}  // namespace ratiscope
