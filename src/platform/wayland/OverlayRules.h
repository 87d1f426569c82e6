// The small decisions of the native Wayland overlay that do not need a
// compositor: which window system carries the overlay, and when it may have
// the keyboard.
#pragma once

#include <string_view>

namespace ratiscope {

enum class TOverlayBackend {
    X11,      // an X11 window, through XWayland on a Wayland desktop
    Wayland,  // a layer surface of our own Wayland connection
};

// What the user asked for in RATISCOPE_OVERLAY: "x11", "wayland", or anything
// else (empty included) for the automatic choice.
enum class TOverlayRequest { Automatic, X11, Wayland };

TOverlayRequest OverlayRequestFrom(std::string_view value);

// Where the session and the compositor stand.
struct TOverlaySession {
    bool waylandSession = false;  // XDG_SESSION_TYPE is "wayland"
    bool waylandDisplay = false;  // WAYLAND_DISPLAY is set and the compositor answered
    bool layerShell = false;      // it offers zwlr_layer_shell_v1
};

// On a Wayland session, the native overlay wherever the compositor can place
// it on top and pass clicks per pixel; X11 otherwise. A forced "wayland" also
// outside a Wayland session (a nested compositor), but it still needs the
// layer shell, since without it there is nothing to show the overlay with.
TOverlayBackend ChooseOverlayBackend(TOverlayRequest request, const TOverlaySession& session);

// Who gets the keyboard while the overlay is a layer surface. Some compositors
// let a surface that may take the keyboard on demand keep it from every other
// window, so the overlay asks for it only while the user works with it: from a
// press on it until the pointer leaves it with no button held.
class TKeyboardClaim {
public:
    // A button went down on the overlay.
    void Pressed() { wanted_ = true; }
    // The pointer left the overlay; `buttonsHeld` while a drag goes on.
    void Left(bool buttonsHeld) {
        if (!buttonsHeld) wanted_ = false;
    }
    // The pointer came back; the claim stays as it was.
    bool Wanted() const { return wanted_; }

private:
    bool wanted_ = false;
};

}  // namespace ratiscope
