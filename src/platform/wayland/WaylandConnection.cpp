// The compositor connection: globals, flow-controlled sending, and event
// handling from the event loop (read when the socket is readable, send before the loop sleeps).
#include "platform/wayland/WaylandConnection.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <wayland-client.h>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace ratiscope {

namespace {

// Versions of the globals whose requests and events the overlay uses.
constexpr std::uint32_t kCompositorVersion = 4;  // wl_surface.damage_buffer
constexpr std::uint32_t kSeatVersion = 5;        // discrete wheel steps and pointer frames
constexpr std::uint32_t kLayerShellVersion = 4;  // keyboard focus on demand
// How long a full socket may stay full before the compositor counts as hung.
constexpr int kSendTimeoutMs = 5000;

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    static_cast<TWaylandConnection*>(data)->Announce(registry, name, interface, version);
}

void OnGlobalRemove(void* data, wl_registry*, std::uint32_t name) { static_cast<TWaylandConnection*>(data)->Removed(name); }

constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

}  // namespace

TWaylandConnection::TWaylandConnection(IEventLoop& loop) : loop_(loop) {
    display_ = wl_display_connect(nullptr);
    if (!display_) return;
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    // The seat's and outputs' own events come with the next round, once the
    // window listens to them.
    if (wl_display_roundtrip(display_) < 0) failed_ = true;
}

TWaylandConnection::~TWaylandConnection() {
    ReleaseWatcher();
    if (!display_) return;
    outputs_.reset();
    if (layerShell_) {
        if (layerShellVersion_ >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
            zwlr_layer_shell_v1_destroy(layerShell_);
        else
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(layerShell_));
    }
    if (seat_) wl_seat_destroy(seat_);
    if (shm_) wl_shm_destroy(shm_);
    if (compositor_) wl_compositor_destroy(compositor_);
    if (registry_) wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

void TWaylandConnection::Announce(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    if (CountsFromCurrentPlace(interface)) heldPointerOrigin_ = THeldPointerOrigin::CurrentPlace;
    const auto bind = [&](const wl_interface* type, std::uint32_t wanted) {
        return wl_registry_bind(registry, name, type, std::min(version, wanted));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !compositor_ && version >= kCompositorVersion) {
        compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, kCompositorVersion));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0 && !shm_) {
        shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat_) {
        seatVersion_ = std::min(version, kSeatVersion);
        seat_ = static_cast<wl_seat*>(bind(&wl_seat_interface, kSeatVersion));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0 && !layerShell_) {
        layerShellVersion_ = std::min(version, kLayerShellVersion);
        layerShell_ = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, kLayerShellVersion));
    } else {
        outputs_->Announce(registry, name, interface, version);
    }
}

void TWaylandConnection::Removed(std::uint32_t name) { outputs_->Removed(name); }

bool TWaylandConnection::Alive() const { return display_ && !failed_ && wl_display_get_error(display_) == 0; }

void TWaylandConnection::Flush() {
    if (!Alive()) return;
    while (wl_display_flush(display_) < 0) {
        if (errno != EAGAIN) {
            Fail();
            return;
        }
        pollfd fd{wl_display_get_fd(display_), POLLOUT, 0};
        const int ready = poll(&fd, 1, kSendTimeoutMs);
        if (ready == 0 || (ready < 0 && errno != EINTR)) {
            Fail();
            return;
        }
    }
}

void TWaylandConnection::FlushEvery(std::size_t& count, std::size_t every) {
    if (++count < every) return;
    count = 0;
    Flush();
}

bool TWaylandConnection::Roundtrip() {
    if (!Alive()) return false;
    Flush();
    if (wl_display_roundtrip(display_) < 0) Fail();
    return Alive();
}

void TWaylandConnection::Watch(std::function<void()> broken) {
    if (!display_) return;
    broken_ = std::move(broken);
    ReleaseWatcher();
    readable_ = loop_.WatchReadable(wl_display_get_fd(display_), [this] { Dispatch(); });
    // Requests made while handling the loop's other events leave before it sleeps.
    beforeWait_ = loop_.BeforeWait([this] {
        if (!Alive()) return;
        if (wl_display_dispatch_pending(display_) < 0) Fail();
        Flush();
    });
}

void TWaylandConnection::Unwatch() {
    broken_ = nullptr;
    ReleaseWatcher();
}

void TWaylandConnection::ReleaseWatcher() {
    // The watch stops at once, also from inside its own notification: one
    // still on its way could reach a connection that is gone or watched anew.
    readable_.Reset();
    beforeWait_.Reset();
}

void TWaylandConnection::Dispatch() {
    if (!Alive()) return;
    // Read only what has arrived: a round trip may have read the data this
    // notification was for, and waiting for more would stop the program
    // until the compositor next sends something.
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) {
            Fail();
            return;
        }
    }
    pollfd fd{wl_display_get_fd(display_), POLLIN, 0};
    if (poll(&fd, 1, 0) > 0) {
        if (wl_display_read_events(display_) < 0) {
            Fail();
            return;
        }
    } else {
        wl_display_cancel_read(display_);
    }
    if (wl_display_dispatch_pending(display_) < 0) Fail();
}

void TWaylandConnection::Fail() {
    if (failed_) return;
    failed_ = true;
    ReleaseWatcher();
    if (broken_) broken_();
}

}  // namespace ratiscope
