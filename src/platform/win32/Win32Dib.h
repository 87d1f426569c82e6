// The one picture layout GDI and our raster images share: 32 bits per pixel,
// rows top-down, blue in the lowest byte (TImage's 0xFFRRGGBB read as a DWORD).
#pragma once

#include "platform/win32/Win32Api.h"

#include "platform/Image.h"

namespace ratiscope {

// The header that lets GDI read or write a TImage's pixels in place.
BITMAPINFO DibHeaderFor(std::int32_t width, std::int32_t height);

// Copies the top-left `width` x `height` pixels of the picture to the device
// context at its origin in one call; false when GDI refused.
bool CopyToDevice(HDC dc, const TImage& picture, std::int32_t width, std::int32_t height);

}  // namespace ratiscope
