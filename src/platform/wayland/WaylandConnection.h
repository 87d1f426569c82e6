// Our own connection to the Wayland compositor, beside Qt's X11 one: the
// globals the overlay needs, watched from the program's event loop, with sends that wait
// for the socket instead of overrunning it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/EventLoop.h"
#include "platform/wayland/PointerPlace.h"
#include "platform/wayland/WaylandOutputs.h"

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_seat;
struct zwlr_layer_shell_v1;

namespace ratiscope {

class TWaylandConnection {
public:
    // Connects to the compositor of WAYLAND_DISPLAY and learns its globals;
    // Connected() is false when there is none. Its events are handled from
    // `loop` once watched; the loop is not owned and must outlive this.
    explicit TWaylandConnection(IEventLoop& loop);
    ~TWaylandConnection();
    TWaylandConnection(const TWaylandConnection&) = delete;
    TWaylandConnection& operator=(const TWaylandConnection&) = delete;

    bool Connected() const { return display_ != nullptr; }
    // Whether the compositor offers everything a layer-surface overlay needs.
    bool HasLayerShell() const { return layerShell_ && compositor_ && shm_; }
    // False once the compositor dropped us or a protocol error ended the connection.
    bool Alive() const;

    wl_display* Display() const { return display_; }
    wl_compositor* Compositor() const { return compositor_; }
    wl_shm* Shm() const { return shm_; }
    wl_seat* Seat() const { return seat_; }
    zwlr_layer_shell_v1* LayerShell() const { return layerShell_; }
    std::uint32_t LayerShellVersion() const { return layerShellVersion_; }
    std::uint32_t SeatVersion() const { return seatVersion_; }
    // Where the compositor counts pointer positions from while a button is held.
    THeldPointerOrigin HeldPointerOrigin() const { return heldPointerOrigin_; }
    // The outputs and their places in the compositor's layout.
    TWaylandOutputs& Outputs() { return *outputs_; }

    // Sends what is queued, waiting while the socket is full; a compositor
    // that takes no data for this long is given up on.
    void Flush();
    // Sends queued requests once this many have gathered since the last send,
    // so a long run of requests never overflows the library's buffer.
    void FlushEvery(std::size_t& count, std::size_t every);
    // Waits for the compositor to answer everything sent so far, handling the
    // events that arrive meanwhile. False when the connection broke.
    bool Roundtrip();

    // Starts handling the compositor's events inside the event loop;
    // `broken` runs once if the connection fails.
    void Watch(std::function<void()> broken);
    // Stops handling events and forgets the handler of Watch.
    void Unwatch();

    // Called from the registry listener.
    void Announce(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version);
    void Removed(std::uint32_t name);

private:
    void Dispatch();
    void Fail();
    void ReleaseWatcher();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    std::uint32_t layerShellVersion_ = 0;
    std::uint32_t seatVersion_ = 0;
    THeldPointerOrigin heldPointerOrigin_ = THeldPointerOrigin::PressPlace;
    std::unique_ptr<TWaylandOutputs> outputs_ = std::make_unique<TWaylandOutputs>();
    IEventLoop& loop_;
    TLoopHandle readable_;
    TLoopHandle beforeWait_;
    std::function<void()> broken_;
    bool failed_ = false;
};

}  // namespace ratiscope
