// The label font's table against what it was read from: Qt measuring the
// 11-pixel Tahoma of fonts-wine, as the Linux tool measured before the SVG
// had a table, so the Linux tool's SVG keeps every label where it was.
#include <gtest/gtest.h>

#include <QFont>
#include <QRawFont>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/qt/QtTextEngine.h"
#include "shell/LabelFont.h"

namespace ratiscope {
namespace {

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

class LabelFontAgainstQt : public ::testing::Test {
protected:
    void SetUp() override {
        // Without fonts-wine's file Qt measures a substitute, which the table is not.
        ASSERT_FALSE(RegisterBundledTahoma().isEmpty()) << "fonts-wine's tahoma.ttf is missing";
        ASSERT_EQ(engine.PixelSize(), kLabelCellHeight);
    }

    // Whether Tahoma itself has the character (Qt measures others in a fallback face).
    bool InFace(char32_t c) const {
        QFont face(engine.Family());
        face.setPixelSize(engine.PixelSize());
        return QRawFont::fromFont(face).supportsCharacter(static_cast<uint>(c));
    }

    TQtTextEngine engine{0};  // nothing kept: every answer is Qt's own
    TLabelFont table;
};

TEST_F(LabelFontAgainstQt, EveryCharacterOfTheFace) {
    int compared = 0;
    for (char32_t c = 0x20; c < 0x2700; ++c) {
        if ((c >= 0x80 && c < 0xA0) || (c >= 0x300 && c < 0x370) || (c >= 0x600 && c < 0x700)) continue;
        if (!InFace(c)) {
            // Invisible characters take no room in Qt either; the rest are unknown.
            if (LabelCharAdvance(c) == 0)
                EXPECT_EQ(engine.Measure(Utf8(c)).width, 0) << std::hex << static_cast<unsigned>(c);
            else
                EXPECT_EQ(LabelCharAdvance(c), kUnknownCharAdvance) << std::hex << static_cast<unsigned>(c);
            continue;
        }
        EXPECT_EQ(LabelCharAdvance(c), engine.Measure(Utf8(c)).width) << std::hex << static_cast<unsigned>(c);
        ++compared;
    }
    EXPECT_GT(compared, 400);
}

// Every pair of Latin, Cyrillic and punctuation characters, kerned or not.
TEST_F(LabelFontAgainstQt, EveryPairOfTheCommonCharacters) {
    std::vector<char32_t> chars;
    for (char32_t c = 0x20; c < 0x7F; ++c) chars.push_back(c);
    for (char32_t c = 0xA0; c < 0x100; ++c) chars.push_back(c);
    for (char32_t c = 0x410; c < 0x450; ++c) chars.push_back(c);
    for (const char32_t c : {0x2013, 0x2014, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E, 0x2026})
        chars.push_back(c);
    int differing = 0;
    for (const char32_t a : chars)
        for (const char32_t b : chars) {
            const std::string pair = Utf8(a) + Utf8(b);
            if (table.Measure(pair).width != engine.Measure(pair).width && ++differing <= 10)
                ADD_FAILURE() << pair << ": table " << table.Measure(pair).width << ", Qt "
                              << engine.Measure(pair).width;
        }
    EXPECT_EQ(differing, 0);
}

// Every text of every shipped language, and its caption on the overlay.
TEST_F(LabelFontAgainstQt, EveryTextOfTheLanguageFiles) {
    int texts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RATISCOPE_LANG_DIR)) {
        if (entry.path().extension() != ".lng") continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            if (line.ends_with('\r')) line.pop_back();
            const auto equals = line.find('=');
            if (equals == std::string::npos || line.starts_with(';')) continue;
            const std::string text = line.substr(equals + 1);
            for (const std::string& shown : {text, "Vendrel Ratiscope - " + text}) {
                EXPECT_EQ(table.Measure(shown).width, engine.Measure(shown).width)
                    << entry.path().filename() << ": " << shown;
                ++texts;
            }
        }
    }
    EXPECT_GT(texts, 800);
}

}  // namespace
}  // namespace ratiscope
