// Aiming the overlay at another window: its drawing rectangle takes the size
// of that window's client area through the setters and is centred on it.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

namespace ratiscope {

class TSettings;

struct TWindowPlace {
    std::int32_t left = 0;
    std::int32_t top = 0;
    friend bool operator==(TWindowPlace, TWindowPlace) = default;
};

// The desktop point at the centre of the drawing rectangle of an overlay
// window whose top-left corner is at (left, top).
TWindowPlace DrawingCentre(const TSettings& s, std::int32_t left, std::int32_t top);

// Hands `client` (desktop pixels) to the size setters: with Lock off both
// sides take the client's, with Lock on only the leading side does and the
// other follows the ratio. The setters' limits hold. Returns where the
// overlay window's top-left corner goes so that its drawing rectangle is
// centred on `client`, which it then covers exactly when the sizes agree.
TWindowPlace FitDrawingRect(TSettings& s, const TRect& client);

}  // namespace ratiscope
