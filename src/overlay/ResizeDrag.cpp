// The grips' arithmetic: the remembered corner or centre uses the sizes before
// the setters, the placement the sizes after them.
#include "overlay/ResizeDrag.h"

#include "overlay/OverlaySize.h"

namespace ratiscope {

namespace {

struct TPoint {
    std::int32_t x;
    std::int32_t y;
};

// The centre of the drawing rectangle on the screen; halves truncate.
TPoint Centre(const TDragState& d, const TSizeState& size) {
    return {d.left + d.border + size.Width / 2, d.top + d.border + kCaptionHeight + size.Height / 2};
}

// The window's corner that puts the drawing rectangle's centre at `centre`.
TPoint CornerAround(TPoint centre, const TDragState& d, const TSizeState& size) {
    return {centre.x - size.Width / 2 - d.border, centre.y - size.Height / 2 - d.border - kCaptionHeight};
}

}  // namespace

std::optional<TDragStep> DragTo(const TDragState& d, std::int32_t x, std::int32_t y) {
    if (d.mode == dmNone || (x == d.anchorX && y == d.anchorY)) return std::nullopt;
    const std::int32_t w = d.size.Width;
    const std::int32_t h = d.size.Height;
    TDragStep step;
    step.left = d.left;
    step.top = d.top;
    step.anchorX = d.anchorX;
    step.anchorY = d.anchorY;
    auto ask = [&](std::int32_t width, std::int32_t height) {
        step.width = width;
        step.height = height;
        step.size = WithSize(d.size, width, height);
    };

    switch (d.mode) {
    case dmTopLeft: {
        const std::int32_t right = d.left + w + d.border;
        const std::int32_t bottom = d.top + h + d.border + kCaptionHeight;
        ask(w + d.anchorX - x, h + d.anchorY - y);
        step.left = right - step.size.Width - d.border;
        step.top = bottom - step.size.Height - d.border - kCaptionHeight;
        break;
    }
    case dmTopLeftCentred: {
        const TPoint centre = Centre(d, d.size);
        ask(w + 2 * (d.anchorX - x), h + 2 * (d.anchorY - y));
        const TPoint corner = CornerAround(centre, d, step.size);
        step.left = corner.x;
        step.top = corner.y;
        break;
    }
    case dmBottomRight:
        if (d.size.Lock) {
            // The horizontal movement drives whichever side leads.
            const std::int32_t by = x - d.anchorX;
            ask(w + by, h + by);
            step.anchorX += by;
            step.anchorY += by;
        } else {
            ask(w + x - d.anchorX, h + y - d.anchorY);
            step.anchorX = x;
            step.anchorY = y;
        }
        break;
    case dmBottomRightCentred: {
        const TPoint centre = Centre(d, d.size);
        if (d.size.Lock) {
            const std::int32_t by = d.size.LockWidth ? d.anchorX - x : d.anchorY - y;
            ask(w - 2 * by, h - 2 * by);
            step.anchorX -= 2 * by;
            step.anchorY -= 2 * by;
        } else {
            ask(w - 2 * (d.anchorX - x), h - 2 * (d.anchorY - y));
            step.anchorX = 2 * x - d.anchorX;
            step.anchorY = 2 * y - d.anchorY;
        }
        const TPoint corner = CornerAround(centre, d, step.size);
        step.left = corner.x;
        step.top = corner.y;
        break;
    }
    case dmNone: break;
    }
    return step;
}

}  // namespace ratiscope
