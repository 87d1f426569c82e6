// The unfilled ellipse rule shared by every backend: symmetric by
// construction, clipped by iterating only the visible columns and rows.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/Geometry.h"

namespace ratiscope {

namespace ellipse_detail {

// The value of parity p (0 or 1) nearest to v >= 0, an exact half going
// outward, so a two-pixel-wide ellipse still reaches its box.
inline std::int64_t NearestWithParity(double v, std::int64_t p) {
    return 2 * static_cast<std::int64_t>(std::floor((v - static_cast<double>(p)) / 2 + 0.5)) + p;
}

}  // namespace ellipse_detail

// The outline of the ellipse inscribed in `box` (right and bottom exclusive):
// it touches columns left and right-1 and rows top and bottom-1, and is
// mirror-symmetric about both centre lines, also for even sizes whose centre
// falls between pixels.
//
// The rule, in doubled coordinates about the centre (u = 2x - (left+right-1),
// semi-axes A = width-1 and B = height-1, so half-pixel centres are exact):
// where the outline is flatter than 45 degrees every column gets the row
// nearest to B sqrt(1 - (u/A)^2); where it is steeper every row gets the
// nearest column. Each half covers at least its middle column or row, so
// thin boxes stay closed. An empty or inverted box draws nothing.
//
// Calls plot(x, y) for the pixels inside `clip`; a pixel where two of the
// four mirror images coincide may be plotted twice. Only the visible columns
// and rows are visited, so a huge box costs no more than the clip's size.
template <class Plot>
void ForEachEllipsePixel(TRect box, TRect clip, Plot&& plot) {
    using i64 = std::int64_t;
    const i64 width = i64{box.right} - box.left, height = i64{box.bottom} - box.top;
    if (width <= 0 || height <= 0) return;
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;

    const i64 A = width - 1, B = height - 1;
    const i64 cx2 = i64{box.left} + box.right - 1, cy2 = i64{box.top} + box.bottom - 1;
    const double a = static_cast<double>(A), b = static_cast<double>(B);
    const double diag = std::sqrt(a * a + b * b);
    // Where the slope is -1: u* = A^2 / sqrt(A^2 + B^2), v* = B^2 / sqrt(A^2 + B^2).
    const double uSplit = std::max(diag > 0 ? a * a / diag : 0.0, static_cast<double>(A % 2));
    const double vSplit = std::max(diag > 0 ? b * b / diag : 0.0, static_cast<double>(B % 2));

    auto inClipRow = [&](i64 y) { return y >= clip.top && y < clip.bottom; };
    auto inClipColumn = [&](i64 x) { return x >= clip.left && x < clip.right; };

    // Flat part: one row pair per column up to the first column past the split.
    {
        const i64 reach = static_cast<i64>(std::floor(uSplit)) + 2;
        const i64 xFrom = std::max<i64>({clip.left, box.left, (cx2 - reach + 1) / 2 - 1});
        const i64 xTo = std::min<i64>({i64{clip.right} - 1, i64{box.right} - 1, (cx2 + reach) / 2 + 1});
        for (i64 x = xFrom; x <= xTo; ++x) {
            const i64 u = std::llabs(2 * x - cx2);
            if (static_cast<double>(u) >= uSplit + 2) continue;
            // The two middle columns of an even width share the apex between them.
            const double t = A == 0 ? 0.0 : static_cast<double>(u == 1 ? 0 : u) / a;
            const i64 v = std::min(B, ellipse_detail::NearestWithParity(b * std::sqrt(std::max(0.0, 1 - t * t)), B % 2));
            const i64 yTop = (cy2 - v) / 2, yBottom = (cy2 + v) / 2;
            if (inClipRow(yTop)) plot(static_cast<std::int32_t>(x), static_cast<std::int32_t>(yTop));
            if (yBottom != yTop && inClipRow(yBottom)) plot(static_cast<std::int32_t>(x), static_cast<std::int32_t>(yBottom));
        }
    }
    // Steep part: one column pair per row up to the first row past the split.
    {
        const i64 reach = static_cast<i64>(std::floor(vSplit)) + 2;
        const i64 yFrom = std::max<i64>({clip.top, box.top, (cy2 - reach + 1) / 2 - 1});
        const i64 yTo = std::min<i64>({i64{clip.bottom} - 1, i64{box.bottom} - 1, (cy2 + reach) / 2 + 1});
        for (i64 y = yFrom; y <= yTo; ++y) {
            const i64 v = std::llabs(2 * y - cy2);
            if (static_cast<double>(v) >= vSplit + 2) continue;
            const double t = B == 0 ? 0.0 : static_cast<double>(v == 1 ? 0 : v) / b;
            const i64 u = std::min(A, ellipse_detail::NearestWithParity(a * std::sqrt(std::max(0.0, 1 - t * t)), A % 2));
            const i64 xLeft = (cx2 - u) / 2, xRight = (cx2 + u) / 2;
            if (inClipColumn(xLeft)) plot(static_cast<std::int32_t>(xLeft), static_cast<std::int32_t>(y));
            if (xRight != xLeft && inClipColumn(xRight)) plot(static_cast<std::int32_t>(xRight), static_cast<std::int32_t>(y));
        }
    }
}

}  // namespace ratiscope
