// The output a window's centre picks, in 64-bit arithmetic so places at the
// ends of the integer range neither overflow nor pick the wrong output.
#include "platform/wayland/OutputPlacement.h"

#include <algorithm>
#include <limits>

namespace ratiscope {

namespace {

// Squared distance from a point to a rectangle's pixels; 0 on it.
std::int64_t DistanceSquared(const TRect& r, std::int64_t x, std::int64_t y) {
    const std::int64_t dx = x < r.left ? r.left - x : (x >= r.right ? x - (std::int64_t{r.right} - 1) : 0);
    const std::int64_t dy = y < r.top ? r.top - y : (y >= r.bottom ? y - (std::int64_t{r.bottom} - 1) : 0);
    return dx * dx + dy * dy;
}

}  // namespace

std::int32_t MarginFrom(std::int32_t place, std::int32_t corner) {
    const std::int64_t margin = std::int64_t{place} - corner;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(margin, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

TOutputPlacement PlaceOnOutputs(std::span<const TOutputArea> outputs, std::int32_t left, std::int32_t top, TSize size,
                                std::uint32_t current) {
    const std::int64_t cx = std::int64_t{left} + std::max(size.width, 0) / 2;
    const std::int64_t cy = std::int64_t{top} + std::max(size.height, 0) / 2;
    const TOutputArea* best = nullptr;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const TOutputArea& o : outputs) {
        if (o.id == kNoOutput || o.area.Width() <= 0 || o.area.Height() <= 0) continue;
        const std::int64_t d = DistanceSquared(o.area, cx, cy);
        if (d < bestDistance || (d == bestDistance && o.id == current)) {
            best = &o;
            bestDistance = d;
        }
    }
    if (!best) return {kNoOutput, 0, 0, left, top};
    return {best->id, best->area.left, best->area.top, MarginFrom(left, best->area.left), MarginFrom(top, best->area.top)};
}

}  // namespace ratiscope
