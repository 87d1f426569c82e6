// Maps xkbcommon key symbols to the virtual key codes of platform/Keys.h.
#pragma once

#include <cstdint>

namespace ratiscope {

// The virtual key of `keysym` (what the key produces with the current
// modifiers and layout), or 0 for a key the program does not use.
int VirtualKeyFromKeysym(std::uint32_t keysym);

}  // namespace ratiscope
