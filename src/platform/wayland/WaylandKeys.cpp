// Key symbols to virtual keys; the keypad keeps codes of its own, as on the other backends.
#include "platform/wayland/WaylandKeys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/Keys.h"

namespace ratiscope {

TKey VirtualKeyFromKeysym(std::uint32_t keysym) {
    if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z) return KeyOfLetter(static_cast<char>('A' + (keysym - XKB_KEY_a)));
    if (keysym >= XKB_KEY_A && keysym <= XKB_KEY_Z) return KeyOfLetter(static_cast<char>('A' + (keysym - XKB_KEY_A)));
    if (keysym >= XKB_KEY_0 && keysym <= XKB_KEY_9) return KeyOfDigit(static_cast<int>(keysym - XKB_KEY_0));
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9) return KeypadDigit(static_cast<int>(keysym - XKB_KEY_KP_0));
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F24) return FunctionKey(static_cast<int>(keysym - XKB_KEY_F1) + 1);
    switch (keysym) {
    case XKB_KEY_BackSpace: return TKey::Back;
    case XKB_KEY_Tab:
    case XKB_KEY_ISO_Left_Tab: return TKey::Tab;
    case XKB_KEY_Return:
    case XKB_KEY_KP_Enter: return TKey::Return;
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R: return TKey::Shift;
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R: return TKey::Control;
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R: return TKey::Menu;
    case XKB_KEY_Escape: return TKey::Escape;
    case XKB_KEY_space: return TKey::Space;
    case XKB_KEY_Prior:
    case XKB_KEY_KP_Prior: return TKey::Prior;
    case XKB_KEY_Next:
    case XKB_KEY_KP_Next: return TKey::Next;
    case XKB_KEY_End:
    case XKB_KEY_KP_End: return TKey::End;
    case XKB_KEY_Home:
    case XKB_KEY_KP_Home: return TKey::Home;
    case XKB_KEY_Left:
    case XKB_KEY_KP_Left: return TKey::Left;
    case XKB_KEY_Up:
    case XKB_KEY_KP_Up: return TKey::Up;
    case XKB_KEY_Right:
    case XKB_KEY_KP_Right: return TKey::Right;
    case XKB_KEY_Down:
    case XKB_KEY_KP_Down: return TKey::Down;
    case XKB_KEY_Insert:
    case XKB_KEY_KP_Insert: return TKey::Insert;
    case XKB_KEY_Delete:
    case XKB_KEY_KP_Delete: return TKey::Delete;
    case XKB_KEY_KP_Multiply: return TKey::Multiply;
    case XKB_KEY_KP_Add: return TKey::Add;
    case XKB_KEY_KP_Subtract: return TKey::Subtract;
    case XKB_KEY_KP_Decimal:
    case XKB_KEY_KP_Separator: return TKey::Decimal;
    case XKB_KEY_KP_Divide: return TKey::Divide;
    // The main keyboard's plus and minus have codes of their own, so they never act as the keypad's.
    case XKB_KEY_plus:
    case XKB_KEY_equal: return TKey::OemPlus;
    case XKB_KEY_minus:
    case XKB_KEY_underscore: return TKey::OemMinus;
    default: return TKey::None;
    }
}

}  // namespace ratiscope
