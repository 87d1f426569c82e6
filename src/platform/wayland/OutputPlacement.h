// A layer surface lives on one output and is placed by margins from that
// output's corner, while the overlay keeps its place in the layout shared by
// all outputs: which output it belongs on, and its margins there.
#pragma once

#include <cstdint>
#include <span>

#include "base/Geometry.h"

namespace ratiscope {

// No output: the compositor chooses one, and the margins are the layout place.
inline constexpr std::uint32_t kNoOutput = 0;

struct TOutputArea {
    std::uint32_t id = kNoOutput;  // the compositor's name for the output
    TRect area;                    // its logical rectangle in the layout
};

struct TOutputPlacement {
    std::uint32_t output = kNoOutput;
    // The output's top-left corner in the layout (0, 0 without an output).
    std::int32_t cornerLeft = 0;
    std::int32_t cornerTop = 0;
    std::int32_t marginLeft = 0;
    std::int32_t marginTop = 0;
    friend bool operator==(const TOutputPlacement&, const TOutputPlacement&) = default;
};

// The offset of a layout coordinate from an output's corner, kept within the
// range a margin can carry.
std::int32_t MarginFrom(std::int32_t place, std::int32_t corner);

// The output under the centre of the window at (left, top) of that size (the current one first where outputs
// overlap); with the centre on none of them, the nearest to it (the current
// one on a tie), so a window pushed past the layout's edge stays where it can
// still be seen in part. Outputs of no size are not counted.
TOutputPlacement PlaceOnOutputs(std::span<const TOutputArea> outputs, std::int32_t left, std::int32_t top, TSize size,
                                std::uint32_t current);

}  // namespace ratiscope
