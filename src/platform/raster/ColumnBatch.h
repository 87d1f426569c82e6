// Vertical runs of one colour gathered and written row by row: a column
// touches one cache line and one page per row, so many long columns written
// one at a time cost far more than the same pixels written in memory order.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Image.h"

namespace ratiscope {

class TColumnBatch {
public:
    bool Empty() const { return runs_.empty(); }
    std::size_t Count() const { return runs_.size(); }

    // Rows [top, bottom) of column x, already clipped to the image they go to.
    void Add(std::int32_t x, std::int32_t top, std::int32_t bottom) {
        if (top < bottom) runs_.push_back({x, top, bottom});
    }
    void Clear() { runs_.clear(); }

    // Gives every pending pixel `pixel` in row-major order and empties the
    // batch. The runs share one colour, so the order they were added in
    // does not show in the result.
    void Flush(TImage& image, TPixel pixel);

private:
    struct TRun {
        std::int32_t x, top, bottom;
    };
    std::vector<TRun> runs_;
    // The columns crossing the current band of rows, kept between flushes to spare allocations.
    std::vector<TRun> active_;
    std::vector<std::int32_t> xs_;
};

}  // namespace ratiscope
