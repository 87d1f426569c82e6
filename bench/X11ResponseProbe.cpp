// The second X client that times the server's answers while the benchmark runs.
#include "X11ResponseProbe.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace ratiscope {

namespace {

// Often enough to catch a stall of a frame, rarely enough to cost the server little.
constexpr auto kProbeInterval = std::chrono::milliseconds(2);

}  // namespace

TX11ResponseProbe::TX11ResponseProbe() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    connection_ = c;
    thread_ = std::thread([this] { Run(); });
}

TX11ResponseProbe::~TX11ResponseProbe() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (connection_) xcb_disconnect(connection_);
}

void TX11ResponseProbe::Run() {
    while (!stop_) {
        const auto start = std::chrono::steady_clock::now();
        xcb_get_input_focus_reply_t* reply =
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
        if (!reply) return;  // the server went away
        std::free(reply);
        const long long us =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
        long long worst = worstUs_.load();
        while (us > worst && !worstUs_.compare_exchange_weak(worst, us)) {
        }
        std::this_thread::sleep_for(kProbeInterval);
    }
}

}  // namespace ratiscope
