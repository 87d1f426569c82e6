// Reading keys the way the settings file has always been read, and rewriting
// only what must change.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/IniFile.h"

namespace ratiscope {
namespace {

TEST(IniFile, ReadsKeysOfTheFirstMatchingSection) {
    struct Case {
        const char* name;
        const char* content;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"plain", "[Settings]\nWidth=500\n", "Width", "500"},
        {"key case ignored", "[Settings]\nwIDTH=500\n", "Width", "500"},
        {"section case ignored", "[sETTINGS]\nWidth=500\n", "Width", "500"},
        {"blanks around key and value", "[Settings]\n  Width \t=  500 \t\n", "Width", "500"},
        {"blanks inside brackets", "[ Settings ]\nWidth=1\n", "Width", "1"},
        {"indented header", "  [Settings]\nWidth=1\n", "Width", "1"},
        {"double quotes dropped", "[Settings]\nLang=\"Deutsch\"\n", "Lang", "Deutsch"},
        {"single quotes dropped", "[Settings]\nLang='Deutsch'\n", "Lang", "Deutsch"},
        {"quotes keep inner blanks", "[Settings]\nLang=\" a b \"\n", "Lang", " a b "},
        {"one pair only", "[Settings]\nLang=\"\"x\"\"\n", "Lang", "\"x\""},
        {"mismatched quotes stay", "[Settings]\nLang=\"x'\n", "Lang", "\"x'"},
        {"lone quote stays", "[Settings]\nLang=\"\n", "Lang", "\""},
        {"empty value", "[Settings]\nLang=\n", "Lang", ""},
        {"second equals sign is value", "[Settings]\nLang=a=b\n", "Lang", "a=b"},
        {"first key wins", "[Settings]\nWidth=1\nWidth=2\n", "Width", "1"},
        {"first section wins", "[Settings]\nX=1\n[Settings]\nWidth=2\n", "Width", std::nullopt},
        {"other section ignored", "[Other]\nWidth=7\n[Settings]\nHeight=1\n", "Width", std::nullopt},
        {"key after section ends", "[Settings]\n[Next]\nWidth=7\n", "Width", std::nullopt},
        {"no section", "Width=7\n", "Width", std::nullopt},
        {"line without equals is no key", "[Settings]\nWidth\nWidth=3\n", "Width", "3"},
        {"comment is no key", "[Settings]\n;Width=1\nWidth=2\n", "Width", "2"},
        {"CRLF line ends", "[Settings]\r\nWidth=500\r\nHeight=3\r\n", "Width", "500"},
        {"last line without line end", "[Settings]\nWidth=500", "Width", "500"},
        {"last line cut after CR", "[Settings]\r\nWidth=500\r", "Width", "500"},
        {"byte-order mark", "\xEF\xBB\xBF[Settings]\nWidth=9\n", "Width", "9"},
        {"header without closing bracket", "[Settings\nWidth=9\n", "Width", "9"},
        {"empty file", "", "Width", std::nullopt},
        {"tab is a blank, other controls are not", "[Settings]\nWidth=\v5\n", "Width", "\v5"},
    };
    for (const Case& c : cases) {
        const TIniFile ini(c.content);
        EXPECT_EQ(ini.ReadString("Settings", c.key), c.value) << c.name;
    }
}

TEST(IniFile, ValuesAreCutTo2047Bytes) {
    const std::string longValue(5000, 'v');
    const TIniFile ini("[Settings]\nLang=" + longValue + "\n");
    EXPECT_EQ(ini.ReadString("Settings", "Lang"), std::string(2047, 'v'));
}

TEST(IniFile, WritesInPlaceAppendsNewKeysAndKeepsEverythingElse) {
    struct Case {
        const char* name;
        const char* before;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        {"new file", "", "Border", "12", "[Settings]\nBorder=12\n"},
        {"rewritten in place, own spelling kept", "[Settings]\n  wIdTh = 5\nHeight=3\n", "Width", "7",
         "[Settings]\nwIdTh=7\nHeight=3\n"},
        {"new key at the section's end, before blank lines",
         "; top\n[Settings]\nA=1\n\n[Other]\nB=2\n", "Width", "7",
         "; top\n[Settings]\nA=1\nWidth=7\n\n[Other]\nB=2\n"},
        {"section without keys", "[Settings]\n\n", "Width", "7", "[Settings]\nWidth=7\n\n"},
        {"new section after other content", "[Other]\nB=2\n", "Width", "7",
         "[Other]\nB=2\n\n[Settings]\nWidth=7\n"},
        {"last line without line end", "[Settings]\nA=1", "Width", "7", "[Settings]\nA=1\nWidth=7\n"},
        {"CRLF kept for every line", "[Settings]\r\nA=1\r\n", "Width", "7", "[Settings]\r\nA=1\r\nWidth=7\r\n"},
        {"mixed line ends kept line by line", "[Settings]\r\nA=1\nB=2\r\n", "A", "3",
         "[Settings]\r\nA=3\nB=2\r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[Settings]\nA=1\n", "A", "2", "\xEF\xBB\xBF[Settings]\nA=2\n"},
        {"only the first section is written", "[Settings]\nA=1\n[settings]\nW=1\n", "W", "2",
         "[Settings]\nA=1\nW=2\n[settings]\nW=1\n"},
        {"blanks at the ends are quoted", "", "Lang", " x", "[Settings]\nLang=\" x\"\n"},
        {"quote pair is quoted again", "", "Lang", "'x'", "[Settings]\nLang=\"'x'\"\n"},
        {"line breaks become blanks", "", "Lang", "a\r\nb\n[X]", "[Settings]\nLang=a  b [X]\n"},
        {"last line cut after CR", "[Settings]\r\nA=1\r", "B", "2", "[Settings]\r\nA=1\r\nB=2\r\n"},
        // The header's own CR must not join the line feed added after it, or
        // "[Settings" would become the first section on reading.
        {"a CR of the last line's text stays its own", "[Settings\r\r", "Lang", "x",
         "[Settings\r\r\n\n[Settings]\nLang=x\n"},
    };
    for (const Case& c : cases) {
        TIniFile ini(c.before);
        ini.WriteString("Settings", c.key, c.value);
        EXPECT_EQ(ini.Content(), c.after) << c.name;
    }
}

TEST(IniFile, WhatIsWrittenReadsBackUnchanged) {
    const std::string values[] = {"", "0", "Deutsch", " lead", "trail\t", "'q'", "\"q\"", "a=b", "\"", "[x]"};
    for (const std::string& v : values) {
        TIniFile ini("[Settings]\nLang=old\n");
        ini.WriteString("Settings", "Lang", v);
        const TIniFile again(ini.Content());
        EXPECT_EQ(again.ReadString("Settings", "Lang"), v) << '"' << v << '"';
    }
}

TEST(IniFile, UntouchedContentSurvivesByteForByte) {
    const std::string content =
        "; written by hand\r\n[Window]\r\nX = 3 \r\n\r\n[Settings]\r\nWidth=1\r\nUnknown=keep me\r\n"
        "\r\n[Tail]\r\nZ=\"q\"\r\n";
    TIniFile ini(content);
    EXPECT_EQ(ini.Content(), content);
    ini.WriteString("Settings", "Width", "1");
    EXPECT_EQ(ini.Content(), content);
}

// A new file takes the platform's line end; one that has lines keeps its own.
TEST(IniFile, NewLinesTakeTheFilesOwnEndOrTheOneGiven) {
    struct Case {
        const char* what;
        const char* content;
        const char* given;
        const char* written;
    };
    const Case cases[] = {
        {"new file, line feeds", "", "\n", "[Settings]\nX=1\n"},
        {"new file, Windows line ends", "", "\r\n", "[Settings]\r\nX=1\r\n"},
        {"line feeds kept", "[Settings]\nY=2\n", "\r\n", "[Settings]\nY=2\nX=1\n"},
        {"Windows line ends kept", "[Settings]\r\nY=2\r\n", "\n", "[Settings]\r\nY=2\r\nX=1\r\n"},
        {"one line without an end", "[Settings]", "\r\n", "[Settings]\r\nX=1\r\n"},
    };
    for (const Case& c : cases) {
        TIniFile ini(c.content, c.given);
        ini.WriteString("Settings", "X", "1");
        EXPECT_EQ(ini.Content(), c.written) << c.what;
    }
}

}  // namespace
}  // namespace ratiscope
