// Our own reader and writer of XPM, the readable text picture format of the
// program's icons and of the tests' golden images.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Image.h"

namespace ratiscope {

// Largest side and palette accepted, so a hand-edited file cannot ask for a
// huge allocation.
inline constexpr std::int32_t kXpmMaxSide = 4096;
inline constexpr std::int32_t kXpmMaxColors = 65536;

// Reads the strings of an XPM picture (values line, colours, rows). Colours
// are "#RRGGBB", "#RGB" or "None" (transparent: mask bit 0). Returns nothing
// and, when `error` is given, a reason for anything malformed.
std::optional<TIcon> IconFromXpm(std::span<const std::string_view> strings, std::string* error = nullptr);
std::optional<TIcon> IconFromXpm(std::span<const char* const> strings, std::string* error = nullptr);

// The C string literals of an XPM file's text, comments skipped, escapes undone.
std::vector<std::string> XpmStringsFromText(std::string_view text);

// Reads an XPM file's text in one step.
std::optional<TIcon> IconFromXpmText(std::string_view text, std::string* error = nullptr);

// Writes the icon as an XPM file named `name`; masked-out pixels become
// "None". One character a pixel while the palette allows, else two.
std::string XpmFromIcon(const TIcon& icon, std::string_view name);
// An opaque image as XPM.
std::string XpmFromImage(const TImage& image, std::string_view name);

}  // namespace ratiscope
