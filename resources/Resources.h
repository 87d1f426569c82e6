// The program's own pictures, built into the program from the XPM files
// beside this header.
#pragma once

#include <span>
#include <string_view>

#include "platform/Image.h"

namespace ratiscope {

// The icon of that resource name: "ZTLCORNER" (16 x 16), "ZCAPTION" (32 x 16),
// "ZTLCORNERS" (16 x 16), "ZTRCORNER" (64 x 16), "ZTRCORNER2" (37 x 16),
// "ZBRCORNER" (24 x 24) and the program icon "ZAPPICON" (48 x 48) and
// "ZAPPICON32" (32 x 32). An unknown name gives an empty icon.
TIcon LoadResourceIcon(std::string_view name);

// Every resource name LoadResourceIcon knows.
std::span<const std::string_view> ResourceIconNames();

}  // namespace ratiscope
