// The off-screen picture every window composes in: our raster canvas over its own image.
#pragma once

#include <cstdint>

#include "platform/Offscreen.h"
#include "platform/raster/RasterCanvas.h"

namespace ratiscope {

class TRasterOffscreen final : public IOffscreen {
public:
    // The engine must outlive the picture.
    explicit TRasterOffscreen(ITextEngine& text, std::int32_t width = 0, std::int32_t height = 0)
        : canvas_(text, width, height) {}
    ICanvas& Canvas() override { return canvas_; }
    TImage& Picture() override { return canvas_.Image(); }
    TRasterCanvas& Raster() { return canvas_; }

private:
    TRasterCanvas canvas_;
};

}  // namespace ratiscope
