// Kept text masks: spans built from lit pixels, drawn clipped anywhere, and
// a cache that stays within its bounds, dropping the least recently used.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/raster/TextCache.h"

namespace ratiscope {
namespace {

constexpr TPixel kBack = 0xFF000000u, kInk = 0xFF00FF00u;

std::vector<std::string> Rows(const TImage& img) {
    std::vector<std::string> rows;
    for (int y = 0; y < img.Height(); ++y) {
        std::string r;
        for (int x = 0; x < img.Width(); ++x) r += img.At(x, y) == kInk ? '#' : '.';
        rows.push_back(r);
    }
    return rows;
}

TEST(TextMask, PixelsBecomeSortedMergedSpans) {
    struct Case {
        const char* what;
        std::vector<TTextPixel> pixels;
        std::vector<TTextSpan> spans;
        TRect bounds;
    };
    const Case cases[] = {
        {"nothing lit", {}, {}, {}},
        {"one pixel", {{2, -1}}, {{2, -1, 1}}, {2, -1, 3, 0}},
        {"a run given backwards with a repeat", {{3, 0}, {1, 0}, {2, 0}, {2, 0}}, {{1, 0, 3}}, {1, 0, 4, 1}},
        {"a gap splits a row; rows in order", {{0, 1}, {4, 0}, {1, 1}, {3, 1}, {-1, 0}},
         {{-1, 0, 1}, {4, 0, 1}, {0, 1, 2}, {3, 1, 1}}, {-1, 0, 5, 2}},
    };
    for (const Case& c : cases) {
        const TTextMask m = MaskFromPixels({7, 11}, c.pixels);
        EXPECT_EQ(m.size, (TSize{7, 11})) << c.what;
        EXPECT_EQ(m.spans, c.spans) << c.what;
        if (!c.spans.empty()) {
            EXPECT_EQ(m.bounds, c.bounds) << c.what;
        }
    }
}

TEST(TextMask, DrawsClippedAtEveryEdgeAndSkipsFarOrigins) {
    // An L: a row of three and a pixel below its start.
    const TTextMask m = MaskFromPixels({3, 2}, {{0, 0}, {1, 0}, {2, 0}, {0, 1}});
    struct Case {
        int x, y;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {1, 1, {"....", ".###", ".#..", "...."}},
        {-1, 0, {"##..", "....", "....", "...."}},
        {2, 3, {"....", "....", "....", "..##"}},
        {-2, 0, {"#...", "....", "....", "...."}},
        {0, -1, {"#...", "....", "....", "...."}},
        {4, 0, {"....", "....", "....", "...."}},
        {std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), {"....", "....", "....", "...."}},
        {std::numeric_limits<int>::min(), 1, {"....", "....", "....", "...."}},
        {1, std::numeric_limits<int>::min(), {"....", "....", "....", "...."}},
    };
    for (const Case& c : cases) {
        TImage img(4, 4, kBack);
        DrawTextMask(img, m, c.x, c.y, kInk);
        EXPECT_EQ(Rows(img), c.picture) << c.x << "," << c.y;
    }
    TImage empty;
    DrawTextMask(empty, m, 0, 0, kInk);
}

TTextMask MaskOf(int spans) {
    std::vector<TTextPixel> pixels;
    for (int i = 0; i < spans; ++i) pixels.push_back({2 * i, 0});
    return MaskFromPixels({2 * spans, 11}, pixels);
}

TEST(TextCache, FindsByTextAndAngleAndDropsTheLeastRecentlyUsed) {
    TTextCache cache(3, 1 << 20);
    EXPECT_EQ(cache.Find("12", 0), nullptr);
    cache.Insert("12", 0, MaskOf(1));
    cache.Insert("12", 90, MaskOf(2));
    cache.Insert("345", 0, MaskOf(3));
    ASSERT_NE(cache.Find("12", 0), nullptr);
    EXPECT_EQ(cache.Find("12", 0)->spans.size(), 1u);
    EXPECT_EQ(cache.Find("12", 90)->spans.size(), 2u);
    EXPECT_EQ(cache.Find("1", 0), nullptr);
    // "345" is now the least recently used and goes for the fourth text.
    cache.Insert("6", 0, MaskOf(4));
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_EQ(cache.Find("345", 0), nullptr);
    EXPECT_NE(cache.Find("12", 0), nullptr);
    EXPECT_NE(cache.Find("6", 0), nullptr);
    // Inserting a kept key replaces its mask and adds no entry.
    cache.Insert("6", 0, MaskOf(5));
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_EQ(cache.Find("6", 0)->spans.size(), 5u);
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0u);
    EXPECT_EQ(cache.Bytes(), 0u);
    EXPECT_EQ(cache.Find("6", 0), nullptr);
}

TEST(TextCache, StaysWithinItsMemoryBound) {
    constexpr std::size_t kBound = 16 * 1024;
    TTextCache cache(100000, kBound);
    for (int i = 0; i < 2000; ++i) {
        const std::string text = std::to_string(i);
        const TTextMask& kept = cache.Insert(text, i % 2 ? 90 : 0, MaskOf(1 + i % 40));
        EXPECT_EQ(kept.spans.size(), static_cast<std::size_t>(1 + i % 40));
        ASSERT_LE(cache.Bytes(), kBound);
    }
    EXPECT_GT(cache.Count(), 10u);
    EXPECT_NE(cache.Find("1999", 90), nullptr);
    // A mask larger than the whole bound is handed back but not kept.
    const TTextMask& huge = cache.Insert("huge", 0, MaskOf(5000));
    EXPECT_EQ(huge.spans.size(), 5000u);
    EXPECT_EQ(cache.Find("huge", 0), nullptr);
    EXPECT_LE(cache.Bytes(), kBound);
}

}  // namespace
}  // namespace ratiscope
