// The Qt glyph engine and PNG codec, headless: exact text colours at both
// angles, the turned footprint, measuring against drawing, and PNG alpha.
#include <gtest/gtest.h>


#include <algorithm>
#include <iterator>
#include <string>

#include "base/Color.h"
#include "platform/qt/QtImageIO.h"
#include "platform/qt/QtTextEngine.h"
#include "platform/raster/RasterCanvas.h"
#include "platform/raster/TextBox.h"

namespace ratiscope {
namespace {

constexpr TPixel kKey = PixelFromColor(kOverlayKeyColor);
constexpr std::uint32_t kTextRgb = 0x838383;  // the default values colour
constexpr TPixel kText = 0xFF000000u | kTextRgb;

const std::string kSamples[] = {
    "Vendrel Ratiscope - Golden sections",
    "0123456789 x .,;:!?-+=/()[]{}%",
    "WMQ@#&gjpqy AVAWAY fifl",
    "\xc3\xa4\xc3\xb6\xc3\xbc \xc3\x9f \xc3\xa9\xc3\xa8 \xc2\xb0",  // a few accented letters
};

struct TBox {
    int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);  // right, bottom exclusive
    bool Empty() const { return right < left; }
};

TBox TextPixels(const TImage& img, TPixel background) {
    TBox b;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            if (img.At(x, y) != background) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b;
}

class QtText : public ::testing::Test {
protected:
    TQtTextEngine engine;
};

TEST_F(QtText, CellIsElevenPixelsAndTheFaceIsTahomaWhenInstalled) {
    EXPECT_EQ(engine.CellHeight(), kTextCellHeight);
    EXPECT_EQ(engine.Measure("").height, kTextCellHeight);
    EXPECT_EQ(engine.Measure("").width, 0);
    if (!RegisterBundledTahoma().isEmpty()) {
        EXPECT_EQ(engine.Family(), QStringLiteral("Tahoma"));
    }
}

TEST_F(QtText, NoBlendedPixelAtEitherAngle) {
    for (const int angle : {0, 90})
        for (const std::string& s : kSamples) {
            TImage img(260, 260, kKey);
            engine.Draw(img, 20, angle == 90 ? 240 : 20, s, kTextRgb, angle);
            int text = 0;
            for (int y = 0; y < img.Height(); ++y)
                for (int x = 0; x < img.Width(); ++x) {
                    const TPixel p = img.At(x, y);
                    ASSERT_TRUE(p == kKey || p == kText) << "blended pixel " << std::hex << p << " at " << std::dec << x
                                                         << "," << y << " angle " << angle << " in \"" << s << "\"";
                    text += p == kText;
                }
            EXPECT_GT(text, 20) << s;
        }
}

// Measured at (x, y) as w x h, upright text stays in x..x+w by y..y+h and
// turned text in x..x+h by y-w..y; both fill most of that length.
TEST_F(QtText, DrawingStaysInTheMeasuredFootprint) {
    for (const std::string& s : kSamples) {
        const TSize size = engine.Measure(s);
        ASSERT_GT(size.width, 0);
        TImage up(300, 40, kKey);
        engine.Draw(up, 10, 10, s, kTextRgb, 0);
        const TBox a = TextPixels(up, kKey);
        ASSERT_FALSE(a.Empty());
        EXPECT_GE(a.left, 10 - 1) << s;  // one pixel of overhang at most
        EXPECT_LE(a.right, 10 + size.width + 1) << s;
        EXPECT_GE(a.top, 10) << s;
        EXPECT_LE(a.bottom, 10 + size.height) << s;
        EXPECT_GE(a.right - a.left, size.width - 4) << s;

        TImage turned(40, 300, kKey);
        engine.Draw(turned, 10, 290, s, kTextRgb, 90);
        const TBox b = TextPixels(turned, kKey);
        ASSERT_FALSE(b.Empty());
        EXPECT_GE(b.left, 10) << s;
        EXPECT_LE(b.right, 10 + size.height) << s;
        EXPECT_GE(b.top, 290 - size.width - 1) << s;
        EXPECT_LE(b.bottom, 290 + 1) << s;
        EXPECT_GE(b.bottom - b.top, size.width - 4) << s;
        // The glyph tops face left: the turned picture is the upright one turned a quarter.
        for (int v = -1; v <= size.height; ++v)
            for (int u = -1; u <= size.width; ++u)
                ASSERT_EQ(up.At(10 + u, 10 + v) == kText, turned.At(10 + v, 290 - 1 - u) == kText)
                    << "turned text is not the upright text turned, at " << u << "," << v << ": " << s;
    }
}

TEST_F(QtText, TextFarOffTheImageIsSkippedAndClipped) {
    TImage img(50, 20, kKey);
    engine.Draw(img, -2000000000, 5, "far left", kTextRgb, 0);
    engine.Draw(img, 2147483000, 2147483000, "far right", kTextRgb, 90);
    engine.Draw(img, 5, -2147483647 - 1, "far up", kTextRgb, 90);
    EXPECT_TRUE(TextPixels(img, kKey).Empty());
    engine.Draw(img, -10, 2, "clipped at the left and right edges", kTextRgb, 0);
    EXPECT_FALSE(TextPixels(img, kKey).Empty());
}

TEST_F(QtText, CaptionIsShortenedWithAnEllipsisToItsBox) {
    TRasterCanvas canvas(engine, 200, 16);
    canvas.FillRect({0, 0, 200, 16}, kOverlayKeyColor);
    canvas.SetTextColor(kChromeGrey);
    const std::string caption = "Vendrel Ratiscope - Golden sections with a long name";
    const TRect box{14, 1, 120, 15};
    const TTextPlacement p = PlaceTextInBox(engine, caption, box, tfVCenter | tfEndEllipsis, 0);
    EXPECT_LT(p.text.size(), caption.size());
    EXPECT_EQ(p.text.substr(p.text.size() - 3), "...");
    EXPECT_EQ(caption.substr(0, p.text.size() - 3), p.text.substr(0, p.text.size() - 3));
    EXPECT_LE(engine.Measure(p.text).width, box.Width());
    EXPECT_EQ(p.y, 1 + (14 - kTextCellHeight) / 2);
    canvas.DrawTextInBox(caption, box, tfVCenter | tfEndEllipsis);
    const TBox drawn = TextPixels(canvas.Image(), kKey);
    EXPECT_GE(drawn.left, box.left - 1);
    EXPECT_LE(drawn.right, box.right);
}

// A background no text colour matches by chance, different at every pixel.
TImage Patterned(int w, int h) {
    TImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.Set(x, y, 0xFF000000u | static_cast<TPixel>((x * 7919 + y * 104729) & 0x7F7F7F));
    return img;
}

// Kept texts are drawn from their spans: the pixels must be exactly those
// QPainter gives when it draws the string itself, at both angles, clipped at
// every edge, on a first draw and on a repeat, in any colour.
TEST_F(QtText, KeptTextsDrawExactlyTheDirectPixels) {
    TQtTextEngine direct(0);
    const int w = 120, h = 90;
    struct TPlace {
        int x, y;
    };
    const TPlace places[] = {{10, 60}, {-7, 40}, {95, 3}, {30, -5}, {20, 85}, {-300, 200}};
    for (const int angle : {0, 90})
        for (const std::string& s : kSamples)
            for (const TPlace p : places)
                for (const std::uint32_t rgb : {kTextRgb, 0xFF00FFu}) {
                    TImage want = Patterned(w, h), first = want, again = want;
                    direct.Draw(want, p.x, p.y, s, rgb, angle);
                    engine.Draw(first, p.x, p.y, s, rgb, angle);
                    engine.Draw(again, p.x, p.y, s, rgb, angle);
                    for (int y = 0; y < h; ++y)
                        for (int x = 0; x < w; ++x) {
                            ASSERT_EQ(first.At(x, y), want.At(x, y))
                                << "first draw at " << x << "," << y << " angle " << angle << " \"" << s << "\"";
                            ASSERT_EQ(again.At(x, y), want.At(x, y))
                                << "kept draw at " << x << "," << y << " angle " << angle << " \"" << s << "\"";
                        }
                }
    EXPECT_EQ(direct.CachedTexts(), 0u);
    EXPECT_EQ(engine.CachedTexts(), 2 * std::size(kSamples));
}

TEST_F(QtText, KeptSizesAndTextsStayBounded) {
    TQtTextEngine direct(0);
    TImage img(200, 40, kKey);
    for (int i = 0; i < 3 * static_cast<int>(kTextCacheEntries); ++i) {
        const std::string s = std::to_string(i * 37);
        ASSERT_EQ(engine.Measure(s), direct.Measure(s)) << s;
        engine.Draw(img, 5, 5, s, kTextRgb, i % 2 ? 90 : 0);
        ASSERT_LE(engine.CachedTexts(), kTextCacheEntries);
    }
    EXPECT_EQ(engine.CachedTexts(), kTextCacheEntries);
    // A long text goes straight through and is not kept.
    const std::string longText(400, 'W');
    engine.Draw(img, 0, 5, longText, kTextRgb, 0);
    EXPECT_EQ(engine.Measure(longText), direct.Measure(longText));
    EXPECT_EQ(engine.CachedTexts(), kTextCacheEntries);
}

TEST(QtImageIO, PngRoundTripKeepsPixelsAndKeysOutTheKeyColour) {
    TImage img(7, 5, kKey);
    img.Set(0, 0, 0xFF000000u);
    img.Set(3, 2, 0xFFFF4040u);
    img.Set(6, 4, 0xFFFFFFFFu);
    img.Set(1, 4, kKey ^ 0x00000100u);  // one step from the key: stays opaque
    const auto png = EncodePng(img, kOverlayKeyColor);
    ASSERT_FALSE(png.empty());
    std::vector<std::uint8_t> alpha;
    const auto back = DecodePng(png, &alpha);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->Size(), img.Size());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool key = img.At(x, y) == kKey;
            EXPECT_EQ(alpha[static_cast<std::size_t>(y * 7 + x)], key ? 0 : 255) << x << "," << y;
            if (!key) {
                EXPECT_EQ(back->At(x, y), img.At(x, y)) << x << "," << y;
            }
        }

    const auto opaque = DecodePng(EncodePng(img), &alpha);
    ASSERT_TRUE(opaque);
    EXPECT_TRUE(std::all_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a == 255; }));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(opaque->At(x, y), img.At(x, y));
}

TEST(QtImageIO, BadInputGivesNothing) {
    EXPECT_TRUE(EncodePng(TImage{}).empty());
    const std::uint8_t junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    EXPECT_FALSE(DecodePng(junk));
    EXPECT_FALSE(DecodePng({}));
    auto png = EncodePng(TImage(4, 4, kKey));
    png.resize(png.size() / 2);  // truncated
    EXPECT_FALSE(DecodePng(png));
}

}  // namespace
}  // namespace ratiscope
