// The event loop on Qt: Qt's own loop, which also runs the Qt windows, serves
// the watches, timers and posted calls of the other backends.
#pragma once

#include "platform/EventLoop.h"

namespace ratiscope {

class TQtEventLoop final : public IEventLoop {
public:
    // A QCoreApplication must exist while any registration lives.
    TLoopHandle WatchReadable(int fd, std::function<void()> ready) override;
    TLoopHandle StartTimer(std::chrono::milliseconds interval, std::function<void()> fire) override;
    TLoopHandle Post(std::function<void()> call) override;
    TLoopHandle BeforeWait(std::function<void()> before) override;
};

}  // namespace ratiscope
