// Window properties written straight to the X server: Qt's own opacity goes
// through a floating-point level that lands one step off, and Qt drops the
// transient relation of every plain window it shows.
#include "platform/qt/QtX11Properties.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

#include "platform/qt/XcbReply.h"

namespace ratiscope {

TX11WindowProperties::TX11WindowProperties() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11) connection_ = x11->connection();
}

std::uint32_t TX11WindowProperties::Atom(const char* name) const {
    return XcbAtom(connection_, name, TAtomLookup::CreateIfMissing);
}

void TX11WindowProperties::SetOpacity(std::uint32_t window, bool blending, std::uint8_t alpha) const {
    if (!connection_ || window == 0) return;
    static const std::uint32_t opacity = Atom("_NET_WM_WINDOW_OPACITY");
    if (opacity == XCB_ATOM_NONE) return;
    if (blending) {
        const std::uint32_t value = OpacityPropertyValue(alpha);
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, opacity, XCB_ATOM_CARDINAL, 32, 1, &value);
    } else {
        xcb_delete_property(connection_, window, opacity);
    }
    xcb_flush(connection_);
}

void TX11WindowProperties::SetSkipTaskbar(std::uint32_t window) const {
    if (!connection_ || window == 0) return;
    static const std::uint32_t state = Atom("_NET_WM_STATE");
    static const std::uint32_t skipTaskbar = Atom("_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) return;
    // Added to what the window already states: Qt merges its own states into
    // the property when it maps the window and keeps the others.
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection_, xcb_get_property(connection_, 0, window, state, XCB_ATOM_ATOM, 0, 64), nullptr);
    bool present = false;
    if (reply) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = reply->format == 32 ? xcb_get_property_value_length(reply) / 4 : 0;
        for (int i = 0; i < count; ++i) present = present || atoms[i] == skipTaskbar;
        std::free(reply);
    }
    if (!present)
        xcb_change_property(connection_, XCB_PROP_MODE_APPEND, window, state, XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection_);
}

void TX11WindowProperties::SetTransientFor(std::uint32_t window, std::uint32_t owner) const {
    if (!connection_ || window == 0 || owner == 0) return;
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1,
                        &owner);
    xcb_flush(connection_);
}

}  // namespace ratiscope
