// The raster canvas: lines, ellipses, fills, icons and text on a TImage.
#include "platform/raster/RasterCanvas.h"

#include <algorithm>
#include <cmath>

#include "platform/raster/EllipseRaster.h"
#include "platform/raster/LineRaster.h"
#include "platform/raster/RasterOps.h"
#include "platform/raster/TextBox.h"
#include "platform/raster/VectorState.h"

namespace ratiscope {

TRasterCanvas::TRasterCanvas(ITextEngine& text, std::int32_t width, std::int32_t height)
    : engine_(text), image_(width, height) {}

namespace {

// The most lines and pixels held back at once; past it they are written, so
// the batch's memory stays bounded however many lines a paint draws.
constexpr std::size_t kMaxBatchedLines = std::size_t{1} << 18;

}  // namespace

void TRasterCanvas::Resize(std::int32_t width, std::int32_t height) {
    // Every paint starts here, often right after the platform has drawn with
    // wide vector instructions; the arithmetic of the paint must not pay for them.
    ClearWideVectorState();
    if (image_.Width() == width && image_.Height() == height) return;
    // The content becomes undefined, and so do lines not yet written.
    lines_.Clear();
    image_.SetSize(width, height);
}

void TRasterCanvas::FillRect(TRect rect, TColor color) {
    // A fill of the whole image covers whatever the batched lines would write.
    if (rect.left <= 0 && rect.top <= 0 && rect.right >= image_.Width() && rect.bottom >= image_.Height())
        lines_.Clear();
    else
        Flush();
    FillImageRect(image_, rect, PixelFromColor(color));
}

void TRasterCanvas::SetPenColor(TColor color) {
    const TPixel pen = PixelFromColor(color);
    if (pen == pen_) return;
    Flush();
    pen_ = pen;
}

void TRasterCanvas::MoveTo(std::int32_t x, std::int32_t y) {
    penX_ = x;
    penY_ = y;
}

void TRasterCanvas::LineTo(std::int32_t x, std::int32_t y) {
    const std::int32_t x0 = penX_, y0 = penY_;
    penX_ = x;
    penY_ = y;
    const std::int32_t w = image_.Width(), h = image_.Height();
    if (w == 0 || h == 0) return;

    // Fast path: horizontal and vertical lines are clipped runs, batched
    // and written row by row later. Other lines and ellipses in the pen
    // colour may go on meanwhile: they write the same colour and read
    // nothing, so their order does not matter.
    if (y0 == y) {
        if (y0 < 0 || y0 >= h || x0 == x) return;
        // Pixels x0 .. x-1 going right, x+1 .. x0 going left.
        const std::int64_t from = x > x0 ? x0 : std::int64_t{x} + 1, to = x > x0 ? std::int64_t{x} : std::int64_t{x0} + 1;
        lines_.AddRow(y0, static_cast<std::int32_t>(std::max<std::int64_t>(from, 0)),
                      static_cast<std::int32_t>(std::min<std::int64_t>(to, w)));
    } else if (x0 == x) {
        if (x0 < 0 || x0 >= w) return;
        const std::int64_t from = y > y0 ? y0 : std::int64_t{y} + 1, to = y > y0 ? std::int64_t{y} : std::int64_t{y0} + 1;
        lines_.AddColumn(x0, static_cast<std::int32_t>(std::max<std::int64_t>(from, 0)),
                         static_cast<std::int32_t>(std::min<std::int64_t>(to, h)));
    }
    if (y0 != y && x0 != x) {
        TLineBatch& batch = lines_;
        ForEachLinePixel(x0, y0, x, y, TRect{0, 0, w, h}, [&batch](std::int32_t px, std::int32_t py) { batch.AddPixel(px, py); });
    }
    if (lines_.Count() >= kMaxBatchedLines) Flush();
}

void TRasterCanvas::Ellipse(TRect box) {
    if (image_.Width() == 0 || image_.Height() == 0) return;
    TLineBatch& batch = lines_;
    ForEachEllipsePixel(box, TRect{0, 0, image_.Width(), image_.Height()},
                        [&batch](std::int32_t px, std::int32_t py) { batch.AddPixel(px, py); });
    if (lines_.Count() >= kMaxBatchedLines) Flush();
}

void TRasterCanvas::SetFontAngle(double degrees) {
    if (!std::isfinite(degrees) || std::fabs(degrees) > 1e6) {
        angle_ = 0;
        return;
    }
    auto tenths = static_cast<std::int64_t>(std::nearbyint(degrees * 10)) % 3600;
    if (tenths < 0) tenths += 3600;
    angle_ = tenths == 900 ? 90 : 0;
}

TSize TRasterCanvas::MeasureText(std::string_view text) { return engine_.Measure(text); }

void TRasterCanvas::TextOut(std::int32_t x, std::int32_t y, std::string_view text) {
    if (text.empty() || image_.Width() == 0 || image_.Height() == 0) return;
    Flush();
    engine_.Draw(image_, x, y, text, text_ & 0xFFFFFFu, angle_);
}

void TRasterCanvas::DrawTextInBox(std::string_view text, TRect box, std::uint32_t format) {
    if (text.empty()) return;
    const TTextPlacement p = PlaceTextInBox(engine_, text, box, format, angle_);
    TextOut(p.x, p.y, p.text);
}

void TRasterCanvas::DrawIcon(const TIcon& icon, std::int32_t x, std::int32_t y) {
    Flush();
    DrawIconOnto(image_, icon, x, y);
}

void TRasterCanvas::FloodFill(std::int32_t x, std::int32_t y, TColor border, TColor fill) {
    Flush();
    FloodFillImage(image_, x, y, PixelFromColor(border), PixelFromColor(fill));
}

}  // namespace ratiscope
