// The wildcard rule of folder listings, the same on every platform: the
// language-file lookup relies on it matching exactly what it should.
#include <gtest/gtest.h>

#include "platform/FileNamePattern.h"

namespace ratiscope {
namespace {

TEST(FileNamePattern, MatchesAsTheListingsPromise) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"English.lng", "*.lng", true},
        {"English.LNG", "*.lng", false},  // case counts, unlike the Windows finder
        {"ENGLIS~1.LNG", "*.lng", false},
        {"English.lng.bak", "*.lng", false},
        {".lng", "*.lng", false},  // a leading dot is matched only literally
        {".hidden.lng", ".*.lng", true},
        {".hidden.lng", "?hidden.lng", false},
        {"a.lng", "?.lng", true},
        {"ab.lng", "?.lng", false},
        {".lng", ".lng", true},
        {"", "*", true},
        {"", "?", false},
        {"abc", "", false},
        {"", "", true},
        {"abc", "***", true},
        {"abcabd", "*abd", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
        {"Deutsch (Schweiz).lng", "* (*).lng", true},
        {"[x].lng", "[x].lng", true},  // brackets are plain characters
        {"x.lng", "[x].lng", false},
        {"a\\b", "a\\b", true},  // so is a backslash
        {"Fran\xC3\xA7" "ais.lng", "Fran?ais.lng", false},  // "?" is one byte, "ç" two
        {"Fran\xC3\xA7" "ais.lng", "Fran??ais.lng", true},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchesFileNamePattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

TEST(FileNamePattern, LongNamesAgainstManyStarsStayQuick) {
    // The matcher keeps one back-tracking point, so this is linear, not exponential.
    const std::string name(20000, 'a');
    EXPECT_FALSE(MatchesFileNamePattern(name, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(MatchesFileNamePattern(name + "b", "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
}  // namespace ratiscope
