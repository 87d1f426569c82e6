// The canvas every backend paints with: our own pixel rules over a plain
// image, glyphs from the platform's text engine.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/TextEngine.h"

namespace ratiscope {

class TRasterCanvas final : public ICanvas {
public:
    // The engine must outlive the canvas.
    explicit TRasterCanvas(ITextEngine& text, std::int32_t width = 0, std::int32_t height = 0);

    TImage& Image() { return image_; }
    const TImage& Image() const { return image_; }

    void Resize(std::int32_t width, std::int32_t height) override;
    TSize Size() const override { return image_.Size(); }
    void FillRect(TRect rect, TColor color) override;
    void SetPenColor(TColor color) override { pen_ = PixelFromColor(color); }
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
    ITextEngine& engine_;
    TImage image_;
    TPixel pen_ = 0xFF000000u;
    TPixel text_ = 0xFF000000u;
    std::int32_t penX_ = 0;
    std::int32_t penY_ = 0;
    int angle_ = 0;
};

}  // namespace ratiscope
