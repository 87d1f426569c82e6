// A plain xcb connection, the same Qt's X11 platform would open.
#include "platform/qt/QtDisplay.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace ratiscope {

bool X11DisplayReachable() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool reachable = connection && xcb_connection_has_error(connection) == 0;
    if (connection) xcb_disconnect(connection);
    return reachable;
}

std::string NoX11DisplayText(const std::string& programName) {
    const char* display = std::getenv("DISPLAY");
    const std::string what = display && *display ? "cannot reach the X11 display " + std::string(display)
                                                 : std::string("no X11 display (DISPLAY is not set)");
    return (programName.empty() ? std::string("ratiscope") : programName) + ": " + what +
           "; the overlay needs an X11 display, on a Wayland desktop through XWayland\n";
}

}  // namespace ratiscope
