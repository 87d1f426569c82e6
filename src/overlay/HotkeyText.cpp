// Names of the keys a global combination may use, and the start-up claim.
#include "overlay/HotkeyText.h"

#include <array>
#include <utility>

#include "platform/Keys.h"
#include "settings/Format.h"
#include "settings/LangTable.h"

namespace ratiscope {

namespace {

struct TName {
    std::string_view name;
    TKey key;
};

struct TModifierName {
    std::string_view name;
    std::uint32_t modifier;  // a THotkeyModifier
};

// First name of a key is the canonical one.
constexpr std::array<TName, 28> kNamedKeys = {{
    {"Space", TKey::Space},       {"Enter", TKey::Return},         {"Return", TKey::Return},
    {"Tab", TKey::Tab},           {"Esc", TKey::Escape},           {"Escape", TKey::Escape},
    {"Backspace", TKey::Back},    {"Insert", TKey::Insert},        {"Ins", TKey::Insert},
    {"Delete", TKey::Delete},     {"Del", TKey::Delete},           {"Home", TKey::Home},
    {"End", TKey::End},           {"PageUp", TKey::Prior},         {"PgUp", TKey::Prior},
    {"PageDown", TKey::Next},     {"PgDn", TKey::Next},            {"Left", TKey::Left},
    {"Right", TKey::Right},       {"Up", TKey::Up},                {"Down", TKey::Down},
    {"NumMultiply", TKey::Multiply}, {"NumAdd", TKey::Add},        {"NumSubtract", TKey::Subtract},
    {"NumDecimal", TKey::Decimal}, {"NumDivide", TKey::Divide},    {"Num*", TKey::Multiply},
    {"Num/", TKey::Divide},
}};

constexpr std::array<TModifierName, 7> kModifiers = {{
    {"Ctrl", hmCtrl}, {"Control", hmCtrl}, {"Alt", hmAlt}, {"Shift", hmShift},
    {"Super", hmSuper}, {"Win", hmSuper}, {"Meta", hmSuper},
}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A small decimal number written with digits only, within 1..limit; 0 otherwise.
int SmallNumber(std::string_view digits, int limit) {
    if (digits.empty() || digits.size() > 2) return 0;
    int n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= limit ? n : 0;
}

// The key a part names; TKey::None when it names none.
TKey KeyNamed(std::string_view part) {
    if (part.size() == 1) {
        const char c = part[0];
        if (Lower(c) >= 'a' && Lower(c) <= 'z') return KeyOfLetter(static_cast<char>('A' + (Lower(c) - 'a')));
        if (c >= '0' && c <= '9') return KeyOfDigit(c - '0');
    }
    if (part.size() >= 2 && Lower(part[0]) == 'f')
        if (const int n = SmallNumber(part.substr(1), kFunctionKeyCount)) return FunctionKey(n);
    if (part.size() == 4 && SameNoCase(part.substr(0, 3), "num") && part[3] >= '0' && part[3] <= '9')
        return KeypadDigit(part[3] - '0');
    for (const TName& n : kNamedKeys)
        if (SameNoCase(n.name, part)) return n.key;
    return TKey::None;
}

std::uint32_t ModifierNamed(std::string_view part) {
    for (const TModifierName& m : kModifiers)
        if (SameNoCase(m.name, part)) return m.modifier;
    return 0;
}

}  // namespace

bool HotkeySwitchedOff(std::string_view text) { return Trimmed(text).empty(); }

std::optional<THotkey> ParseHotkey(std::string_view text) {
    THotkey hotkey;
    while (true) {
        const std::size_t plus = text.find('+');
        const std::string_view part = Trimmed(text.substr(0, plus));
        if (part.empty()) return std::nullopt;
        if (const std::uint32_t m = ModifierNamed(part)) {
            if (hotkey.modifiers & m) return std::nullopt;
            hotkey.modifiers |= m;
        } else if (const TKey key = KeyNamed(part); key != TKey::None && hotkey.key == TKey::None) {
            hotkey.key = key;
        } else {
            return std::nullopt;
        }
        if (plus == std::string_view::npos) break;
        text.remove_prefix(plus + 1);
    }
    if (hotkey.key == TKey::None) return std::nullopt;
    if (!(hotkey.modifiers & (hmCtrl | hmAlt | hmSuper)) && !IsFunctionKey(hotkey.key)) return std::nullopt;
    return hotkey;
}

std::string FormatHotkey(const THotkey& hotkey) {
    std::string out;
    for (const std::uint32_t m : {hmCtrl, hmAlt, hmShift, hmSuper})
        if (hotkey.modifiers & m) {
            for (const TModifierName& n : kModifiers)
                if (n.modifier == m) {
                    out += n.name;
                    break;
                }
            out += '+';
        }
    const TKey k = hotkey.key;
    if (IsLetterKey(k) || IsDigitKey(k))
        out += KeyCharacter(k);
    else if (IsFunctionKey(k))
        out += "F" + std::to_string(FunctionKeyNumber(k));
    else if (IsKeypadDigit(k))
        out += "Num" + std::to_string(KeypadDigitOf(k));
    else
        for (const TName& n : kNamedKeys)
            if (n.key == k) {
                out += n.name;
                break;
            }
    return out;
}

bool StartHotkey(std::string_view text, IGlobalHotkey& hotkey, std::function<void()> toggle,
                 const std::function<void(const std::string&)>& tell) {
    if (HotkeySwitchedOff(text)) return false;
    const std::string shown(Trimmed(text));
    const std::optional<THotkey> parsed = ParseHotkey(text);
    const THotkeyResult result = parsed ? hotkey.Register(*parsed, std::move(toggle)) : THotkeyResult::Unusable;
    if (result == THotkeyResult::Registered) return true;
    const char* key = result == THotkeyResult::Taken ? "MHotkeyTaken" : "MHotkeyInvalid";
    if (tell) {
        const TFormatArg args[] = {std::string_view(shown)};
        // A translation whose template does not fit still says what went wrong.
        try {
            tell(Format(LangString(key), args));
        } catch (const EFormatError&) {
            tell(shown);
        }
    }
    return false;
}

}  // namespace ratiscope
