// How every window backend readies its surface for a new picture.
#include "platform/Offscreen.h"

#include "platform/Canvas.h"
#include "platform/Image.h"

namespace ratiscope {

ICanvas& NewPictureOn(IOffscreen& surface, TSize size, TColor key) {
    ICanvas& canvas = surface.Canvas();
    if (surface.Picture().Size() != size) canvas.Resize(size.width, size.height);
    canvas.FillRect({0, 0, size.width, size.height}, key);
    return canvas;
}

}  // namespace ratiscope
