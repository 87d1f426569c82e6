// The pointer's shape over the overlay: a cursor theme's image on a surface
// of its own, set each time the pointer enters and when the shape changes.
#pragma once

#include <cstdint>

#include "platform/Window.h"

struct wl_compositor;
struct wl_cursor_theme;
struct wl_pointer;
struct wl_shm;
struct wl_surface;

namespace ratiscope {

class TWaylandCursor {
public:
    // The theme's cursors at this size (pixels).
    static constexpr int kCursorSize = 24;

    // The user's cursor theme (XCURSOR_THEME, else the default one), from the
    // globals given; neither is owned. Without them no cursor is ever set.
    TWaylandCursor(wl_compositor* compositor, wl_shm* shm);
    ~TWaylandCursor();
    TWaylandCursor(const TWaylandCursor&) = delete;
    TWaylandCursor& operator=(const TWaylandCursor&) = delete;

    TCursor Shape() const { return shape_; }
    // Whether `shape` differs from the one before: it then needs applying.
    bool SetShape(TCursor shape);
    // Shows the shape over the surface the pointer entered with `enterSerial`.
    // False when the theme has no image for it.
    bool Apply(wl_pointer* pointer, std::uint32_t enterSerial);

private:
    wl_cursor_theme* theme_ = nullptr;
    wl_surface* surface_ = nullptr;
    TCursor shape_ = TCursor::Default;
};

}  // namespace ratiscope
