// How settings values are spelled as text: integers with decimal or
// hexadecimal digits, booleans as integers, the ratio in general notation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ratiscope {

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X" (up to
// eight digits, taken as the 32 bits of the value, so $FFFFFFFF is -1).
// Anything else, the empty text included, is no integer.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// An integer, non-zero meaning true.
std::optional<bool> ParseIniBoolean(std::string_view text);

// A finite number in plain or exponent notation; ".", "," and `decimalSeparator`
// are all taken as the decimal point, so a value written under a locale with
// either separator reads back under any other. A value is one number: a second
// separator makes it unreadable.
std::optional<double> ParseRatioText(std::string_view text, char decimalSeparator = '.');

// General notation, at most 15 significant digits, no trailing zeros
// (0.6180339887498949 becomes 0.618033988749895).
std::string FormatRatio(double value, char decimalSeparator = '.');

// Shortest text that reads back as exactly the same double.
std::string FormatDoubleExact(double value);

}  // namespace ratiscope
