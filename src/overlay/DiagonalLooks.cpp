// Golden triangles and the diagonal method. Lengths are computed as positive
// distances from the origin corner and only then given the frame's
// directions, so the four orientations mirror each other exactly.
#include "overlay/DiagonalLooks.h"

#include <algorithm>

#include "base/Numbers.h"

namespace ratiscope {

TTriangleFeet GoldenTriangleFeet(std::int32_t width, std::int32_t height) {
    // Exact in double: each product stays below 2^53 for sides up to 2^17.
    const double w = width, h = height;
    const double squares = w * w + h * h;
    if (!(squares > 0)) return {};
    return {RoundToInt(w * w * w / squares), RoundToInt(h * w * w / squares), RoundToInt(w * h * h / squares),
            RoundToInt(h * h * h / squares)};
}

std::int32_t DiagonalReach(std::int32_t width, std::int32_t height) { return std::max(0, std::min(width, height)); }

void AppendGoldenTriangles(TFigure& out, const TFrame& f, const TFigureInput& in) {
    AddFrame(out, f);
    out.AddLine({f.X0, f.Y0}, {f.X1, f.Y1});
    const TTriangleFeet feet = GoldenTriangleFeet(in.Width, in.Height);
    out.AddLine({f.X1, f.Y0}, {f.X0 + feet.x1 * f.DX, f.Y0 + feet.y1 * f.DY});
    out.AddLine({f.X0, f.Y1}, {f.X0 + feet.x2 * f.DX, f.Y0 + feet.y2 * f.DY});
}

void AppendDiagonalMethod(TFigure& out, const TFrame& f, const TFigureInput& in) {
    AddFrame(out, f);
    const std::int32_t ix = DiagonalReach(in.Width, in.Height) * f.DX;
    const std::int32_t iy = DiagonalReach(in.Width, in.Height) * f.DY;
    out.AddLine({f.X0, f.Y0}, {f.X0 + ix, f.Y0 + iy});
    out.AddLine({f.X1, f.Y0}, {f.X1 - ix, f.Y0 + iy});
    out.AddLine({f.X1, f.Y1}, {f.X1 - ix, f.Y1 - iy});
    out.AddLine({f.X0, f.Y1}, {f.X0 + ix, f.Y1 - iy});
}

}  // namespace ratiscope
