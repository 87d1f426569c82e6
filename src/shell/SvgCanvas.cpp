// SVG output by hand: the element set is small and fixed, and writing it
// directly keeps every coordinate exactly the integer the raster used.
#include "shell/SvgCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/TextEngine.h"
#include "platform/raster/TextBox.h"

namespace ratiscope {

namespace {

// The 11-pixel cell of the overlay font holds an em of about 9.11 pixels with
// the baseline the same distance below the cell's top (Tahoma's proportions).
constexpr std::string_view kFontSize = "9.11";
constexpr std::int32_t kBaselineTenths = 91;

std::string Hex(TColor c) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string s = "#000000";
    const unsigned rgb[3] = {c & 0xFFu, c >> 8 & 0xFFu, c >> 16 & 0xFFu};
    for (int i = 0; i < 3; ++i) {
        s[static_cast<std::size_t>(1 + 2 * i)] = digits[rgb[i] >> 4];
        s[static_cast<std::size_t>(2 + 2 * i)] = digits[rgb[i] & 0xFu];
    }
    return s;
}

std::string Num(std::int32_t v) {
    return std::to_string(v);
}

// Half-pixel values such as an ellipse's centre, without a trailing ".0".
std::string Halves(std::int64_t twice) {
    std::string s = std::to_string(twice / 2);
    if (twice % 2 != 0) {
        if (twice < 0 && twice / 2 == 0) s = "-0";
        s += ".5";
    }
    return s;
}

std::string Tenths(std::int64_t tenths) {
    std::string s = std::to_string(tenths / 10);
    const auto frac = tenths % 10;
    if (frac != 0) {
        if (tenths < 0 && tenths / 10 == 0) s = "-0";
        s += '.';
        s += static_cast<char>('0' + (frac < 0 ? -frac : frac));
    }
    return s;
}

// Length of the valid UTF-8 sequence at s[i] that XML allows, or 0.
std::size_t XmlCharLength(std::string_view s, std::size_t i, std::uint32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    if (b0 < 0x80) { cp = b0; len = 1; }
    else if ((b0 & 0xE0u) == 0xC0u) { cp = b0 & 0x1Fu; len = 2; }
    else if ((b0 & 0xF0u) == 0xE0u) { cp = b0 & 0x0Fu; len = 3; }
    else if ((b0 & 0xF8u) == 0xF0u) { cp = b0 & 0x07u; len = 4; }
    else return 0;
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0u) != 0x80u) return 0;
        cp = cp << 6 | (b & 0x3Fu);
    }
    static constexpr std::uint32_t kMinOf[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinOf[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF)
        return 0;
    if (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') return 0;
    return len;
}

}  // namespace

TXmlChar XmlCharAt(std::string_view text, std::size_t at) {
    std::uint32_t cp = 0;
    const std::size_t len = XmlCharLength(text, at, cp);
    if (len == 0) return {kReplacementChar, 1};
    if (cp == '\t' || cp == '\n' || cp == '\r') cp = ' ';
    return {static_cast<char32_t>(cp), len};
}

void AppendXmlText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const TXmlChar c = XmlCharAt(text, i);
        switch (c.codePoint) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case ' ': out += ' '; break;
        case kReplacementChar: out += "\xEF\xBF\xBD"; break;
        default: out.append(text.substr(i, c.length));
        }
        i += c.length;
    }
}

TSvgCanvas::TSvgCanvas(ITextMeasure& text, TColor transparent) : text_(text), transparent_(transparent) {}

void TSvgCanvas::Resize(std::int32_t width, std::int32_t height) {
    size_ = {std::max(width, 0), std::max(height, 0)};
    body_.clear();
    icons_.clear();
    run_.clear();
    inStrokeGroup_ = false;
}

void TSvgCanvas::BeginStrokeGroup() {
    if (inStrokeGroup_) return;
    // Strokes of one pixel on pixel centres, unsmoothed, like the raster lines.
    body_ += "<g fill=\"none\" stroke-width=\"1\" stroke-linecap=\"square\" transform=\"translate(0.5 0.5)\">\n";
    inStrokeGroup_ = true;
}

void TSvgCanvas::EndStrokeGroup() {
    EndPenRun();
    if (!inStrokeGroup_) return;
    body_ += "</g>\n";
    inStrokeGroup_ = false;
}

void TSvgCanvas::EndPenRun() {
    body_ += PenRunElement();
    run_.clear();
}

std::string TSvgCanvas::PenRunElement() const {
    // A MoveTo without a LineTo draws nothing.
    if (run_.size() < 4) return {};
    const std::string stroke = " stroke=\"" + Hex(penColor_) + "\"/>\n";
    if (run_.size() == 4)
        return "<line x1=\"" + Num(run_[0]) + "\" y1=\"" + Num(run_[1]) + "\" x2=\"" + Num(run_[2]) + "\" y2=\"" +
               Num(run_[3]) + "\"" + stroke;
    std::string e = "<polyline points=\"";
    for (std::size_t i = 0; i < run_.size(); i += 2) {
        if (i) e += ' ';
        e += Num(run_[i]) + "," + Num(run_[i + 1]);
    }
    return e + "\"" + stroke;
}

void TSvgCanvas::FillRect(TRect rect, TColor color) {
    if (color == transparent_) return;
    const TRect r{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, size_.width),
                  std::min(rect.bottom, size_.height)};
    if (r.left >= r.right || r.top >= r.bottom) return;
    EndStrokeGroup();
    body_ += "<rect x=\"" + Num(r.left) + "\" y=\"" + Num(r.top) + "\" width=\"" + Num(r.Width()) + "\" height=\"" +
             Num(r.Height()) + "\" fill=\"" + Hex(color) + "\"/>\n";
}

void TSvgCanvas::SetPenColor(TColor color) {
    if (color == penColor_) return;
    EndPenRun();
    penColor_ = color;
}

void TSvgCanvas::MoveTo(std::int32_t x, std::int32_t y) {
    EndPenRun();
    penX_ = x;
    penY_ = y;
}

void TSvgCanvas::LineTo(std::int32_t x, std::int32_t y) {
    BeginStrokeGroup();
    if (run_.empty()) run_ = {penX_, penY_};
    run_.push_back(x);
    run_.push_back(y);
    penX_ = x;
    penY_ = y;
}

void TSvgCanvas::Ellipse(TRect box) {
    // The raster outline runs through the centres of the box's outer pixels.
    if (box.Width() <= 0 || box.Height() <= 0) return;
    EndPenRun();
    BeginStrokeGroup();
    const std::int64_t l = box.left, t = box.top, r = box.right, b = box.bottom;
    body_ += "<ellipse cx=\"" + Halves(l + r - 1) + "\" cy=\"" + Halves(t + b - 1) + "\" rx=\"" + Halves(r - l - 1) +
             "\" ry=\"" + Halves(b - t - 1) + "\" stroke=\"" + Hex(penColor_) + "\"/>\n";
}

void TSvgCanvas::SetFontAngle(double degrees) {
    // The raster canvas's rule: a quarter turn up (900 tenths, modulo a full
    // turn) turns the text, anything else draws it upright.
    if (!std::isfinite(degrees) || std::fabs(degrees) > 1e6) {
        angle_ = 0;
        return;
    }
    auto tenths = static_cast<std::int64_t>(std::nearbyint(degrees * 10)) % 3600;
    if (tenths < 0) tenths += 3600;
    angle_ = tenths == 900 ? 90 : 0;
}

TSize TSvgCanvas::MeasureText(std::string_view text) {
    return text_.Measure(text);
}

void TSvgCanvas::TextOut(std::int32_t x, std::int32_t y, std::string_view text) {
    if (text.empty()) return;
    EndStrokeGroup();
    const std::int32_t width = text_.Measure(text).width;
    // Upright text hangs from its top; turned text starts at (x, y), runs
    // upward, and its glyph tops face left: the raster footprint.
    body_ += "<text x=\"" + Num(x) + "\" y=\"" + Tenths(std::int64_t{y} * 10 + kBaselineTenths) + "\"";
    if (angle_ == 90) body_ += " transform=\"rotate(-90 " + Num(x) + " " + Num(y) + ")\"";
    if (width > 0) body_ += " textLength=\"" + Num(width) + "\" lengthAdjust=\"spacingAndGlyphs\"";
    body_ += " fill=\"" + Hex(textColor_) + "\">";
    AppendXmlText(body_, text);
    body_ += "</text>\n";
}

void TSvgCanvas::DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) {
    if (text.empty()) return;
    const TTextPlacement p = PlaceTextInBox(text_, text, box, format, angle_);
    TextOut(p.x, p.y, p.text);
}

std::size_t TSvgCanvas::IconIndex(const TIcon& icon) {
    const auto same = [&](const TIcon& other) {
        if (other.Width() != icon.Width() || other.Height() != icon.Height()) return false;
        const auto bytes = static_cast<std::size_t>(icon.Width()) * static_cast<std::size_t>(icon.Height()) * 4;
        if (std::memcmp(other.Image().Data(), icon.Image().Data(), bytes) != 0) return false;
        for (std::int32_t y = 0; y < icon.Height(); ++y)
            for (std::int32_t x = 0; x < icon.Width(); ++x)
                if (other.Opaque(x, y) != icon.Opaque(x, y)) return false;
        return true;
    };
    for (std::size_t i = 0; i < icons_.size(); ++i)
        if (same(icons_[i])) return i;
    icons_.push_back(icon);
    return icons_.size() - 1;
}

void TSvgCanvas::DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) {
    if (icon.Empty()) return;
    EndStrokeGroup();
    body_ += "<use xlink:href=\"#icon" + std::to_string(IconIndex(icon)) + "\" x=\"" + Num(x) + "\" y=\"" + Num(y) +
             "\"/>\n";
}

void TSvgCanvas::FloodFill(std::int32_t, std::int32_t, TColor, TColor) {}

std::string TSvgCanvas::Document() const {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\"";
    out += " width=\"" + Num(size_.width) + "\" height=\"" + Num(size_.height) + "\" viewBox=\"0 0 " +
           Num(size_.width) + " " + Num(size_.height) + "\"";
    out += " shape-rendering=\"crispEdges\" font-family=\"Tahoma, 'DejaVu Sans', sans-serif\" font-size=\"";
    out += kFontSize;
    out += "px\">\n";
    if (!icons_.empty()) {
        // Each icon once, as runs of equal opaque pixels per row.
        out += "<defs>\n";
        for (std::size_t i = 0; i < icons_.size(); ++i) {
            const TIcon& icon = icons_[i];
            out += "<g id=\"icon" + std::to_string(i) + "\">\n";
            for (std::int32_t y = 0; y < icon.Height(); ++y) {
                for (std::int32_t x = 0; x < icon.Width();) {
                    if (!icon.Opaque(x, y)) {
                        ++x;
                        continue;
                    }
                    const TPixel p = icon.Image().At(x, y);
                    std::int32_t end = x + 1;
                    while (end < icon.Width() && icon.Opaque(end, y) && icon.Image().At(end, y) == p) ++end;
                    out += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(end - x) +
                           "\" height=\"1\" fill=\"" + Hex(ColorFromPixel(p)) + "\"/>\n";
                    x = end;
                }
            }
            out += "</g>\n";
        }
        out += "</defs>\n";
    }
    out += body_;
    // A pen run or stroke group still open belongs to the picture too.
    out += PenRunElement();
    if (inStrokeGroup_) out += "</g>\n";
    out += "</svg>\n";
    return out;
}

}  // namespace ratiscope
