// The copy every window backend makes of a finished picture onto its surface.
#include "platform/Offscreen.h"

#include <algorithm>

#include "platform/Canvas.h"
#include "platform/Image.h"

namespace ratiscope {

void PresentOnSurface(IOffscreen& surface, TSize size, const TImage& picture, TColor key) {
    TImage& front = surface.Picture();
    if (front.Size() != size) surface.Canvas().Resize(size.width, size.height);
    const std::int32_t w = std::min(picture.Width(), front.Width());
    const std::int32_t h = std::min(picture.Height(), front.Height());
    if (w < front.Width() || h < front.Height()) surface.Canvas().FillRect({0, 0, front.Width(), front.Height()}, key);
    for (std::int32_t y = 0; y < h; ++y) {
        const auto from = picture.Row(y).first(static_cast<std::size_t>(w));
        std::copy(from.begin(), from.end(), front.Row(y).begin());
    }
}

}  // namespace ratiscope
