// Win32 key codes and modifier flags in the platform's terms. The platform's
// virtual key codes are the Win32 ones; only the left and right variants of
// the modifiers fold into one, and codes outside the table mean no key.
#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace ratiscope {

// The platform key of a WM_KEYDOWN / WM_KEYUP wParam; 0 for none.
int VirtualKeyFromWin32(std::uintptr_t wParam);

// The modifier and button flags of a mouse message's wParam (MK_SHIFT,
// MK_CONTROL, MK_LBUTTON, MK_RBUTTON, MK_MBUTTON); Alt is not in them and is
// given apart.
TShiftState ShiftStateFromMouseFlags(std::uintptr_t wParam, bool altDown);

// What the keyboard and mouse hold right now, as the thread's message queue sees it.
TShiftState CurrentShiftState();

}  // namespace ratiscope
