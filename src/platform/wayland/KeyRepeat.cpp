// The delay, then one press per period of the rate as it is at each press.
#include "platform/wayland/KeyRepeat.h"

#include <algorithm>
#include <chrono>

namespace ratiscope {

namespace {

constexpr std::int32_t kMillisecondsPerSecond = 1000;

}  // namespace

void TKeyRepeat::Pressed(std::uint32_t key, bool repeats) {
    if (!repeats || rate_ <= 0) return;
    key_ = key;
    timer_ = loop_.StartTimer(std::chrono::milliseconds(delay_), [this] { Fire(); });
}

void TKeyRepeat::Released(std::uint32_t key) {
    if (key == key_) timer_.Reset();
}

void TKeyRepeat::Fire() {
    // Each repeat starts the next period, at the rate known now.
    timer_ = loop_.StartTimer(std::chrono::milliseconds(kMillisecondsPerSecond / std::max(rate_, 1)), [this] { Fire(); });
    repeat_(key_);
}

}  // namespace ratiscope
