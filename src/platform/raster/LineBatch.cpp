// The row-major writer of batched lines.
#include "platform/raster/LineBatch.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/raster/RasterOps.h"

namespace ratiscope {

namespace {

// Bands at least this tall, over a fill the image still owes, with a column
// at least every this many pixels (a grid), are written as copies of one
// prepared row: a copy costs more than a fill, so sparser columns are
// cheaper stored one by one, and shorter bands do not repay preparing it.
constexpr std::int64_t kMinTemplateRows = 8;
constexpr std::size_t kMinTemplateDensity = 16;

}  // namespace

void TLineBatch::SortPixelsByRow(std::int32_t height) {
    sorted_.clear();
    if (pixels_.empty()) return;
    rowStart_.assign(static_cast<std::size_t>(height) + 1, 0);
    for (const TPoint32& p : pixels_) ++rowStart_[static_cast<std::size_t>(p.y) + 1];
    for (std::size_t y = 1; y < rowStart_.size(); ++y) rowStart_[y] += rowStart_[y - 1];
    sorted_.resize(pixels_.size());
    for (const TPoint32& p : pixels_) sorted_[rowStart_[static_cast<std::size_t>(p.y)]++] = p;
}

void TLineBatch::Flush(TImage& image, TPixel pixel) {
    if (Empty()) return;
    if (image.Width() == 0 || image.Height() == 0) {
        Clear();
        return;
    }
    // By start, then by position, so each band's columns go in memory order
    // when all of them start together (a grid).
    const auto byStart = [](const TRun& a, const TRun& b) { return a.from != b.from ? a.from < b.from : a.at < b.at; };
    const auto byRow = [](const TRun& a, const TRun& b) { return a.at != b.at ? a.at < b.at : a.from < b.from; };
    std::sort(columns_.begin(), columns_.end(), byStart);
    std::sort(rows_.begin(), rows_.end(), byRow);
    SortPixelsByRow(image.Height());

    // A fill the image still owes is written here, row by row just before
    // the lines of the row, so the picture is written in one pass.
    const std::optional<TPixel> background = image.TakePendingFill();
    constexpr std::int32_t kNever = std::numeric_limits<std::int32_t>::max();
    const std::int32_t height = image.Height();
    const auto width = static_cast<std::size_t>(image.Width());
    TPixel* const data = image.Data();
    std::size_t nextColumn = 0, nextRow = 0, nextPixel = 0;
    std::int32_t bandEnd = kNever;  // the first row where a column of the band has ended
    std::int32_t left = kNever, right = kNever;  // around the band's columns, right exclusive
    bool useTemplate = false;
    active_.clear();
    xs_.clear();
    std::int32_t y = background ? 0
                                : std::min({columns_.empty() ? kNever : columns_.front().from,
                                            rows_.empty() ? kNever : rows_.front().at,
                                            sorted_.empty() ? kNever : sorted_.front().y});
    while (y != kNever) {
        // The set of columns changes only where one starts or ends.
        if (y == bandEnd || (nextColumn < columns_.size() && columns_[nextColumn].from == y)) {
            std::erase_if(active_, [y](const TRun& r) { return r.to <= y; });
            while (nextColumn < columns_.size() && columns_[nextColumn].from == y) active_.push_back(columns_[nextColumn++]);
            bandEnd = kNever;
            xs_.clear();
            left = kNever;
            right = std::numeric_limits<std::int32_t>::min();
            for (const TRun& r : active_) {
                bandEnd = std::min(bandEnd, r.to);
                xs_.push_back(r.at);
                left = std::min(left, r.at);
                right = std::max(right, r.at + 1);
            }
            const std::int32_t until = nextColumn < columns_.size() ? std::min(bandEnd, columns_[nextColumn].from) : bandEnd;
            useTemplate = background && xs_.size() * kMinTemplateDensity >= width &&
                          std::int64_t{until} - y >= kMinTemplateRows;
            if (useTemplate) {
                template_.assign(width, *background);
                for (const std::int32_t x : xs_) template_[static_cast<std::size_t>(x)] = pixel;
            }
        }
        TPixel* const line = data + static_cast<std::size_t>(y) * width;
        // Fast path: the fill and the band's columns are one copy of the prepared row.
        if (useTemplate)
            CopyPixels(template_, {line, width});
        else if (background)
            FillPixels({line, width}, *background);
        bool crossesAll = useTemplate;
        for (; nextRow < rows_.size() && rows_[nextRow].at == y; ++nextRow) {
            const TRun& r = rows_[nextRow];
            FillPixels({line + r.from, line + r.to}, pixel);
            crossesAll = crossesAll || (r.from <= left && r.to >= right);
        }
        // Fast path: a row whose own line crosses every column of the band
        // (a grid's row) has their pixels already.
        if (!crossesAll)
            for (const std::int32_t x : xs_) line[x] = pixel;
        // Slanted lines and ellipses: their pixels of this row, while it is in the cache.
        for (; nextPixel < sorted_.size() && sorted_[nextPixel].y == y; ++nextPixel) line[sorted_[nextPixel].x] = pixel;

        // The next row with anything to write; rows between bands are
        // skipped unless they owe the fill.
        std::int32_t next = active_.empty() ? kNever : y + 1;
        if (nextColumn < columns_.size()) next = std::min(next, columns_[nextColumn].from);
        if (nextRow < rows_.size()) next = std::min(next, rows_[nextRow].at);
        if (nextPixel < sorted_.size()) next = std::min(next, sorted_[nextPixel].y);
        if (background) next = y + 1 < height ? y + 1 : kNever;
        y = next;
    }
    Clear();
}

}  // namespace ratiscope
