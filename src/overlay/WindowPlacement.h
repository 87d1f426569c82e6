// Window rectangles the window system can place whatever the settings hold: a
// stored position near the integer limits must not overflow, and a stored size
// must not ask for more pixels than the screens can show.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

namespace ratiscope {

// The coordinates a window's corner can take: X11 carries window positions as
// 16-bit signed numbers, and Windows keeps its windows within the same range.
inline constexpr std::int32_t kMinWindowCoordinate = -32768;
inline constexpr std::int32_t kMaxWindowCoordinate = 32767;

// `value` moved into the placeable range; computed in 64 bits so that a sum of
// a stored position and a movement cannot overflow on the way.
std::int32_t PlaceableCoordinate(std::int64_t value);

// `wanted` with each side at most the desktop's (all monitors together) and at
// least 1; a window larger than every screen shows nothing more and would only
// cost memory for its picture. An empty desktop bounds nothing but the range.
TSize WindowSizeWithin(TSize wanted, TRect desktop);

}  // namespace ratiscope
