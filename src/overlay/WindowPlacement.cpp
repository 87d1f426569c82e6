// The bounds every overlay and panel rectangle passes through before it
// reaches the window system.
#include "overlay/WindowPlacement.h"

#include <algorithm>

namespace ratiscope {

namespace {

std::int32_t SideWithin(std::int32_t wanted, std::int32_t desktopSide) {
    const std::int32_t bound = desktopSide > 0 ? std::min(desktopSide, kMaxWindowCoordinate) : kMaxWindowCoordinate;
    return std::clamp(wanted, 1, bound);
}

}  // namespace

std::int32_t PlaceableCoordinate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, kMinWindowCoordinate, kMaxWindowCoordinate));
}

TSize WindowSizeWithin(TSize wanted, TRect desktop) {
    return {SideWithin(wanted.width, desktop.Width()), SideWithin(wanted.height, desktop.Height())};
}

}  // namespace ratiscope
