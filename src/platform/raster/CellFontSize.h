// Choosing the font size whose text cell fits a given height, measuring as
// few sizes as possible: every size measured costs the platform a font set-up.
#pragma once

#include <functional>
#include <optional>

namespace ratiscope {

// The sizes searched and where the search starts.
struct TCellSizeSearch {
    int smallest = 0;
    int largest = 0;
    int firstGuess = 0;  // clamped into smallest..largest
};

// The largest size in the range whose cell (`cellOf`) is at most `cell`;
// none when even the smallest is taller. Cells grow with the size (never
// shrink as it grows), so the search walks from the guess to the boundary:
// with the right guess it measures two sizes, the guess and the one above.
std::optional<int> LargestSizeWithinCell(int cell, const TCellSizeSearch& search, const std::function<int(int)>& cellOf);

}  // namespace ratiscope
