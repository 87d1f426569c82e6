// The region's rectangles, one request each, flushed every few dozen.
#include "platform/wayland/WaylandRegionSender.h"

#include <wayland-client.h>

#include "platform/wayland/WaylandConnection.h"

namespace ratiscope {

void TRegionSender::Send(wl_surface* surface, const TInputRegion& region) {
    if (sent_ && region == shown_) return;
    wl_region* input = wl_compositor_create_region(connection_.Compositor());
    std::size_t queued = 0;
    for (const TRect& r : region.rectangles) {
        wl_region_add(input, r.left, r.top, r.Width(), r.Height());
        connection_.FlushEvery(queued, kRectanglesPerSend);
    }
    wl_surface_set_input_region(surface, input);
    wl_region_destroy(input);
    shown_ = region;
    sent_ = true;
}

}  // namespace ratiscope
