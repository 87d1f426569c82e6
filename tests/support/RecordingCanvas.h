// A canvas that only writes down what it was asked to draw, one text line per
// call, so logic tests can state the expected drawing order plainly.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "support/FakeTextEngine.h"

namespace ratiscope {

// Lines look like "LineTo 12,28", "FillRect 0,0,420,285 16646398",
// "TextOut 14,1 \"abc\"", "DrawTextInBox \"abc\" 14,1,356,15 10",
// "DrawIcon 64x16 356,0", "FloodFill 4,4 8421504 16777215", "SetFontAngle 90".
// Colours are decimal 0x00BBGGRR values, as the settings file writes them.
// Text is measured like TFakeTextEngine: 6 pixels a code point, 11 high.
class TRecordingCanvas final : public ICanvas {
public:
    std::vector<std::string> calls;
    // MeasureText is asked so often by label layout that recording it is opt-in.
    bool recordMeasure = false;

    // The recorded lines that begin with `prefix` (e.g. "LineTo").
    std::vector<std::string> CallsOf(std::string_view prefix) const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (std::string_view(c).substr(0, prefix.size()) == prefix) out.push_back(c);
        return out;
    }

    void Resize(std::int32_t width, std::int32_t height) override {
        size_ = {width < 0 ? 0 : width, height < 0 ? 0 : height};
        Add("Resize " + Pair(width, height));
    }
    TSize Size() const override { return size_; }

    void FillRect(TRect r, TColor color) override { Add("FillRect " + Rect(r) + " " + std::to_string(color)); }
    void SetPenColor(TColor color) override { Add("SetPenColor " + std::to_string(color)); }
    void SetTextColor(TColor color) override { Add("SetTextColor " + std::to_string(color)); }
    void MoveTo(std::int32_t x, std::int32_t y) override { Add("MoveTo " + Pair(x, y)); }
    void LineTo(std::int32_t x, std::int32_t y) override { Add("LineTo " + Pair(x, y)); }
    void Ellipse(TRect box) override { Add("Ellipse " + Rect(box)); }

    void SetFontAngle(double degrees) override {
        std::string d = std::to_string(std::nearbyint(degrees * 10) / 10);
        d.erase(d.find_last_not_of('0') + 1);
        if (!d.empty() && d.back() == '.') d.pop_back();
        Add("SetFontAngle " + d);
    }

    TSize MeasureText(std::string_view text) override {
        if (recordMeasure) Add("MeasureText " + Quoted(text));
        return engine_.Measure(text);
    }
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override {
        Add("TextOut " + Pair(x, y) + " " + Quoted(text));
    }
    void DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) override {
        Add("DrawTextInBox " + Quoted(text) + " " + Rect(box) + " " + std::to_string(format));
    }
    void DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) override {
        Add("DrawIcon " + std::to_string(icon.Width()) + "x" + std::to_string(icon.Height()) + " " + Pair(x, y));
    }
    void FloodFill(std::int32_t x, std::int32_t y, TColor border, TColor fill) override {
        Add("FloodFill " + Pair(x, y) + " " + std::to_string(border) + " " + std::to_string(fill));
    }

private:
    void Add(std::string line) { calls.push_back(std::move(line)); }
    static std::string Pair(std::int32_t a, std::int32_t b) { return std::to_string(a) + "," + std::to_string(b); }
    static std::string Rect(TRect r) { return Pair(r.left, r.top) + "," + Pair(r.right, r.bottom); }
    static std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

    TSize size_;
    TFakeTextEngine engine_;
};

}  // namespace ratiscope
