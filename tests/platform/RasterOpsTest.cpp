// Fills, icons, the block copy and the bounded flood fill on plain images.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/raster/RasterOps.h"

namespace ratiscope {
namespace {

constexpr TPixel kBlack = 0xFF000000u, kWall = 0xFF808080u, kFill = 0xFFFFFFFFu, kRed = 0xFFFF0000u;

// A picture from rows of characters: '#' wall, '.' black, 'f' already fill-coloured, 'r' red.
TImage Picture(const std::vector<std::string>& rows) {
    TImage img(static_cast<std::int32_t>(rows[0].size()), static_cast<std::int32_t>(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            img.Set(static_cast<int>(x), static_cast<int>(y), c == '#' ? kWall : c == 'f' ? kFill : c == 'r' ? kRed : kBlack);
        }
    return img;
}

std::vector<std::string> Rows(const TImage& img) {
    std::vector<std::string> rows;
    for (int y = 0; y < img.Height(); ++y) {
        std::string r;
        for (int x = 0; x < img.Width(); ++x) {
            const TPixel p = img.At(x, y);
            r += p == kWall ? '#' : p == kFill ? 'f' : p == kRed ? 'r' : '.';
        }
        rows.push_back(r);
    }
    return rows;
}

TEST(FloodFill, FillsTheBoundedAreaOnly) {
    struct Case {
        const char* what;
        std::vector<std::string> before;
        int x, y;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"closed box", {"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}, 2, 2,
         {"......", ".####.", ".#ff#.", ".#ff#.", ".####.", "......"}},
        {"a diagonal gap does not leak (4-connected)", {"..#...", ".#.#..", "#...#.", ".#.#..", "..#...", "......"}, 2, 2,
         {"..#...", ".#f#..", "#fff#.", ".#f#..", "..#...", "......"}},
        {"other colours are filled over, only the wall bounds",
         {"#####", "#.r.#", "#r.r#", "#####"}, 1, 1, {"#####", "#fff#", "#fff#", "#####"}},
        {"pixels already of the fill colour neither stop nor loop it",
         {"#######", "#.f.f.#", "#ff.ff#", "#.f.f.#", "#######"}, 1, 1,
         {"#######", "#fffff#", "#fffff#", "#fffff#", "#######"}},
        {"start on the wall fills nothing", {"###", "#.#", "###"}, 0, 0, {"###", "#.#", "###"}},
        {"the image edge bounds too", {"...#", "..#.", ".#..", "#..."}, 0, 0, {"fff#", "ff#.", "f#..", "#..."}},
        {"a U shape is filled through its bend",
         {"#######", "#.#.#.#", "#.#.#.#", "#.....#", "#######"}, 1, 1,
         {"#######", "#f#f#f#", "#f#f#f#", "#fffff#", "#######"}},
    };
    for (const Case& c : cases) {
        TImage img = Picture(c.before);
        FloodFillImage(img, c.x, c.y, kWall, kFill);
        EXPECT_EQ(Rows(img), c.after) << c.what;
    }
}

TEST(FloodFill, StartOutsideTheImageFillsNothing) {
    TImage img = Picture({"...", "..."});
    for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{3, 0}, std::pair{0, 2}, std::pair{0, -5}}) {
        FloodFillImage(img, x, y, kWall, kFill);
        EXPECT_EQ(Rows(img), (std::vector<std::string>{"...", "..."}));
    }
}

// A serpentine corridor through a 601 x 601 image: deep for a recursive
// fill, and one connected area of known size for this one.
TEST(FloodFill, LongSerpentineWithoutRecursion) {
    const int n = 601;
    TImage img(n, n, kBlack);
    int open = n * n;
    for (int y = 1; y < n; y += 2) {
        const int gap = (y / 2) % 2 == 0 ? n - 1 : 0;
        for (int x = 0; x < n; ++x)
            if (x != gap) {
                img.Set(x, y, kWall);
                --open;
            }
    }
    FloodFillImage(img, 0, 0, kWall, kFill);
    int filled = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) filled += img.At(x, y) == kFill;
    EXPECT_EQ(filled, open);
}

TEST(RasterOps, FillRectIsClipped) {
    TImage img(6, 4, kBlack);
    FillImageRect(img, {-10, 1, 3, 100}, kRed);
    FillImageRect(img, {5, -3, 50, 1}, kFill);
    FillImageRect(img, {4, 2, 2, 3}, kWall);  // inverted: nothing
    EXPECT_EQ(Rows(img), (std::vector<std::string>{".....f", "rrr...", "rrr...", "rrr..."}));
    FillImageRect(img, {-1, -1, 7, 5}, kWall);  // the whole image, by the contiguous path
    EXPECT_EQ(Rows(img), (std::vector<std::string>{"######", "######", "######", "######"}));
}

TEST(RasterOps, IconsAreDrawnThroughTheirMaskAndClipped) {
    TImage picture(3, 2, kRed);
    picture.Set(1, 0, kWall);
    const TIcon icon(picture, {1, 1, 0, 0, 1, 1});  // top-right and bottom-left transparent
    struct Case {
        int x, y;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {0, 0, {"r#...", ".rr..", "....."}},
        {3, 1, {".....", "...r#", "....r"}},
        {-2, -1, {"r....", ".....", "....."}},
        {5, 0, {".....", ".....", "....."}},
    };
    for (const Case& c : cases) {
        TImage img(5, 3, kBlack);
        DrawIconOnto(img, icon, c.x, c.y);
        EXPECT_EQ(Rows(img), c.rows) << c.x << "," << c.y;
    }
    TImage img(5, 3, kBlack);
    DrawIconOnto(img, TIcon{}, 0, 0);
    EXPECT_EQ(Rows(img), (std::vector<std::string>{".....", ".....", "....."}));
}

TEST(RasterOps, IconWithAShortOrLongMaskDrawsOnlyItsOwnPixels) {
    const TImage face(3, 2, kRed);
    struct Case {
        std::vector<std::uint8_t> mask;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {{1, 1}, {"rr...", "....."}},                   // short: the rest is transparent
        {{1, 0, 1, 0, 1, 0, 1, 1, 1}, {"r.r..", ".r..."}},  // long: the excess is ignored
        {{}, {".....", "....."}},
    };
    for (const Case& c : cases) {
        TImage img(5, 2, kBlack);
        DrawIconOnto(img, TIcon(face, c.mask), 0, 0);
        EXPECT_EQ(Rows(img), c.rows);
    }
}

TEST(RasterOps, ImageSidesAreBoundedAndNeverNegative) {
    TImage img(-5, 3);
    EXPECT_EQ(img.Size(), (TSize{0, 3}));
    img.Resize(kMaxImageSide + 1000, 1);
    EXPECT_EQ(img.Size(), (TSize{kMaxImageSide, 1}));
    img.Resize(2147483647, -2147483647 - 1);
    EXPECT_EQ(img.Size(), (TSize{kMaxImageSide, 0}));
}

TEST(RasterOps, FillPixelsFillsExactlyTheRunAtAnyLengthAndAlignment) {
    for (std::size_t start = 0; start < 4; ++start)
        for (std::size_t length = 0; length < 11; ++length) {
            std::vector<TPixel> row(20, kBlack);
            FillPixels(std::span<TPixel>(row).subspan(start, length), kRed);
            for (std::size_t i = 0; i < row.size(); ++i)
                ASSERT_EQ(row[i], i >= start && i < start + length ? kRed : kBlack) << start << "+" << length << " at " << i;
        }
}

TEST(RasterOps, SetSizeBoundsSidesAndReusesStorageThatFits) {
    TImage img(40, 30, kRed);
    img.SetSize(-3, kMaxImageSide + 5);
    EXPECT_EQ(img.Size(), (TSize{0, kMaxImageSide}));
    img.SetSize(40, 30);
    const TPixel* storage = img.Data();
    // A resize drag: sizes within the storage, down to half of it, move nothing.
    for (const TSize s : {TSize{39, 30}, TSize{30, 25}, TSize{40, 30}, TSize{20, 30}}) {
        img.SetSize(s.width, s.height);
        EXPECT_EQ(img.Size(), s);
        EXPECT_EQ(img.Data(), storage) << s.width << "x" << s.height;
        // Every pixel of the new size is there to paint.
        FillImageRect(img, {0, 0, s.width, s.height}, kFill);
        EXPECT_EQ(img.At(s.width - 1, s.height - 1), kFill);
    }
    img.SetSize(0, 0);
    EXPECT_EQ(img.Size(), (TSize{0, 0}));
}

TEST(RasterOps, BlockCopyCopiesFromOriginToOriginClipped) {
    TImage from = Picture({"#r#r", "rfrf", "####"});
    TImage to(3, 2, kBlack);
    BlockCopy(from, to, 10, 10);
    EXPECT_EQ(Rows(to), (std::vector<std::string>{"#r#", "rfr"}));
    TImage small(4, 3, kBlack);
    BlockCopy(from, small, 2, 1);
    EXPECT_EQ(Rows(small), (std::vector<std::string>{"#r..", "....", "...."}));
    BlockCopy(from, small, -1, 3);
    EXPECT_EQ(Rows(small), (std::vector<std::string>{"#r..", "....", "...."}));
}

}  // namespace
}  // namespace ratiscope
