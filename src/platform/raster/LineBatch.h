// Lines of one colour gathered and written row by row: a vertical line
// touches one cache line and one page per row, so many long ones written one
// at a time cost far more than the same pixels written in memory order, where
// the rows' own lines come along in the same pass. Slanted lines and ellipses
// come as single pixels, written with their rows in the same pass.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Image.h"

namespace ratiscope {

class TLineBatch {
public:
    bool Empty() const { return columns_.empty() && rows_.empty() && pixels_.empty(); }
    // Lines and single pixels held.
    std::size_t Count() const { return columns_.size() + rows_.size() + pixels_.size(); }

    // Rows [top, bottom) of column x, already clipped to the image they go to.
    void AddColumn(std::int32_t x, std::int32_t top, std::int32_t bottom) {
        if (top < bottom) columns_.push_back({x, top, bottom});
    }
    // Columns [left, right) of row y, already clipped likewise.
    void AddRow(std::int32_t y, std::int32_t left, std::int32_t right) {
        if (left < right) rows_.push_back({y, left, right});
    }
    // One pixel (of a slanted line or an ellipse), already clipped likewise.
    void AddPixel(std::int32_t x, std::int32_t y) { pixels_.push_back({x, y}); }
    void Clear() {
        columns_.clear();
        rows_.clear();
        pixels_.clear();
    }

    // Gives every pending pixel `pixel` in row-major order and empties the
    // batch. The lines share one colour, so the order they were added in
    // does not show in the result. A fill the image still owes (TImage::Fill)
    // is written in the same pass, under the lines.
    void Flush(TImage& image, TPixel pixel);

private:
    // Fills sorted_ with pixels_ in row order; rows are 0 .. height-1.
    void SortPixelsByRow(std::int32_t height);

    // A run along its line's own axis: `at` is the column (row) and
    // [from, to) the rows (columns) it covers.
    struct TRun {
        std::int32_t at, from, to;
    };
    struct TPoint32 {
        std::int32_t x, y;
    };
    std::vector<TRun> columns_;
    std::vector<TRun> rows_;
    std::vector<TPoint32> pixels_;
    // The pixels in row order (a counting sort), and per row where its pixels begin.
    std::vector<TPoint32> sorted_;
    std::vector<std::uint32_t> rowStart_;
    // The columns crossing the current band of rows, kept between flushes to spare allocations.
    std::vector<TRun> active_;
    std::vector<std::int32_t> xs_;
    // One row of the fill with the band's columns on it, copied to each row of a tall band.
    std::vector<TPixel> template_;
};

}  // namespace ratiscope
