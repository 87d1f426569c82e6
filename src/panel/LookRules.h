// The number rules of the Look page: reading the size field, the table of
// ratio entries, which entry a ratio shows as, and which typed ratios count.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ratiscope {

// A text that does not convert to the number asked for; the message is what
// the error box shows.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Drops every space (code 32) wherever it stands and reads the rest as a
// signed 32-bit decimal integer; anything else raises EConvertError with
// "'<text>' is not a valid integer value". Spaces are dropped because a size
// may be typed with digit grouping ("1 200").
std::int32_t StrToIntNoSpaces(std::string_view text);

inline constexpr int kStandardRatioCount = 17;

// The values the 17 standard ratio entries set, as literal doubles: computing
// some of them (1 / sqrt 2) in double lands one unit in the last place off,
// and SetRatio compares exactly.
inline constexpr std::array<double, kStandardRatioCount> kRatioEntries{
    0.6180339887498949, 1.6180339887498947, 0.5, 2.0,   0.3333333333333333, 3.0,
    0.75,               1.3333333333333333, 0.6666666666666666, 1.5, 0.7071067811865476,
    1.4142135623730951, 1.0,                0.5625,             1.7777777777777777,
    0.41841004184100417, 2.39,
};

// The first standard entry within 0.001 (strictly) of the ratio, if any.
std::optional<int> MatchingRatioEntry(double ratio);

// The ratio as the box shows it: general format with up to 15 significant
// digits and the given decimal separator (1.25, 0.001, 1E-7).
std::string RatioText(double ratio, char decimalSeparator);

// A typed ratio that may be applied: a decimal number with the given
// separator, neither within 0.001 of 1 (entry 12 is 1) nor 3.1 or more. Zero,
// negative and non-numbers are refused as well: the lock formulas and the
// geometry divide by the ratio.
std::optional<double> TypedRatio(std::string_view text, char decimalSeparator);

// The decimal separator of the user's regional settings.
char RegionalDecimalSeparator();

}  // namespace ratiscope
