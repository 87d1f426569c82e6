// Scaling arithmetic and placement of the panel's controls.
#include "panel/PanelLayout.h"

#include <cmath>

#include "overlay/OverlaySize.h"
#include "panel/PanelControls.h"

namespace ratiscope {

namespace {

constexpr std::int32_t kFontHeight = 9;
constexpr std::int32_t kOptionItemHeight = 11;
constexpr std::int32_t kOptionScrollExtent = 280;

TRect BoundsAt(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    return {left, top, left + width, top + height};
}

}  // namespace

int UsableDpi(int dpi) { return dpi < 1 ? kDesignDpi : dpi; }

std::int32_t ScaleToDpi(std::int32_t v, int dpi) {
    // v x dpi is exact in double, and a true half stays exact after / 96.
    return static_cast<std::int32_t>(std::llround(static_cast<double>(v) * UsableDpi(dpi) / kDesignDpi));
}

TPanelLayout ComputePanelLayout(int dpi, std::int32_t tabHeight) {
    TPanelLayout l{};
    l.window = {ScaleToDpi(175, dpi), 5 * tabHeight + ScaleToDpi(320, dpi)};
    l.panel = BoundsAt(0, kCaptionHeight, l.window.width, l.window.height - kCaptionHeight);
    const std::int32_t c = ScaleToDpi(2, dpi);
    l.pageControl = BoundsAt(c, 2 * c, l.panel.Width() - c - 1, l.panel.Height() - 3 * c + 1);
    l.colorItemHeight = ScaleToDpi(16, dpi);
    return l;
}

void ScaleControls(const TPanelControls& controls, int dpi) {
    const TFont plain{"Tahoma", ScaleToDpi(kFontHeight, dpi), false};
    TFont bold = plain;
    bold.bold = true;
    controls.Panel.SetFont(plain);
    controls.PageControl.SetFont(plain);
    for (const TDesignBounds& d : controls.Design()) {
        // The font first: a label that sizes itself measures with it.
        d.control->SetFont(d.bold ? bold : plain);
        d.control->SetBounds(BoundsAt(ScaleToDpi(d.left, dpi), ScaleToDpi(d.top, dpi), ScaleToDpi(d.width, dpi),
                                      ScaleToDpi(d.height, dpi)));
    }
    controls.AdvCheckListBox.SetItemHeight(ScaleToDpi(kOptionItemHeight, dpi));
    controls.AdvCheckListBox.SetHorizontalExtent(ScaleToDpi(kOptionScrollExtent, dpi));
}

TSize LayoutPanel(const TPanelControls& controls, int dpi) {
    // A tab control lays out its tabs only once it has a size (Windows' own
    // reports nothing before), and the tab height sets the window's height,
    // not its width: the control gets its width first, then is asked.
    controls.PageControl.SetBounds(ComputePanelLayout(dpi, 0).pageControl);
    const std::int32_t tabHeight = controls.PageControl.PageCount() > 1 ? controls.PageControl.TabRect(1).Height() : 0;
    const TPanelLayout l = ComputePanelLayout(dpi, tabHeight);
    controls.Panel.SetBounds(l.panel);
    controls.PageControl.SetBounds(l.pageControl);
    controls.LinesColorBox.SetItemHeight(l.colorItemHeight);
    controls.ValuesColorBox.SetItemHeight(l.colorItemHeight);
    return l.window;
}

}  // namespace ratiscope
