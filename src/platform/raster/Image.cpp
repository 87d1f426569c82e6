// Storage of the raster image.
#include "platform/Image.h"

#include <algorithm>
#include <new>

#include "platform/raster/RasterOps.h"

namespace ratiscope {

void TImage::Resize(std::int32_t width, std::int32_t height, TPixel fill) {
    SetSize(width, height);
    Fill(fill);
}

void TImage::SetSize(std::int32_t width, std::int32_t height) {
    width_ = std::clamp(width, 0, kMaxImageSide);
    height_ = std::clamp(height, 0, kMaxImageSide);
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    pendingFill_.reset();
    // Emptied first, so growing past the capacity copies nothing over.
    pixels_.clear();
    if (pixels_.capacity() / 2 > count) pixels_.shrink_to_fit();
    try {
        pixels_.resize(count);
    } catch (const std::bad_alloc&) {
        // A picture the memory cannot hold leaves an empty image, which every
        // drawing routine skips: the window shows nothing new, the program runs on.
        width_ = 0;
        height_ = 0;
        pixels_ = {};
    }
}

void TImage::WriteFill() const {
    FillPixels(pixels_, *pendingFill_);
    pendingFill_.reset();
}

}  // namespace ratiscope
