// Maps xkbcommon key symbols to the virtual key codes of platform/Keys.h.
#pragma once

#include <cstdint>

#include "platform/Keys.h"

namespace ratiscope {

// The virtual key of `keysym` (what the key produces with the current
// modifiers and layout), or TKey::None for a key the program does not use.
TKey VirtualKeyFromKeysym(std::uint32_t keysym);

}  // namespace ratiscope
