// How long the desktop stops answering while the overlay works: a second
// client of the compositor asks it for a round trip every few milliseconds,
// and the longest wait is what any other window would have stood still for.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

struct wl_display;

namespace ratiscope {

class TResponseProbe {
public:
    // Connects to the compositor of WAYLAND_DISPLAY and starts asking.
    TResponseProbe();
    ~TResponseProbe();
    TResponseProbe(const TResponseProbe&) = delete;
    TResponseProbe& operator=(const TResponseProbe&) = delete;

    bool Connected() const { return connected_; }
    // Round trips count only when they start while the probe is armed, so
    // the work of one window among others can be timed.
    void Arm(bool armed) { armed_ = armed; }
    // The longest round trip counted so far, in milliseconds.
    double WorstMs() const { return worstUs_.load() / 1000.0; }

private:
    void Run();

    std::atomic<bool> stop_{false};
    std::atomic<bool> armed_{true};
    std::atomic<long long> worstUs_{0};
    bool connected_ = false;
    wl_display* display_ = nullptr;
    std::thread thread_;
};

}  // namespace ratiscope
