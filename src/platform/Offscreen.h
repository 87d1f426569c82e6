// An off-screen picture together with the canvas that paints into it: what a
// window composes in before the block copy, and what a window's surface is.
#pragma once

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

}  // namespace ratiscope
