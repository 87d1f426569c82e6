// The values a first run starts with, for the record's key table and for the
// layers above that need a figure before any settings exist.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/Color.h"
#include "base/Numbers.h"
#include "settings/Looks.h"
#include "settings/Orientation.h"

namespace ratiscope {

inline constexpr std::int32_t kDefaultWidth = 396;
// round(kDefaultWidth x kDefaultRatio): the height the lock gives the default
// width; the record derives it, the tests hold the two together.
inline constexpr std::int32_t kDefaultHeight = 245;
inline constexpr std::int32_t kDefaultBorder = 12;
inline constexpr double kDefaultRatio = kGoldenFactor;
inline constexpr std::int32_t kDefaultOpacity = 90;
inline constexpr TLook kDefaultLookMode = TLook::RatioSequence;
inline constexpr TOrientation kDefaultOrientMode = TOrientation::TopLeft;
inline constexpr std::int32_t kDefaultGridSize = 8;

// Where a first run places the overlay window.
inline constexpr std::int32_t kFirstOverlayLeft = 300;
inline constexpr std::int32_t kFirstOverlayTop = 240;

// Where a first run places the panel: its left edge this many pixels left of
// the primary screen's right edge (the panel's 96-dpi width and a small gap),
// its top edge at kFirstPanelTop.
inline constexpr std::int32_t kFirstPanelInset = 181;
inline constexpr std::int32_t kFirstPanelTop = 10;

inline constexpr std::string_view kDefaultLang = "English";

// The global show-and-hide key of a first run and of a settings file without it.
inline constexpr std::string_view kDefaultHotkey = "Ctrl+Alt+G";

}  // namespace ratiscope
