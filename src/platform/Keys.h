// Virtual key codes the key handlers compare with; every backend maps its own keys to them.
#pragma once

namespace ratiscope::vk {

inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18;  // Alt
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Prior = 33;
inline constexpr int Next = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
// Digits 48..57 and letters 65..90 are their ASCII codes.
inline constexpr int Numpad0 = 96;  // keypad digits 96..105
inline constexpr int Multiply = 106;  // keypad *
inline constexpr int Add = 107;       // keypad +
inline constexpr int Subtract = 109;  // keypad -
inline constexpr int Decimal = 110;   // keypad .
inline constexpr int Divide = 111;    // keypad /
inline constexpr int F1 = 112;        // F1..F24 are 112..135
inline constexpr int F2 = 113;
inline constexpr int F3 = 114;
inline constexpr int F4 = 115;
inline constexpr int F5 = 116;
inline constexpr int OemPlus = 187;   // main keyboard = and +
inline constexpr int OemMinus = 189;  // main keyboard - and _

}  // namespace ratiscope::vk
