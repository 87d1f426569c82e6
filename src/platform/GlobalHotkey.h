// A key combination that reaches the program whichever window has the focus,
// so the windows can be shown and hidden from any other program.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Keys.h"

namespace ratiscope {

// Modifiers of a global key combination, combinable. Super is the key with
// the system's logo (Windows key).
enum THotkeyModifier : std::uint32_t {
    hmCtrl = 1,
    hmAlt = 2,
    hmShift = 4,
    hmSuper = 8,
};

struct THotkey {
    std::uint32_t modifiers = 0;  // THotkeyModifier flags
    TKey key = TKey::None;        // the key held with the modifiers
    friend bool operator==(const THotkey&, const THotkey&) = default;
};

enum class THotkeyResult {
    Registered,  // the combination now reaches the program
    Taken,       // another program holds it
    Unusable,    // no key of this keyboard makes it, or the platform has no global keys
};

// X11: a passive grab on the root window (QtGlobalHotkey). Windows:
// RegisterHotKey with MOD_NOREPEAT, ERROR_HOTKEY_ALREADY_REGISTERED being Taken.
class IGlobalHotkey {
public:
    virtual ~IGlobalHotkey() = default;
    // Claims the combination on the whole desktop, also while Num Lock or
    // Caps Lock is on, giving back any earlier claim first. `pressed` runs on
    // the GUI thread once per press (holding the keys does not repeat it).
    virtual THotkeyResult Register(const THotkey& hotkey, std::function<void()> pressed) = 0;
    // Gives the combination back; nothing when none is held.
    virtual void Unregister() = 0;
};

}  // namespace ratiscope
