// Merge order, replacement and lookup of the language table.
#include <gtest/gtest.h>

#include "settings/LangTable.h"

namespace ratiscope {
namespace {

TEST(LangTable, MissingKeyShowsAsItself) {
    TLangTable t;
    EXPECT_EQ(t.LangString("MSLookTab"), "MSLookTab");
    EXPECT_EQ(t.LangString(""), "");
}

TEST(LangTable, MergingAgainReplacesInPlace) {
    TLangTable t;
    t.MergeLangPair("MSOpacity", "Opacity");
    t.MergeLangPair("MSLookTab", "Look");
    t.MergeLangPair("MSOpacity", "Deckkraft");
    ASSERT_EQ(t.Size(), 2u);
    EXPECT_EQ(t.Entries()[0].first, "MSOpacity");
    EXPECT_EQ(t.Entries()[0].second, "Deckkraft");
    EXPECT_EQ(t.LangString("MSOpacity"), "Deckkraft");
}

TEST(LangTable, KeysCompareByteForByte) {
    TLangTable t;
    t.MergeLangPair("MSLookTab ", "Look");
    t.MergeLangPair("mslooktab", "look");
    EXPECT_EQ(t.LangString("MSLookTab"), "MSLookTab");
    EXPECT_EQ(t.LangString("mslooktab"), "look");
    EXPECT_EQ(t.Size(), 2u);
}

TEST(LangTable, TheProgramTableEmptiesAtTheEnd) {
    MergeLangPair("MSCaption", "Settings");
    EXPECT_EQ(LangString("MSCaption"), "Settings");
    ClearLanguageTable();
    EXPECT_EQ(LangString("MSCaption"), "MSCaption");
}

}  // namespace
}  // namespace ratiscope
