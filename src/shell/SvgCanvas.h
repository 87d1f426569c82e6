// A canvas that writes the overlay's picture as SVG vectors, so the figure and
// its values can be laid over a photo at any zoom in a browser or an editor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Image.h"

namespace ratiscope {

class ITextMeasure;

// Lines become <line> and <polyline>, ellipses <ellipse>, texts <text> with
// the raster canvas's anchors and angles, icons <use> of pixel-run groups.
// Figure coordinates are the raster's integers; strokes sit on pixel centres.
class TSvgCanvas final : public ICanvas {
public:
    // `text` measures the texts for the same placing rules the raster canvas
    // uses (the export hands in the label font's table, so the layout does not
    // depend on the machine). Fills in `transparent` (the key colour) are left
    // out: the SVG background is transparent anyway.
    TSvgCanvas(ITextMeasure& text, TColor transparent);

    // The complete document of everything drawn since the last Resize.
    std::string Document() const;

    // Starts an empty picture of the new size.
    void Resize(std::int32_t width, std::int32_t height) override;
    TSize Size() const override { return size_; }
    void FillRect(TRect rect, TColor color) override;
    void SetPenColor(TColor color) override;
    void SetTextColor(TColor color) override { textColor_ = color; }
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void Ellipse(TRect box) override;
    void SetFontAngle(double degrees) override;
    TSize MeasureText(std::string_view text) override;
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override;
    void DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) override;
    void DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) override;
    // A vector picture has no pixels to bound a fill by, so this draws nothing;
    // the overlay's picture never asks for one.
    void FloodFill(std::int32_t x, std::int32_t y, TColor border, TColor fill) override;

private:
    void EndPenRun();
    std::string PenRunElement() const;
    void BeginStrokeGroup();
    void EndStrokeGroup();
    std::size_t IconIndex(const TIcon& icon);

    ITextMeasure& text_;
    TColor transparent_;
    TSize size_;
    TColor penColor_ = 0;
    TColor textColor_ = 0;
    int angle_ = 0;
    std::int32_t penX_ = 0, penY_ = 0;
    // Points of the pen's current run of LineTo calls; the first is the start.
    std::vector<std::int32_t> run_;
    bool inStrokeGroup_ = false;
    std::string body_;
    std::vector<TIcon> icons_;
};

// One character of UTF-8 text as the SVG writes it, and the bytes it takes:
// a byte that starts no valid sequence, or a character XML forbids, is one
// U+FFFD; tabs and line breaks are blanks.
struct TXmlChar {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
inline constexpr char32_t kReplacementChar = 0xFFFD;
// `at` must be below text.size().
TXmlChar XmlCharAt(std::string_view text, std::size_t at);

// Appends `text` as XML character data: markup characters escaped, invalid
// UTF-8 and characters XML forbids replaced by U+FFFD, line breaks as blanks.
void AppendXmlText(std::string& out, std::string_view text);

}  // namespace ratiscope
