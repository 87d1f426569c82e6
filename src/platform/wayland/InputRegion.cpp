// Input regions from key-coloured pictures: row runs, merged bands, coarser cells under a cap.
#include "platform/wayland/InputRegion.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace ratiscope {

namespace {

using TRuns = std::vector<std::pair<std::int32_t, std::int32_t>>;  // [from, to) in cells

// The runs of cells in cell row `cy` holding any pixel other than `key`.
void CellRuns(const TImage& image, TPixel key, std::int32_t cell, std::int32_t cy, std::vector<std::uint8_t>& hit, TRuns& runs) {
    const std::int32_t cells = (image.Width() + cell - 1) / cell;
    hit.assign(static_cast<std::size_t>(cells), 0);
    const std::int32_t yEnd = std::min(image.Height(), (cy + 1) * cell);
    for (std::int32_t y = cy * cell; y < yEnd; ++y) {
        const auto row = image.Row(y);
        assert(row.size() >= static_cast<std::size_t>(image.Width()));
        for (std::int32_t x = 0; x < image.Width(); ++x)
            if (row[static_cast<std::size_t>(x)] != key) hit[static_cast<std::size_t>(x / cell)] = 1;
    }
    runs.clear();
    for (std::int32_t c = 0; c < cells;) {
        if (!hit[static_cast<std::size_t>(c)]) {
            ++c;
            continue;
        }
        const std::int32_t from = c;
        while (c < cells && hit[static_cast<std::size_t>(c)]) ++c;
        runs.emplace_back(from, c);
    }
}

// The region at one cell size, or nothing once it passes `limit` rectangles.
bool BuildAtCell(const TImage& image, TPixel key, std::int32_t cell, std::size_t limit, std::vector<TRect>& out) {
    out.clear();
    const std::int32_t w = image.Width();
    const std::int32_t h = image.Height();
    const std::int32_t rows = (h + cell - 1) / cell;
    std::vector<std::uint8_t> hit;
    TRuns band;
    TRuns runs;
    std::int32_t bandTop = 0;
    const auto flush = [&](std::int32_t bandBottom) {
        for (const auto& [from, to] : band)
            out.push_back({from * cell, bandTop * cell, std::min(w, to * cell), std::min(h, bandBottom * cell)});
        return out.size() <= limit;
    };
    for (std::int32_t cy = 0; cy < rows; ++cy) {
        CellRuns(image, key, cell, cy, hit, runs);
        if (cy > 0 && runs == band) continue;
        if (cy > 0 && !flush(cy)) return false;
        std::swap(band, runs);
        bandTop = cy;
    }
    return rows == 0 || flush(rows);
}

}  // namespace

TInputRegion BuildInputRegion(const TImage& image, TPixel key, std::size_t maxRectangles) {
    TInputRegion region;
    if (image.Width() <= 0 || image.Height() <= 0) return region;
    const std::int32_t longest = std::max(image.Width(), image.Height());
    for (std::int32_t cell = 1;; cell *= 2) {
        // One cell over the whole picture is a single rectangle, which always fits.
        if (BuildAtCell(image, key, cell, cell >= longest ? std::max<std::size_t>(maxRectangles, 1) : maxRectangles, region.rectangles)) {
            region.cell = cell;
            return region;
        }
    }
}

}  // namespace ratiscope
