// PNG files written by our own code, for platforms without an image codec at
// hand: 8-bit RGB or RGBA, compressed with fixed-code deflate.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/Image.h"
#include "base/Color.h"

namespace ratiscope {

// PNG bytes of the image. With a key colour, pixels of exactly that colour get
// alpha 0 (keeping their colour) and every other pixel is opaque; without one
// the PNG has no alpha. Empty for an empty image.
std::vector<std::uint8_t> WritePng(const TImage& image, std::optional<TColor> transparentKey = std::nullopt);

// The zlib stream (RFC 1950) of the bytes, deflated with the fixed codes.
std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> bytes);

// The checksums PNG and zlib use (CRC-32 of ISO 3309, Adler-32).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

}  // namespace ratiscope
