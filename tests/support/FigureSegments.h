// A figure as a sorted set of segments with unordered end points, so two
// figures compare equal when they draw the same pixels in any order and
// direction; `map` mirrors every point first.
#pragma once

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "overlay/Figure.h"

namespace ratiscope::testing {

using TSegment = std::tuple<int, int, int, int>;  // x1, y1, x2, y2 with (x1, y1) <= (x2, y2)

inline TSegment Normalised(TPoint a, TPoint b) {
    if (std::tie(b.x, b.y) < std::tie(a.x, a.y)) std::swap(a, b);
    return {a.x, a.y, b.x, b.y};
}

// Every line, polyline segment and circle box, mirrored by `map`.
template <class Map>
std::vector<TSegment> Segments(const TFigure& f, Map map) {
    std::vector<TSegment> out;
    for (const auto& p : f.primitives) {
        auto pts = f.PointsOf(p);
        if (p.kind == TPrimitiveKind::Circle) {
            // A box is mirrored edge for edge: the exclusive right edge maps to an exclusive left.
            TPoint a = map(pts[0]), b = map(pts[1]);
            const int l = std::min(a.x, b.x), r = std::max(a.x, b.x);
            const int t = std::min(a.y, b.y), bo = std::max(a.y, b.y);
            const bool flipX = a.x > b.x, flipY = a.y > b.y;
            out.push_back({l + flipX, t + flipY, r + flipX, bo + flipY});
            continue;
        }
        for (std::size_t i = 1; i < pts.size(); ++i) out.push_back(Normalised(map(pts[i - 1]), map(pts[i])));
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace ratiscope::testing
