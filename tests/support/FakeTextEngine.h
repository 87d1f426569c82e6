// Glyphs without fonts: pixel tests and golden images must not depend on
// which fonts a machine has installed.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Image.h"
#include "platform/TextEngine.h"

namespace ratiscope {

// Every character is a 6 x 11 cell: a stem in column 0 and a bar in row 1
// (so the glyph's top and start are recognisable at both angles), plus the
// low seven bits of the byte as dots in columns 2..4, rows 3..9. A space
// draws nothing. UTF-8 continuation bytes take no cell, so each code point
// is one cell.
class TFakeTextEngine final : public ITextEngine {
public:
    static constexpr std::int32_t kCellWidth = 6;
    static constexpr std::int32_t kCellHeight = 11;

    TSize Measure(std::string_view text) override {
        ++measureCalls;
        return {kCellWidth * CodePoints(text), kCellHeight};
    }

    void Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
              int angleDegrees) override {
        const TPixel pixel = 0xFF000000u | (rgb & 0xFFFFFFu);
        std::int32_t cell = 0;
        for (const char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            if ((c & 0xC0u) == 0x80u) continue;
            if (c != ' ') DrawCell(image, x, y, cell * kCellWidth, c, pixel, angleDegrees == 90);
            ++cell;
        }
    }

    // How often Measure ran: the ellipsis rule must not measure without bound.
    int measureCalls = 0;

    // Whether the cell pattern of byte `c` sets text-space pixel (u, v), u < 6, v < 11.
    static bool GlyphPixel(unsigned char c, std::int32_t u, std::int32_t v) {
        if (c == ' ') return false;
        if (u == 0 && v >= 1 && v <= 9) return true;
        if (v == 1 && u <= 4) return true;
        if (u < 2 || u > 4 || v < 3 || v > 9 || (v - 3) % 2 != 0) return false;
        const int bit = (v - 3) / 2 * 3 + (u - 2);
        return bit < 7 && (c >> bit & 1u) != 0;
    }

private:
    static std::int32_t CodePoints(std::string_view text) {
        std::int32_t n = 0;
        for (const char ch : text)
            if ((static_cast<unsigned char>(ch) & 0xC0u) != 0x80u) ++n;
        return n;
    }

    // Text-space (u, v) lands at (x + u, y + v) upright and at (x + v, y - 1 - u)
    // turned a quarter counter-clockwise: the footprint ITextEngine documents.
    static void DrawCell(TImage& image, std::int32_t x, std::int32_t y, std::int32_t u0, unsigned char c,
                         TPixel pixel, bool turned) {
        for (std::int32_t v = 0; v < kCellHeight; ++v)
            for (std::int32_t u = 0; u < kCellWidth; ++u) {
                if (!GlyphPixel(c, u, v)) continue;
                // 64-bit, so text placed at the ends of the 32-bit range is merely off the image.
                const std::int64_t px = turned ? std::int64_t{x} + v : std::int64_t{x} + u0 + u;
                const std::int64_t py = turned ? std::int64_t{y} - 1 - (u0 + u) : std::int64_t{y} + v;
                if (px >= 0 && py >= 0 && px < image.Width() && py < image.Height())
                    image.Set(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py), pixel);
            }
    }
};

}  // namespace ratiscope
