// The one routine that fills printf-style templates from language files. The
// templates are outside input, so every directive is parsed and checked here
// against the value passed; nothing reaches the C library's printf family.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace ratiscope {

// One value handed to a template: a whole number, a real number or a text.
using TFormatArg = std::variant<std::int32_t, double, std::string_view>;

// Raised for a template whose directive is malformed, does not fit its value,
// or has no value left. The message names the template.
class EFormatError : public std::runtime_error {
public:
    explicit EFormatError(std::string_view templ);
};

// Widths and precisions above this are refused rather than honoured, so a
// hostile "%999999999d" costs nothing.
inline constexpr std::int32_t kMaxFormatField = 512;

// Fills `templ` with `args` in order. Directives:
//   %[flags][width][.precision][length]conversion
//   flags: '-' left-justify, '+' sign always, ' ' blank for a plus sign,
//          '0' pad with zeros, '#' alternate form (x, X, f, e, E, g, G only)
//   width, precision: decimal digits up to kMaxFormatField; '*' is refused
//          (a template must not turn a value into a field size)
//   length: 'l' or 'll', accepted and without effect
//   conversions: d i (whole number), u x X (its 32 bits, unsigned),
//          f e E g G (real number), s (text), and %% for a percent sign.
// Values beyond the directives are ignored; too few raise EFormatError.
std::string Format(std::string_view templ, std::span<const TFormatArg> args);
inline std::string Format(std::string_view templ, std::initializer_list<TFormatArg> args) {
    return Format(templ, std::span<const TFormatArg>(args.begin(), args.size()));
}

// For texts formatted on every paint: a template that fails is shown as it
// stands instead of raising.
std::string FormatOrTemplate(std::string_view templ, std::span<const TFormatArg> args);
inline std::string FormatOrTemplate(std::string_view templ, std::initializer_list<TFormatArg> args) {
    return FormatOrTemplate(templ, std::span<const TFormatArg>(args.begin(), args.size()));
}

}  // namespace ratiscope
