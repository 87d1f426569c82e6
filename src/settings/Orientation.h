// The four orientations by name: the numbers `OrientMode` holds and the
// settings file stores, which also order the panel's orientation list.
#pragma once

#include <cstdint>

namespace ratiscope {

// The corner the figure is measured from; the look runs away from it.
enum class TOrientation : std::int32_t {
    TopLeft = 0,
    TopRight = 1,
    BottomRight = 2,
    BottomLeft = 3,  // also what any other number draws
};

inline constexpr std::int32_t kOrientationCount = 4;

constexpr std::int32_t OrientationNumber(TOrientation o) { return static_cast<std::int32_t>(o); }

}  // namespace ratiscope
