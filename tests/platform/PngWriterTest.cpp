// Our own PNG writer read back by Qt's decoder: every pixel and its alpha
// survive, and the checksums are the standard ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "platform/qt/QtImageIO.h"
#include "platform/raster/PngWriter.h"

namespace ratiscope {
namespace {

constexpr TColor kKey = 0xFE00FE;

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TImage Noise(std::int32_t w, std::int32_t h, unsigned seed, double keyShare) {
    TImage image(w, h);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            image.Set(x, y, share(random) < keyShare ? PixelFromColor(kKey) : (0xFF000000u | (random() & 0xFFFFFFu)));
    return image;
}

TEST(PngWriter, ChecksumsAreTheStandardOnes) {
    EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32(Bytes("")), 0u);
    EXPECT_EQ(Adler32(Bytes("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(Adler32(Bytes("")), 1u);
}

TEST(PngWriter, QtReadsBackEveryPixelAndItsAlpha) {
    struct Case {
        const char* name;
        TImage image;
    };
    TImage overlay(420, 285, PixelFromColor(kKey));
    for (std::int32_t x = 12; x < 408; ++x) overlay.Set(x, 100, 0xFF0000FFu);
    for (std::int32_t y = 0; y < 16; ++y)
        for (std::int32_t x = 0; x < 420; ++x) overlay.Set(x, y, 0xFFDDDDDDu);
    const Case cases[] = {
        {"one pixel", TImage(1, 1, 0xFF123456u)},
        {"one key pixel", TImage(1, 1, PixelFromColor(kKey))},
        {"an overlay picture", overlay},
        {"noise", Noise(97, 41, 7, 0.0)},
        {"noise with key", Noise(64, 64, 9, 0.5)},
        {"a wide row", Noise(40000 / 4, 2, 3, 0.9)},  // rows longer than the 32K window
    };
    for (const Case& c : cases) {
        for (const bool keyed : {true, false}) {
            const std::vector<std::uint8_t> png = WritePng(c.image, keyed ? std::optional<TColor>(kKey) : std::nullopt);
            std::vector<std::uint8_t> alpha;
            const std::optional<TImage> back = DecodePng(png, &alpha);
            ASSERT_TRUE(back) << c.name;
            ASSERT_EQ(back->Size(), c.image.Size()) << c.name;
            for (std::int32_t y = 0; y < c.image.Height(); ++y)
                for (std::int32_t x = 0; x < c.image.Width(); ++x) {
                    const TPixel p = c.image.At(x, y) | 0xFF000000u;
                    const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(c.image.Width()) + static_cast<std::size_t>(x);
                    ASSERT_EQ(back->At(x, y), p) << c.name << " at " << x << "," << y;
                    const bool transparent = keyed && p == (PixelFromColor(kKey) | 0xFF000000u);
                    ASSERT_EQ(alpha[i], transparent ? 0 : 255) << c.name << " at " << x << "," << y;
                }
        }
    }
}

TEST(PngWriter, RunsOfTheKeyColourCompressWell) {
    // An overlay picture is mostly key colour: the file stays a small fraction of its pixels.
    const TImage image(1920, 1080, PixelFromColor(kKey));
    const std::vector<std::uint8_t> png = WritePng(image, kKey);
    EXPECT_LT(png.size(), std::size_t{1920} * 1080 * 4 / 50);
}

TEST(PngWriter, AnEmptyImageGivesNoFile) { EXPECT_TRUE(WritePng(TImage()).empty()); }

}  // namespace
}  // namespace ratiscope
