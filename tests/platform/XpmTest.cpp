// Our XPM reader and writer: round trips, and quiet refusal of malformed pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/raster/Xpm.h"

namespace ratiscope {
namespace {

TEST(Xpm, ReadsColoursTransparencyAndComments) {
    const std::string text =
        "/* XPM */\n"
        "static const char* sample[] = {\n"
        "/* columns rows colours chars-per-pixel */\n"
        "\"3 2 3 1\",\n"
        "\"  c None\",\n"
        "\". c #FF4040\",\n"
        "\"# c #0f0\",\n"
        "// a row comment\n"
        "\" .#\",\n"
        "\"#. \"\n"
        "};\n";
    std::string error;
    const auto icon = IconFromXpmText(text, &error);
    ASSERT_TRUE(icon) << error;
    ASSERT_EQ(icon->Width(), 3);
    ASSERT_EQ(icon->Height(), 2);
    EXPECT_FALSE(icon->Opaque(0, 0));
    EXPECT_TRUE(icon->Opaque(1, 0));
    EXPECT_EQ(icon->Image().At(1, 0), 0xFFFF4040u);
    EXPECT_EQ(icon->Image().At(2, 0), 0xFF00FF00u);
    EXPECT_EQ(icon->Image().At(0, 1), 0xFF00FF00u);
    EXPECT_FALSE(icon->Opaque(2, 1));
}

TEST(Xpm, WriterRoundTripsSmallAndManyColouredPictures) {
    for (const int colours : {1, 2, 90, 200, 9000}) {
        TImage img(100, 90);
        std::vector<std::uint8_t> mask(100 * 90, 1);
        for (int i = 0; i < 100 * 90; ++i) {
            img.Set(i % 100, i / 100, 0xFF000000u | static_cast<TPixel>((i % colours) * 2654435761u & 0xFFFFFFu));
            if (i % 7 == 3) mask[static_cast<std::size_t>(i)] = 0;
        }
        const TIcon icon(img, mask);
        std::string error;
        const auto back = IconFromXpmText(XpmFromIcon(icon, "round_trip"), &error);
        ASSERT_TRUE(back) << colours << ": " << error;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 100; ++x) {
                ASSERT_EQ(back->Opaque(x, y), icon.Opaque(x, y)) << colours;
                if (icon.Opaque(x, y)) {
                    ASSERT_EQ(back->Image().At(x, y), img.At(x, y)) << colours;
                }
            }
    }
}

TEST(Xpm, MalformedPicturesAreRefusedWithAReason) {
    struct Case {
        const char* what;
        std::vector<std::string_view> strings;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"values not numbers", {"a b c d"}},
        {"too few values", {"2 2 1"}},
        {"zero width", {"0 1 1 1", ". c #000000"}},
        {"huge size", {"100000 100000 1 1", ". c #000000"}},
        {"five characters per pixel", {"1 1 1 5", "..... c #000000", "....."}},
        {"missing rows", {"2 2 1 1", ". c #000000", ".."}},
        {"short row", {"2 2 1 1", ". c #000000", "..", "."}},
        {"long row", {"2 2 1 1", ". c #000000", "..", "..."}},
        {"unknown key", {"2 1 1 1", ". c #000000", ".x"}},
        {"colour by name", {"1 1 1 1", ". c red", "."}},
        {"bad hex", {"1 1 1 1", ". c #12345G", "."}},
        {"no c key", {"1 1 1 1", ". m #000000", "."}},
        {"key twice", {"1 1 2 1", ". c #000000", ". c #FFFFFF", "."}},
        {"negative colours", {"1 1 -1 1", "."}},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(IconFromXpm(std::span<const std::string_view>(c.strings), &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

}  // namespace
}  // namespace ratiscope
