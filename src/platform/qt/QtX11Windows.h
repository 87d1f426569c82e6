// Other programs' windows on X11 as the window manager stacks them: which one
// lies beneath a point, and where its client area is.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/Geometry.h"

struct xcb_connection_t;

namespace ratiscope {

// One managed window, in desktop pixels: the client area and the outer frame
// the window manager draws around it (the same rectangle without a frame).
struct TStackedWindow {
    TRect client;
    TRect frame;
};

// The client area of the first window, topmost first, whose frame holds (x, y).
std::optional<TRect> ClientAreaAt(std::span<const TStackedWindow> topmostFirst, std::int32_t x, std::int32_t y);

// The client rectangle widened by _NET_FRAME_EXTENTS (left, right, top, bottom).
TRect FrameAround(const TRect& client, std::span<const std::uint32_t> extents);
// The rectangle narrowed by _GTK_FRAME_EXTENTS (left, right, top, bottom): a
// window that draws its own frame counts its shadow into its size.
TRect WithoutShadow(const TRect& window, std::span<const std::uint32_t> extents);

// The client area of the topmost viewable window beneath (x, y) on the
// application's X connection, from the window manager's
// _NET_CLIENT_LIST_STACKING (the root's children without one); the windows
// this connection created, hidden (minimised) windows and the desktop window
// are passed over. Empty without X or over the bare desktop.
std::optional<TRect> X11ClientAreaBeneath(std::int32_t x, std::int32_t y);

}  // namespace ratiscope
