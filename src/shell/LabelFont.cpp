// The label font as data: read once from fonts-wine's tahoma.ttf at 11 pixels
// (the advances of its bitmaps, its kerning pairs rounded to whole pixels as
// the hinted font applies them); a Linux test holds it against Qt's
// measurement of that file, so the Linux tool's SVG keeps its layout.
#include "shell/LabelFont.h"

#include <algorithm>
#include <iterator>

#include "shell/SvgCanvas.h"

namespace ratiscope {
namespace {

// Code points of a dense block that the font has no glyph for.
constexpr std::uint8_t X = 0xFF;
constexpr char32_t kLatinFirst = 0x20;
constexpr char32_t kCyrillicFirst = 0x400;
constexpr char32_t kSoftHyphen = 0xAD;

// U+0020 to U+017F: Basic Latin, Latin-1 Supplement and Latin Extended-A.
constexpr std::uint8_t kLatin[] = {
     3, 4, 4, 8, 6,11, 7, 2, 4, 4, 6, 8, 4, 4, 4, 4,  // U+0020
     6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 4, 4, 8, 8, 8, 5,  // U+0030
    10, 7, 6, 7, 7, 6, 6, 7, 7, 4, 5, 6, 5, 8, 7, 8,  // U+0040
     6, 8, 7, 6, 6, 7, 6,10, 6, 6, 6, 4, 4, 4, 8, 6,  // U+0050
     6, 6, 6, 5, 6, 6, 4, 6, 6, 2, 3, 5, 2, 8, 6, 6,  // U+0060
     6, 6, 4, 5, 4, 6, 6, 8, 6, 6, 5, 5, 4, 5, 8,11,  // U+0070
     X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X,  // U+0080
     X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X,  // U+0090
     3, 4, 6, 6, 6, 6, 4, 6, 6,10, 5, 6, 8, 0,10, 6,  // U+00A0
     5, 8, 5, 5, 6, 6, 6, 4, 6, 5, 5, 6,11,11,11, 5,  // U+00B0
     7, 7, 7, 7, 7, 7,10, 7, 6, 6, 6, 6, 4, 4, 4, 4,  // U+00C0
     8, 7, 8, 8, 8, 8, 8, 8, 8, 7, 7, 7, 7, 6, 6, 6,  // U+00D0
     6, 6, 6, 6, 6, 6,10, 5, 6, 6, 6, 6, 2, 2, 2, 2,  // U+00E0
     6, 6, 6, 6, 6, 6, 6, 8, 6, 6, 6, 6, 6, 6, 6, 6,  // U+00F0
     7, 6, 7, 6, 7, 6, 7, 5, 7, 5, 7, 5, 7, 5, 7, 8,  // U+0100
     7, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 6, 7, 6,  // U+0110
     7, 6, 7, 6, 7, 6, 7, 6, 4, 3, 4, 3, 4, 3, 4, 3,  // U+0120
     4, 3, X, X, X, X, X, X, X, 5, 3, X, X, 5, 3, X,  // U+0130
     X, 7, 3, 7, 6, X, X, 7, 6, X, X, X, X, X, X, X,  // U+0140
     8, 6,11,10, 7, 4, X, X, 7, 4, 6, 5, X, X, 6, 5,  // U+0150
     6, 5, 6, 4, 6, 4, X, X, X, X, 7, 6, X, X, 7, 6,  // U+0160
     7, 6, 7, 6, X, X, X, X, 6, 6, 5, 6, 5, 6, 5, X,  // U+0170
};
// U+0400 to U+045F: Cyrillic.
constexpr std::uint8_t kCyrillic[] = {
     6, 6, X, 6, 7, 6, 4, 4, 5, X, X, X, 7, 7, 6, X,  // U+0400
     7, 6, 6, 6, 8, 6,10, 6, 7, 7, 6, 7, 8, 7, 8, 7,  // U+0410
     6, 7, 6, 6, 8, 6, 8, 7,10,11, 8, 9, 6, 7,10, 7,  // U+0420
     6, 6, 6, 5, 6, 6, 8, 5, 6, 6, 5, 6, 7, 6, 6, 6,  // U+0430
     6, 5, 5, 6, 8, 6, 6, 6, 9, 9, 6, 8, 6, 5, 8, 6,  // U+0440
     6, 6, X, 5, 5, 5, 3, 3, 3, X, X, X, 5, 6, 6, X,  // U+0450
};

struct TAdvance {
    char32_t codePoint;
    std::int32_t advance;
};

// The font's other characters, Arabic left out (its width comes from shaping
// that joins letters, which a table of single characters cannot give).
constexpr TAdvance kOthers[] = {
    {0x0192, 6}, {0x01A0, 10}, {0x0218, 6}, {0x0219, 5}, {0x021A, 6}, {0x021B, 4}, {0x02C6, 6},
    {0x02C7, 6}, {0x02C9, 6}, {0x02D8, 6}, {0x02D9, 6}, {0x02DA, 6}, {0x02DB, 6}, {0x02DC, 6},
    {0x02DD, 6}, {0x03C0, 6}, {0x0490, 6}, {0x0491, 5}, {0x0492, 6}, {0x0493, 5}, {0x049A, 6},
    {0x049B, 5}, {0x04A2, 7}, {0x04A3, 6}, {0x04AE, 6}, {0x04AF, 6}, {0x04B0, 6}, {0x04B1, 6},
    {0x04BA, 6}, {0x04BB, 6}, {0x04D8, 7}, {0x04D9, 5}, {0x04E8, 8}, {0x04E9, 6}, {0x2013, 6},
    {0x2014, 10}, {0x2018, 2}, {0x2019, 2}, {0x201A, 2}, {0x201C, 4}, {0x201D, 4}, {0x201E, 4},
    {0x2020, 6}, {0x2021, 6}, {0x2022, 5}, {0x2026, 9}, {0x2030, 15}, {0x2039, 4}, {0x203A, 4},
    {0x20AC, 6}, {0x2116, 7}, {0x2122, 10}, {0x2126, 8}, {0x215B, 11}, {0x215C, 11}, {0x215D, 11},
    {0x215E, 6}, {0x2202, 6}, {0x2206, 7}, {0x220F, 7}, {0x2211, 7}, {0x2212, 8}, {0x2215, 4},
    {0x2219, 3}, {0x221A, 8}, {0x221E, 10}, {0x222B, 6}, {0x2248, 8}, {0x2260, 8}, {0x2264, 8},
    {0x2265, 8}, {0x25CA, 8}, {0xFB01, 6}, {0xFB02, 6},
};

struct TKerning {
    char32_t left, right;
    std::int32_t adjust;
};

constexpr TKerning kKerning[] = {
    {U',', 0x2019, -1}, {U',', 0x201D, -1}, {U'-', U'T', -1}, {U'-', U'Y', -1}, {U'.', U')', -1}, {U'.', U',', -1},
    {U'.', U'-', -1}, {U'.', U']', -1}, {U'.', U'}', -1}, {U'.', 0x2013, -1}, {U'.', 0x2014, -1}, {U'.', 0x2019, -1},
    {U'.', 0x201D, -1}, {U'7', U',', -1}, {U'7', U'.', -1}, {U':', 0x2014, -1}, {U'A', U'T', -1}, {U'A', 0x2019, -1},
    {U'A', 0x201D, -1}, {U'F', U',', -2}, {U'F', U'.', -2}, {U'F', 0x00C6, -1}, {U'F', 0x2026, -2}, {U'K', U'-', -1},
    {U'K', 0x2013, -1}, {U'K', 0x2014, -1}, {U'L', U'\'', -1}, {U'L', U'-', -1}, {U'L', U'J', 1}, {U'L', U'T', -1},
    {U'L', U'V', -1}, {U'L', U'Y', -1}, {U'L', U'v', -1}, {U'L', U'y', -1}, {U'L', 0x2013, -1}, {U'L', 0x2014, -1},
    {U'L', 0x2019, -1}, {U'L', 0x201D, -1}, {U'P', U',', -2}, {U'P', U'.', -2}, {U'P', 0x2026, -2}, {U'T', U',', -1},
    {U'T', U'-', -1}, {U'T', U'.', -1}, {U'T', U':', -1}, {U'T', U';', -1}, {U'T', U'A', -1}, {U'T', U'T', -1},
    {U'T', U'a', -1}, {U'T', U'c', -1}, {U'T', U'e', -1}, {U'T', U'g', -1}, {U'T', U'o', -1}, {U'T', U'r', -1},
    {U'T', U's', -1}, {U'T', U'u', -1}, {U'T', U'v', -1}, {U'T', U'w', -1}, {U'T', U'y', -1}, {U'T', U'z', -1},
    {U'T', 0x00C6, -1}, {U'T', 0x00E6, -1}, {U'T', 0x00F8, -1}, {U'T', 0x0153, -1}, {U'T', 0x2013, -1}, {U'T', 0x2014, -1},
    {U'T', 0x2026, -1}, {U'V', U',', -1}, {U'V', U'.', -1}, {U'V', 0x2026, -1}, {U'W', U',', -1}, {U'W', U'.', -1},
    {U'W', 0x2026, -1}, {U'Y', U',', -1}, {U'Y', U'-', -1}, {U'Y', U'.', -1}, {U'Y', U':', -1}, {U'Y', U';', -1},
    {U'Y', U'a', -1}, {U'Y', U'd', -1}, {U'Y', U'e', -1}, {U'Y', U'g', -1}, {U'Y', U'o', -1}, {U'Y', U'q', -1},
    {U'Y', U's', -1}, {U'Y', U'u', -1}, {U'Y', 0x00E6, -1}, {U'Y', 0x00F8, -1}, {U'Y', 0x0153, -1}, {U'Y', 0x2013, -1},
    {U'Y', 0x2014, -1}, {U'Y', 0x2026, -1}, {U'c', U'T', -1}, {U'e', U'T', -1}, {U'f', U')', 1}, {U'f', U',', -1},
    {U'f', U'.', -1}, {U'f', U'?', 1}, {U'f', U'\\', 1}, {U'f', U']', 1}, {U'f', U'}', 1}, {U'f', 0x00EE, 1},
    {U'f', 0x2026, -1}, {U'r', U',', -1}, {U'r', U'.', -1}, {U'r', 0x2026, -1}, {U'v', U',', -1}, {U'v', U'.', -1},
    {U'v', 0x2026, -1}, {U'y', U',', -1}, {U'y', U'.', -1}, {U'y', 0x2026, -1}, {0x2013, U'T', -1}, {0x2013, U'Y', -1},
    {0x2014, U'T', -1}, {0x2014, U'Y', -1}, {0x2019, U',', -1}, {0x2019, U'.', -1}, {0x2019, U'T', 1}, {0x2019, U'V', 1},
    {0x2019, U'Y', 1}, {0x2019, 0x00EE, 1}, {0x2019, 0x00EF, 1}, {0x2019, 0x2018, 1}, {0x2019, 0x201C, 1}, {0x2019, 0x2026, -1},
    {0x201A, U'T', -1}, {0x201A, U'V', -1}, {0x201A, U'Y', -1}, {0x201D, U',', -1}, {0x201D, U'.', -1}, {0x201D, U'T', 1},
    {0x201D, U'V', 1}, {0x201D, U'Y', 1}, {0x201D, 0x2026, -1}, {0x201E, U'T', -1}, {0x201E, U'V', -1}, {0x201E, U'Y', -1},
    {0x2026, 0x2019, -1}, {0x2026, 0x201D, -1},
};

constexpr bool KerningBefore(const TKerning& a, const TKerning& b) {
    return a.left != b.left ? a.left < b.left : a.right < b.right;
}
static_assert(std::is_sorted(std::begin(kKerning), std::end(kKerning), KerningBefore),
              "LabelKerning searches the pairs by halves");
constexpr bool AdvanceBefore(const TAdvance& a, const TAdvance& b) {
    return a.codePoint < b.codePoint;
}
static_assert(std::is_sorted(std::begin(kOthers), std::end(kOthers), AdvanceBefore),
              "LabelCharAdvance searches the characters by halves");

// Characters that take no room: combining marks sit on the letter before
// them, format characters steer text without showing.
bool ZeroWidth(char32_t c) {
    return (c >= 0x300 && c <= 0x36F) || (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x2064) || c == 0xFEFF;
}

template <std::size_t N>
bool InBlock(const std::uint8_t (&block)[N], char32_t first, char32_t c, std::int32_t& advance) {
    if (c < first || c - first >= N) return false;
    const std::uint8_t a = block[c - first];
    advance = a == X ? kUnknownCharAdvance : a;
    return true;
}

}  // namespace

std::int32_t LabelCharAdvance(char32_t c) {
    std::int32_t advance = 0;
    if (InBlock(kLatin, kLatinFirst, c, advance) || InBlock(kCyrillic, kCyrillicFirst, c, advance)) return advance;
    if (ZeroWidth(c)) return 0;
    const auto* at = std::lower_bound(std::begin(kOthers), std::end(kOthers), c,
                                      [](const TAdvance& e, char32_t cp) { return e.codePoint < cp; });
    return at != std::end(kOthers) && at->codePoint == c ? at->advance : kUnknownCharAdvance;
}

std::int32_t LabelKerning(char32_t left, char32_t right) {
    const auto* at = std::lower_bound(std::begin(kKerning), std::end(kKerning), TKerning{left, right, 0}, KerningBefore);
    return at != std::end(kKerning) && at->left == left && at->right == right ? at->adjust : 0;
}

TSize TLabelFont::Measure(std::string_view text) {
    std::int64_t width = 0;
    char32_t previous = 0;
    for (std::size_t i = 0; i < text.size();) {
        const TXmlChar c = XmlCharAt(text, i);
        i += c.length;
        if (c.codePoint == kSoftHyphen) continue;
        width += LabelCharAdvance(c.codePoint);
        if (previous != 0) width += LabelKerning(previous, c.codePoint);
        previous = c.codePoint;
    }
    return {static_cast<std::int32_t>(std::min<std::int64_t>(width, INT32_MAX)), kLabelCellHeight};
}

}  // namespace ratiscope
