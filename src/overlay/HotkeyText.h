// The show-and-hide key as the settings file spells it ("Ctrl+Alt+G"), and
// claiming it at start-up with one word to the user when that fails.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/GlobalHotkey.h"

namespace ratiscope {

// Parses modifiers and one key joined by "+", in any order and letter case,
// blanks around each part ignored: Ctrl (Control), Alt, Shift, Super (Win,
// Meta); keys A..Z, 0..9, F1..F24, Space, Enter, Tab, Esc, Backspace, Insert,
// Delete, Home, End, PageUp, PageDown, Left, Right, Up, Down, Num0..Num9,
// NumMultiply, NumAdd, NumSubtract, NumDecimal, NumDivide. Empty for text
// that names no such combination, repeats a part, or would take a key from
// typing everywhere (anything but F1..F24 needs Ctrl, Alt or Super).
std::optional<THotkey> ParseHotkey(std::string_view text);

// The canonical spelling: Ctrl, Alt, Shift, Super, then the key.
std::string FormatHotkey(const THotkey& hotkey);

// Whether the text switches the key off on purpose: empty or only blanks.
bool HotkeySwitchedOff(std::string_view text);

// Claims the combination `text` names, with `toggle` as its action. Text
// that switches it off claims nothing and says nothing; text that names no
// combination, or one another program holds, leaves the key off and calls
// `tell` once with the language text that says so. True when claimed.
bool StartHotkey(std::string_view text, IGlobalHotkey& hotkey, std::function<void()> toggle,
                 const std::function<void(const std::string&)>& tell);

}  // namespace ratiscope
