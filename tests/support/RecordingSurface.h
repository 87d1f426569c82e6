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
        Both([&](ICanvas& c) { c.Resize(width, height); });
    }
    TSize Size() const override { return raster_.Size(); }
    void FillRect(TRect rect, TColor color) override { Both([&](ICanvas& c) { c.FillRect(rect, color); }); }
    void SetPenColor(TColor color) override { Both([&](ICanvas& c) { c.SetPenColor(color); }); }
    void SetTextColor(TColor color) override { Both([&](ICanvas& c) { c.SetTextColor(color); }); }
    void MoveTo(std::int32_t x, std::int32_t y) override { Both([&](ICanvas& c) { c.MoveTo(x, y); }); }
    void LineTo(std::int32_t x, std::int32_t y) override { Both([&](ICanvas& c) { c.LineTo(x, y); }); }
    void Ellipse(TRect box) override { Both([&](ICanvas& c) { c.Ellipse(box); }); }
    void SetFontAngle(double degrees) override { Both([&](ICanvas& c) { c.SetFontAngle(degrees); }); }
    TSize MeasureText(std::string_view text) override { return recorder_.MeasureText(text); }
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override {
        Both([&](ICanvas& c) { c.TextOut(x, y, text); });
    }
    void DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) override {
        Both([&](ICanvas& c) { c.DrawTextInBox(text, box, format); });
    }
    void DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) override {
        Both([&](ICanvas& c) { c.DrawIcon(icon, x, y); });
    }
    void FloodFill(std::int32_t x, std::int32_t y, TColor border, TColor fill) override {
        Both([&](ICanvas& c) { c.FloodFill(x, y, border, fill); });
    }

private:
    // Every drawing call goes to the record and to the pixels alike.
    template <class Call>
    void Both(const Call& call) {
        call(recorder_);
        call(raster_);
    }

    TRecordingCanvas recorder_;
    TFakeTextEngine text_;
    TRasterCanvas raster_{text_};
};

}  // namespace ratiscope
