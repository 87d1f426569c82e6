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
    int key;
};

// First name of a key is the canonical one.
constexpr std::array<TName, 28> kNamedKeys = {{
    {"Space", vk::Space},       {"Enter", vk::Return},         {"Return", vk::Return},
    {"Tab", vk::Tab},           {"Esc", vk::Escape},           {"Escape", vk::Escape},
    {"Backspace", vk::Back},    {"Insert", vk::Insert},        {"Ins", vk::Insert},
    {"Delete", vk::Delete},     {"Del", vk::Delete},           {"Home", vk::Home},
    {"End", vk::End},           {"PageUp", vk::Prior},         {"PgUp", vk::Prior},
    {"PageDown", vk::Next},     {"PgDn", vk::Next},            {"Left", vk::Left},
    {"Right", vk::Right},       {"Up", vk::Up},                {"Down", vk::Down},
    {"NumMultiply", vk::Multiply}, {"NumAdd", vk::Add},        {"NumSubtract", vk::Subtract},
    {"NumDecimal", vk::Decimal}, {"NumDivide", vk::Divide},    {"Num*", vk::Multiply},
    {"Num/", vk::Divide},
}};

constexpr std::array<TName, 7> kModifiers = {{
    {"Ctrl", hmCtrl}, {"Control", hmCtrl}, {"Alt", hmAlt}, {"Shift", hmShift},
    {"Super", hmSuper}, {"Win", hmSuper}, {"Meta", hmSuper},
}};

constexpr int kFunctionKeyCount = 24;

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

// The key a part names; 0 when it names none.
int KeyNamed(std::string_view part) {
    if (part.size() == 1) {
        const char c = part[0];
        if (Lower(c) >= 'a' && Lower(c) <= 'z') return 'A' + (Lower(c) - 'a');
        if (c >= '0' && c <= '9') return c;
    }
    if (part.size() >= 2 && Lower(part[0]) == 'f')
        if (const int n = SmallNumber(part.substr(1), kFunctionKeyCount)) return vk::F1 + n - 1;
    if (part.size() == 4 && SameNoCase(part.substr(0, 3), "num") && part[3] >= '0' && part[3] <= '9')
        return vk::Numpad0 + (part[3] - '0');
    for (const TName& n : kNamedKeys)
        if (SameNoCase(n.name, part)) return n.key;
    return 0;
}

std::uint32_t ModifierNamed(std::string_view part) {
    for (const TName& m : kModifiers)
        if (SameNoCase(m.name, part)) return static_cast<std::uint32_t>(m.key);
    return 0;
}

bool IsFunctionKey(int key) { return key >= vk::F1 && key < vk::F1 + kFunctionKeyCount; }

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
        } else if (const int key = KeyNamed(part); key != 0 && hotkey.key == 0) {
            hotkey.key = key;
        } else {
            return std::nullopt;
        }
        if (plus == std::string_view::npos) break;
        text.remove_prefix(plus + 1);
    }
    if (hotkey.key == 0) return std::nullopt;
    if (!(hotkey.modifiers & (hmCtrl | hmAlt | hmSuper)) && !IsFunctionKey(hotkey.key)) return std::nullopt;
    return hotkey;
}

std::string FormatHotkey(const THotkey& hotkey) {
    std::string out;
    for (const std::uint32_t m : {hmCtrl, hmAlt, hmShift, hmSuper})
        if (hotkey.modifiers & m) {
            for (const TName& n : kModifiers)
                if (static_cast<std::uint32_t>(n.key) == m) {
                    out += n.name;
                    break;
                }
            out += '+';
        }
    const int k = hotkey.key;
    if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9'))
        out += static_cast<char>(k);
    else if (IsFunctionKey(k))
        out += "F" + std::to_string(k - vk::F1 + 1);
    else if (k >= vk::Numpad0 && k <= vk::Numpad0 + 9)
        out += "Num" + std::to_string(k - vk::Numpad0);
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
