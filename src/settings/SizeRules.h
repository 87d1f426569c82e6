// The size setters' rules as pure functions of plain values, so that the
// setters and the overlay's drags work out the same sides from one request.
#pragma once

#include <cstdint>

namespace ratiscope {

// The least width the size setters store, and what the height setter keeps
// its width equivalent at.
inline constexpr std::int32_t kMinWidth = 58;

// Upper bound that keeps the overlay window representable (each side of the
// window at most 32767 pixels, never negative): Width and Height up to
// kMaxSide. The minimums of the size setters are untouched by it.
inline constexpr std::int32_t kMaxSide = 30000;

// The fields the size rules read and write.
struct TSizeState {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    double Ratio = 0;
    bool Lock = false;
    bool LockWidth = false;

    friend bool operator==(const TSizeState&, const TSizeState&) = default;
};

// Clamps a following side computed from the ratio into 0..kMaxSide.
std::int32_t FollowingSide(double exact);

// A requested width: raised to kMinWidth, stored with Lock off, stored with
// the height following while Width leads, ignored while Height leads. An
// unchanged width changes nothing.
TSizeState WithWidth(TSizeState s, std::int32_t width);

// A requested height: raised to round(58 x Ratio) when its width equivalent
// is below 58 (which can round below it), stored with Lock off, stored with
// the width following while Height leads, ignored while Width leads.
TSizeState WithHeight(TSizeState s, std::int32_t height);

// The leading side only: Width when LockWidth is on, else Height, whatever
// Lock says; the other request is dropped.
TSizeState WithLeadingSide(TSizeState s, std::int32_t width, std::int32_t height);

// With Lock on the leading side (the other follows the ratio); with Lock off
// the width, then the height.
TSizeState WithSize(TSizeState s, std::int32_t width, std::int32_t height);

// The following side brought in line with Ratio when Lock is on, without the
// setters' minimums.
TSizeState WithRatioApplied(TSizeState s);

}  // namespace ratiscope
