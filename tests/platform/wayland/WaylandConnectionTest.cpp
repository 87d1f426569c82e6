// The overlay's compositor connection handles answers from the event loop
// (Qt's, here), also after it was watched again, without ever waiting for
// data that a notification promised and something else already read.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-server.h>

#include "platform/qt/QtEventLoop.h"
#include "platform/wayland/WaylandConnection.h"

namespace ratiscope {
namespace {

// How long the event loop may take before the test counts it as stuck for good.
constexpr auto kStuck = std::chrono::seconds(20);
constexpr int kServerPollMs = 5;
constexpr int kAnswerTimeoutMs = 5000;

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "wayland_connection_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// A compositor with no globals at all, in a thread of this process, on a
// socket of a private runtime folder named by WAYLAND_DISPLAY.
class TTestCompositor {
public:
    TTestCompositor() {
        folder_ = std::filesystem::temp_directory_path() / ("ratiscope-wl-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        display_ = wl_display_create();
        const char* socket = display_ ? wl_display_add_socket_auto(display_) : nullptr;
        if (!socket) return;
        setenv("WAYLAND_DISPLAY", socket, 1);
        thread_ = std::thread([this] {
            wl_event_loop* loop = wl_display_get_event_loop(display_);
            while (!stop_) {
                wl_event_loop_dispatch(loop, kServerPollMs);
                wl_display_flush_clients(display_);
            }
        });
    }
    ~TTestCompositor() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (display_) wl_display_destroy(display_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    bool Running() const { return thread_.joinable(); }

private:
    std::filesystem::path folder_;
    wl_display* display_ = nullptr;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void OnDone(void* data, wl_callback* callback, std::uint32_t) {
    ++*static_cast<int*>(data);
    wl_callback_destroy(callback);
}
constexpr wl_callback_listener kDoneListener{OnDone};

// Ends the process as failed when the event loop never comes back.
class TWatchdog {
public:
    TWatchdog()
        : thread_([this] {
              const auto end = std::chrono::steady_clock::now() + kStuck;
              while (!done_ && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(10));
              if (!done_) {
                  std::fputs("the event loop stopped, waiting for the compositor\n", stderr);
                  std::_Exit(1);
              }
          }) {}
    ~TWatchdog() {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

struct TWatchCase {
    const char* name;
    int watches;  // Watch calls before the loop runs: later ones replace the earlier
    int asks;     // answers asked for, without waiting, before the loop runs
    int earlier;  // connections watched and closed before this one
};

void PrintTo(const TWatchCase& c, std::ostream* os) { *os << c.name; }

class ConnectionWatch : public testing::TestWithParam<TWatchCase> {};

TEST_P(ConnectionWatch, EveryAnswerArrivesAndTheLoopGoesOn) {
    const TWatchCase& c = GetParam();
    App();
    TQtEventLoop loop;
    TTestCompositor compositor;
    ASSERT_TRUE(compositor.Running());
    // Connections that came and went before, in the same place, as a program
    // that opens its overlay anew would have them.
    std::optional<TWaylandConnection> place;
    for (int i = 0; i < c.earlier; ++i) {
        place.emplace(loop);
        place->Watch([] {});
        place->Unwatch();
        place.reset();
    }
    TWaylandConnection& connection = place.emplace(loop);
    ASSERT_TRUE(connection.Connected() && connection.Alive());
    int broken = 0;
    for (int i = 0; i < c.watches; ++i) connection.Watch([&broken] { ++broken; });

    int answers = 0;
    for (int i = 0; i < c.asks; ++i) wl_callback_add_listener(wl_display_sync(connection.Display()), &kDoneListener, &answers);
    connection.Flush();
    // The answers wait in the socket before the loop first looks, as when the
    // program was busy meanwhile.
    pollfd readable{wl_display_get_fd(connection.Display()), POLLIN, 0};
    ASSERT_EQ(poll(&readable, 1, kAnswerTimeoutMs), 1);
    {
        TWatchdog watchdog;
        while (answers < c.asks) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The notifications of the answers may still be queued after a round
        // trip read more: handling them must not wait for data that never comes.
        wl_callback_add_listener(wl_display_sync(connection.Display()), &kDoneListener, &answers);
        connection.Flush();
        std::this_thread::sleep_for(std::chrono::milliseconds(kServerPollMs * 4));
        ASSERT_TRUE(connection.Roundtrip());
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(answers, c.asks + 1);
    EXPECT_TRUE(connection.Alive());
    EXPECT_EQ(broken, 0);
    connection.Unwatch();
}

INSTANTIATE_TEST_SUITE_P(Tables, ConnectionWatch,
                         testing::Values(TWatchCase{"Once", 1, 1, 0}, TWatchCase{"OnceManyAnswers", 1, 5, 0},
                                         TWatchCase{"WatchedAgain", 2, 1, 0}, TWatchCase{"WatchedThreeTimes", 3, 3, 0},
                                         TWatchCase{"AfterAnotherConnection", 1, 1, 1},
                                         TWatchCase{"AfterTwoConnections", 1, 3, 2}),
                         [](const testing::TestParamInfo<TWatchCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ratiscope
