// The language-file grammar, byte by byte, and the order in which languages
// and folders are tried.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/LangTable.h"
#include "settings/LanguageFiles.h"
#include "support/FakeFiles.h"

namespace ratiscope {
namespace {

using testing::TFakeFiles;
using TPairs = std::vector<std::pair<std::string, std::string>>;

TPairs ReadAll(std::string_view bytes) {
    TLangReader reader(bytes);
    TPairs pairs;
    std::string key, text;
    while (reader.ReadLangPair(key, text)) pairs.emplace_back(key, text);
    return pairs;
}

TEST(LanguageFiles, GrammarCases) {
    struct Case {
        const char* name;
        std::string bytes;
        TPairs expected;
    };
    const Case cases[] = {
        {"one entry", "MSLookTab=Look\r\n", {{"MSLookTab", "Look"}}},
        {"leading blanks skipped", "  MSLookTab=Look\r\n", {{"MSLookTab", "Look"}}},
        {"blanks belong to key and text", "MSLookTab = Look\r\n", {{"MSLookTab ", " Look"}}},
        {"trailing blanks belong to the text", "A=x  \r\n", {{"A", "x  "}}},
        {"empty text", "A=\r\nB=b\r\n", {{"A", ""}, {"B", "b"}}},
        {"second equals sign is text", "A=b=c\r\n", {{"A", "b=c"}}},
        {"semicolon comment", "; note\r\nA=a\r\n", {{"A", "a"}}},
        {"number sign comment", "# note\r\nA=a\r\n", {{"A", "a"}}},
        {"bracket comment", "[English]\r\nA=a\r\n", {{"A", "a"}}},
        {"digit comment", "1A=x\r\nA=a\r\n", {{"A", "a"}}},
        {"underscore comment", "_A=x\r\nA=a\r\n", {{"A", "a"}}},
        {"comment with equals sign", "; A=x\r\nA=a\r\n", {{"A", "a"}}},
        {"byte-order mark costs the first line", "\xEF\xBB\xBF" "A=a\r\nB=b\r\n", {{"B", "b"}}},
        {"byte above 127 makes a comment", "\xC3\xA4=x\r\nB=b\r\n", {{"B", "b"}}},
        {"line without equals joins the next key", "Orphan\r\nA=a\r\n", {{"Orphan\r\nA", "a"}}},
        {"continuation", "A=one\\\r\ntwo\r\n", {{"A", "one\r\ntwo"}}},
        {"continuation takes any byte after the CR", "A=one\\\rXtwo\r\n", {{"A", "one\r\ntwo"}}},
        {"backslash n stays", "A=a\\nb\r\n", {{"A", "a\\nb"}}},
        {"double backslash stays", "A=a\\\\b\r\n", {{"A", "a\\\\b"}}},
        {"backslash pair before the line end", "A=a\\\\\r\nB=b\r\n", {{"A", "a\\\\"}, {"B", "b"}}},
        {"missing final CR loses the entry", "A=a\r\nB=b", {{"A", "a"}}},
        {"file ends inside a key", "A=a\r\nBkey", {{"A", "a"}}},
        {"file ends after a continuation backslash", "A=a\r\nB=b\\", {{"A", "a"}}},
        {"file ends after backslash and CR", "A=a\r\nB=b\\\r", {{"A", "a"}}},
        {"reading stops at a cut-off entry", "A=a\r\nB=b", {{"A", "a"}}},
        {"keys keep their case", "msLookTab=x\r\nMSLookTab=y\r\n", {{"msLookTab", "x"}, {"MSLookTab", "y"}}},
        {"control bytes before an entry skipped", "\t\x01\x1F A=a\r\n", {{"A", "a"}}},
        {"UTF-8 text passes as bytes", "A=Gr\xC3\xB6\xC3\x9F" "e\r\n", {{"A", "Gr\xC3\xB6\xC3\x9F" "e"}}},
        // Mended: a lone line feed ends a text too, so Linux line ends work.
        {"line feed ends a text", "A=a\nB=b\n", {{"A", "a"}, {"B", "b"}}},
        {"continuation with a line feed", "A=one\\\ntwo\n", {{"A", "one\r\ntwo"}}},
        {"missing final line feed loses the entry", "A=a\nB=b", {{"A", "a"}}},
        {"empty file", "", {}},
        {"only comments", "; a\r\n; b\r\n", {}},
        {"comment without a line end", "; a", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadAll(c.bytes), c.expected) << c.name;
}

TEST(LanguageFiles, AZeroByteIsText) {
    const std::string bytes("A=a\0b\r\n", 7);
    EXPECT_EQ(ReadAll(bytes), (TPairs{{"A", std::string("a\0b", 3)}}));
}

// A program run from /p with data folders that are its own, unless installed.
TFakeFiles Program(bool installed) {
    TFakeFiles files;
    files.programPath = installed ? "/usr/lib/ratiscope/ratiscope" : "/p/ratiscope";
    files.programFilesFolder = "/usr/lib/ratiscope/";
    files.userDataFolder = "/home/u/.config";
    files.sharedDataFolder = "/usr/share";
    return files;
}

TEST(LanguageFiles, TheChosenLanguageIsLaidOverEnglish) {
    TFakeFiles files = Program(false);
    files.AddFile("/p/English.lng", "MSOpacity=Opacity\r\nMSLookTab=Look\r\n");
    files.AddFile("/p/Deutsch.lng", "MSLookTab=Ansicht\r\nMSLookTab=Darstellung\r\nMSExtra=nur hier\r\n");
    TLangTable table;
    SelectLanguageTexts(table, files, "Deutsch");
    EXPECT_EQ(table.LangString("MSOpacity"), "Opacity") << "English kept for a missing key";
    EXPECT_EQ(table.LangString("MSLookTab"), "Darstellung") << "the later line wins";
    EXPECT_EQ(table.LangString("MSExtra"), "nur hier");
    EXPECT_EQ(table.LangString("MSCaption"), "MSCaption") << "a key nobody defines shows as itself";
}

TEST(LanguageFiles, SwitchingKeepsTextsOnlyAnEarlierLanguageDefined) {
    TFakeFiles files = Program(false);
    files.AddFile("/p/English.lng", "A=a\r\n");
    files.AddFile("/p/X.lng", "OnlyX=x\r\n");
    files.AddFile("/p/Y.lng", "A=y\r\n");
    TLangTable table;
    SelectLanguageTexts(table, files, "X");
    SelectLanguageTexts(table, files, "Y");
    EXPECT_EQ(table.LangString("OnlyX"), "x");
    EXPECT_EQ(table.LangString("A"), "y");
}

TEST(LanguageFiles, EnglishIsLoadedOnceWhenChosen) {
    TFakeFiles files = Program(false);
    files.AddFile("/p/English.lng", "A=a\r\n");
    TLangTable table;
    SelectLanguageTexts(table, files, "English");
    EXPECT_EQ(files.log, (std::vector<std::string>{"ReadFile /p/English.lng"}));
    files.log.clear();
    SelectLanguageTexts(table, files, "english");
    EXPECT_EQ(files.log, (std::vector<std::string>{"ReadFile /p/English.lng", "ReadFile /p/english.lng"}))
        << "the comparison with English is case-sensitive";
}

TEST(LanguageFiles, FoldersAreTriedInOrderAndTheFirstReadableWins) {
    struct Case {
        const char* name;
        std::vector<std::string> present;
        std::vector<std::string> unreadable;
        std::vector<std::string> reads;
        const char* text;
    };
    const std::string prog = "/usr/lib/ratiscope/X.lng";
    const std::string shared = "/usr/share/Vendrel/Ratiscope/X.lng";
    const std::string user = "/home/u/.config/Vendrel/Ratiscope/X.lng";
    const Case cases[] = {
        {"program folder first", {prog, shared, user}, {}, {"ReadFile " + prog}, "/usr/lib/ratiscope/X.lng"},
        {"then all users", {shared, user}, {}, {"ReadFile " + prog, "ReadFile " + shared}, "/usr/share/Vendrel/Ratiscope/X.lng"},
        {"then the user", {user}, {}, {"ReadFile " + prog, "ReadFile " + shared, "ReadFile " + user},
         "/home/u/.config/Vendrel/Ratiscope/X.lng"},
        {"an unreadable file is passed over", {prog, user}, {prog},
         {"ReadFile " + prog, "ReadFile " + shared, "ReadFile " + user}, "/home/u/.config/Vendrel/Ratiscope/X.lng"},
        {"none", {}, {}, {"ReadFile " + prog, "ReadFile " + shared, "ReadFile " + user}, "T"},
    };
    for (const Case& c : cases) {
        TFakeFiles files = Program(true);
        for (const auto& p : c.present) files.AddFile(p, "T=" + p + "\r\n");
        for (const auto& p : c.unreadable) files.unreadable.insert(p);
        TLangTable table;
        EXPECT_EQ(LoadLanguage(table, files, "X"), std::string(c.text) != "T") << c.name;
        EXPECT_EQ(files.log, c.reads) << c.name;
        EXPECT_EQ(table.LangString("T"), c.text) << c.name;
    }
}

TEST(LanguageFiles, EveryAllUsersDataFolderIsTriedInItsOrder) {
    struct Case {
        const char* name;
        std::vector<std::string> present;
        const char* text;
    };
    const std::string local = "/usr/local/share/Vendrel/Ratiscope/X.lng";
    const std::string system = "/usr/share/Vendrel/Ratiscope/X.lng";
    const std::string opt = "/opt/share/Vendrel/Ratiscope/X.lng";
    const std::string user = "/home/u/.config/Vendrel/Ratiscope/X.lng";
    const Case cases[] = {
        {"only in the second entry", {system}, "/usr/share/Vendrel/Ratiscope/X.lng"},
        {"only in the last entry", {opt, user}, "/opt/share/Vendrel/Ratiscope/X.lng"},
        {"the first entry wins", {opt, system, local}, "/usr/local/share/Vendrel/Ratiscope/X.lng"},
        {"the user's folder after all of them", {user}, "/home/u/.config/Vendrel/Ratiscope/X.lng"},
    };
    for (const Case& c : cases) {
        TFakeFiles files = Program(true);
        files.sharedDataFolders = {"/usr/local/share", "/usr/share", "/opt/share"};
        for (const auto& p : c.present) files.AddFile(p, "T=" + p + "\r\n");
        TLangTable table;
        EXPECT_TRUE(LoadLanguage(table, files, "X")) << c.name;
        EXPECT_EQ(table.LangString("T"), c.text) << c.name;
    }
    TFakeFiles files = Program(true);
    files.sharedDataFolders = {"/usr/local/share", "/usr/share", "/usr/share/"};
    EXPECT_EQ(LanguageFolders(files),
              (std::vector<std::string>{"/usr/lib/ratiscope/", "/usr/local/share/Vendrel/Ratiscope/",
                                        "/usr/share/Vendrel/Ratiscope/", "/home/u/.config/Vendrel/Ratiscope/"}))
        << "each folder once";
}

TEST(LanguageFiles, AProgramThatIsNotInstalledLooksOnlyNextToItself) {
    TFakeFiles files = Program(false);
    files.AddFile("/home/u/.config/Vendrel/Ratiscope/X.lng", "T=user\r\n");
    TLangTable table;
    EXPECT_FALSE(LoadLanguage(table, files, "X"));
    EXPECT_EQ(files.log, (std::vector<std::string>{"ReadFile /p/X.lng"}));
}

TEST(LanguageFiles, NamesThatCannotBeAFileFindNothing) {
    for (const std::string& name : {std::string(), std::string("../etc/x"), std::string("a/b"),
                                   std::string("a\0b", 3)}) {
        TFakeFiles files = Program(false);
        TLangTable table;
        EXPECT_FALSE(LoadLanguage(table, files, name));
        EXPECT_TRUE(files.log.empty()) << name;
    }
}

TEST(LanguageFiles, NamesThatLeadOutOfTheFolderOnAnyPlatformFindNothing) {
    for (const std::string& name : {std::string("..\\etc\\x"), std::string("a\\b"), std::string("\\\\server\\x"),
                                   std::string("C:English"), std::string("c:"), std::string("English:stream")}) {
        TFakeFiles files = Program(false);
        TLangTable table;
        EXPECT_FALSE(LoadLanguage(table, files, name)) << name;
        EXPECT_TRUE(files.log.empty()) << name;
        EXPECT_FALSE(IsSafeLanguageName(name)) << name;
    }
    for (const std::string_view name : {"English", "Español", "Deutsch (Schweiz)", "..", "a.b"})
        EXPECT_TRUE(IsSafeLanguageName(name)) << name;
}

TEST(LanguageFiles, AFileWithTooManyEntriesIsCutOff) {
    std::string bytes;
    for (std::size_t i = 0; i <= kMaxLanguageEntries; ++i) bytes += "K" + std::to_string(i) + "=t\r\n";
    TFakeFiles files = Program(false);
    files.AddFile("/p/Big.lng", bytes);
    TLangTable table;
    EXPECT_TRUE(LoadLanguage(table, files, "Big"));
    EXPECT_EQ(table.Size(), kMaxLanguageEntries);
    EXPECT_EQ(table.LangString("K" + std::to_string(kMaxLanguageEntries)), "K" + std::to_string(kMaxLanguageEntries));
}

}  // namespace
}  // namespace ratiscope
