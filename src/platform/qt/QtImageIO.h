// PNG in memory through Qt's codecs: export writes the bytes atomically
// itself, tests and screenshots read pictures back.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/Color.h"
#include "platform/Image.h"

namespace ratiscope {

// PNG bytes of the image. With a key colour, pixels of exactly that colour get
// alpha 0 and every other pixel is opaque; without one the PNG has no alpha.
// Empty on failure (including an empty image).
std::vector<std::uint8_t> EncodePng(const TImage& image, std::optional<TColor> transparentKey = std::nullopt);

// The picture in PNG (or any format Qt reads) bytes, as opaque 0xFFRRGGBB
// pixels; `alpha`, when given, receives one alpha byte per pixel, row by row.
// Nothing for unreadable data or a picture larger than 32767 on a side.
std::optional<TImage> DecodePng(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>* alpha = nullptr);

}  // namespace ratiscope
