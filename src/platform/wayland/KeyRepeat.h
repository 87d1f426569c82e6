// Key repeat on the client's side, as Wayland wants it: the compositor sends
// one press and one release and tells the rate and delay; the repeated
// presses come from the event loop's timers.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/EventLoop.h"

namespace ratiscope {

class TKeyRepeat {
public:
    // The compositor's defaults until it says otherwise: presses per second,
    // and milliseconds before the first.
    static constexpr std::int32_t kDefaultRate = 25;
    static constexpr std::int32_t kDefaultDelay = 600;

    // `repeat` runs from `loop` with the held key for each repeated press.
    TKeyRepeat(IEventLoop& loop, std::function<void(std::uint32_t key)> repeat) : loop_(loop), repeat_(std::move(repeat)) {}

    // The rate (presses per second; 0 repeats nothing) and the delay before
    // the first repeat (milliseconds), as wl_keyboard's repeat_info tells them.
    void SetRate(std::int32_t rate, std::int32_t delay) {
        rate_ = rate;
        delay_ = delay;
    }
    // `key` went down; it repeats if `repeats` (the keymap's word) and the rate allow.
    void Pressed(std::uint32_t key, bool repeats);
    // `key` went up: the repeat stops if it is the key repeating.
    void Released(std::uint32_t key);
    // No more repeats until the next press (the keyboard left, say).
    void Stop() { timer_.Reset(); }
    bool Repeating() const { return timer_.Active(); }

private:
    void Fire();

    IEventLoop& loop_;
    std::function<void(std::uint32_t)> repeat_;
    std::int32_t rate_ = kDefaultRate;
    std::int32_t delay_ = kDefaultDelay;
    std::uint32_t key_ = 0;
    TLoopHandle timer_;
};

}  // namespace ratiscope
