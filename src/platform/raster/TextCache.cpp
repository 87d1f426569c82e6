// Text masks: building them from lit pixels, drawing them, and keeping them.
#include "platform/raster/TextCache.h"

#include <algorithm>
#include <limits>

namespace ratiscope {

TTextMask MaskFromPixels(TSize size, std::vector<TTextPixel> pixels) {
    TTextMask mask;
    mask.size = size;
    std::sort(pixels.begin(), pixels.end(),
              [](TTextPixel a, TTextPixel b) { return a.dy != b.dy ? a.dy < b.dy : a.dx < b.dx; });
    for (const TTextPixel p : pixels) {
        if (!mask.spans.empty()) {
            TTextSpan& last = mask.spans.back();
            if (last.dy == p.dy && p.dx < last.dx + last.length) continue;  // a repeat
            if (last.dy == p.dy && p.dx == last.dx + last.length) {
                ++last.length;
                continue;
            }
        }
        mask.spans.push_back({p.dx, p.dy, 1});
    }
    if (mask.spans.empty()) return mask;
    mask.bounds = {std::numeric_limits<std::int32_t>::max(), mask.spans.front().dy,
                   std::numeric_limits<std::int32_t>::min(), mask.spans.back().dy + 1};
    for (const TTextSpan& s : mask.spans) {
        mask.bounds.left = std::min(mask.bounds.left, s.dx);
        mask.bounds.right = std::max(mask.bounds.right, s.dx + s.length);
    }
    return mask;
}

void DrawTextMask(TImage& image, const TTextMask& mask, std::int32_t x, std::int32_t y, TPixel pixel) {
    if (mask.spans.empty()) return;
    const std::int64_t w = image.Width(), h = image.Height();
    // Fast path: a label wholly off the image is skipped without a look at its spans.
    if (std::int64_t{x} + mask.bounds.right <= 0 || std::int64_t{x} + mask.bounds.left >= w ||
        std::int64_t{y} + mask.bounds.bottom <= 0 || std::int64_t{y} + mask.bounds.top >= h)
        return;
    TPixel* const data = image.Data();
    for (const TTextSpan& s : mask.spans) {
        const std::int64_t row = std::int64_t{y} + s.dy;
        if (row < 0 || row >= h) continue;
        const std::int64_t left = std::max<std::int64_t>(std::int64_t{x} + s.dx, 0);
        const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + s.dx + s.length, w);
        if (left >= right) continue;
        std::fill(data + row * w + left, data + row * w + right, pixel);
    }
}

const TTextMask* TTextCache::Find(std::string_view text, int angleDegrees) {
    TIndex& index = IndexOf(angleDegrees);
    const auto found = index.find(text);
    if (found == index.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return &found->second->mask;
}

const TTextMask& TTextCache::Insert(std::string_view text, int angleDegrees, TTextMask mask) {
    std::string key(text);  // before anything is erased, in case the view points into the cache
    TIndex& index = IndexOf(angleDegrees);
    if (const auto old = index.find(key); old != index.end()) Erase(old->second);
    mask.spans.shrink_to_fit();
    // The spans, the text and a guess at the list node's and the index's share.
    const std::size_t bytes = mask.spans.capacity() * sizeof(TTextSpan) + key.capacity() + sizeof(TEntry) + 64;
    if (bytes > maxBytes_ || maxEntries_ == 0) {
        oversized_ = std::move(mask);
        return oversized_;
    }
    while (!entries_.empty() && (entries_.size() >= maxEntries_ || bytes_ + bytes > maxBytes_))
        Erase(std::prev(entries_.end()));
    entries_.push_front({std::move(key), angleDegrees == 90, std::move(mask), bytes});
    index.emplace(entries_.front().text, entries_.begin());
    bytes_ += bytes;
    return entries_.front().mask;
}

void TTextCache::Clear() {
    index_[0].clear();
    index_[1].clear();
    entries_.clear();
    bytes_ = 0;
}

void TTextCache::Erase(std::list<TEntry>::iterator it) {
    index_[it->turned ? 1 : 0].erase(it->text);
    bytes_ -= it->bytes;
    entries_.erase(it);
}

}  // namespace ratiscope
