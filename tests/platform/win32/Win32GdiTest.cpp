// The picture layout GDI shares with TImage, and GDI's glyphs as text masks:
// one block copy shows every pixel where it belongs, and text lights only
// pixels of exactly its colour (no antialiasing fringe on the key colour).
#include <gtest/gtest.h>

#include "platform/win32/Win32Api.h"

#include <set>
#include <utility>

#include "platform/Image.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32TextEngine.h"

namespace ratiscope {
namespace {

constexpr TPixel kKeyPixel = 0xFFFE00FEu;

// A memory device context drawing into a top-down DIB section we can read.
class TDibTarget {
public:
    TDibTarget(int w, int h) : w_(w), h_(h) {
        dc_ = CreateCompatibleDC(nullptr);
        const BITMAPINFO info = DibHeaderFor(w, h);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        std::fill(Pixels(), Pixels() + w * h, 0x00123456u);
    }
    ~TDibTarget() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    TDibTarget(const TDibTarget&) = delete;
    TDibTarget& operator=(const TDibTarget&) = delete;
    HDC Dc() const { return dc_; }
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return Pixels()[y * w_ + x] & 0xFFFFFFu;
    }

private:
    std::uint32_t* Pixels() const { return static_cast<std::uint32_t*>(bits_); }
    int w_, h_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

TEST(Win32Dib, TheHeaderDescribesTImagesOwnLayout) {
    const BITMAPINFO info = DibHeaderFor(420, 285);
    EXPECT_EQ(info.bmiHeader.biWidth, 420);
    EXPECT_EQ(info.bmiHeader.biHeight, -285);  // top-down
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    EXPECT_EQ(info.bmiHeader.biCompression, static_cast<DWORD>(BI_RGB));
}

TEST(Win32Dib, OneBlockCopyPutsEveryPixelInItsPlace) {
    TImage picture(7, 5, kKeyPixel);
    picture.Set(0, 0, 0xFF102030u);
    picture.Set(6, 0, 0xFF405060u);
    picture.Set(0, 4, 0xFF708090u);
    picture.Set(6, 4, 0xFFA0B0C0u);
    struct Case {
        int w, h;
    };
    for (const Case c : {Case{7, 5}, Case{4, 3}}) {
        TDibTarget target(7, 5);
        ASSERT_TRUE(CopyToDevice(target.Dc(), picture, c.w, c.h));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                const std::uint32_t want = x < c.w && y < c.h ? picture.At(x, y) & 0xFFFFFFu : 0x123456u;
                EXPECT_EQ(target.At(x, y), want) << c.w << "x" << c.h << " at " << x << "," << y;
            }
    }
}

std::set<std::pair<int, int>> LitPixels(const TImage& image, TPixel background) {
    std::set<std::pair<int, int>> lit;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) != background) lit.insert({x, y});
    return lit;
}

TEST(Win32TextEngine, TahomaWithAnElevenPixelCell) {
    TWin32TextEngine text;
    EXPECT_EQ(text.Family(), "Tahoma");
    EXPECT_EQ(text.CellHeight(), 11);
    const TSize size = text.Measure("396 x 245");
    EXPECT_EQ(size.height, 11);
    EXPECT_GT(size.width, 30);
    EXPECT_LT(size.width, 70);
    EXPECT_EQ(text.Measure("").width, 0);
    // Measuring is additive for text without kerning pairs.
    EXPECT_EQ(text.Measure("11").width, 2 * text.Measure("1").width);
}

TEST(Win32TextEngine, TextLightsOnlyPixelsOfExactlyItsColour) {
    TWin32TextEngine text;
    TImage image(120, 40, kKeyPixel);
    text.Draw(image, 10, 10, "Golden 0.618", 0x0000FF, 0);
    const auto lit = LitPixels(image, kKeyPixel);
    ASSERT_GT(lit.size(), 40u);
    const TSize size = text.Measure("Golden 0.618");
    for (const auto& [x, y] : lit) {
        EXPECT_EQ(image.At(x, y), 0xFF0000FFu) << x << "," << y;
        EXPECT_GE(x, 10 - 2);
        EXPECT_LT(x, 10 + size.width + 2);
        EXPECT_GE(y, 10);
        EXPECT_LT(y, 10 + size.height);
    }
}

TEST(Win32TextEngine, TurnedTextRunsUpwardFromItsOrigin) {
    TWin32TextEngine text;
    TImage image(40, 120, kKeyPixel);
    text.Draw(image, 10, 100, "245 px", 0x00FF00, 90);
    const auto lit = LitPixels(image, kKeyPixel);
    ASSERT_GT(lit.size(), 20u);
    const TSize size = text.Measure("245 px");
    int minY = 1000, maxY = -1;
    for (const auto& [x, y] : lit) {
        EXPECT_EQ(image.At(x, y), 0xFF00FF00u);
        EXPECT_GE(x, 10);
        EXPECT_LT(x, 10 + size.height);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    EXPECT_LT(maxY, 100 + 2);
    EXPECT_GE(minY, 100 - size.width - 2);
    EXPECT_GT(maxY - minY, size.width / 2);
}

TEST(Win32TextEngine, KeptAndFreshGlyphsAreTheSame) {
    TWin32TextEngine cached;
    TWin32TextEngine plain(0);
    for (const int angle : {0, 90}) {
        TImage a(80, 80, kKeyPixel), b(80, 80, kKeyPixel), c(80, 80, kKeyPixel);
        cached.Draw(a, 5, 70, "Grid 12 px", 0x808080, angle);
        cached.Draw(b, 5, 70, "Grid 12 px", 0x808080, angle);  // from the cache
        plain.Draw(c, 5, 70, "Grid 12 px", 0x808080, angle);
        EXPECT_EQ(LitPixels(a, kKeyPixel), LitPixels(b, kKeyPixel)) << angle;
        EXPECT_EQ(LitPixels(a, kKeyPixel), LitPixels(c, kKeyPixel)) << angle;
    }
    EXPECT_EQ(cached.CachedTexts(), 2u);
}

TEST(Win32TextEngine, TextFarOutsideTheImageIsClipped) {
    TWin32TextEngine text;
    TImage image(10, 10, kKeyPixel);
    text.Draw(image, -2000000000, 2000000000, "far away", 0xFFFFFF, 0);
    text.Draw(image, 2000000000, -2000000000, "far away", 0xFFFFFF, 90);
    EXPECT_TRUE(LitPixels(image, kKeyPixel).empty());
}

}  // namespace
}  // namespace ratiscope
