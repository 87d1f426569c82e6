// Number rules of the Look page; locale-free parsing, the separator is passed in.
#include "panel/LookRules.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace ratiscope {

std::int32_t StrToIntNoSpaces(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c != ' ') digits += c;
    const char* first = digits.data();
    const char* last = first + digits.size();
    // from_chars takes no plus sign, but a typed "+5" is a valid integer.
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (digits.empty() || ec != std::errc() || end != last)
        throw EConvertError("'" + digits + "' is not a valid integer value");
    return value;
}

std::optional<int> MatchingRatioEntry(double ratio) {
    for (int i = 0; i < kStandardRatioCount; ++i)
        if (std::fabs(ratio - kRatioEntries[static_cast<std::size_t>(i)]) < 0.001) return i;
    return std::nullopt;
}

std::string RatioText(double ratio, char decimalSeparator) {
    if (!std::isfinite(ratio)) return std::isnan(ratio) ? "NAN" : (ratio < 0 ? "-INF" : "INF");
    std::string sign = ratio < 0 ? "-" : "";
    ratio = std::fabs(ratio);
    if (ratio == 0) return "0";
    // Fifteen significant digits, rounded once; the layout is chosen from the
    // exponent of the rounded value so 9.99999999999999951E-6 reads 1E-5.
    char buf[40];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, ratio, std::chars_format::scientific, 14);
    if (ec != std::errc()) return sign + "0";
    std::string_view sci(buf, static_cast<std::size_t>(end - buf));
    std::size_t e = sci.find('e');
    std::string mantissa;
    for (char c : sci.substr(0, e))
        if (c != '.') mantissa += c;
    int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out;
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out = "0";
            out += decimalSeparator;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += mantissa;
        } else {
            std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
            if (mantissa.size() <= intDigits) {
                out = mantissa + std::string(intDigits - mantissa.size(), '0');
            } else {
                out = mantissa.substr(0, intDigits);
                out += decimalSeparator;
                out += mantissa.substr(intDigits);
            }
        }
    } else {
        out = mantissa.substr(0, 1);
        if (mantissa.size() > 1) {
            out += decimalSeparator;
            out += mantissa.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return sign + out;
}

namespace {

// A decimal number as a user types it: blanks around it, an optional sign,
// digits with one separator, an optional exponent. Returns it with a '.'.
std::optional<std::string> NormalisedNumber(std::string_view text, char separator) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    std::string out;
    std::size_t i = 0;
    auto digitsAt = [&](std::size_t& at) {
        std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') out += text[at++];
        return at - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') out += '-';
        ++i;
    }
    std::size_t mantissaDigits = digitsAt(i);
    if (i < text.size() && text[i] == separator) {
        out += '.';
        ++i;
        mantissaDigits += digitsAt(i);
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            if (text[i] == '-') out += '-';
            ++i;
        }
        if (digitsAt(i) == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    return out;
}

}  // namespace

std::optional<double> TypedRatio(std::string_view text, char decimalSeparator) {
    std::optional<std::string> number = NormalisedNumber(text, decimalSeparator);
    if (!number) return std::nullopt;
    double x = 0;
    auto [end, ec] = std::from_chars(number->data(), number->data() + number->size(), x);
    if (ec != std::errc() || end != number->data() + number->size()) return std::nullopt;
    if (!std::isfinite(x) || !(x > 0)) return std::nullopt;
    if (std::fabs(x - 1) <= 0.001) return std::nullopt;
    if (x >= 3.1) return std::nullopt;
    return x;
}

char RegionalDecimalSeparator() {
    const std::lconv* conv = std::localeconv();
    if (!conv || !conv->decimal_point || !conv->decimal_point[0] || conv->decimal_point[1]) return '.';
    return conv->decimal_point[0];
}

}  // namespace ratiscope
