// The overlay backend choice: what the user forced, else what the session offers.
#include "platform/wayland/OverlayRules.h"

namespace ratiscope {

TOverlayRequest OverlayRequestFrom(std::string_view value) {
    if (value == "x11") return TOverlayRequest::X11;
    if (value == "wayland") return TOverlayRequest::Wayland;
    return TOverlayRequest::Automatic;
}

TOverlayBackend ChooseOverlayBackend(TOverlayRequest request, const TOverlaySession& session) {
    if (request == TOverlayRequest::X11) return TOverlayBackend::X11;
    const bool possible = session.waylandDisplay && session.layerShell;
    if (request == TOverlayRequest::Wayland) return possible ? TOverlayBackend::Wayland : TOverlayBackend::X11;
    return possible && session.waylandSession ? TOverlayBackend::Wayland : TOverlayBackend::X11;
}

}  // namespace ratiscope
