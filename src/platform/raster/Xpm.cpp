// XPM reading and writing: small, strict, and never trusting the file.
#include "platform/raster/Xpm.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <sstream>
#include <unordered_map>

namespace ratiscope {
namespace {

std::optional<TIcon> Fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return std::nullopt;
}

// Splits on blanks.
std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) out.push_back(s.substr(start, i - start));
    }
    return out;
}

std::optional<std::int32_t> Number(std::string_view s) {
    std::int32_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

// nullopt: not a colour we read; 0: transparent; otherwise the opaque pixel.
std::optional<TPixel> ParseColor(std::string_view color) {
    if (EqualsNoCase(color, "None")) return TPixel{0};
    if (color.size() != 7 && color.size() != 4) return std::nullopt;
    if (color[0] != '#') return std::nullopt;
    TPixel rgb = 0;
    for (std::size_t i = 1; i < color.size(); ++i) {
        const int d = HexDigit(color[i]);
        if (d < 0) return std::nullopt;
        rgb = rgb << (color.size() == 4 ? 8 : 4) | static_cast<TPixel>(color.size() == 4 ? d * 17 : d);
    }
    return 0xFF000000u | rgb;
}

}  // namespace

std::optional<TIcon> IconFromXpm(std::span<const std::string_view> strings, std::string* error) {
    if (strings.empty()) return Fail(error, "no values line");
    const auto values = Words(strings[0]);
    if (values.size() < 4) return Fail(error, "values line needs width, height, colours and characters per pixel");
    const auto w = Number(values[0]), h = Number(values[1]), n = Number(values[2]), cpp = Number(values[3]);
    if (!w || !h || !n || !cpp) return Fail(error, "values line is not four numbers");
    if (*w < 1 || *h < 1 || *w > kXpmMaxSide || *h > kXpmMaxSide) return Fail(error, "size out of range");
    if (*n < 1 || *n > kXpmMaxColors || *cpp < 1 || *cpp > 4) return Fail(error, "palette out of range");
    if (strings.size() < static_cast<std::size_t>(1 + *n + *h)) return Fail(error, "fewer rows than the height");

    std::map<std::string_view, TPixel> palette;
    for (std::int32_t i = 0; i < *n; ++i) {
        const std::string_view line = strings[static_cast<std::size_t>(1 + i)];
        if (line.size() < static_cast<std::size_t>(*cpp)) return Fail(error, "short colour line");
        const std::string_view key = line.substr(0, static_cast<std::size_t>(*cpp));
        const auto words = Words(line.substr(static_cast<std::size_t>(*cpp)));
        std::optional<TPixel> color;
        for (std::size_t k = 0; k + 1 < words.size(); k += 2)
            if (words[k] == "c") color = ParseColor(words[k + 1]);
        if (!color) return Fail(error, "colour line without a readable \"c\" colour: " + std::string(line));
        if (!palette.emplace(key, *color).second) return Fail(error, "colour key used twice");
    }

    TImage image(*w, *h);
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(*w) * static_cast<std::size_t>(*h), 0);
    const std::size_t rowLength = static_cast<std::size_t>(*w) * static_cast<std::size_t>(*cpp);
    for (std::int32_t y = 0; y < *h; ++y) {
        const std::string_view row = strings[static_cast<std::size_t>(1 + *n + y)];
        if (row.size() != rowLength) return Fail(error, "row " + std::to_string(y) + " has the wrong length");
        for (std::int32_t x = 0; x < *w; ++x) {
            const auto it = palette.find(row.substr(static_cast<std::size_t>(x * *cpp), static_cast<std::size_t>(*cpp)));
            if (it == palette.end()) return Fail(error, "unknown colour key in row " + std::to_string(y));
            const bool opaque = it->second != 0;
            image.Set(x, y, opaque ? it->second : 0xFF000000u);
            mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(*w) + static_cast<std::size_t>(x)] = opaque;
        }
    }
    return TIcon(std::move(image), std::move(mask));
}

std::optional<TIcon> IconFromXpm(std::span<const char* const> strings, std::string* error) {
    std::vector<std::string_view> views(strings.begin(), strings.end());
    return IconFromXpm(std::span<const std::string_view>(views), error);
}

std::vector<std::string> XpmStringsFromText(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, 2) == "/*") {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 2;
        } else if (text.substr(i, 2) == "//") {
            const std::size_t end = text.find('\n', i);
            i = end == std::string_view::npos ? text.size() : end;
        } else if (text[i] == '"') {
            std::string s;
            ++i;
            while (i < text.size() && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < text.size()) ++i;
                s += text[i++];
            }
            ++i;
            out.push_back(std::move(s));
        } else {
            ++i;
        }
    }
    return out;
}

std::optional<TIcon> IconFromXpmText(std::string_view text, std::string* error) {
    const auto strings = XpmStringsFromText(text);
    std::vector<std::string_view> views(strings.begin(), strings.end());
    return IconFromXpm(std::span<const std::string_view>(views), error);
}

std::string XpmFromIcon(const TIcon& icon, std::string_view name) {
    // Printable characters that need no escape in a C string; ' ', '.' and '#'
    // first so small pictures stay easy to read.
    static constexpr std::string_view kKeys =
        " .#+@$%&*=-;:>,<1234567890qwertyuiopasdfghjklzxcvbnmMNBVCXZASDFGHJKLPOIUYTREWQ!~^/()_`'][{}|";
    const TImage& image = icon.Image();
    auto pixelAt = [&](std::int32_t x, std::int32_t y) -> TPixel {
        return icon.Opaque(x, y) ? (image.At(x, y) | 0xFF000000u) : 0;  // 0 stands for transparent
    };
    std::vector<TPixel> colors;
    std::unordered_map<TPixel, std::size_t> index;
    for (std::int32_t y = 0; y < image.Height(); ++y)
        for (std::int32_t x = 0; x < image.Width(); ++x)
            if (index.emplace(pixelAt(x, y), colors.size()).second) colors.push_back(pixelAt(x, y));
    std::size_t cpp = 1;
    for (std::size_t capacity = kKeys.size(); capacity < colors.size() && cpp < 4; capacity *= kKeys.size()) ++cpp;
    auto key = [&](std::size_t i) {
        std::string k(cpp, ' ');
        for (std::size_t d = cpp; d-- > 0; i /= kKeys.size()) k[d] = kKeys[i % kKeys.size()];
        return k;
    };

    std::ostringstream out;
    out << "/* XPM */\nstatic const char* " << name << "[] = {\n";
    out << '"' << image.Width() << ' ' << image.Height() << ' ' << colors.size() << ' ' << cpp << "\",\n";
    for (std::size_t i = 0; i < colors.size(); ++i) {
        out << '"' << key(i) << " c ";
        if (colors[i] == 0) {
            out << "None";
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out << '#';
            for (int shift = 20; shift >= 0; shift -= 4) out << kHex[colors[i] >> shift & 0xFu];
        }
        out << "\",\n";
    }
    for (std::int32_t y = 0; y < image.Height(); ++y) {
        out << '"';
        for (std::int32_t x = 0; x < image.Width(); ++x) out << key(index[pixelAt(x, y)]);
        out << (y + 1 < image.Height() ? "\",\n" : "\"\n");
    }
    out << "};\n";
    return out.str();
}

std::string XpmFromImage(const TImage& image, std::string_view name) {
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height()), 1);
    return XpmFromIcon(TIcon(image, std::move(mask)), name);
}

}  // namespace ratiscope
