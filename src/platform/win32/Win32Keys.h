// Win32 key codes and modifier flags in the platform's terms. The platform's
// virtual key codes are the Win32 ones; only the left and right variants of
// the modifiers fold into one, and codes outside the table mean no key.
#pragma once

#include <cstdint>

#include "platform/Keys.h"
#include "platform/Window.h"

namespace ratiscope {

// The highest Win32 virtual key code; 0xFF is reserved.
inline constexpr std::int32_t kLastVirtualKey = 0xFE;

// The key whose code a WM_KEYDOWN / WM_KEYUP wParam holds, as it is (the left
// and right modifiers stay apart); TKey::None for a wParam beyond the codes.
TKey KeyOfWin32Code(std::uintptr_t wParam);

// The platform key of a WM_KEYDOWN / WM_KEYUP wParam; TKey::None for none.
TKey VirtualKeyFromWin32(std::uintptr_t wParam);

// The modifier and button flags of a mouse message's wParam (MK_SHIFT,
// MK_CONTROL, MK_LBUTTON, MK_RBUTTON, MK_MBUTTON); Alt is not in them and is
// given apart.
TShiftState ShiftStateFromMouseFlags(std::uintptr_t wParam, bool altDown);

// What the keyboard and mouse hold right now, as the thread's message queue sees it.
TShiftState CurrentShiftState();

}  // namespace ratiscope
