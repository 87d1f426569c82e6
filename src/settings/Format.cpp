// Directives are parsed by hand and numbers are written with std::to_chars, whose
// output is defined to match printf in the C locale, so the results read as
// users of printf templates expect without ever handing the template to printf.
#include "settings/Format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace ratiscope {

EFormatError::EFormatError(std::string_view templ)
    : std::runtime_error("Format '" + std::string(templ) + "' invalid or incompatible with argument") {}

namespace {

struct TDirective {
    bool left = false;   // '-'
    bool plus = false;   // '+'
    bool space = false;  // ' '
    bool zero = false;   // '0'
    bool alt = false;    // '#'
    std::int32_t width = 0;
    std::int32_t precision = -1;  // -1: none given
    char conversion = 0;
};

// Large enough for a fixed-point double of 309 integer digits and the largest
// precision, with room to spare.
using TNumberBuffer = std::array<char, 1024>;

class TParser {
public:
    explicit TParser(std::string_view templ) : text_(templ) {}

    // Reads one directive after its '%', throwing for anything malformed.
    TDirective Read(std::size_t& pos) const {
        TDirective d;
        for (; pos < text_.size(); ++pos) {
            const char c = text_[pos];
            if (c == '-') d.left = true;
            else if (c == '+') d.plus = true;
            else if (c == ' ') d.space = true;
            else if (c == '0') d.zero = true;
            else if (c == '#') d.alt = true;
            else break;
        }
        d.width = Number(pos);
        if (pos < text_.size() && text_[pos] == '.') {
            ++pos;
            d.precision = Number(pos);
        }
        if (pos < text_.size() && text_[pos] == 'l') {
            ++pos;
            if (pos < text_.size() && text_[pos] == 'l') ++pos;
        }
        if (pos >= text_.size()) Fail();
        d.conversion = text_[pos++];
        Check(d);
        return d;
    }

    [[noreturn]] void Fail() const { throw EFormatError(text_); }

private:
    // Decimal digits, capped before they can overflow; '*' is refused.
    std::int32_t Number(std::size_t& pos) const {
        std::int32_t v = 0;
        if (pos < text_.size() && text_[pos] == '*') Fail();
        while (pos < text_.size() && text_[pos] >= '0' && text_[pos] <= '9') {
            v = v * 10 + (text_[pos] - '0');
            if (v > kMaxFormatField) Fail();
            ++pos;
        }
        return v;
    }

    // Combinations that C leaves undefined are refused rather than guessed at.
    void Check(const TDirective& d) const {
        switch (d.conversion) {
        case 'd': case 'i': case 'u':
            if (d.alt) Fail();
            break;
        case 'x': case 'X':
        case 'f': case 'e': case 'E': case 'g': case 'G':
            break;
        case 's':
            if (d.alt || d.zero) Fail();
            break;
        default:
            Fail();  // %n, %p, %c, %a, %o, positional and unknown conversions
        }
    }

    std::string_view text_;
};

// Writes sign or prefix, padding and body into `out` by the width and flags.
void Pad(std::string& out, const TDirective& d, std::string_view prefix, std::string_view body, bool zeroPad) {
    const std::size_t len = prefix.size() + body.size();
    const std::size_t width = static_cast<std::size_t>(d.width);
    const std::size_t fill = width > len ? width - len : 0;
    if (d.left) {
        out += prefix;
        out += body;
        out.append(fill, ' ');
    } else if (zeroPad) {
        out += prefix;
        out.append(fill, '0');
        out += body;
    } else {
        out.append(fill, ' ');
        out += prefix;
        out += body;
    }
}

std::string_view SignPrefix(const TDirective& d, bool negative) {
    if (negative) return "-";
    if (d.plus) return "+";
    if (d.space) return " ";
    return {};
}

void FormatInteger(std::string& out, const TDirective& d, std::int32_t value) {
    TNumberBuffer buf;
    std::string_view prefix;
    std::to_chars_result r{};
    const bool isSigned = d.conversion == 'd' || d.conversion == 'i';
    const auto bits = static_cast<std::uint32_t>(value);
    if (isSigned) {
        const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(value));
        r = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude);
        prefix = SignPrefix(d, value < 0);
    } else if (d.conversion == 'u') {
        r = std::to_chars(buf.data(), buf.data() + buf.size(), bits);
    } else {
        r = std::to_chars(buf.data(), buf.data() + buf.size(), bits, 16);
        if (d.conversion == 'X')
            for (char* p = buf.data(); p != r.ptr; ++p)
                if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
        if (d.alt && bits != 0) prefix = d.conversion == 'X' ? "0X" : "0x";
    }
    std::string_view digits(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
    std::string body;
    if (d.precision == 0 && bits == 0) {
        digits = {};  // C writes no digit for a zero with precision 0
    } else if (d.precision > 0 && digits.size() < static_cast<std::size_t>(d.precision)) {
        body.assign(static_cast<std::size_t>(d.precision) - digits.size(), '0');
    }
    body += digits;
    Pad(out, d, prefix, body, d.zero && d.precision < 0 && !d.left);
}

std::string_view ToChars(TNumberBuffer& buf, double v, std::chars_format fmt, int precision) {
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, fmt, precision);
    if (r.ec != std::errc()) return {};
    return {buf.data(), static_cast<std::size_t>(r.ptr - buf.data())};
}

// %#g keeps trailing zeros, which to_chars's general form drops, so the choice
// between fixed and exponent form is made here as C describes it.
std::string AlternateGeneral(double magnitude, int precision) {
    const int p = precision == 0 ? 1 : precision;
    TNumberBuffer buf;
    const std::string_view sci = ToChars(buf, magnitude, std::chars_format::scientific, p - 1);
    int exponent = 0;
    if (const auto e = sci.find('e'); e != std::string_view::npos)
        std::from_chars(sci.data() + e + (sci[e + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
    std::string s;
    if (p > exponent && exponent >= -4)
        s = ToChars(buf, magnitude, std::chars_format::fixed, p - 1 - exponent);
    else
        s = sci;
    if (s.find('.') == std::string::npos) {
        const auto e = s.find('e');
        s.insert(e == std::string::npos ? s.size() : e, ".");
    }
    return s;
}

void FormatReal(std::string& out, const TDirective& d, double value) {
    const bool upper = d.conversion == 'E' || d.conversion == 'G';
    const std::string_view prefix = SignPrefix(d, std::signbit(value));
    const double magnitude = std::fabs(value);
    std::string body;
    if (!std::isfinite(magnitude)) {
        body = std::isnan(magnitude) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
        Pad(out, d, prefix, body, false);
        return;
    }
    const int precision = d.precision < 0 ? 6 : d.precision;
    TNumberBuffer buf;
    switch (d.conversion) {
    case 'f':
        body = ToChars(buf, magnitude, std::chars_format::fixed, precision);
        if (d.alt && precision == 0) body += '.';
        break;
    case 'e': case 'E':
        body = ToChars(buf, magnitude, std::chars_format::scientific, precision);
        if (d.alt && precision == 0) body.insert(body.find('e'), ".");
        break;
    default:
        body = d.alt ? AlternateGeneral(magnitude, precision)
                     : std::string(ToChars(buf, magnitude, std::chars_format::general, precision == 0 ? 1 : precision));
    }
    if (upper)
        for (char& c : body)
            if (c == 'e') c = 'E';
    Pad(out, d, prefix, body, d.zero && !d.left);
}

void FormatText(std::string& out, const TDirective& d, std::string_view text) {
    if (d.precision >= 0 && text.size() > static_cast<std::size_t>(d.precision))
        text = text.substr(0, static_cast<std::size_t>(d.precision));
    Pad(out, d, {}, text, false);
}

}  // namespace

std::string Format(std::string_view templ, std::span<const TFormatArg> args) {
    const TParser parser(templ);
    std::string out;
    out.reserve(templ.size() + 16);
    std::size_t next = 0;
    std::size_t pos = 0;
    while (pos < templ.size()) {
        const std::size_t pct = templ.find('%', pos);
        out += templ.substr(pos, pct == std::string_view::npos ? std::string_view::npos : pct - pos);
        if (pct == std::string_view::npos) break;
        pos = pct + 1;
        if (pos < templ.size() && templ[pos] == '%') {
            out += '%';
            ++pos;
            continue;
        }
        const TDirective d = parser.Read(pos);
        if (next >= args.size()) parser.Fail();
        const TFormatArg& arg = args[next++];
        switch (d.conversion) {
        case 's':
            if (!std::holds_alternative<std::string_view>(arg)) parser.Fail();
            FormatText(out, d, std::get<std::string_view>(arg));
            break;
        case 'f': case 'e': case 'E': case 'g': case 'G':
            if (!std::holds_alternative<double>(arg)) parser.Fail();
            FormatReal(out, d, std::get<double>(arg));
            break;
        default:
            if (!std::holds_alternative<std::int32_t>(arg)) parser.Fail();
            FormatInteger(out, d, std::get<std::int32_t>(arg));
        }
    }
    return out;
}

std::string FormatOrTemplate(std::string_view templ, std::span<const TFormatArg> args) {
    try {
        return Format(templ, args);
    } catch (const EFormatError&) {
        return std::string(templ);
    }
}

}  // namespace ratiscope
