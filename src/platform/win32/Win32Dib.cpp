// One block copy per frame: SetDIBitsToDevice straight from the image's rows.
#include "platform/win32/Win32Dib.h"

#include <algorithm>

namespace ratiscope {

BITMAPINFO DibHeaderFor(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool CopyToDevice(HDC dc, const TImage& picture, std::int32_t width, std::int32_t height) {
    const std::int32_t w = std::min(width, picture.Width());
    const std::int32_t h = std::min(height, picture.Height());
    if (!dc || w <= 0 || h <= 0) return true;
    // The header names only the first h rows (they lie at the start of the
    // pixels, row after row), so the copy starts at the source's origin
    // whatever the system makes of a top-down source's coordinates.
    const BITMAPINFO info = DibHeaderFor(picture.Width(), h);
    const int lines = SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                                        static_cast<UINT>(h), picture.Data(), &info, DIB_RGB_COLORS);
    return lines != 0;
}

}  // namespace ratiscope
