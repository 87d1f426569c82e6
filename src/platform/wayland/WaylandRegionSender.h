// The input region of the overlay's surface as the compositor has it: sent
// in batches the socket can take, and only when it changed, since the
// compositor's cost grows with the rectangles.
#pragma once

#include "platform/wayland/InputRegion.h"

struct wl_surface;

namespace ratiscope {

class TWaylandConnection;

class TRegionSender {
public:
    // Region rectangles sent before the socket is emptied: about half the library's buffer.
    static constexpr std::size_t kRectanglesPerSend = 64;

    explicit TRegionSender(TWaylandConnection& connection) : connection_(connection) {}

    // Sets `region` as the input region of `surface` with its next commit,
    // unless it is the region sent last to the same surface.
    void Send(wl_surface* surface, const TInputRegion& region);
    // A new surface has no region yet: the next Send sends whatever it is.
    void NewSurface() { sent_ = false; }
    // The region last sent.
    const TInputRegion& Shown() const { return shown_; }

private:
    TWaylandConnection& connection_;
    TInputRegion shown_;
    bool sent_ = false;
};

}  // namespace ratiscope
