// The program's one event loop as the platform backends share it: a backend
// of its own (the native Wayland overlay) watches its socket, times its key
// repeat and defers its work through this, whichever toolkit runs the loop.
#pragma once

#include <chrono>
#include <functional>
#include <utility>

namespace ratiscope {

// One registration with the event loop: a watch, a timer or a posted call.
// It ends when this object ends or is reset; a call it named never runs after
// that, even when the end comes from inside that very call.
class TLoopHandle {
public:
    TLoopHandle() = default;
    explicit TLoopHandle(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    TLoopHandle(TLoopHandle&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    TLoopHandle& operator=(TLoopHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    ~TLoopHandle() { Reset(); }
    TLoopHandle(const TLoopHandle&) = delete;
    TLoopHandle& operator=(const TLoopHandle&) = delete;

    // Ends the registration now; nothing when there is none.
    void Reset() {
        if (auto cancel = std::exchange(cancel_, nullptr)) cancel();
    }
    // Whether it has not been ended here: a posted call that ran still counts
    // until its handle is reset, which the call itself may do.
    bool Active() const { return static_cast<bool>(cancel_); }

private:
    std::function<void()> cancel_;
};

class IEventLoop {
public:
    virtual ~IEventLoop() = default;

    // Runs `ready` from the loop each time the POSIX file descriptor `fd` has
    // data to read (or is closed by its other end), until the handle ends. The
    // descriptor is not owned; it must stay open while the handle lives.
    [[nodiscard]] virtual TLoopHandle WatchReadable(int fd, std::function<void()> ready) = 0;

    // Runs `fire` from the loop once `interval` (milliseconds) has passed, and
    // then again after every further `interval`, until the handle ends.
    // Intervals below 0 count as 0: the timer then fires on each pass of the loop.
    [[nodiscard]] virtual TLoopHandle StartTimer(std::chrono::milliseconds interval, std::function<void()> fire) = 0;

    // Runs `call` once from the loop, after the event being handled now and
    // the calls posted before it; not at all if the handle ends first.
    [[nodiscard]] virtual TLoopHandle Post(std::function<void()> call) = 0;

    // Runs `before` each time the loop has handled what was waiting and is
    // about to sleep until the next event, until the handle ends: the moment
    // to send requests a connection buffered meanwhile.
    [[nodiscard]] virtual TLoopHandle BeforeWait(std::function<void()> before) = 0;
};

}  // namespace ratiscope
