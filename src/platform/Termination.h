// Requests from outside the program to end it: a termination signal on Linux
// (SIGTERM, SIGINT, SIGHUP), the end of the console or of the session on
// Windows. A window of a backend other than the one that hears them (the
// native Wayland overlay) still ends the program the way its close button
// does, with one save and the same exit code.
#pragma once

#include <functional>

#include "platform/Registration.h"

namespace ratiscope {

// Keeps a close handler registered with ITermination; the registration ends
// with this object (or Reset).
using TTerminationLink = TRegistration;

class ITermination {
public:
    virtual ~ITermination() = default;

    // From now on, for as long as the returned link lives, a request from
    // outside to end the program runs `close` from the event loop, as the
    // close button of the main window would; `close` must close that window,
    // whose close then ends the loop. A request that comes while the program
    // is still starting waits for the loop. A later link replaces this one.
    [[nodiscard]] virtual TTerminationLink OnTermination(std::function<void()> close) = 0;
};

}  // namespace ratiscope
