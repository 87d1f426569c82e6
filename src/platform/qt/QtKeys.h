// Qt's keys and modifiers as the virtual key codes and state sets the key and mouse handlers use.
#pragma once

#include <Qt>

#include "platform/Window.h"

namespace ratiscope {

// The virtual key code of a Qt key; the keypad's operators and digits are told
// apart from the main keyboard's by Qt::KeypadModifier. TKey::None for keys without one.
TKey VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

// Held modifiers and mouse buttons as one state set.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

}  // namespace ratiscope
