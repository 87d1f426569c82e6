// Parsing is strict and never throws: text that is not a number of the
// expected form comes back empty, and the caller falls back to a default.
#include "settings/SettingsValues.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace ratiscope {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::string_view rest = text.substr(i);
    bool hex = false;
    if (rest.starts_with('$')) {
        hex = true;
        rest.remove_prefix(1);
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        hex = true;
        rest.remove_prefix(2);
    }
    if (rest.empty()) return std::nullopt;
    if (hex) {
        if (rest.size() > 8) return std::nullopt;
        std::uint32_t bits = 0;
        for (char c : rest) {
            const int d = HexDigit(c);
            if (d < 0) return std::nullopt;
            bits = bits << 4 | static_cast<std::uint32_t>(d);
        }
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    std::int64_t value = 0;
    for (char c : rest) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<bool> ParseIniBoolean(std::string_view text) {
    auto v = ParseIniInteger(text);
    if (!v) return std::nullopt;
    return *v != 0;
}

std::optional<double> ParseRatioText(std::string_view text, char decimalSeparator) {
    std::string s(text);
    for (char& c : s)
        if (c == decimalSeparator || c == ',') c = '.';
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;  // from_chars takes no plus sign
    double value = 0;
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last || first == last) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::string FormatRatio(double value, char decimalSeparator) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (ec != std::errc()) return "0";
    std::string s(buf, end);
    for (char& c : s)
        if (c == '.') c = decimalSeparator;
    return s;
}

std::string FormatDoubleExact(double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

}  // namespace ratiscope
