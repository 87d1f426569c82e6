// The panel's sizes at the current DPI: every control scaled from its 96-dpi
// design, and the window, its plain panel and its tab control placed.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

namespace ratiscope {

struct TPanelControls;

// v x dpi / 96 without intermediate rounding, rounded to the nearest integer
// with halves away from zero. A DPI below 1 (an odd screen report) counts as 96.
std::int32_t ScaleToDpi(std::int32_t v, int dpi);

// The DPI a screen report is used as: below 1 is unusable and counts as 96.
int UsableDpi(int dpi);

struct TPanelLayout {
    TSize window;
    TRect panel;        // the plain container below the 16-pixel caption strip
    TRect pageControl;  // inside the panel
    std::int32_t colorItemHeight;
};

// The window is 175 wide and 5 tab heights + 320 high (both scaled); the
// caption strip above the panel is never scaled.
TPanelLayout ComputePanelLayout(int dpi, std::int32_t tabHeight);

// Places every control inside the tab control at its design place and gives
// it the panel's typeface, both scaled to `dpi`.
void ScaleControls(const TPanelControls& controls, int dpi);

// Sizes the window's parts: ComputePanelLayout with the height of the second
// tab as the tab control reports it once it has its width, applied to the
// panel, the tab control and the colour lists. Returns the window size to apply.
TSize LayoutPanel(const TPanelControls& controls, int dpi);

}  // namespace ratiscope
