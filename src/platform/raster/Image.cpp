// Storage of the raster image.
#include "platform/Image.h"

#include <algorithm>

namespace ratiscope {

void TImage::Resize(std::int32_t width, std::int32_t height, TPixel fill) {
    width_ = std::clamp(width, 0, kMaxImageSide);
    height_ = std::clamp(height, 0, kMaxImageSide);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
}

}  // namespace ratiscope
