// A window surface for the recording window system: it writes down every call,
// as TRecordingCanvas does, and also draws it into pixels, so tests can check
// both what was drawn where (hover feedback) and the picture the user sees.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/raster/RasterCanvas.h"
#include "support/FakeTextEngine.h"
#include "support/RecordingCanvas.h"

namespace ratiscope {

class TRecordingSurface final : public ICanvas {
public:
    // The drawing since the last new picture (or since a test cleared it).
    std::vector<std::string>& calls = recorder_.calls;

    std::vector<std::string> CallsOf(std::string_view prefix) const { return recorder_.CallsOf(prefix); }
    // The pixels drawn so far, 0xFFRRGGBB; text in the fake engine's glyphs.
    const TImage& Pixels() const { return raster_.Image(); }

    void Resize(std::int32_t width, std::int32_t height) override {
        recorder_.Resize(width, height);
        raster_.Resize(width, height);
    }
    TSize Size() const override { return raster_.Size(); }
    void FillRect(TRect rect, TColor color) override {
        recorder_.FillRect(rect, color);
        raster_.FillRect(rect, color);
    }
    void SetPenColor(TColor color) override {
        recorder_.SetPenColor(color);
        raster_.SetPenColor(color);
    }
    void SetTextColor(TColor color) override {
        recorder_.SetTextColor(color);
        raster_.SetTextColor(color);
    }
    void MoveTo(std::int32_t x, std::int32_t y) override {
        recorder_.MoveTo(x, y);
        raster_.MoveTo(x, y);
    }
    void LineTo(std::int32_t x, std::int32_t y) override {
        recorder_.LineTo(x, y);
        raster_.LineTo(x, y);
    }
    void Ellipse(TRect box) override {
        recorder_.Ellipse(box);
        raster_.Ellipse(box);
    }
    void SetFontAngle(double degrees) override {
        recorder_.SetFontAngle(degrees);
        raster_.SetFontAngle(degrees);
    }
    TSize MeasureText(std::string_view text) override { return recorder_.MeasureText(text); }
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override {
        recorder_.TextOut(x, y, text);
        raster_.TextOut(x, y, text);
    }
    void DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) override {
        recorder_.DrawTextInBox(text, box, format);
        raster_.DrawTextInBox(text, box, format);
    }
    void DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) override {
        recorder_.DrawIcon(icon, x, y);
        raster_.DrawIcon(icon, x, y);
    }
    void FloodFill(std::int32_t x, std::int32_t y, TColor border, TColor fill) override {
        recorder_.FloodFill(x, y, border, fill);
        raster_.FloodFill(x, y, border, fill);
    }

private:
    TRecordingCanvas recorder_;
    TFakeTextEngine text_;
    TRasterCanvas raster_{text_};
};

}  // namespace ratiscope
