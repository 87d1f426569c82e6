// The rectangles of a window's input region on Wayland: the pixels that are
// not key-coloured, as few rectangles as the compositor can take without
// stalling the desktop (its cost grows faster than the rectangle count).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Geometry.h"
#include "platform/Image.h"

namespace ratiscope {

// Above this many rectangles a compositor takes tens of milliseconds or more
// per region, during which the whole desktop stands still.
inline constexpr std::size_t kMaxInputRectangles = 4000;

struct TInputRegion {
    std::vector<TRect> rectangles;
    // Side of the square cells the region was built from: 1 is exact, more
    // means a coarser region (a superset of the shown pixels) took over.
    std::int32_t cell = 1;
    friend bool operator==(const TInputRegion&, const TInputRegion&) = default;
};

// The pixels of `image` that are not `key`, as runs per row with rows of the
// same runs merged into bands. When that needs more than `maxRectangles`,
// the image is cut into square cells of 2, 4, 8 ... pixels, a cell counting
// whole when any of its pixels counts, until the region fits.
TInputRegion BuildInputRegion(const TImage& image, TPixel key, std::size_t maxRectangles = kMaxInputRectangles);

}  // namespace ratiscope
