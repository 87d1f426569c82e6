// The walk from a guessed font size to the largest one whose cell fits.
#include "platform/raster/CellFontSize.h"

#include <algorithm>

namespace ratiscope {

std::optional<int> LargestSizeWithinCell(int cell, const TCellSizeSearch& search, const std::function<int(int)>& cellOf) {
    if (search.smallest > search.largest) return std::nullopt;
    int size = std::clamp(search.firstGuess, search.smallest, search.largest);
    if (cellOf(size) <= cell) {
        while (size < search.largest && cellOf(size + 1) <= cell) ++size;
        return size;
    }
    while (size > search.smallest) {
        --size;
        if (cellOf(size) <= cell) return size;
    }
    return std::nullopt;
}

}  // namespace ratiscope
