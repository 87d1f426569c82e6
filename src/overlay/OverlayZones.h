// The overlay's hit zones: six caption buttons, two grips, the caption band
// and the body, tested in a fixed order so the first zone that holds a point decides.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/Color.h"

namespace ratiscope {

enum class TZone {
    OrientButton,
    LookButton,
    SettingsButton,
    HelpButton,
    MinimizeButton,
    CloseButton,
    TopLeftGrip,
    BottomRightGrip,
    Caption,
    Body,
};

inline constexpr int kButtonCount = 6;

struct TButtonInfo {
    TZone zone;
    std::int32_t offsetFromRight;  // the zone's left edge is W minus this
    TColor hoverFill;              // the face's colour while hovered
    std::string_view hintKey;      // language key of the tooltip
};

// Left to right along the strip at (W - 64, 0); each face is 8 x 8 at row 4.
inline constexpr std::array<TButtonInfo, kButtonCount> kButtons = {{
    {TZone::OrientButton, 60, 0xFFFFFF, "MOrientButtonHint"},
    {TZone::LookButton, 51, 0xFFFFFF, "MLookButtonHint"},
    {TZone::SettingsButton, 42, 0xFFFFFF, "MSettingsButtonHint"},
    {TZone::HelpButton, 33, 0xFFFFFF, "MHelpButtonHint"},
    {TZone::MinimizeButton, 21, 0xFFFFFF, "MMinimizeButtonHint"},
    {TZone::CloseButton, 12, 0x0000FF, "MCloseButtonHint"},
}};

inline constexpr std::int32_t kButtonTop = 4;
inline constexpr std::int32_t kButtonSize = 8;
inline constexpr std::int32_t kTopLeftGripSize = 12;
inline constexpr std::int32_t kBottomRightGripSize = 24;
inline constexpr std::int32_t kCaptionBandHeight = 24;

// Half-open: left <= x < left + width and top <= y < top + height.
inline constexpr bool InZone(std::int32_t x, std::int32_t y, std::int32_t left, std::int32_t top,
                             std::int32_t width, std::int32_t height) {
    return x >= left && x < left + width && y >= top && y < top + height;
}

// Index into kButtons of the button under (x, y) in a window W wide, or -1.
inline constexpr int ButtonAt(std::int32_t x, std::int32_t y, std::int32_t w) {
    for (int i = 0; i < kButtonCount; ++i)
        if (InZone(x, y, w - kButtons[i].offsetFromRight, kButtonTop, kButtonSize, kButtonSize)) return i;
    return -1;
}

// The zone of a press; moves pass withCaption false, since for them the
// grips are followed directly by the rest.
inline constexpr TZone ZoneAt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, bool withCaption) {
    if (int b = ButtonAt(x, y, w); b >= 0) return kButtons[b].zone;
    if (InZone(x, y, 0, 0, kTopLeftGripSize, kTopLeftGripSize)) return TZone::TopLeftGrip;
    if (InZone(x, y, w - kBottomRightGripSize, h - kBottomRightGripSize, kBottomRightGripSize, kBottomRightGripSize))
        return TZone::BottomRightGrip;
    if (withCaption && InZone(x, y, 0, 0, w, kCaptionBandHeight)) return TZone::Caption;
    return TZone::Body;
}

}  // namespace ratiscope
