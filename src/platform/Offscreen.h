// An off-screen picture together with the canvas that paints into it: what a
// window's surface is, and what a picture is composed in away from a window.
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

// A window's surface of `size` pixels made ready for a whole new picture: the
// surface follows the window's size first, and then every pixel is the key
// colour `key`, so whatever the picture leaves out (a picture composed for
// another size among them) stays see-through rather than keeping stale
// pixels. The surface's canvas, to compose on.
ICanvas& NewPictureOn(IOffscreen& surface, TSize size, TColor key);

}  // namespace ratiscope
