// The row-major writer of batched vertical runs.
#include "platform/raster/ColumnBatch.h"

#include <algorithm>

namespace ratiscope {

void TColumnBatch::Flush(TImage& image, TPixel pixel) {
    if (runs_.empty()) return;
    // By top, then left to right, so each band's columns go in memory order
    // when all of them start together (a grid).
    std::sort(runs_.begin(), runs_.end(),
              [](const TRun& a, const TRun& b) { return a.top != b.top ? a.top < b.top : a.x < b.x; });
    const auto width = static_cast<std::size_t>(image.Width());
    TPixel* const data = image.Data();
    active_.clear();
    std::size_t next = 0;
    std::int32_t y = runs_.front().top;
    // Bands of rows over which the set of crossing columns stays the same.
    while (next < runs_.size() || !active_.empty()) {
        if (active_.empty()) y = std::max(y, runs_[next].top);
        while (next < runs_.size() && runs_[next].top <= y) active_.push_back(runs_[next++]);
        std::int32_t bandEnd = next < runs_.size() ? runs_[next].top : active_.front().bottom;
        xs_.clear();
        for (const TRun& r : active_) {
            bandEnd = std::min(bandEnd, r.bottom);
            xs_.push_back(r.x);
        }
        for (std::int32_t row = y; row < bandEnd; ++row) {
            TPixel* const line = data + static_cast<std::size_t>(row) * width;
            for (const std::int32_t x : xs_) line[x] = pixel;
        }
        y = bandEnd;
        std::erase_if(active_, [y](const TRun& r) { return r.bottom <= y; });
    }
    runs_.clear();
}

}  // namespace ratiscope
