// The label font's table and the SVG export laid out with it: the same widths
// on every platform, whatever glyphs the platform draws its PNG with.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/TextEngine.h"
#include "shell/ExportProgram.h"
#include "shell/LabelFont.h"
#include "support/FakeFiles.h"
#include "support/FakeTextEngine.h"

namespace ratiscope {
namespace {

struct TWidthCase {
    std::string text;
    std::int32_t width;
};

void ExpectWidths(const std::vector<TWidthCase>& cases) {
    TLabelFont font;
    for (const TWidthCase& k : cases) {
        const TSize size = font.Measure(k.text);
        EXPECT_EQ(size.width, k.width) << k.text;
        EXPECT_EQ(size.height, kLabelCellHeight) << k.text;
    }
}

// Widths the Linux tool measures with Qt and the 11-pixel Tahoma.
TEST(LabelFont, MeasuresLabelsAndCaptionsAsTheLinuxTool) {
    ExpectWidths({
        {"", 0},
        {"396", 18},
        {"396 x 245", 48},
        {"641,396,245,151,94,58,36,22,14,8,5,3,2", 204},  // "7," is kerned
        {"7,4,2", 25},
        {"(15x6=90)x(10x6=60)", 110},
        {"Vendrel Ratiscope - Golden triangles", 173},
        {"Grille 3 px", 47},
        {"Cuadr\xC3\xAD" "cula 50 px", 80},
        {"\xD0\xA1\xD0\xB5\xD1\x82\xD0\xBA\xD0\xB0 7 \xD0\xBF\xD0\xB8\xD0\xBA\xD1\x81.", 67},  // "Сетка 7 пикс."
        {"\xE2\x80\x9ETest\xE2\x80\x9C", 27},
    });
}

TEST(LabelFont, KerningTightensOrWidensPairsOnly) {
    ExpectWidths({
        {"Te", 11},  // 6 + 6 - 1
        {"T.", 9},   // 6 + 4 - 1
        {"F...", 16},
        {"LJ", 11},  // 5 + 5 + 1
        {"eT", 11},
        {"ET", 12},  // no pair
        {"\xD1\x8E" "7,", 17},  // a Cyrillic letter before a kerned pair of digits and punctuation
    });
    EXPECT_EQ(LabelKerning(U'T', U'e'), -1);
    EXPECT_EQ(LabelKerning(U'e', U'e'), 0);
    EXPECT_EQ(LabelKerning(U'F', U'.'), -2);
}

TEST(LabelFont, InvisibleUnknownAndBrokenCharacters) {
    ExpectWidths({
        {"f\xC2\xAD.", 7},        // a soft hyphen takes no room and keeps "f." a pair
        {"a\xCC\x81", 6},         // a combining acute sits on its letter
        {"T\xCC\x81" "e", 12},    // and parts the pair around it
        {"T\xE2\x80\x8B" "e", 12},  // so does a zero-width space
        {"\xE4\xB8\xAD\xE6\x96\x87", 2 * kUnknownCharAdvance},  // ideographs the table does not hold
        {"\xF0\x9F\x98\x80", kUnknownCharAdvance},
        {"\xD8\xB3", kUnknownCharAdvance},  // Arabic, which the table leaves to shaping
        // Bytes that are not UTF-8 are written as U+FFFD each, and measured so.
        {"\xE9t\xE9", 2 * kUnknownCharAdvance + 4},
        {"cut \xE2\x82", 18 + 2 * kUnknownCharAdvance},
        {std::string("a\0b", 3), 12 + kUnknownCharAdvance},
        // Tabs and line breaks are written as blanks.
        {"1\t2\n3", 6 * 3 + 3 * 2},
    });
    EXPECT_EQ(LabelCharAdvance(0x80), kUnknownCharAdvance);  // a C1 control has no glyph
    EXPECT_EQ(LabelCharAdvance(0x0132), kUnknownCharAdvance);  // a Latin letter this face lacks
    EXPECT_EQ(LabelCharAdvance(0x0419), 7);                   // and a Cyrillic one it has
}

// The export run in-process with a platform whose glyphs are not Tahoma's.
class SvgExport : public ::testing::Test {
protected:
    testing::TFakeFiles files;
    std::string written;
    bool glyphs = true;
    int enginesMade = 0;

    TExportPlatform Platform() {
        return {
            files,
            [this]() -> std::unique_ptr<ITextEngine> {
                ++enginesMade;
                if (!glyphs) return nullptr;
                return std::make_unique<TFakeTextEngine>();
            },
            [](const TImage&, TColor) { return std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'}; },
            [this](const std::string&, std::string_view content) {
                written = content;
                return std::string();
            },
        };
    }

    std::string Export(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"-o", "/out.svg"});
        written.clear();
        EXPECT_EQ(RunExport(arguments, Platform()), 0);
        return written;
    }
};

TEST_F(SvgExport, LayoutIsTheLabelFontsWhateverTheGlyphs) {
    const std::vector<std::vector<std::string>> cases = {
        {"--format", "svg", "--set", "LookMode=1"},
        {"--format", "svg", "--set", "LookMode=2", "--set", "OrientMode=3"},
        {"--format", "svg", "--set", "LookMode=0", "--set", "GridSize=5"},
        {"--format", "svg", "--set", "LookMode=9", "--set", "Lock=0", "--set", "Width=1001", "--set", "Height=61"},
    };
    for (const auto& args : cases) {
        glyphs = true;
        const std::string withGlyphs = Export(args);
        glyphs = false;
        const std::string without = Export(args);
        ASSERT_FALSE(without.empty()) << args[3];
        EXPECT_EQ(withGlyphs, without) << args[3];
    }
    EXPECT_EQ(enginesMade, 0);
    // The 6-pixel cells of the stand-in glyphs would make "396" 18 and
    // "396 x 245" 54; the label font makes it 48.
    const std::string doc = Export({"--format", "svg", "--set", "LookMode=8"});
    EXPECT_NE(doc.find("textLength=\"48\" lengthAdjust=\"spacingAndGlyphs\" fill=\"#838383\">396 x 245</text>"),
              std::string::npos)
        << doc;
}

TEST_F(SvgExport, OnlyThePngNeedsGlyphs) {
    glyphs = false;
    EXPECT_EQ(RunExport(std::vector<std::string>{"--format", "png", "-o", "/out.png"}, Platform()), 1);
    EXPECT_EQ(enginesMade, 1);
    EXPECT_TRUE(written.empty());
    glyphs = true;
    EXPECT_EQ(RunExport(std::vector<std::string>{"--format", "png", "-o", "/out.png"}, Platform()), 0);
    EXPECT_EQ(written.substr(1, 3), "PNG");
}

}  // namespace
}  // namespace ratiscope
