// What the overlay window needs of the settings panel: its commands reach the
// panel and its close handler stores the panel's place, kept to this much so
// the overlay builds and is tested without a panel.
#pragma once

#include <cstdint>

namespace ratiscope {

class IPanelLink {
public:
    virtual ~IPanelLink() = default;
    // Asks the panel for a repaint; the paint follows from the message loop.
    virtual void RequestRepaint() = 0;
    // Hides the panel when it is shown; otherwise shows it and brings it to the
    // front of the z-order, at its own place (not relative to the overlay).
    virtual void ToggleVisible() = 0;
    // Shows or hides the panel where it is, without bringing it to the front
    // or taking the focus from whatever program has it.
    virtual void SetShown(bool shown) = 0;
    // The panel window's left and top edges on the desktop, in pixels.
    virtual std::int32_t Left() const = 0;
    virtual std::int32_t Top() const = 0;
    // Whether the panel is shown.
    virtual bool IsShown() const = 0;
    // The number of the page on display as SPage stores it: 0 Main, 2 Look,
    // 3 Colors, 4 Advanced (no page is 1), -1 when no page is shown.
    virtual std::int32_t ActivePage() const = 0;
};

}  // namespace ratiscope
