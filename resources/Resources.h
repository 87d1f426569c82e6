// The program's own pictures, built into the program from the XPM files
// beside this header.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/Image.h"

namespace ratiscope {

// The icon of that resource name: "ZTLCORNER" (16 x 16), "ZCAPTION" (32 x 16),
// "ZTLCORNERS" (16 x 16), "ZTRCORNER" (64 x 16), "ZTRCORNER2" (37 x 16),
// "ZBRCORNER" (24 x 24) and the program icon "ZAPPICON" (48 x 48) and
// "ZAPPICON32" (32 x 32). An unknown name gives an empty icon.
TIcon LoadResourceIcon(std::string_view name);

// The program icon for a box `side` pixels square: the 32-pixel picture up to
// 32, else the 48-pixel one, so a small box never shows a larger picture squeezed.
TIcon LoadProgramIcon(std::int32_t side);

// Every resource name LoadResourceIcon knows.
std::span<const std::string_view> ResourceIconNames();

}  // namespace ratiscope
