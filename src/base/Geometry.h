// Small value types shared by every platform interface: points, sizes, rectangles.
#pragma once

#include <cstdint>

namespace ratiscope {

struct TSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(TSize, TSize) = default;
};

// Right and bottom are exclusive, as everywhere in the drawing code.
struct TRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool Contains(std::int32_t x, std::int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(TRect, TRect) = default;
};

}  // namespace ratiscope
