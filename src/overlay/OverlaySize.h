// The overlay window's size from the settings and the caption strip both
// windows carry, in one place for the window, the renderer and the exports.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

namespace ratiscope {

class TSettings;

// Height in pixels of the caption strip at the top of the overlay window and
// of the settings panel; the section rectangle starts below it.
inline constexpr std::int32_t kCaptionHeight = 16;

// The overlay window's client size in pixels: Width + 2 Border by
// Height + 2 Border + the caption strip. Sides beyond the 32-bit range (never
// made by the setters) are cut to it.
TSize OverlayWindowSize(const TSettings& s);

}  // namespace ratiscope
