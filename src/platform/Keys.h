// Virtual key codes the key handlers compare with; every backend maps its own keys to them.
#pragma once

#include <cstdint>

namespace ratiscope {

// The numbers are the Win32 virtual key codes, so a Win32 key needs no table;
// a TKey may also hold a code without a name here (any Win32 key the program
// passes on without acting on it).
enum class TKey : std::int32_t {
    None = 0,  // a key the program does not use
    Back = 8,
    Tab = 9,
    Return = 13,
    Shift = 16,
    Control = 17,
    Menu = 18,  // Alt
    Escape = 27,
    Space = 32,
    Prior = 33,
    Next = 34,
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Insert = 45,
    Delete = 46,
    // Digits 48..57 and letters 65..90 are their ASCII codes: KeyOfDigit, KeyOfLetter.
    Numpad0 = 96,    // keypad digits 96..105: KeypadDigit
    Multiply = 106,  // keypad *
    Add = 107,       // keypad +
    Subtract = 109,  // keypad -
    Decimal = 110,   // keypad .
    Divide = 111,    // keypad /
    F1 = 112,        // F1..F24 are 112..135: FunctionKey
    F2 = 113,
    F3 = 114,
    F4 = 115,
    F5 = 116,
    OemPlus = 187,   // main keyboard = and +
    OemMinus = 189,  // main keyboard - and _
};

inline constexpr int kDigitKeyCount = 10;
inline constexpr int kLetterKeyCount = 26;
inline constexpr int kFunctionKeyCount = 24;

// The key's code as a plain number, for the platform calls and logs that want one.
constexpr std::int32_t KeyNumber(TKey key) { return static_cast<std::int32_t>(key); }

// The key whose code is `number`, named or not.
constexpr TKey KeyFromNumber(std::int32_t number) { return static_cast<TKey>(number); }

// The key of an upper-case letter 'A'..'Z'.
constexpr TKey KeyOfLetter(char upper) { return KeyFromNumber(upper); }

// The main keyboard's key of digit `n`, 0..9.
constexpr TKey KeyOfDigit(int n) { return KeyFromNumber('0' + n); }

// The keypad's key of digit `n`, 0..9.
constexpr TKey KeypadDigit(int n) { return KeyFromNumber(KeyNumber(TKey::Numpad0) + n); }

// Function key Fn, n from 1 to kFunctionKeyCount.
constexpr TKey FunctionKey(int n) { return KeyFromNumber(KeyNumber(TKey::F1) + n - 1); }

constexpr bool IsLetterKey(TKey key) {
    return KeyNumber(key) >= 'A' && KeyNumber(key) < 'A' + kLetterKeyCount;
}

constexpr bool IsDigitKey(TKey key) { return KeyNumber(key) >= '0' && KeyNumber(key) < '0' + kDigitKeyCount; }

constexpr bool IsKeypadDigit(TKey key) {
    return KeyNumber(key) >= KeyNumber(TKey::Numpad0) && KeyNumber(key) < KeyNumber(TKey::Numpad0) + kDigitKeyCount;
}

constexpr bool IsFunctionKey(TKey key) {
    return KeyNumber(key) >= KeyNumber(TKey::F1) && KeyNumber(key) < KeyNumber(TKey::F1) + kFunctionKeyCount;
}

// The letter of a letter key ('A'..'Z') or the digit character of a main keyboard digit key.
constexpr char KeyCharacter(TKey key) { return static_cast<char>(KeyNumber(key)); }

// n of a keypad digit key (IsKeypadDigit).
constexpr int KeypadDigitOf(TKey key) { return KeyNumber(key) - KeyNumber(TKey::Numpad0); }

// n of function key Fn (IsFunctionKey).
constexpr int FunctionKeyNumber(TKey key) { return KeyNumber(key) - KeyNumber(TKey::F1) + 1; }

}  // namespace ratiscope
