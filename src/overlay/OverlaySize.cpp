// The overlay window's size from the settings.
#include "overlay/OverlaySize.h"

#include <algorithm>
#include <limits>

#include "settings/Settings.h"

namespace ratiscope {

namespace {

std::int32_t Side(std::int64_t side) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(side, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TSize OverlayWindowSize(const TSettings& s) {
    const std::int64_t border = 2 * std::int64_t{s.Border};
    return {Side(s.Width + border), Side(s.Height + border + kCaptionHeight)};
}

}  // namespace ratiscope
