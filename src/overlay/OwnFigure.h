// A figure file's statements turned into the overlay's primitives, placed in
// the section rectangle of the orientation like the built-in looks.
#pragma once

#include <cstdint>
#include <vector>

#include "overlay/SectionGeometry.h"
#include "settings/FigureFile.h"

namespace ratiscope {

// Appends the figure's primitives to `out` in the file's order. A fraction f
// of the width lies round(f x Width) pixels from the origin edge, the
// distance every orientation shares, so the four orientations mirror
// exactly; an included look is drawn with `in`'s other settings.
void BuildOwnFigure(const TUserFigure& figure, const TFigureInput& in, TFigure& out);

// Where the figure's own lines stand, for their values: the distances in
// pixels from the origin edges of the vertical lines (`across`) and the
// horizontal ones (`down`), each inside the rectangle, ascending and once;
// and the built-in looks it includes, once each in the file's order.
struct TOwnFigureMarks {
    std::vector<std::int32_t> across, down;
    std::vector<TLook> looks;
};

TOwnFigureMarks OwnFigureMarks(const TUserFigure& figure, const TFigureInput& in);

// True when the figure drawn holds the grid, look 0 or a figure of one's own
// that includes it: Shift with the wheel then changes its step.
bool DrawsGrid(const TFigureInput& in);

}  // namespace ratiscope
