// How long the X server stops answering other programs while the overlay
// works: a second client asks it for a round trip every few milliseconds, and
// the longest wait is what any other window would have stood still for.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

struct xcb_connection_t;

namespace ratiscope {

class TX11ResponseProbe {
public:
    // Connects to the server in DISPLAY and starts asking.
    TX11ResponseProbe();
    ~TX11ResponseProbe();
    TX11ResponseProbe(const TX11ResponseProbe&) = delete;
    TX11ResponseProbe& operator=(const TX11ResponseProbe&) = delete;

    bool Connected() const { return connection_ != nullptr; }
    // Forgets the longest wait so far, so each benchmark gets its own.
    void Reset() { worstUs_ = 0; }
    // The longest round trip so far, in milliseconds.
    double WorstMs() const { return static_cast<double>(worstUs_.load()) / 1000.0; }

private:
    void Run();

    std::atomic<bool> stop_{false};
    std::atomic<long long> worstUs_{0};
    xcb_connection_t* connection_ = nullptr;
    std::thread thread_;
};

}  // namespace ratiscope
