// The program's one event loop as the platform backends share it: a backend
// of its own (the native Wayland overlay) watches its socket, times its key
// repeat and defers its work through this, whichever toolkit runs the loop.
#pragma once

#include <chrono>
#include <functional>

#include "platform/Registration.h"

namespace ratiscope {

// One registration with the event loop: a watch, a timer or a posted call.
// A call it named never runs after it ends, even when the end comes from
// inside that very call.
using TLoopHandle = TRegistration;

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
