// Reads the window manager's stacking order and window properties through
// xcb, on the connection Qt opened.
#include "platform/qt/QtX11Windows.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/qt/QtX11Shape.h"
#include "platform/qt/XcbReply.h"

namespace ratiscope {

namespace {

// Properties hold at most this many 32-bit items for us: window lists of a busy desktop fit.
constexpr std::uint32_t kMaxPropertyItems = 16384;
// Four frame widths: left, right, top, bottom.
constexpr std::size_t kExtentCount = 4;

xcb_atom_t Atom(xcb_connection_t* c, std::string_view name) { return XcbAtom(c, name, TAtomLookup::ExistingOnly); }

// The 32-bit items of a property of the given type; empty when it is missing or of another kind.
std::vector<std::uint32_t> Items(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    if (property == XCB_ATOM_NONE) return {};
    TXcbReply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, kMaxPropertyItems), nullptr));
    if (!r || r->format != 32 || r->type != type) return {};
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(r.get()));
    const auto n = static_cast<std::size_t>(xcb_get_property_value_length(r.get())) / 4;
    return std::vector<std::uint32_t>(data, data + n);
}

bool Holds(const std::vector<std::uint32_t>& items, xcb_atom_t atom) {
    return atom != XCB_ATOM_NONE && std::find(items.begin(), items.end(), atom) != items.end();
}

xcb_window_t RootWindow(xcb_connection_t* c) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = X11ScreenNumber(); i > 0 && it.rem > 1; --i) xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

// Top-level windows bottom to top: the manager's list, or the root's children without a manager.
std::vector<std::uint32_t> StackingOrder(xcb_connection_t* c, xcb_window_t root, bool& managed) {
    std::vector<std::uint32_t> list = Items(c, root, Atom(c, "_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW);
    managed = !list.empty();
    if (managed) return list;
    TXcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<std::uint32_t>(children, children + xcb_query_tree_children_length(tree.get()));
}

}  // namespace

std::optional<TRect> ClientAreaAt(std::span<const TStackedWindow> topmostFirst, std::int32_t x, std::int32_t y) {
    for (const TStackedWindow& w : topmostFirst)
        if (w.frame.Contains(x, y)) return w.client;
    return std::nullopt;
}

TRect FrameAround(const TRect& client, std::span<const std::uint32_t> extents) {
    if (extents.size() < kExtentCount) return client;
    // Extents beyond any screen are nonsense from a broken client; they are ignored.
    for (const std::uint32_t e : extents.first(kExtentCount))
        if (e > 65535) return client;
    return {client.left - static_cast<std::int32_t>(extents[0]), client.top - static_cast<std::int32_t>(extents[2]),
            client.right + static_cast<std::int32_t>(extents[1]), client.bottom + static_cast<std::int32_t>(extents[3])};
}

TRect WithoutShadow(const TRect& window, std::span<const std::uint32_t> extents) {
    if (extents.size() < kExtentCount) return window;
    const auto e = [&](std::size_t i) { return static_cast<std::int64_t>(extents[i]); };
    // A shadow wider than the window itself is nonsense: keep the window.
    if (e(0) + e(1) >= window.Width() || e(2) + e(3) >= window.Height()) return window;
    return {window.left + static_cast<std::int32_t>(e(0)), window.top + static_cast<std::int32_t>(e(2)),
            window.right - static_cast<std::int32_t>(e(1)), window.bottom - static_cast<std::int32_t>(e(3))};
}

std::optional<TRect> X11ClientAreaBeneath(std::int32_t x, std::int32_t y) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return std::nullopt;
    const xcb_window_t root = RootWindow(c);
    if (root == XCB_WINDOW_NONE) return std::nullopt;

    bool managed = false;
    const std::vector<std::uint32_t> stacking = StackingOrder(c, root, managed);
    const xcb_atom_t wmState = Atom(c, "_NET_WM_STATE");
    const xcb_atom_t hidden = Atom(c, "_NET_WM_STATE_HIDDEN");
    const xcb_atom_t windowType = Atom(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t desktopType = Atom(c, "_NET_WM_WINDOW_TYPE_DESKTOP");
    const xcb_atom_t frameExtents = Atom(c, "_NET_FRAME_EXTENTS");
    const xcb_atom_t shadowExtents = Atom(c, "_GTK_FRAME_EXTENTS");
    // Every window this connection creates carries its resource base.
    const xcb_setup_t* setup = xcb_get_setup(c);
    const std::uint32_t ownMask = ~setup->resource_id_mask;
    const std::uint32_t ownBase = setup->resource_id_base & ownMask;

    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        const xcb_window_t w = *it;
        if ((w & ownMask) == ownBase) continue;
        TXcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        if (attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY) continue;
        // Without a manager, menus and tooltips are top-level too.
        if (!managed && attributes->override_redirect) continue;
        if (Holds(Items(c, w, wmState, XCB_ATOM_ATOM), hidden)) continue;
        if (Holds(Items(c, w, windowType, XCB_ATOM_ATOM), desktopType)) continue;

        TXcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr));
        TXcbReply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, root, 0, 0), nullptr));
        if (!geometry || !origin) continue;
        const TRect window{origin->dst_x, origin->dst_y, origin->dst_x + geometry->width,
                           origin->dst_y + geometry->height};
        const TRect client = WithoutShadow(window, Items(c, w, shadowExtents, XCB_ATOM_CARDINAL));
        const TStackedWindow stacked{client, FrameAround(client, Items(c, w, frameExtents, XCB_ATOM_CARDINAL))};
        if (auto area = ClientAreaAt({&stacked, 1}, x, y)) return area;
    }
    return std::nullopt;
}

}  // namespace ratiscope
