// The one thing drawing takes from the platform: glyphs. Everything else is our own raster code.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/Geometry.h"

namespace ratiscope {

class TImage;

// What placing text needs: its size. Apart from the glyph engines below, a
// vector picture measures with a fixed table (shell/LabelFont.h), so its
// layout is the same whichever machine writes it.
class ITextMeasure {
public:
    virtual ~ITextMeasure() = default;

    // Width along the baseline and cell height, in pixels, of UTF-8 text at the
    // given escapement (0 or 90 degrees; the size is the same for both).
    virtual TSize Measure(std::string_view text) = 0;
};

// Glyphs of the platform's font: measured and drawn.
class ITextEngine : public ITextMeasure {
public:
    // Draws the text non-antialiased into the image: every text pixel gets exactly
    // `rgb` (0x00RRGGBB). (x, y) is the top-left of the text in its own
    // direction; at 90 degrees the text runs upward from y, glyph tops facing left.
    virtual void Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text,
                      std::uint32_t rgb, int angleDegrees) = 0;
};

}  // namespace ratiscope
