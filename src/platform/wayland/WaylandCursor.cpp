// Cursor images from the theme by name, in either of the two naming traditions.
#include "platform/wayland/WaylandCursor.h"

#include <array>

#include <wayland-client.h>
#include <wayland-cursor.h>

namespace ratiscope {

namespace {

// The names of a shape: the X tradition first, then the CSS one.
std::array<const char*, 2> CursorNames(TCursor shape) {
    switch (shape) {
    case TCursor::HandPoint: return {"hand2", "pointer"};
    case TCursor::SizeNWSE: return {"bottom_right_corner", "nwse-resize"};
    case TCursor::Default: break;
    }
    return {"left_ptr", "default"};
}

}  // namespace

TWaylandCursor::TWaylandCursor(wl_compositor* compositor, wl_shm* shm) {
    if (shm) theme_ = wl_cursor_theme_load(nullptr, kCursorSize, shm);
    if (compositor) surface_ = wl_compositor_create_surface(compositor);
}

TWaylandCursor::~TWaylandCursor() {
    if (surface_) wl_surface_destroy(surface_);
    if (theme_) wl_cursor_theme_destroy(theme_);
}

bool TWaylandCursor::SetShape(TCursor shape) {
    if (shape == shape_) return false;
    shape_ = shape;
    return true;
}

bool TWaylandCursor::Apply(wl_pointer* pointer, std::uint32_t enterSerial) {
    if (!pointer || !theme_ || !surface_) return false;
    const auto names = CursorNames(shape_);
    wl_cursor* found = wl_cursor_theme_get_cursor(theme_, names[0]);
    if (!found) found = wl_cursor_theme_get_cursor(theme_, names[1]);
    if (!found || found->image_count == 0) return false;
    wl_cursor_image* image = found->images[0];
    wl_buffer* buffer = wl_cursor_image_get_buffer(image);
    if (!buffer) return false;
    wl_pointer_set_cursor(pointer, enterSerial, surface_, static_cast<std::int32_t>(image->hotspot_x),
                          static_cast<std::int32_t>(image->hotspot_y));
    wl_surface_attach(surface_, buffer, 0, 0);
    wl_surface_damage_buffer(surface_, 0, 0, static_cast<std::int32_t>(image->width), static_cast<std::int32_t>(image->height));
    wl_surface_commit(surface_);
    return true;
}

}  // namespace ratiscope
