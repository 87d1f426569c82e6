// The lock rules of the size setters, in one place for the record and the drags.
#include "settings/SizeRules.h"

#include <algorithm>

#include "base/Numbers.h"

namespace ratiscope {

std::int32_t FollowingSide(double exact) {
    // Checked in double first: a huge or tiny ratio must not overflow the cast.
    if (!(exact >= 0)) return 0;
    if (exact >= kMaxSide) return kMaxSide;
    return RoundToInt(exact);
}

TSizeState WithWidth(TSizeState s, std::int32_t width) {
    if (width == s.Width) return s;
    const std::int32_t w = std::clamp(width, kMinWidth, kMaxSide);
    if (!s.Lock) {
        s.Width = w;
    } else if (s.LockWidth) {
        s.Width = w;
        s.Height = FollowingSide(w * s.Ratio);
    }
    return s;
}

TSizeState WithHeight(TSizeState s, std::int32_t height) {
    if (height == s.Height) return s;
    std::int32_t h = std::min(height, kMaxSide);
    if (h / s.Ratio < kMinWidth) h = FollowingSide(kMinWidth * s.Ratio);
    if (!s.Lock) {
        s.Height = h;
    } else if (!s.LockWidth) {
        s.Height = h;
        s.Width = FollowingSide(h / s.Ratio);
    }
    return s;
}

TSizeState WithLeadingSide(TSizeState s, std::int32_t width, std::int32_t height) {
    return s.LockWidth ? WithWidth(s, width) : WithHeight(s, height);
}

TSizeState WithSize(TSizeState s, std::int32_t width, std::int32_t height) {
    if (s.Lock) return WithLeadingSide(s, width, height);
    return WithHeight(WithWidth(s, width), height);
}

TSizeState WithRatioApplied(TSizeState s) {
    if (!s.Lock) return s;
    if (s.LockWidth)
        s.Height = FollowingSide(s.Width * s.Ratio);
    else
        s.Width = FollowingSide(s.Height / s.Ratio);
    return s;
}

}  // namespace ratiscope
