// The overlay's layer surface and the outputs: which one it is on, its margins
// from that output's corner, and its move to another output.
#include <wayland-client.h>

#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandWindow.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace ratiscope {

void TWaylandWindow::SendMargins() {
    zwlr_layer_surface_v1_set_margin(layer_, MarginFrom(top_, cornerTop_), 0, 0, MarginFrom(left_, cornerLeft_));
}

// Not while the compositor's events are being handled (a move comes from a
// pointer event): making the new surface waits for the compositor's answer.
void TWaylandWindow::QueueOutputCheck() {
    if (queuedOutputCheck_.Active()) return;
    queuedOutputCheck_ = loop_.Post([this] {
        queuedOutputCheck_.Reset();
        CheckOutput();
    });
}

void TWaylandWindow::CheckOutput() {
    if (!layer_ || !configured_) return;
    const TOutputPlacement place = PlaceOnOutputs(connection_.Outputs().Areas(), left_, top_, size_, output_);
    if (place.output != output_) {
        MoveToOutput();
    } else if (place.cornerLeft != cornerLeft_ || place.cornerTop != cornerTop_) {
        // The output itself moved in the layout: the window stays where it was.
        cornerLeft_ = place.cornerLeft;
        cornerTop_ = place.cornerTop;
        SendMargins();
        wl_surface_commit(wlSurface_);
        connection_.Flush();
    }
}

void TWaylandWindow::MoveToOutput() {
    const bool hadFocus = keyboardFocus_;
    DestroySurface();
    // The old surface's keyboard went with it; the new one's is no new activation.
    keyboardFocus_ = false;
    quietFocus_ = hadFocus;
    CreateSurface(true);
    Paint();
    if (layer_ && claimed_ && hadFocus) {
        SendInteractivity(false);
        wl_surface_commit(wlSurface_);
    }
    connection_.Roundtrip();
    quietFocus_ = false;
    if (hadFocus && !keyboardFocus_) {
        repeat_.Stop();
        events_.OnDeactivate();
    }
}

}  // namespace ratiscope
