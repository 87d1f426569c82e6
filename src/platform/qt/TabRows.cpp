// Row wrapping of the tab control.
#include "platform/qt/TabRows.h"

#include <algorithm>

namespace ratiscope {

std::vector<std::vector<int>> WrapTabs(std::span<const std::int32_t> widths, std::int32_t available, int selected) {
    std::vector<std::vector<int>> rows;
    std::int64_t used = 0;
    for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
        const std::int32_t w = std::max<std::int32_t>(widths[static_cast<std::size_t>(i)], 0);
        if (rows.empty() || used + w > available) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(i);
        used += w;
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (std::find(rows[r].begin(), rows[r].end(), selected) != rows[r].end()) {
            std::rotate(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(r + 1), rows.end());
            break;
        }
    return rows;
}

std::vector<TRect> TabRects(std::span<const std::int32_t> widths, std::int32_t available, std::int32_t tabHeight,
                            int selected) {
    std::vector<TRect> rects(widths.size());
    const auto rows = WrapTabs(widths, available, selected);
    const bool stretch = rows.size() > 1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& row = rows[r];
        std::int64_t natural = 0;
        for (int i : row) natural += std::max<std::int32_t>(widths[static_cast<std::size_t>(i)], 0);
        const std::int64_t extra = stretch ? std::max<std::int64_t>(available - natural, 0) : 0;
        const std::int64_t share = extra / static_cast<std::int64_t>(row.size());
        std::int32_t x = 0;
        const std::int32_t top = static_cast<std::int32_t>(r) * tabHeight;
        for (std::size_t k = 0; k < row.size(); ++k) {
            const int i = row[k];
            std::int64_t w = std::max<std::int32_t>(widths[static_cast<std::size_t>(i)], 0) + share;
            if (k + 1 == row.size() && stretch) w = std::max<std::int64_t>(available - x, w);
            rects[static_cast<std::size_t>(i)] = {x, top, static_cast<std::int32_t>(x + w), top + tabHeight};
            x = static_cast<std::int32_t>(x + w);
        }
    }
    return rects;
}

}  // namespace ratiscope
