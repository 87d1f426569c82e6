// The conversions are written out here rather than taken from
// MultiByteToWideChar, so their rules (and the command-line split) are the
// same under every Windows version and testable on their own.
#include "platform/win32/Win32Unicode.h"

#include <algorithm>
#include <cstdint>

namespace ratiscope {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The next code point of `text` from `i`, which moves past it.
char32_t NextFromUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (c < least || IsSurrogate(c) || c > kMaxCodePoint) return kReplacement;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextFromUtf8(text, i);
        if (c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(text[i]));
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            const auto low = static_cast<char32_t>(static_cast<std::uint16_t>(text[i + 1]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, IsSurrogate(unit) ? kReplacement : unit);
    }
    return out;
}

std::wstring WidePath(std::string_view path) {
    std::wstring wide = WideFromUtf8(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::string PathFromWide(std::wstring_view path) {
    std::string narrow = Utf8FromWide(path);
    std::replace(narrow.begin(), narrow.end(), '\\', '/');
    return narrow;
}

std::vector<std::string> ArgumentsFromCommandLine(std::wstring_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    // The program name ends at the first blank outside quotes; it knows no
    // backslash rules.
    for (bool quoted = false; i < line.size(); ++i) {
        if (line[i] == L'"') quoted = !quoted;
        else if (!quoted && (line[i] == L' ' || line[i] == L'\t')) break;
    }
    for (;;) {
        while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
        if (i >= line.size()) break;
        std::wstring argument;
        bool quoted = false;
        while (i < line.size()) {
            const wchar_t c = line[i];
            if (!quoted && (c == L' ' || c == L'\t')) break;
            if (c == L'\\') {
                std::size_t slashes = 0;
                while (i < line.size() && line[i] == L'\\') ++slashes, ++i;
                if (i < line.size() && line[i] == L'"') {
                    // 2n backslashes and a quote: n backslashes and the quote
                    // toggles; 2n+1: n backslashes and a literal quote.
                    argument.append(slashes / 2, L'\\');
                    if (slashes % 2 == 1) {
                        argument += L'"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, L'\\');
                }
                continue;
            }
            if (c == L'"') {
                // Inside quotes, a doubled quote is a literal quote.
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    argument += L'"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            argument += c;
            ++i;
        }
        arguments.push_back(Utf8FromWide(argument));
    }
    return arguments;
}

}  // namespace ratiscope

namespace ratiscope {
namespace {

// One argument in quotes, its backslashes doubled only where a quote follows them.
void AppendQuoted(std::wstring& line, std::wstring_view argument) {
    const bool plain = !argument.empty() && argument.find_first_of(L" \t\"") == std::wstring_view::npos;
    if (plain) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t slashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        if (c == L'"') {
            line.append(2 * slashes + 1, L'\\');
        } else {
            line.append(slashes, L'\\');
        }
        slashes = 0;
        line += c;
    }
    line.append(2 * slashes, L'\\');
    line += L'"';
}

}  // namespace

std::wstring CommandLineFromArguments(std::string_view program, const std::vector<std::string>& arguments) {
    // The program name is read up to its closing quote, so it is always quoted and holds no quote itself.
    std::wstring line = L"\"";
    for (const wchar_t c : WideFromUtf8(program))
        if (c != L'"') line += c == L'/' ? L'\\' : c;
    line += L'"';
    for (const std::string& argument : arguments) {
        line += L' ';
        AppendQuoted(line, WideFromUtf8(argument));
    }
    return line;
}

}  // namespace ratiscope
