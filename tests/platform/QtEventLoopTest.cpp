// The event loop on Qt: watches, timers, posted calls and the moment before
// the loop sleeps all reach their handlers from Qt's loop, and none does once
// its handle ended, even when it ended inside its own call.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>
#include <string>

#include "platform/qt/QtEventLoop.h"

namespace ratiscope {
namespace {

using TMs = std::chrono::milliseconds;

// How long each case lets Qt's loop run: plenty for a 0 ms timer or a ready pipe.
constexpr int kRunMs = 50;

void RunLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A pipe with a byte waiting in it.
class TReadyPipe {
public:
    TReadyPipe() {
        if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) fds_[0] = fds_[1] = -1;
        const char byte = 1;
        if (fds_[1] >= 0 && ::write(fds_[1], &byte, 1) != 1) fds_[0] = -1;
    }
    ~TReadyPipe() {
        for (const int fd : fds_)
            if (fd >= 0) ::close(fd);
    }
    int Read() const { return fds_[0]; }

private:
    int fds_[2] = {-1, -1};
};

enum class TKind { Watch, Timer, Post, BeforeWait };
enum class TEnd { Never, Before, Inside };

struct TLoopCase {
    const char* name;
    TKind kind;
    TEnd end;
    int atLeast;  // calls seen in the run
    int atMost;
};

void PrintTo(const TLoopCase& c, std::ostream* os) { *os << c.name; }

class QtEventLoop : public testing::TestWithParam<TLoopCase> {};

TEST_P(QtEventLoop, CallsUntilTheHandleEnds) {
    const TLoopCase& c = GetParam();
    TQtEventLoop loop;
    TReadyPipe pipe;
    ASSERT_GE(pipe.Read(), 0);
    int calls = 0;
    TLoopHandle handle;
    const std::function<void()> call = [&] {
        ++calls;
        if (c.end == TEnd::Inside) handle.Reset();
    };
    switch (c.kind) {
    case TKind::Watch: handle = loop.WatchReadable(pipe.Read(), call); break;  // the byte stays: ready every pass
    case TKind::Timer: handle = loop.StartTimer(TMs(0), call); break;
    case TKind::Post: handle = loop.Post(call); break;
    case TKind::BeforeWait: handle = loop.BeforeWait(call); break;
    }
    EXPECT_TRUE(handle.Active());
    if (c.end == TEnd::Before) handle.Reset();
    RunLoopFor(kRunMs);
    EXPECT_GE(calls, c.atLeast);
    EXPECT_LE(calls, c.atMost);
    EXPECT_EQ(handle.Active(), c.end == TEnd::Never);
}

constexpr int kMany = 1'000'000;

INSTANTIATE_TEST_SUITE_P(Tables, QtEventLoop,
                         testing::Values(TLoopCase{"WatchedWhileReady", TKind::Watch, TEnd::Never, 2, kMany},
                                         TLoopCase{"WatchEndedFirst", TKind::Watch, TEnd::Before, 0, 0},
                                         TLoopCase{"WatchEndedInside", TKind::Watch, TEnd::Inside, 1, 1},
                                         TLoopCase{"TimerFiresAgain", TKind::Timer, TEnd::Never, 2, kMany},
                                         TLoopCase{"TimerEndedFirst", TKind::Timer, TEnd::Before, 0, 0},
                                         TLoopCase{"TimerEndedInside", TKind::Timer, TEnd::Inside, 1, 1},
                                         TLoopCase{"PostRunsOnce", TKind::Post, TEnd::Never, 1, 1},
                                         TLoopCase{"PostEndedFirst", TKind::Post, TEnd::Before, 0, 0},
                                         TLoopCase{"PostEndedInside", TKind::Post, TEnd::Inside, 1, 1},
                                         TLoopCase{"BeforeEachWait", TKind::BeforeWait, TEnd::Never, 1, kMany},
                                         TLoopCase{"BeforeWaitEndedFirst", TKind::BeforeWait, TEnd::Before, 0, 0},
                                         TLoopCase{"BeforeWaitEndedInside", TKind::BeforeWait, TEnd::Inside, 1, 1}),
                         [](const testing::TestParamInfo<TLoopCase>& info) { return std::string(info.param.name); });

TEST(QtEventLoopOrder, PostedCallsRunInTheOrderPosted) {
    TQtEventLoop loop;
    std::string order;
    const TLoopHandle first = loop.Post([&] { order += 'a'; });
    const TLoopHandle second = loop.Post([&] { order += 'b'; });
    const TLoopHandle third = loop.Post([&] { order += 'c'; });
    RunLoopFor(kRunMs);
    EXPECT_EQ(order, "abc");
}

}  // namespace
}  // namespace ratiscope
