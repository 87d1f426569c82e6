// A wrong-sized icon would shift the button strip's hit zones and hover fills,
// so only the exact sizes the layout is built on are accepted.
#include "overlay/OverlayIcons.h"

#include <cstdint>
#include <string_view>

#include "resources/Resources.h"

namespace ratiscope {

namespace {

TIcon LoadSized(std::string_view name, std::int32_t width, std::int32_t height) {
    TIcon icon = LoadResourceIcon(name);
    if (icon.Width() != width || icon.Height() != height) return {};
    return icon;
}

}  // namespace

TOverlayIcons LoadOverlayIcons() {
    TOverlayIcons icons;
    icons.Caption = LoadSized("ZCAPTION", 32, 16);
    icons.TLCorner = LoadSized("ZTLCORNER", 16, 16);
    icons.TLCorners = LoadSized("ZTLCORNERS", 16, 16);
    icons.TRCorner = LoadSized("ZTRCORNER", 64, 16);
    icons.TRCorner2 = LoadSized("ZTRCORNER2", 37, 16);
    icons.BRCorner = LoadSized("ZBRCORNER", 24, 24);
    return icons;
}

}  // namespace ratiscope
