// The 2D drawing surface the overlay and the panel paint on. The raster
// implementation gives every backend the same pixels; a vector one writes SVG.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/Color.h"
#include "base/Geometry.h"

namespace ratiscope {

class TIcon;

// Options of DrawTextInBox, combinable.
enum TTextFormat : std::uint32_t {
    tfLeft = 0,
    tfCenter = 1,        // centre horizontally on the box
    tfTop = 0,
    tfVCenter = 2,       // centre vertically on the box
    tfBottom = 4,        // bottom of the text on the box's bottom
    tfEndEllipsis = 8,   // shorten with "..." at the end to fit the box width
};

class ICanvas {
public:
    virtual ~ICanvas() = default;

    // Makes the surface w x h pixels; its pen, colours and font survive. Content is undefined.
    virtual void Resize(std::int32_t width, std::int32_t height) = 0;
    virtual TSize Size() const = 0;

    // Every pixel of rect (clipped to the surface) gets the colour.
    virtual void FillRect(TRect rect, TColor color) = 0;

    // Colour of the following lines and ellipses (one-pixel solid pen).
    virtual void SetPenColor(TColor color) = 0;
    // Colour of the following texts; text has no background box.
    virtual void SetTextColor(TColor color) = 0;

    // The pen model: LineTo draws from the pen position to (x, y) without the
    // end point and leaves the pen there.
    virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
    virtual void LineTo(std::int32_t x, std::int32_t y) = 0;

    // Unfilled outline of the ellipse inscribed in the box; right and bottom exclusive.
    virtual void Ellipse(TRect box) = 0;

    // Font escapement in degrees: 0 for ordinary text, 90 for text that runs
    // upward, glyph tops facing left. The face is "Tahoma", 11-pixel cell, never antialiased.
    virtual void SetFontAngle(double degrees) = 0;

    // Width (along the baseline) and height in pixels that the UTF-8 text takes with the current font.
    virtual TSize MeasureText(std::string_view text) = 0;

    // Draws the text with its top-left corner, in its own direction, at (x, y).
    virtual void TextOut(std::int32_t x, std::int32_t y, std::string_view text) = 0;

    // Single-line text placed in the box by `format` (TTextFormat bits); never clipped to it.
    virtual void DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) = 0;

    // Draws the icon at its own size through its mask; an empty icon draws nothing.
    virtual void DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) = 0;

    // Fills the 4-connected area around (x, y) that is bounded by pixels of `border`.
    virtual void FloodFill(std::int32_t x, std::int32_t y, TColor border, TColor fill) = 0;
};

}  // namespace ratiscope
