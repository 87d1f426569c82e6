// The bounds every overlay and panel rectangle passes through before it
// reaches the window system.
#include "overlay/WindowPlacement.h"

#include <algorithm>
#include <limits>

#include "settings/Settings.h"

namespace ratiscope {

namespace {

constexpr std::int64_t kCaptionStripHeight = 16;

std::int32_t ToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int32_t SideWithin(std::int32_t wanted, std::int32_t desktopSide) {
    const std::int32_t bound = desktopSide > 0 ? std::min(desktopSide, kMaxWindowCoordinate) : kMaxWindowCoordinate;
    return std::clamp(wanted, 1, bound);
}

}  // namespace

std::int32_t PlaceableCoordinate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, kMinWindowCoordinate, kMaxWindowCoordinate));
}

TSize OverlayClientSize(const TSettings& s) {
    const std::int64_t border = 2 * std::int64_t{s.Border};
    return {ToInt32(s.Width + border), ToInt32(s.Height + border + kCaptionStripHeight)};
}

TSize WindowSizeWithin(TSize wanted, TRect desktop) {
    return {SideWithin(wanted.width, desktop.Width()), SideWithin(wanted.height, desktop.Height())};
}

}  // namespace ratiscope
