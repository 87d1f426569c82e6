// The window opacity a compositing manager reads, written as the exact 8-bit
// alpha it stands for, and the X window relations a task bar reads.
#pragma once

#include <cstdint>

struct xcb_connection_t;

namespace ratiscope {

// The _NET_WM_WINDOW_OPACITY value of `alpha`: alpha x 0x01010101, so a
// compositor that scales it back to eight bits, rounding or truncating,
// finds `alpha` again (0 for 0, 0xFFFFFFFF for 255).
constexpr std::uint32_t OpacityPropertyValue(std::uint8_t alpha) { return alpha * 0x01010101u; }

class TX11WindowProperties {
public:
    // Uses the application's X connection; does nothing without one.
    TX11WindowProperties();
    bool Available() const { return connection_ != nullptr; }

    // With blending the window's opacity property holds `alpha`; without it
    // the property is removed, which every compositor shows as fully opaque.
    void SetOpacity(std::uint32_t window, bool blending, std::uint8_t alpha) const;
    // Marks an unmapped window as one a task bar and a pager do not list.
    void SetSkipTaskbar(std::uint32_t window) const;
    // Marks `window` as belonging to `owner` (shown above it, not listed on its own).
    void SetTransientFor(std::uint32_t window, std::uint32_t owner) const;

private:
    std::uint32_t Atom(const char* name) const;

    xcb_connection_t* connection_ = nullptr;
};

}  // namespace ratiscope
