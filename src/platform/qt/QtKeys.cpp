// Maps Qt's key numbers to the virtual key codes of platform/Keys.h.
#include "platform/qt/QtKeys.h"

#include <optional>

#include "platform/Keys.h"

namespace ratiscope {

namespace {

// The keypad's own key of a Qt key sent with Qt::KeypadModifier; empty for
// the keypad navigation keys when Num Lock is off, which act as on the main keyboard.
std::optional<TKey> KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return KeypadDigit(qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return TKey::Multiply;
    case Qt::Key_Plus: return TKey::Add;
    case Qt::Key_Minus: return TKey::Subtract;
    case Qt::Key_Slash: return TKey::Divide;
    case Qt::Key_Period:
    case Qt::Key_Comma: return TKey::Decimal;
    case Qt::Key_Enter: return TKey::Return;
    default: return std::nullopt;
    }
}

}  // namespace

TKey VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (const std::optional<TKey> k = KeypadKey(qtKey)) return *k;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return KeyOfLetter(static_cast<char>('A' + (qtKey - Qt::Key_A)));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return KeyOfDigit(qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return FunctionKey(qtKey - Qt::Key_F1 + 1);
    switch (qtKey) {
    case Qt::Key_Backspace: return TKey::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return TKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return TKey::Return;
    case Qt::Key_Shift: return TKey::Shift;
    case Qt::Key_Control: return TKey::Control;
    case Qt::Key_Alt: return TKey::Menu;
    case Qt::Key_Escape: return TKey::Escape;
    case Qt::Key_Space: return TKey::Space;
    case Qt::Key_PageUp: return TKey::Prior;
    case Qt::Key_PageDown: return TKey::Next;
    case Qt::Key_End: return TKey::End;
    case Qt::Key_Home: return TKey::Home;
    case Qt::Key_Left: return TKey::Left;
    case Qt::Key_Up: return TKey::Up;
    case Qt::Key_Right: return TKey::Right;
    case Qt::Key_Down: return TKey::Down;
    case Qt::Key_Insert: return TKey::Insert;
    case Qt::Key_Delete: return TKey::Delete;
    // The main keyboard's plus and minus have codes of their own, so they never act as the keypad's.
    case Qt::Key_Plus:
    case Qt::Key_Equal: return TKey::OemPlus;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return TKey::OemMinus;
    default: return TKey::None;
    }
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

}  // namespace ratiscope
