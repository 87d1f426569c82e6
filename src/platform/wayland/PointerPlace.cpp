// The surface's place as the compositor has applied it, and the layout place of each pointer position.
#include "platform/wayland/PointerPlace.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ratiscope {

namespace {

// Positions far outside any layout (a confused compositor) are held at a range
// the arithmetic after them cannot overflow.
constexpr double kFarthest = 1 << 28;

std::int64_t Whole(double v) {
    if (!(v == v)) return 0;  // not a number
    return static_cast<std::int64_t>(std::floor(std::fmax(-kFarthest, std::fmin(kFarthest, v))));
}

std::int32_t Sum(std::int64_t local, std::int32_t base) {
    constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(local + base, kLow, kHigh));
}

}  // namespace

bool CountsFromCurrentPlace(std::string_view global) {
    return global == "org_kde_plasma_shell";
}

void TSurfacePlace::NewSurface(TLayoutPoint place) {
    applied_ = place;
    sent_.clear();
    grabOnSurface_ = false;
}

void TSurfacePlace::MoveSent(std::uint64_t ticket, TLayoutPoint place) { sent_.push_back({ticket, place}); }

void TSurfacePlace::MoveApplied(std::uint64_t ticket) {
    while (!sent_.empty() && sent_.front().ticket <= ticket) {
        applied_ = sent_.front().place;
        sent_.pop_front();
    }
}

void TSurfacePlace::ButtonsDown() {
    if (held_) return;
    held_ = true;
    grabOnSurface_ = true;
    grabOrigin_ = applied_;
}

void TSurfacePlace::ButtonsUp() {
    held_ = false;
    grabOnSurface_ = false;
}

TLayoutPoint TSurfacePlace::Layout(double x, double y) const {
    const bool fromPress = held_ && grabOnSurface_ && origin_ == THeldPointerOrigin::PressPlace;
    const TLayoutPoint base = fromPress ? grabOrigin_ : applied_;
    return {Sum(Whole(x), base.x), Sum(Whole(y), base.y)};
}

}  // namespace ratiscope
