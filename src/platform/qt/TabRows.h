// Where the tabs of a tab control go when one row is too narrow for them:
// wrapped into rows, the row of the chosen tab next to the pages. Plain
// arithmetic, kept apart from the widget so it is tested without Qt.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/Geometry.h"

namespace ratiscope {

// Tab indexes per row, top row first. Tabs fill each row in order while their
// widths fit `available`; a tab wider than that gets a row of its own. The
// row holding `selected` is rotated to the bottom, the rows below it moving
// to the top, so the chosen tab always touches its page. No tabs, no rows.
std::vector<std::vector<int>> WrapTabs(std::span<const std::int32_t> widths, std::int32_t available, int selected);

// The rectangle of every tab, indexed like `widths`: rows `tabHeight` high from
// y 0 down, starting at x 0. A single row keeps the natural widths; with
// several rows every row is stretched to `available`, the last tab taking the
// remainder.
std::vector<TRect> TabRects(std::span<const std::int32_t> widths, std::int32_t available, std::int32_t tabHeight,
                            int selected);

}  // namespace ratiscope
