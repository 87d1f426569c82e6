// The one-pixel line rule shared by every backend, with clipping done by
// arithmetic so a line that starts far off the image costs only its visible part.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "base/Geometry.h"
#include "platform/raster/WideDivision.h"

namespace ratiscope {

// The pixels of the line from (x0, y0) towards (x1, y1), the end point
// excluded, so a polyline lights each joint once.
//
// The rule: let n = max(|dx|, |dy|) and m = min(|dx|, |dy|). The line has n
// pixels, i = 0 .. n-1, one per step along the major axis; the minor axis
// advances by f(i) = the integer nearest to i * m / n, an exact half going
// back towards the start (f(i) = floor((2 i m + n - 1) / 2n)). Because f
// depends only on the distance from the start and never on the signs of dx
// and dy, a line mirrored in x or in y (keeping its direction) lights exactly
// the mirrored pixels: the figures of the four orientations meet exactly.
// A zero-length line lights nothing.
//
// Calls plot(x, y) for the pixels inside `clip`, in drawing order. The
// visible range of i is solved up front in exact arithmetic (products of
// up to 66 bits), so coordinates anywhere in the 32-bit range never loop over
// off-clip pixels.
template <class Plot>
void ForEachLinePixel(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, TRect clip, Plot&& plot) {
    using i64 = std::int64_t;
    const i64 dx = i64{x1} - x0, dy = i64{y1} - y0;
    if (dx == 0 && dy == 0) return;
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;

    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const i64 n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const i64 m = xMajor ? std::llabs(dy) : std::llabs(dx);
    const i64 sa = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const i64 sb = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const i64 a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
    const i64 aMin = xMajor ? clip.left : clip.top, aMax = (xMajor ? clip.right : clip.bottom) - i64{1};
    const i64 bMin = xMajor ? clip.top : clip.left, bMax = (xMajor ? clip.bottom : clip.right) - i64{1};

    // Both ends inside the clip: every pixel is, and no bound needs solving
    // (the divisions below cost more than a short line's pixels).
    const auto inside = [&clip](i64 x, i64 y) { return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom; };
    if (inside(x0, y0) && inside(x1, y1)) {
        i64 a = a0, b = b0, r = n - 1;
        for (i64 i = 0; i < n; ++i) {
            if (xMajor)
                plot(static_cast<std::int32_t>(a), static_cast<std::int32_t>(b));
            else
                plot(static_cast<std::int32_t>(b), static_cast<std::int32_t>(a));
            a += sa;
            r += 2 * m;
            if (r >= 2 * n) {
                r -= 2 * n;
                b += sb;
            }
        }
        return;
    }

    // Steps whose major coordinate is visible.
    i64 first = sa > 0 ? aMin - a0 : a0 - aMax;
    i64 last = sa > 0 ? aMax - a0 : a0 - aMin;
    if (first < 0) first = 0;
    if (last > n - 1) last = n - 1;
    if (first > last) return;

    // Steps whose minor offset f(i) lies in [lo, hi]; f never decreases.
    const i64 lo = sb > 0 ? bMin - b0 : b0 - bMax;
    const i64 hi = sb > 0 ? bMax - b0 : b0 - bMin;
    if (hi < 0) return;
    if (m == 0) {
        if (lo > 0) return;
    } else {
        // f(i) <= m for every step, so an offset past m is never reached and
        // a bound of m or more bounds nothing.
        if (lo > m) return;
        if (lo > 0) {
            // f(i) >= lo  <=>  2 i m >= n (2 lo - 1) + 1  <=>  i > n (2 lo - 1) / 2m
            const auto i = static_cast<i64>(MulAddDivide(n, 2 * lo - 1, 0, 2 * m).quotient) + 1;
            if (i > last) return;
            if (i > first) first = i;
        }
        if (hi < m) {
            // f(i) <= hi  <=>  2 i m <= n (2 hi + 1)
            const auto i = static_cast<i64>(MulAddDivide(n, 2 * hi + 1, 0, 2 * m).quotient);
            if (i < last) last = i;
            if (first > last) return;
        }
    }

    // Incremental walk: r is (2 i m + n - 1) mod 2n.
    const TWideQuotient start = MulAddDivide(first, 2 * m, n - 1, 2 * n);
    i64 b = b0 + sb * static_cast<i64>(start.quotient);
    i64 r = static_cast<i64>(start.remainder);
    i64 a = a0 + sa * first;
    for (i64 i = first; i <= last; ++i) {
        if (xMajor)
            plot(static_cast<std::int32_t>(a), static_cast<std::int32_t>(b));
        else
            plot(static_cast<std::int32_t>(b), static_cast<std::int32_t>(a));
        a += sa;
        r += 2 * m;
        if (r >= 2 * n) {
            r -= 2 * n;
            b += sb;
        }
    }
}

}  // namespace ratiscope
