// The second client that times the compositor's answers while the benchmark runs.
#include "ResponseProbe.h"

#include <algorithm>

#include <wayland-client.h>

namespace ratiscope {

namespace {

// Often enough to catch a stall of a frame, rarely enough to cost the compositor little.
constexpr auto kProbeInterval = std::chrono::milliseconds(2);

}  // namespace

TResponseProbe::TResponseProbe() {
    display_ = wl_display_connect(nullptr);
    connected_ = display_ != nullptr;
    if (connected_) thread_ = std::thread([this] { Run(); });
}

TResponseProbe::~TResponseProbe() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (display_) wl_display_disconnect(display_);
}

void TResponseProbe::Run() {
    while (!stop_) {
        const bool counted = armed_;
        const auto start = std::chrono::steady_clock::now();
        if (wl_display_roundtrip(display_) < 0) return;
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
        long long worst = worstUs_.load();
        while (counted && us > worst && !worstUs_.compare_exchange_weak(worst, us)) {
        }
        std::this_thread::sleep_for(kProbeInterval);
    }
}

}  // namespace ratiscope
