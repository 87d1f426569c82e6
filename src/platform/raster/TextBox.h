// Where single-line text goes in a box and how it is shortened: one rule for
// the raster canvas and any other canvas that draws text in a box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Geometry.h"
#include "platform/TextEngine.h"

namespace ratiscope {

inline constexpr std::string_view kEllipsis = "...";

// The longest start of `text`, cut at a UTF-8 character boundary, that with
// "..." after it measures at most maxWidth; "..." alone when nothing fits.
// Text that already fits is returned unchanged. Measures O(log length) times.
std::string ShortenWithEllipsis(ITextMeasure& engine, std::string_view text, std::int32_t maxWidth);

struct TTextPlacement {
    std::string text;    // what to draw (shortened when tfEndEllipsis asks for it)
    std::int32_t x = 0;  // the point to hand to TextOut / ITextEngine::Draw
    std::int32_t y = 0;
};

// Places single-line text in the box by `format` (TTextFormat bits). Upright
// text is centred on the box width and aligned top, bottom or vertically
// centred on its height; halves are truncated toward zero. Text turned by 90
// degrees is placed the same way by its footprint (cell height across, length
// upward) and shortened to the box height, along which it runs. The text is
// never clipped to the box.
TTextPlacement PlaceTextInBox(ITextMeasure& engine, std::string_view text, TRect box, std::uint32_t format,
                              int angleDegrees);

}  // namespace ratiscope
