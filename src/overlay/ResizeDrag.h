// A resize drag of the overlay's grips as a pure function: from where the drag
// stands and where the pointer is to the sides asked of the size setters,
// what they make of them and where the window goes, so it is tested by table.
#pragma once

#include <cstdint>
#include <optional>

#include "settings/SizeRules.h"

namespace ratiscope {

// Resize drag modes: which grip is dragged and what stays fixed.
enum TDragMode : std::int32_t {
    dmNone = 0,
    dmTopLeft = 1,             // the bottom-right corner of the drawing rectangle stays
    dmTopLeftCentred = 2,      // the centre stays
    dmBottomRight = 3,         // the window's top-left corner stays
    dmBottomRightCentred = 4,  // the centre stays
};

// A running drag before one pointer movement: the grip's anchor in client
// coordinates, the window's top-left corner on the screen and the sizes.
struct TDragState {
    TDragMode mode = dmNone;
    std::int32_t anchorX = 0;
    std::int32_t anchorY = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t border = 0;
    TSizeState size;
};

// What one pointer movement does.
struct TDragStep {
    // The sides asked of the size setters (SetSize): with the lock on only
    // the leading one counts.
    std::int32_t width = 0;
    std::int32_t height = 0;
    // What the setters make of them.
    TSizeState size;
    // The window's top-left corner afterwards, worked out from the new sizes
    // so the fixed corner or centre stays also when a side is clamped.
    std::int32_t left = 0;
    std::int32_t top = 0;
    // The anchor afterwards, at the pointer's place relative to the window.
    std::int32_t anchorX = 0;
    std::int32_t anchorY = 0;

    friend bool operator==(const TDragStep&, const TDragStep&) = default;
};

// Empty when no resize drag runs or the pointer is still at the anchor.
std::optional<TDragStep> DragTo(const TDragState& drag, std::int32_t x, std::int32_t y);

}  // namespace ratiscope
