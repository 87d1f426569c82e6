// The two looks built on the diagonals of the drawing rectangle: the golden
// triangles and the diagonal method, with the lengths their labels name.
#pragma once

#include <cstdint>

#include "overlay/Figure.h"
#include "overlay/SectionGeometry.h"

namespace ratiscope {

// The feet of the perpendiculars dropped onto the diagonal from the origin
// corner (X0, Y0) to the far corner (X1, Y1): from the corner (X1, Y0) and
// from the corner (X0, Y1). Each is given by its distances from the origin
// edges, as positive lengths, so every orientation mirrors them exactly.
struct TTriangleFeet {
    std::int32_t x1, y1;  // foot of the perpendicular from (X1, Y0)
    std::int32_t x2, y2;  // foot of the perpendicular from (X0, Y1)
};

// W x W x W / (W x W + H x H) and its companions, each rounded half to even;
// all zero for an empty rectangle.
TTriangleFeet GoldenTriangleFeet(std::int32_t width, std::int32_t height);

// How far a 45-degree line from a corner runs along each axis until it meets
// the opposite side: the shorter side, never below 0.
std::int32_t DiagonalReach(std::int32_t width, std::int32_t height);

// Frame; the diagonal from the origin corner to the far corner; the
// perpendiculars from (X1, Y0) and from (X0, Y1), each drawn from its corner.
void AppendGoldenTriangles(TFigure& out, const TFrame& f, const TFigureInput& in);

// Frame; from each corner in turn (X0, Y0), (X1, Y0), (X1, Y1), (X0, Y1) the
// 45-degree line into the rectangle, drawn from the corner.
void AppendDiagonalMethod(TFigure& out, const TFrame& f, const TFigureInput& in);

}  // namespace ratiscope
