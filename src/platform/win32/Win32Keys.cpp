// Key state through GetKeyState, which follows the messages already taken
// from the queue rather than the hardware, so it agrees with the message in hand.
#include "platform/win32/Win32Keys.h"

#include "platform/win32/Win32Api.h"

#include "platform/Keys.h"

namespace ratiscope {
namespace {

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

TKey KeyOfWin32Code(std::uintptr_t wParam) {
    if (wParam > static_cast<std::uintptr_t>(kLastVirtualKey)) return TKey::None;
    return KeyFromNumber(static_cast<std::int32_t>(wParam));
}

TKey VirtualKeyFromWin32(std::uintptr_t wParam) {
    switch (wParam) {
    case VK_LSHIFT:
    case VK_RSHIFT: return TKey::Shift;
    case VK_LCONTROL:
    case VK_RCONTROL: return TKey::Control;
    case VK_LMENU:
    case VK_RMENU: return TKey::Menu;
    case VK_PROCESSKEY:  // an input method holds the key
    case VK_PACKET: return TKey::None;  // a character without a key
    default: return KeyOfWin32Code(wParam);
    }
}

TShiftState ShiftStateFromMouseFlags(std::uintptr_t wParam, bool altDown) {
    TShiftState s = 0;
    if (wParam & MK_SHIFT) s |= ssShift;
    if (wParam & MK_CONTROL) s |= ssCtrl;
    if (wParam & MK_LBUTTON) s |= ssLeft;
    if (wParam & MK_RBUTTON) s |= ssRight;
    if (wParam & MK_MBUTTON) s |= ssMiddle;
    if (altDown) s |= ssAlt;
    return s;
}

TShiftState CurrentShiftState() {
    TShiftState s = 0;
    if (Down(VK_SHIFT)) s |= ssShift;
    if (Down(VK_CONTROL)) s |= ssCtrl;
    if (Down(VK_MENU)) s |= ssAlt;
    // Swapped mouse buttons are already undone in the button keys' state.
    if (Down(VK_LBUTTON)) s |= ssLeft;
    if (Down(VK_RBUTTON)) s |= ssRight;
    if (Down(VK_MBUTTON)) s |= ssMiddle;
    return s;
}

}  // namespace ratiscope
