// The canvas every backend paints with: our own pixel rules over a plain
// image, glyphs from the platform's text engine.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/TextEngine.h"
#include "platform/raster/LineBatch.h"

namespace ratiscope {

class TRasterCanvas final : public ICanvas {
public:
    // The engine must outlive the canvas.
    explicit TRasterCanvas(ITextEngine& text, std::int32_t width = 0, std::int32_t height = 0);

    // The pixels, with every drawing call made so far in them. Horizontal and
    // vertical lines are written in batches: take the image anew after drawing rather than
    // reading through a reference taken before.
    TImage& Image() {
        Flush();
        return image_;
    }
    const TImage& Image() const {
        Flush();
        return image_;
    }

    void Resize(std::int32_t width, std::int32_t height) override;
    TSize Size() const override { return image_.Size(); }
    void FillRect(TRect rect, TColor color) override;
    void SetPenColor(TColor color) override;
    void SetTextColor(TColor color) override { text_ = PixelFromColor(color); }
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void Ellipse(TRect box) override;
    // round(degrees x 10) tenths, halves to even; 900 turns text upward, anything else draws it upright.
    void SetFontAngle(double degrees) override;
    TSize MeasureText(std::string_view text) override;
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override;
    void DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) override;
    void DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) override;
    void FloodFill(std::int32_t x, std::int32_t y, TColor border, TColor fill) override;

    // The pen position and the text angle (0 or 90) in effect.
    std::int32_t PenX() const { return penX_; }
    std::int32_t PenY() const { return penY_; }
    int FontAngle() const { return angle_; }

private:
    // Writes the batched lines; every operation that draws in another
    // colour or reads pixels calls it first.
    void Flush() const { lines_.Flush(image_, pen_); }

    ITextEngine& engine_;
    // Mutable because reading the picture completes the batched lines, which
    // changes no pixel anyone has seen.
    mutable TImage image_;
    // Lines waiting to be written, all in the colour of pen_. Slanted lines
    // and ellipses go in as pixels: written at once they would make an owed
    // whole-image fill due on its own and miss the cache on every row.
    mutable TLineBatch lines_;
    TPixel pen_ = 0xFF000000u;
    TPixel text_ = 0xFF000000u;
    std::int32_t penX_ = 0;
    std::int32_t penY_ = 0;
    int angle_ = 0;
};

}  // namespace ratiscope
