// Builds shape masks from key-coloured pictures and hands them to the X
// server in pieces small enough for any request limit.
#include "platform/qt/QtX11Shape.h"

#include <QGuiApplication>

#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/qt/XcbReply.h"

namespace ratiscope {

namespace {

// Bits of the largest unit a bitmap row is read in; tiles start on one.
constexpr std::int32_t kShapeUnitBits = 32;

// The server's work for a shape change per rectangle of the windows beneath
// against that per square of the shape's own rectangles, as fitted to resize
// steps timed on Xvfb over a terminal (grids of step 3 and 8, 420 x 285 and
// 1920 x 1080).
constexpr double kTileBalance = 100.0;
// How far the best side may move from the one in use before the tiles change.
constexpr double kTileSideSlack = 1.6;
// The most tiles a picture is cut into: windows the server keeps cheaply.
constexpr std::int64_t kMaxShapeTiles = 600;
// Tile sides from the smallest to the largest.
constexpr std::int32_t kTileSides[] = {64, 128, 256, 512};
// Rectangles in one piece of an edge strip: the server changes that many in
// about 10 ms (Xvfb, a terminal beneath). Longer pieces mean fewer changes
// per step but longer waits for other programs.
constexpr double kEdgePieceRectangles = 6000;
// The lengths of edge pieces are multiples of this, and at most the other:
// the window beneath redraws what one piece uncovers in one go, which for a
// terminal takes the server long (a piece of 1,080 rows over an xterm: 130 ms
// of waiting for other programs against 40 ms at 512 rows).
constexpr std::int32_t kEdgePieceStep = 64;
constexpr std::int64_t kLongestEdgePiece = 512;

std::uint8_t ReverseBits(std::uint8_t b) {
    b = static_cast<std::uint8_t>((b & 0xF0u) >> 4 | (b & 0x0Fu) << 4);
    b = static_cast<std::uint8_t>((b & 0xCCu) >> 2 | (b & 0x33u) << 2);
    return static_cast<std::uint8_t>((b & 0xAAu) >> 1 | (b & 0x55u) << 1);
}

}  // namespace

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
    // One byte per pixel first, rounded up to whole mask bytes: plain loops
    // the compiler turns into vector code.
    std::vector<std::uint8_t> shown(static_cast<std::size_t>((w + 7) / 8 * 8), 0);
    for (std::int32_t y = 0; y < h; ++y) {
        const TPixel* row = image.Row(y).data();
        for (std::int32_t x = 0; x < w; ++x) shown[static_cast<std::size_t>(x)] = (row[x] & 0xFFFFFFu) != keyRgb;
        if (argb) {
            std::uint32_t* out = argb->data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
            for (std::int32_t x = 0; x < w; ++x) out[x] = shown[static_cast<std::size_t>(x)] ? (row[x] | 0xFF000000u) : 0u;
        }
        // Eight flags to one byte, lowest pixel in the lowest bit: one multiply.
        std::uint8_t* out = mask.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.stride);
        for (std::int32_t x0 = 0; x0 < w; x0 += 8) {
            std::uint64_t flags;
            std::memcpy(&flags, shown.data() + x0, 8);
            if constexpr (std::endian::native == std::endian::big) flags = __builtin_bswap64(flags);
            const auto byte = static_cast<std::uint8_t>((flags * 0x0102040810204080ull) >> 56);
            out[x0 / 8] = format.lsbFirst ? byte : ReverseBits(byte);
        }
        if (swapUnits)
            for (std::int32_t b = 0; b + unitBytes <= mask.stride; b += unitBytes) std::reverse(out + b, out + b + unitBytes);
    }
}

namespace {

// Cuts [0, length) into pieces of `piece`, the last one shorter.
template <class Add>
void CutInto(std::int32_t length, std::int32_t piece, Add add) {
    for (std::int64_t at = 0; at < length; at += piece) {
        const auto a = static_cast<std::int32_t>(at);
        add(a, std::min(piece, length - a));
    }
}

}  // namespace

std::int32_t EdgeStripStart(std::int32_t length, std::int32_t current) {
    if (length <= kShapeEdgeStrip) return 0;
    const std::int64_t thickness = static_cast<std::int64_t>(length) - current;
    if (current >= 0 && current % kShapeEdgeStrip == 0 && thickness >= 1 && thickness <= 2 * kShapeEdgeStrip) return current;
    return (length - kShapeEdgeStrip) / kShapeEdgeStrip * kShapeEdgeStrip;
}

std::vector<TShapeTile> ShapeTiles(std::int32_t width, std::int32_t height, std::int32_t side, std::int32_t edgeLength,
                                   std::int32_t right, std::int32_t bottom) {
    std::vector<TShapeTile> tiles;
    if (width <= 0 || height <= 0) return tiles;
    if (side <= 0) return {{0, 0, width, height}};
    if (edgeLength <= 0) edgeLength = side;
    // Strips that do not start inside the picture on a whole unit start where they would anew.
    if (right < 0 || right >= width || right % kShapeUnitBits != 0) right = EdgeStripStart(width);
    if (bottom < 0 || bottom >= height) bottom = EdgeStripStart(height);
    CutInto(bottom, side, [&](std::int32_t top, std::int32_t rows) {
        CutInto(right, side, [&](std::int32_t left, std::int32_t columns) { tiles.push_back({left, top, columns, rows}); });
    });
    CutInto(bottom, edgeLength, [&](std::int32_t top, std::int32_t rows) { tiles.push_back({right, top, width - right, rows}); });
    CutInto(width, edgeLength, [&](std::int32_t left, std::int32_t columns) { tiles.push_back({left, bottom, columns, height - bottom}); });
    return tiles;
}

std::int64_t ShapeRectangles(const TShapeMask& mask) {
    if (mask.width <= 0 || mask.height <= 0 || mask.stride <= 0) return 0;
    const auto stride = static_cast<std::size_t>(mask.stride);
    if (mask.bits.size() < stride * static_cast<std::size_t>(mask.height)) return 0;
    std::int64_t edges = 0;
    for (std::int32_t y = 0; y < mask.height; ++y) {
        const std::uint8_t* row = mask.bits.data() + static_cast<std::size_t>(y) * stride;
        if (y > 0 && std::memcmp(row, row - stride, stride) == 0) continue;
        // Each run starts and ends at a change between neighbouring bits; a
        // change across bytes is missed or doubled now and then, which an
        // estimate can bear whatever the bit order.
        std::uint8_t before = 0;
        for (std::size_t i = 0; i < stride; ++i) {
            const std::uint8_t b = row[i];
            edges += std::popcount(static_cast<unsigned>(b ^ static_cast<std::uint8_t>(b << 1 | before >> 7)));
            before = b;
        }
        edges += before >> 7;
    }
    return edges / 2;
}

std::int32_t LeastTileSide(std::int32_t width, std::int32_t height) {
    const std::int64_t area = static_cast<std::int64_t>(std::max(0, width)) * std::max(0, height);
    auto side = static_cast<std::int64_t>(std::ceil(std::sqrt(static_cast<double>(area) / kMaxShapeTiles)));
    side = (side + kShapeUnitBits - 1) / kShapeUnitBits * kShapeUnitBits;
    return static_cast<std::int32_t>(std::max<std::int64_t>(kShapeUnitBits, side));
}

std::int32_t TileSideFor(std::int32_t width, std::int32_t height, std::int64_t rectangles, std::int32_t current) {
    const std::int64_t area = static_cast<std::int64_t>(std::max(0, width)) * std::max(0, height);
    const std::int32_t least = LeastTileSide(width, height);
    if (area <= 0 || rectangles <= 0) return std::max(kTileSides[std::size(kTileSides) - 1], least);
    // A change that moves the figure's lines reshapes about
    // (width + height) / side tiles, each costing the server its rectangles
    // squared plus the rectangles of the window beneath (about as many as
    // the figure's): smallest in sum at this side.
    const double ideal = std::sqrt(static_cast<double>(area)) * std::pow(kTileBalance / static_cast<double>(rectangles), 0.25);
    // Near the side in use it stays: each new side reshapes every tile.
    if (current > 0 && ideal > current / kTileSideSlack && ideal < current * kTileSideSlack) return std::max(current, least);
    std::int32_t side = kTileSides[0];
    for (const std::int32_t s : kTileSides)
        if (std::abs(std::log(ideal / s)) < std::abs(std::log(ideal / side))) side = s;
    return std::max(side, least);
}

std::int32_t EdgeLengthFor(std::int32_t width, std::int32_t height, std::int64_t rectangles, std::int32_t current) {
    const std::int64_t area = static_cast<std::int64_t>(std::max(0, width)) * std::max(0, height);
    const std::int64_t longest = std::max<std::int64_t>(kEdgePieceStep, std::min<std::int64_t>(kLongestEdgePiece, std::max(width, height)));
    // Rectangles per pixel, were they spread evenly.
    const double density = area > 0 ? static_cast<double>(std::max<std::int64_t>(0, rectangles)) / static_cast<double>(area) : 0;
    const double ideal = std::min(density > 0 ? kEdgePieceRectangles / (density * 2 * kShapeEdgeStrip) : static_cast<double>(longest),
                                  static_cast<double>(longest));
    if (current > 0 && ideal > current / kTileSideSlack && ideal < current * kTileSideSlack) return current;
    const auto steps = static_cast<std::int64_t>(ideal / kEdgePieceStep);
    return static_cast<std::int32_t>(std::max<std::int64_t>(1, steps) * kEdgePieceStep);
}

bool TileDiffers(const TShapeMask& a, const TShapeMask& b, TShapeTile tile) {
    if (tile.left < 0 || tile.top < 0 || tile.width < 0 || tile.height < 0) return true;
    if (tile.Empty()) return false;
    // Both masks must hold the whole tile; masks of other widths may, as a
    // change of size leaves the tiles inside as they were.
    const std::int64_t right = static_cast<std::int64_t>(tile.left) + tile.width;
    const std::int64_t end = static_cast<std::int64_t>(tile.top) + tile.height;
    if (right > a.width || right > b.width || end > a.height || end > b.height) return true;
    // Whole 32-bit units around the tile's columns: the same bytes in both
    // whatever the bit and byte order, as a column's place in a row does not
    // depend on the row's length.
    const std::int64_t from = static_cast<std::int64_t>(tile.left) / kShapeUnitBits * 4;
    const std::int64_t to = std::min<std::int64_t>({a.stride, b.stride, (right + kShapeUnitBits - 1) / kShapeUnitBits * 4});
    if (from >= to) return false;
    const auto bytes = static_cast<std::size_t>(to - from);
    for (std::int32_t y = tile.top; y < end; ++y) {
        const std::uint8_t* rowA = a.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(a.stride);
        const std::uint8_t* rowB = b.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(b.stride);
        if (std::memcmp(rowA + from, rowB + from, bytes) != 0) return true;
    }
    return false;
}

int X11ScreenNumber() {
    const char* display = std::getenv("DISPLAY");
    if (!display) return 0;
    const char* colon = std::strrchr(display, ':');
    const char* dot = colon ? std::strchr(colon, '.') : nullptr;
    return dot ? std::atoi(dot + 1) : 0;
}

TX11Shape::TX11Shape() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* c = x11->connection();
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_shape_id);
    if (!ext || !ext->present) return;
    connection_ = c;
    screen_ = X11ScreenNumber();
    const xcb_setup_t* setup = xcb_get_setup(c);
    format_.lsbFirst = setup->bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST;
    format_.byteOrderLsb = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    format_.scanlinePad = setup->bitmap_format_scanline_pad;
    format_.scanlineUnit = setup->bitmap_format_scanline_unit;
    // One-bit pixels are laid out as a bitmap when their rows are padded alike.
    const xcb_format_t* f = xcb_setup_pixmap_formats(setup);
    for (int i = 0, n = xcb_setup_pixmap_formats_length(setup); i < n; ++i)
        if (f[i].depth == 1 && f[i].bits_per_pixel == 1) bitsAsPixels_ = f[i].scanline_pad == setup->bitmap_format_scanline_pad;
}

bool TX11Shape::CompositorRunning() const {
    if (!connection_) return false;
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen_);
    const xcb_atom_t a = XcbAtom(connection_, name, TAtomLookup::ExistingOnly);
    if (a == XCB_ATOM_NONE) return false;  // nobody ever claimed it
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, a), nullptr);
    if (!owner) return false;
    const bool running = owner->owner != XCB_NONE;
    std::free(owner);
    return running;
}

std::uint32_t TX11Shape::Mark() const {
    if (!connection_) return 0;
    const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(connection_);
    xcb_flush(connection_);
    return cookie.sequence;
}

bool TX11Shape::Answered(std::uint32_t mark) const {
    if (!connection_ || mark == 0) return true;
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (xcb_poll_for_reply(connection_, mark, &reply, &error) == 0) return false;
    std::free(reply);
    std::free(error);
    return true;
}

void TX11Shape::Drop(std::uint32_t mark) const {
    if (connection_ && mark != 0) xcb_discard_reply(connection_, mark);
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
    Apply(window, mask, inputOnly, {0, 0, mask.width, mask.height});
}

void TX11Shape::Apply(std::uint32_t window, const TShapeMask& mask, bool inputOnly, TShapeTile tile) const {
    if (!connection_ || window == 0) return;
    xcb_connection_t* c = connection_;
    const xcb_shape_kind_t kind = inputOnly ? XCB_SHAPE_SK_INPUT : XCB_SHAPE_SK_BOUNDING;
    // Pixels the mask lacks are not shown.
    tile.left = std::clamp(tile.left, 0, std::max(0, mask.width));
    tile.top = std::clamp(tile.top, 0, std::max(0, mask.height));
    tile.width = std::clamp(tile.width, 0, std::max(0, mask.width - tile.left));
    tile.height = std::clamp(tile.height, 0, std::max(0, mask.height - tile.top));
    // A tile starts on a whole unit of the mask's rows; one that does not shows nothing.
    if (tile.left % kShapeUnitBits != 0) tile.width = 0;
    if (tile.Empty()) {
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, window, 0, 0, 0, nullptr);
        xcb_flush(c);
        return;
    }
    // Sides beyond 16 bits cannot be a pixmap; our windows never get there.
    const auto w = static_cast<std::uint16_t>(std::min(tile.width, 32767));
    const auto h = static_cast<std::uint16_t>(std::min(tile.height, 32767));
    const int pad = std::max(8, format_.scanlinePad);
    const std::int32_t stride = (w + pad - 1) / pad * (pad / 8);
    const std::size_t firstByte = static_cast<std::size_t>(tile.left / 8);
    const std::uint8_t* bits = mask.bits.data() + static_cast<std::size_t>(tile.top) * static_cast<std::size_t>(mask.stride);
    std::vector<std::uint8_t> copy;
    // Fast path: a tile of whole rows is sent straight from the mask.
    if (tile.left != 0 || stride != mask.stride) {
        const std::size_t rowBytes = std::min(static_cast<std::size_t>(stride), static_cast<std::size_t>(mask.stride) - firstByte);
        copy.assign(static_cast<std::size_t>(stride) * h, 0);
        for (std::int32_t y = 0; y < h; ++y)
            std::memcpy(copy.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride),
                        bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.stride) + firstByte, rowBytes);
        bits = copy.data();
    }
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, 1, pixmap, window, w, h);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);

    // In strips of rows: one request may not exceed the server's maximum length.
    const std::uint32_t maxBytes = std::max<std::uint32_t>(xcb_get_maximum_request_length(c) * 4u, 4096u) - 1024u;
    const std::int32_t rowsPerStrip = std::max<std::int32_t>(1, static_cast<std::int32_t>(maxBytes / static_cast<std::uint32_t>(stride)));
    for (std::int32_t y = 0; y < h; y += rowsPerStrip) {
        const std::int32_t rows = std::min<std::int32_t>(rowsPerStrip, h - y);
        // A one-bit pixmap takes the same bits as one plane or as pixels; as
        // pixels the server copies them instead of drawing them bit by bit.
        xcb_put_image(c, bitsAsPixels_ ? XCB_IMAGE_FORMAT_Z_PIXMAP : XCB_IMAGE_FORMAT_XY_PIXMAP, pixmap, gc, w, static_cast<std::uint16_t>(rows), 0,
                      static_cast<std::int16_t>(y), 0, 1, static_cast<std::uint32_t>(rows * stride),
                      bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride));
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
