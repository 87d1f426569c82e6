// An event loop for tests whose time moves only when the test says so: timers
// fire and posted calls run in Advance, in the order a real loop would run them.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>

#include "platform/EventLoop.h"

namespace ratiscope::test {

class TManualLoop final : public IEventLoop {
public:
    using TMs = std::chrono::milliseconds;

    // Watches are kept but never fire: the tests read the socket through round trips.
    TLoopHandle WatchReadable(int, std::function<void()> ready) override { return Add(TMs::max(), TMs::zero(), std::move(ready)); }
    TLoopHandle StartTimer(TMs interval, std::function<void()> fire) override {
        const TMs period = std::max(interval, TMs::zero());
        return Add(now_ + period, period, std::move(fire));
    }
    TLoopHandle Post(std::function<void()> call) override { return Add(now_, TMs(-1), std::move(call)); }
    TLoopHandle BeforeWait(std::function<void()> before) override { return Add(TMs::max(), TMs::zero(), std::move(before)); }

    // Moves time on by `span`, running every timer and posted call that falls
    // due on the way, earliest first.
    void Advance(TMs span) {
        const TMs end = now_ + span;
        while (auto next = Next(end)) {
            now_ = std::max(now_, next->due);
            if (next->period < TMs::zero())
                next->live = false;
            else
                next->due = now_ + std::max(next->period, TMs(1));
            const auto call = next->call;
            call();
        }
        now_ = end;
    }
    TMs Now() const { return now_; }
    // Registrations still live: timers, watches, and posted calls yet to run.
    std::size_t Live() const {
        return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return e->live; }));
    }

private:
    struct TEntry {
        TMs due;
        TMs period;  // below 0 for a posted call
        std::function<void()> call;
        bool live = true;
        std::uint64_t order = 0;
    };

    TLoopHandle Add(TMs due, TMs period, std::function<void()> call) {
        auto entry = std::make_shared<TEntry>(TEntry{due, period, std::move(call), true, ++order_});
        entries_.push_back(entry);
        return TLoopHandle([weak = std::weak_ptr<TEntry>(entry)] {
            if (auto e = weak.lock()) e->live = false;
        });
    }
    std::shared_ptr<TEntry> Next(TMs end) {
        entries_.remove_if([](const auto& e) { return !e->live; });
        std::shared_ptr<TEntry> best;
        for (const auto& e : entries_)
            if (e->due != TMs::max() && e->due <= end && (!best || e->due < best->due || (e->due == best->due && e->order < best->order)))
                best = e;
        return best;
    }

    TMs now_{0};
    std::uint64_t order_ = 0;
    std::list<std::shared_ptr<TEntry>> entries_;
};

}  // namespace ratiscope::test
