// Image-level drawing operations that the canvas and the window backends
// share: fills, masked icons, the block copy and the bounded flood fill.
#pragma once

#include <cstdint>
#include <span>

#include "base/Geometry.h"
#include "platform/Image.h"

namespace ratiscope {

// Every pixel of the run gets `pixel`, four at a store.
void FillPixels(std::span<TPixel> run, TPixel pixel);

// The pixels of `from` copied to the start of `to` (at least as long), four at
// a store: for rows of a large image the C library's block copy takes paths
// that are slower here than plain stores.
void CopyPixels(std::span<const TPixel> from, std::span<TPixel> to);

// Every pixel of rect that lies in the image gets `pixel`; a fill of the
// whole image is left owed to the image (TImage::Fill).
void FillImageRect(TImage& image, TRect rect, TPixel pixel);

// The icon's opaque pixels at (x, y), clipped to the image.
void DrawIconOnto(TImage& image, const TIcon& icon, std::int32_t x, std::int32_t y);

// The one block copy: width x height pixels from the origin of `from` to the
// origin of `to`, clipped to both images.
void BlockCopy(const TImage& from, TImage& to, std::int32_t width, std::int32_t height);

// Gives `fill` to the 4-connected area around (x, y) that is bounded by
// pixels of `border` (and by the image's edges). A start pixel outside the
// image or of the border colour fills nothing. Iterative scanline fill: the
// depth of the work list never depends on the shape, and pixels that already
// have the fill colour neither stop nor loop it.
void FloodFillImage(TImage& image, std::int32_t x, std::int32_t y, TPixel border, TPixel fill);

}  // namespace ratiscope
