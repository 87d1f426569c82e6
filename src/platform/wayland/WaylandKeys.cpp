// Key symbols to virtual keys; the keypad keeps codes of its own, as on the other backends.
#include "platform/wayland/WaylandKeys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/Keys.h"

namespace ratiscope {

int VirtualKeyFromKeysym(std::uint32_t keysym) {
    if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z) return 'A' + static_cast<int>(keysym - XKB_KEY_a);
    if (keysym >= XKB_KEY_A && keysym <= XKB_KEY_Z) return 'A' + static_cast<int>(keysym - XKB_KEY_A);
    if (keysym >= XKB_KEY_0 && keysym <= XKB_KEY_9) return '0' + static_cast<int>(keysym - XKB_KEY_0);
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9) return vk::Numpad0 + static_cast<int>(keysym - XKB_KEY_KP_0);
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F24) return vk::F1 + static_cast<int>(keysym - XKB_KEY_F1);
    switch (keysym) {
    case XKB_KEY_BackSpace: return vk::Back;
    case XKB_KEY_Tab:
    case XKB_KEY_ISO_Left_Tab: return vk::Tab;
    case XKB_KEY_Return:
    case XKB_KEY_KP_Enter: return vk::Return;
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R: return vk::Shift;
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R: return vk::Control;
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R: return vk::Menu;
    case XKB_KEY_Escape: return vk::Escape;
    case XKB_KEY_space: return vk::Space;
    case XKB_KEY_Prior:
    case XKB_KEY_KP_Prior: return vk::Prior;
    case XKB_KEY_Next:
    case XKB_KEY_KP_Next: return vk::Next;
    case XKB_KEY_End:
    case XKB_KEY_KP_End: return vk::End;
    case XKB_KEY_Home:
    case XKB_KEY_KP_Home: return vk::Home;
    case XKB_KEY_Left:
    case XKB_KEY_KP_Left: return vk::Left;
    case XKB_KEY_Up:
    case XKB_KEY_KP_Up: return vk::Up;
    case XKB_KEY_Right:
    case XKB_KEY_KP_Right: return vk::Right;
    case XKB_KEY_Down:
    case XKB_KEY_KP_Down: return vk::Down;
    case XKB_KEY_Insert:
    case XKB_KEY_KP_Insert: return vk::Insert;
    case XKB_KEY_Delete:
    case XKB_KEY_KP_Delete: return vk::Delete;
    case XKB_KEY_KP_Multiply: return vk::Multiply;
    case XKB_KEY_KP_Add: return vk::Add;
    case XKB_KEY_KP_Subtract: return vk::Subtract;
    case XKB_KEY_KP_Decimal:
    case XKB_KEY_KP_Separator: return vk::Decimal;
    case XKB_KEY_KP_Divide: return vk::Divide;
    // The main keyboard's plus and minus have codes of their own, so they never act as the keypad's.
    case XKB_KEY_plus:
    case XKB_KEY_equal: return vk::OemPlus;
    case XKB_KEY_minus:
    case XKB_KEY_underscore: return vk::OemMinus;
    default: return 0;
    }
}

}  // namespace ratiscope
