// An off-screen picture together with the canvas that paints into it: what a
// window composes in before the block copy, and what a window's surface is.
#pragma once

#include "base/Color.h"
#include "base/Geometry.h"

namespace ratiscope {

class ICanvas;
class TImage;

class IOffscreen {
public:
    virtual ~IOffscreen() = default;
    // Draws into Picture(); resizing the canvas resizes the picture.
    virtual ICanvas& Canvas() = 0;
    // The pixels the canvas drew, 0xFFRRGGBB.
    virtual TImage& Picture() = 0;
};

// A window's finished picture copied onto its surface of `size` pixels: the
// surface follows the window's size first, and whatever the picture does not
// cover (a picture composed for an older size) shows the key colour `key`, so
// it stays see-through rather than keeping stale pixels.
void PresentOnSurface(IOffscreen& surface, TSize size, const TImage& picture, TColor key);

}  // namespace ratiscope
