// Colours as the settings file and every window know them: 0x00BBGGRR, red in the lowest byte.
#pragma once

#include <cstdint>

namespace ratiscope {

using TColor = std::uint32_t;

inline constexpr TColor kDefaultLinesColor = 0x004040FF;   // 4210943: red 255, green 64, blue 64
inline constexpr TColor kDefaultValuesColor = 0x00838383;  // 8618883: grey 131
inline constexpr TColor kOverlayKeyColor = 16646398;       // red 254, green 0, blue 254
inline constexpr TColor kPanelKeyColor = 9596302;          // red 142, green 110, blue 146
inline constexpr TColor kChromeGrey = 8421504;             // outlines, glyphs, active caption text
inline constexpr TColor kInactiveCaptionGrey = 12632256;   // caption text of an inactive window

// The colour a figure is drawn in on a window that shows `key` as see-through:
// drawn in the key itself it would vanish and let clicks through, so the key's
// nearest other colour (blue one step off) stands in for it. The stored colour
// stays what the user chose.
inline constexpr TColor VisibleColor(TColor color, TColor key) {
    constexpr TColor kRgb = 0x00FFFFFF;
    constexpr TColor kBlueStep = 0x00010000;
    if ((color & kRgb) != (key & kRgb)) return color;
    return (key & 0x00FF0000) != 0 ? (key & kRgb) - kBlueStep : (key & kRgb) + kBlueStep;
}

}  // namespace ratiscope
