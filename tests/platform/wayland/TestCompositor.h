// A small compositor inside a test: the core globals a client's parts talk
// to (compositor, shared memory, a seat with pointer and keyboard), run in a
// thread of its own, which keeps what the client asked for so a test can
// look at it after a round trip.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "base/Geometry.h"

struct wl_client;
struct wl_display;
struct wl_resource;
struct wl_event_source;

namespace ratiscope::test {

// What a surface showed with its last commit.
struct TCommitted {
    int commits = 0;
    std::uint32_t buffer = 0;  // the client's object id of the attached buffer; 0 for none
    TSize bufferSize;
    std::uint32_t firstPixel = 0;           // the buffer's top-left pixel as the compositor reads it
    std::vector<TRect> inputRegion;         // as set before the commit
    int inputRegionsSet = 0;                // set_input_region requests so far
};

// The pointer's cursor as the client last set it.
struct TCursorSet {
    std::uint32_t serial = 0;
    std::uint32_t surface = 0;  // the client's object id; 0 hides the cursor
    std::int32_t hotspotX = 0;
    std::int32_t hotspotY = 0;
    int count = 0;
};

class TTestCompositor {
public:
    // A private runtime folder becomes XDG_RUNTIME_DIR and the compositor's
    // socket WAYLAND_DISPLAY, so a connection made next reaches it.
    TTestCompositor();
    ~TTestCompositor();
    TTestCompositor(const TTestCompositor&) = delete;
    TTestCompositor& operator=(const TTestCompositor&) = delete;

    bool Running() const { return thread_.joinable(); }

    // Runs `task` in the compositor's thread and waits until it has run.
    void Run(const std::function<void()>& task);
    // The surface whose client object id is `surface`, as last committed.
    TCommitted Surface(std::uint32_t surface) const;
    TCursorSet Cursor() const;
    // Sends wl_buffer.release for the client's buffer `buffer`.
    void ReleaseBuffer(std::uint32_t buffer);
    // Sends a keymap (text, with its final zero byte, in a memory file) to
    // every keyboard, and then these modifiers.
    void SendKeymap(const std::vector<char>& text);
    void SendModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group);
    // The pointers and keyboards handed to the client so far, less those it released.
    std::size_t Pointers();
    std::size_t Keyboards();
    // The pointer enters the client's surface `surface` with `serial`.
    void SendPointerEnter(std::uint32_t surface, std::uint32_t serial);

    // Called by the protocol handlers, in the compositor's thread.
    struct TSurfaceState;
    TSurfaceState& NewSurface(wl_resource* resource);
    void Committed(wl_resource* surface);
    void CursorSet(std::uint32_t serial, wl_resource* surface, std::int32_t x, std::int32_t y);
    void ClientBound(wl_client* client) { client_ = client; }
    void Forget(wl_resource* resource);
    // Runs the tasks Run queued.
    void RunQueued();
    std::vector<wl_resource*> seats;
    std::vector<wl_resource*> pointers;
    std::vector<wl_resource*> keyboards;

private:
    std::filesystem::path folder_;
    wl_display* display_ = nullptr;
    wl_client* client_ = nullptr;
    std::atomic<bool> stop_{false};
    int wakeFd_ = -1;
    wl_event_source* wake_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<std::function<void()>> queued_;
    std::vector<std::pair<std::uint32_t, TCommitted>> committed_;
    TCursorSet cursor_;
    std::thread thread_;
};

// An xkb keymap of the US layout as a compositor would send it, zero at the end.
std::vector<char> UsKeymapText();

}  // namespace ratiscope::test
