// Texts drawn once and kept as the set of pixels they light, so a label that
// comes back on every paint costs a copy of its spans instead of a trip
// through the platform's text shaping.
#pragma once

#include <cstdint>
#include <list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Geometry.h"
#include "platform/Image.h"

namespace ratiscope {

// A horizontal run of lit pixels, as offsets from the text's origin (the
// point handed to ITextEngine::Draw), in image space for either angle.
struct TTextSpan {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    std::int32_t length = 0;
    friend bool operator==(TTextSpan, TTextSpan) = default;
};

// One drawn text: its measured size and the pixels it lights.
struct TTextMask {
    TSize size;                    // width along the baseline, cell height
    std::vector<TTextSpan> spans;  // row by row, left to right, never touching
    TRect bounds;                  // around every span, as offsets; empty when nothing is lit
};

// An offset of a lit pixel from the text's origin.
struct TTextPixel {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
};

// The mask of the given lit pixels, in any order and with repeats.
TTextMask MaskFromPixels(TSize size, std::vector<TTextPixel> pixels);

// Gives `pixel` to the mask's pixels with the origin at (x, y), clipped to the
// image; origins anywhere in the 32-bit range are safe.
void DrawTextMask(TImage& image, const TTextMask& mask, std::int32_t x, std::int32_t y, TPixel pixel);

// Masks by text and angle (90 degrees, or upright for any other), the least
// recently used given up first once either the count or the memory bound
// would be passed.
class TTextCache {
public:
    TTextCache(std::size_t maxEntries, std::size_t maxBytes) : maxEntries_(maxEntries), maxBytes_(maxBytes) {}
    TTextCache(const TTextCache&) = delete;
    TTextCache& operator=(const TTextCache&) = delete;

    // The mask kept for the text at the angle, now the most recently used; null when none is.
    const TTextMask* Find(std::string_view text, int angleDegrees);
    // Keeps the mask (replacing one kept for the same key) and returns it. A
    // mask larger than the whole memory bound is returned but not kept: the
    // reference is valid until the next call only.
    const TTextMask& Insert(std::string_view text, int angleDegrees, TTextMask mask);
    void Clear();

    std::size_t Count() const { return entries_.size(); }
    // Memory the kept masks and their keys take, by the cache's own estimate.
    std::size_t Bytes() const { return bytes_; }

private:
    struct TEntry {
        std::string text;
        bool turned = false;
        TTextMask mask;
        std::size_t bytes = 0;
    };
    using TIndex = std::unordered_map<std::string_view, std::list<TEntry>::iterator>;
    TIndex& IndexOf(int angleDegrees) { return index_[angleDegrees == 90 ? 1 : 0]; }
    void Erase(std::list<TEntry>::iterator it);

    std::size_t maxEntries_;
    std::size_t maxBytes_;
    std::size_t bytes_ = 0;
    std::list<TEntry> entries_;  // most recently used first
    TIndex index_[2];            // upright and turned; the keys view the entries' texts
    TTextMask oversized_;        // the last mask too large to keep
};

}  // namespace ratiscope
