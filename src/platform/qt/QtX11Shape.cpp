// Builds shape masks from key-coloured pictures and hands them to the X
// server in pieces small enough for any request limit.
#include "platform/qt/QtX11Shape.h"

#include <QGuiApplication>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace ratiscope {

void BuildShapeMask(const TImage& image, TPixel key, const TBitmapFormat& format, TShapeMask& mask,
                    std::vector<std::uint32_t>* argb) {
    const std::int32_t w = image.Width();
    const std::int32_t h = image.Height();
    const int pad = std::max(8, format.scanlinePad);
    mask.width = w;
    mask.height = h;
    mask.stride = (w + pad - 1) / pad * (pad / 8);
    mask.bits.assign(static_cast<std::size_t>(mask.stride) * static_cast<std::size_t>(h), 0);
    if (argb) argb->resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    if (w <= 0 || h <= 0) return;

    const TPixel keyRgb = key & 0xFFFFFFu;
    const int unitBytes = format.scanlineUnit / 8;
    const bool swapUnits = !format.byteOrderLsb && unitBytes > 1;
    for (std::int32_t y = 0; y < h; ++y) {
        const std::span<const TPixel> row = image.Row(y);
        std::uint8_t* out = mask.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.stride);
        std::uint32_t* argbRow = argb ? argb->data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) : nullptr;
        // Fast path: eight pixels to one mask byte, no per-pixel branch on the bit order.
        for (std::int32_t x0 = 0; x0 < w; x0 += 8) {
            const std::int32_t n = std::min(8, w - x0);
            std::uint8_t byte = 0;
            for (std::int32_t i = 0; i < n; ++i) {
                const TPixel p = row[static_cast<std::size_t>(x0 + i)];
                const bool shown = (p & 0xFFFFFFu) != keyRgb;
                if (shown) byte |= static_cast<std::uint8_t>(format.lsbFirst ? 1u << i : 0x80u >> i);
                if (argbRow) argbRow[x0 + i] = shown ? (p | 0xFF000000u) : 0u;
            }
            out[x0 / 8] = byte;
        }
        if (swapUnits)
            for (std::int32_t b = 0; b + unitBytes <= mask.stride; b += unitBytes) std::reverse(out + b, out + b + unitBytes);
    }
}

namespace {

int ScreenNumberFromDisplay() {
    const char* display = std::getenv("DISPLAY");
    if (!display) return 0;
    const char* colon = std::strrchr(display, ':');
    const char* dot = colon ? std::strchr(colon, '.') : nullptr;
    return dot ? std::atoi(dot + 1) : 0;
}

}  // namespace

TX11Shape::TX11Shape() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* c = x11->connection();
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_shape_id);
    if (!ext || !ext->present) return;
    connection_ = c;
    screen_ = ScreenNumberFromDisplay();
    const xcb_setup_t* setup = xcb_get_setup(c);
    format_.lsbFirst = setup->bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST;
    format_.byteOrderLsb = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    format_.scanlinePad = setup->bitmap_format_scanline_pad;
    format_.scanlineUnit = setup->bitmap_format_scanline_unit;
}

bool TX11Shape::CompositorRunning() const {
    if (!connection_) return false;
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen_);
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 1, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    if (!atom) return false;
    const xcb_atom_t a = atom->atom;
    std::free(atom);
    if (a == XCB_ATOM_NONE) return false;  // nobody ever claimed it
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, a), nullptr);
    if (!owner) return false;
    const bool running = owner->owner != XCB_NONE;
    std::free(owner);
    return running;
}

std::uint32_t TX11Shape::TopLevelAncestor(std::uint32_t window, std::int16_t& dx, std::int16_t& dy) const {
    xcb_connection_t* c = connection_;
    xcb_window_t current = window;
    // A few levels at most: the window, perhaps a frame, perhaps a virtual root.
    for (int depth = 0; depth < 8; ++depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, current), nullptr);
        if (!tree) break;
        const xcb_window_t parent = tree->parent;
        const xcb_window_t root = tree->root;
        std::free(tree);
        if (parent == root || parent == XCB_NONE) break;
        current = parent;
    }
    if (current == window) return window;
    xcb_translate_coordinates_reply_t* at =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, current, 0, 0), nullptr);
    if (!at) return window;
    dx = at->dst_x;
    dy = at->dst_y;
    std::free(at);
    return current;
}

void TX11Shape::Apply(std::uint32_t window, const TShapeMask& mask, bool inputOnly) const {
    if (!connection_ || window == 0) return;
    xcb_connection_t* c = connection_;
    const xcb_shape_kind_t kind = inputOnly ? XCB_SHAPE_SK_INPUT : XCB_SHAPE_SK_BOUNDING;
    if (mask.width <= 0 || mask.height <= 0) {
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, window, 0, 0, 0, nullptr);
        xcb_flush(c);
        return;
    }
    // Sides beyond 16 bits cannot be a pixmap; our windows never get there.
    const auto w = static_cast<std::uint16_t>(std::min(mask.width, 32767));
    const auto h = static_cast<std::uint16_t>(std::min(mask.height, 32767));
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, 1, pixmap, window, w, h);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);

    // In strips of rows: one request may not exceed the server's maximum length.
    const std::uint32_t maxBytes = std::max<std::uint32_t>(xcb_get_maximum_request_length(c) * 4u, 4096u) - 1024u;
    const std::int32_t rowsPerStrip = std::max<std::int32_t>(1, static_cast<std::int32_t>(maxBytes / static_cast<std::uint32_t>(mask.stride)));
    for (std::int32_t y = 0; y < h; y += rowsPerStrip) {
        const std::int32_t rows = std::min<std::int32_t>(rowsPerStrip, h - y);
        xcb_put_image(c, XCB_IMAGE_FORMAT_XY_PIXMAP, pixmap, gc, w, static_cast<std::uint16_t>(rows), 0,
                      static_cast<std::int16_t>(y), 0, 1, static_cast<std::uint32_t>(rows * mask.stride),
                      mask.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.stride));
    }
    xcb_shape_mask(c, XCB_SHAPE_SO_SET, kind, window, 0, 0, pixmap);
    if (inputOnly) {
        // A window manager's frame around the window takes the clicks the
        // input shape lets through, and window managers pass on only the
        // visible shape; so the frame gets the same input shape.
        std::int16_t dx = 0;
        std::int16_t dy = 0;
        const xcb_window_t frame = TopLevelAncestor(window, dx, dy);
        if (frame != window) xcb_shape_mask(c, XCB_SHAPE_SO_SET, kind, frame, dx, dy, pixmap);
    }
    xcb_free_gc(c, gc);
    xcb_free_pixmap(c, pixmap);
    xcb_flush(c);
}

}  // namespace ratiscope
