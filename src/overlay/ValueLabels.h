// The pixel values written beside each look's lines: which texts, how they are
// formed and where they go. Drawn in the current text colour, after the lines.
#pragma once

#include <cstdint>
#include <string>

#include "overlay/SectionGeometry.h"

namespace ratiscope {

class ICanvas;
class TLangTable;

// The chain of lengths the ratio makes from `length`: the next larger member,
// then `length` and its successors while they are 2 or more, at most 22
// numbers ("641,396,245,...,2" for 396 and the golden factor).
std::string RatioSequenceText(std::int32_t length, double r);

// Every label of the current look, in the look's order. `texts` supplies the
// size and grid size templates; a template that does not fit shows as written.
void DrawValueLabels(ICanvas& canvas, const TFigureInput& in, const TLangTable& texts);

// The label groups, each setting the font angle it needs first.
void DrawSizeLabel(ICanvas& canvas, const TFigureInput& in, const TLangTable& texts);
void DrawGridLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts);
void DrawRatioLineLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r);
void DrawHalfLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f);
void DrawSequenceLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r);
void DrawFarSequenceLabel(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r);
void DrawSpacingLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r);
void DrawCanonLabels(ICanvas& canvas, const TFigureInput& in, const TCanon& canon);
// Golden triangles: where the feet of the two perpendiculars lie, as
// distances from the origin edges, above the rectangle and in the left margin.
void DrawTriangleLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f);
// Diagonal method: where the 45-degree lines meet the far sides, as distances
// from the origin edge (above the rectangle, or in the left margin when it
// stands upright).
void DrawDiagonalLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f);
// A figure of the user's own: the labels of the looks it includes (else the
// size), and the distance of each of its lines from the origin edges.
void DrawOwnFigureLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts);

}  // namespace ratiscope
