// The key list, the translators' listing and check, and every shipped
// language file measured against them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "settings/Format.h"
#include "settings/LangTable.h"
#include "settings/LanguageFiles.h"
#include "settings/LanguageKeys.h"
#include "settings/Looks.h"

namespace ratiscope {
namespace {

// The catalogue's texts other than one name per built-in look.
constexpr std::size_t kTextsBesidesLookNames = 93;

TEST(LanguageKeys, EveryKeyOnceAndTheTemplatesWithTheirValues) {
    std::set<std::string_view> seen;
    std::string templates;
    for (const TLanguageKey& k : LanguageKeys()) {
        EXPECT_TRUE(seen.insert(k.key).second) << "twice: " << k.key;
        EXPECT_TRUE(k.key.starts_with("M")) << k.key;
        if (k.args != TTemplateArgs::None) templates += std::string(k.key) + ' ';
    }
    EXPECT_EQ(seen.size(), kTextsBesidesLookNames + kBuiltInLookCount);
    EXPECT_EQ(templates, "MHotkeyInvalid MHotkeyTaken MWidthHeight MGridSize MSCopyright MSSetupsFull MSRat0 MSRat1 MSRat12 ");
    for (int i = 0; i <= 16; ++i) EXPECT_TRUE(FindLanguageKey("MSRat" + std::to_string(i))) << i;
    for (const TLookName& look : kBuiltInLooks) EXPECT_TRUE(FindLanguageKey(look.key)) << look.key;
    EXPECT_EQ(FindLanguageKey("MSLook" + std::to_string(kBuiltInLookCount)), nullptr);
    for (int i = 0; i <= 6; ++i) EXPECT_TRUE(FindLanguageKey("MSA" + std::to_string(i))) << i;
    EXPECT_EQ(FindLanguageKey("MSRat17"), nullptr);
    EXPECT_EQ(FindLanguageKey("mslooktab"), nullptr);
}

TEST(LanguageKeys, SampleValuesAreThoseThePanelAndOverlayPass) {
    EXPECT_EQ(Format("%.3f", SampleArguments(*FindLanguageKey("MSRat0"))), "0.618");
    EXPECT_EQ(Format("%.3f", SampleArguments(*FindLanguageKey("MSRat1"))), "1.618");
    EXPECT_EQ(Format("%.3f", SampleArguments(*FindLanguageKey("MSRat12"))), "0.618");
    EXPECT_EQ(Format("%d x %d", SampleArguments(*FindLanguageKey("MWidthHeight"))), "396 x 245");
    EXPECT_EQ(Format("%d", SampleArguments(*FindLanguageKey("MGridSize"))), "8");
    EXPECT_TRUE(SampleArguments(*FindLanguageKey("MSCaption")).empty());
}

TEST(LanguageKeys, ListingEscapesLineBreaksAndBackslashes) {
    EXPECT_EQ(EscapeLanguageText("a\\b\r\nc"), "a\\\\b\\r\\nc");
    TLangTable table;
    table.MergeLangPair("MSCaption", "Two\r\nlines \\o/");
    const std::string listing = LanguageTextsListing(table);
    std::istringstream lines(listing);
    std::string line, all;
    int count = 0;
    while (std::getline(lines, line)) ++count;
    EXPECT_EQ(count, static_cast<int>(LanguageKeys().size()));
    EXPECT_NE(listing.find("\nMSCaption=Two\\r\\nlines \\\\o/\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\nMSLookTab=MSLookTab\n"), std::string::npos) << "a missing text shows as its key";
    EXPECT_TRUE(listing.starts_with("MOrientButtonHint=MOrientButtonHint\n"));
}

TEST(LanguageKeys, CheckFindsMissingUnusedAndBadTemplates) {
    TLangTable table;
    table.MergeLangPair("Locale", "xx");
    for (const TLanguageKey& k : LanguageKeys()) table.MergeLangPair(k.key, "text");
    table.MergeLangPair("MSRat0", "Golden %d");       // an integer directive for a number
    table.MergeLangPair("MWidthHeight", "%d x %d x %d");  // one value too many asked for
    table.MergeLangPair("MSCopyright", "%s %s");
    table.MergeLangPair("MSLookTab ", "blank in the key");
    TLangTable incomplete;
    for (const auto& [key, text] : table.Entries())
        if (key != "MSOpacity") incomplete.MergeLangPair(key, text);

    const TLanguageCheck check = CheckLanguage(incomplete);
    EXPECT_EQ(check.missing, std::vector<std::string>{"MSOpacity"});
    EXPECT_EQ(check.unused, std::vector<std::string>{"MSLookTab "});
    EXPECT_EQ(check.badTemplates, (std::vector<std::string>{"MWidthHeight", "MSCopyright", "MSRat0"}));
    EXPECT_FALSE(check.Complete());
    EXPECT_EQ(LanguageCheckReport("Test", check),
              "missing MSOpacity\nunused MSLookTab \ntemplate MWidthHeight does not fit its values\n"
              "template MSCopyright does not fit its values\ntemplate MSRat0 does not fit its values\n"
              "Test: 1 missing, 1 unused, 3 bad templates\n");
}

TEST(LanguageKeys, UnusedKeysAloneLeaveALanguageComplete) {
    TLangTable table;
    table.MergeLangPair("Locale", "xx");
    for (const TLanguageKey& k : LanguageKeys()) table.MergeLangPair(k.key, "%%d stays a percent sign");
    table.MergeLangPair("MSRat0", "Golden ratio (%.3f)");
    table.MergeLangPair("Retired", "old");
    const TLanguageCheck check = CheckLanguage(table);
    EXPECT_TRUE(check.Complete());
    EXPECT_EQ(check.unused, std::vector<std::string>{"Retired"});
}

TEST(LanguageKeys, AFileWithoutItsLocaleIsIncomplete) {
    TLangTable table;
    for (const TLanguageKey& k : LanguageKeys()) table.MergeLangPair(k.key, "text");
    const TLanguageCheck check = CheckLanguage(table);
    EXPECT_EQ(check.missing, std::vector<std::string>{"Locale"});
    EXPECT_TRUE(check.unused.empty());
    EXPECT_FALSE(check.Complete());
    table.MergeLangPair("Locale", "it");
    EXPECT_TRUE(CheckLanguage(table).Complete());
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += n;
    }
    return true;
}

TEST(ShippedLanguages, EveryFileIsCompleteUtf8WithCrLfAndOpensWithAComment) {
    const std::filesystem::path folder = RATISCOPE_LANG_DIR;
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".lng") continue;
        const std::string name = entry.path().stem().string();
        names.insert(name);
        const std::string bytes = ReadBytes(entry.path());
        EXPECT_TRUE(IsUtf8(bytes)) << name;
        EXPECT_EQ(bytes.front(), ';') << name << ": the first line says what the file is";
        for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << ": line feed without carriage return at " << i;
        EXPECT_TRUE(bytes.ends_with("\r\n")) << name << ": the last entry needs its line end";

        TLangTable own;
        TLangReader reader(bytes);
        std::string key, text;
        while (reader.ReadLangPair(key, text)) own.MergeLangPair(key, text);
        const TLanguageCheck check = CheckLanguage(own);
        EXPECT_TRUE(check.Complete()) << LanguageCheckReport(name, check);
        EXPECT_TRUE(check.unused.empty()) << LanguageCheckReport(name, check);
        EXPECT_EQ(own.Size(), LanguageKeys().size() + 1) << name << ": each key once, and the file's locale";
        for (const auto& [k, t] : own.Entries()) {
            EXPECT_FALSE(t.empty()) << name << ' ' << k;
            EXPECT_NE(t, k) << name << ": " << k << " is not translated";
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"English", "Deutsch", "Español", "Français", "Русский"}));
}

TEST(ShippedLanguages, EnglishTemplatesReadAsTheyShould) {
    TLangTable english;
    const std::string bytes = ReadBytes(std::filesystem::path(RATISCOPE_LANG_DIR) / "English.lng");
    TLangReader reader(bytes);
    std::string key, text;
    while (reader.ReadLangPair(key, text)) english.MergeLangPair(key, text);
    auto filled = [&](std::string_view k) {
        return Format(english.LangString(k), SampleArguments(*FindLanguageKey(k)));
    };
    EXPECT_EQ(filled("MSRat0"), "Golden ratio (0.618)");
    EXPECT_EQ(filled("MSRat1"), "Golden ratio (1.618)");
    EXPECT_EQ(filled("MSRat12"), "Square (lines at 0.618)");
    EXPECT_EQ(filled("MWidthHeight"), "396 x 245");
    EXPECT_EQ(filled("MGridSize"), "Grid 8 px");
    EXPECT_EQ(filled("MSCopyright"), "(c) 2006-2026 Vendrel. All rights reserved.");
}

// A look added to the table needs its name in every language the program
// ships; English also gives the name the export tool falls back to.
TEST(LanguageKeys, EveryShippedLanguageNamesEveryLook) {
    std::size_t languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RATISCOPE_LANG_DIR)) {
        if (entry.path().extension() != ".lng") continue;
        ++languages;
        const std::string name = entry.path().stem().string();
        TLangTable own;
        const std::string bytes = ReadBytes(entry.path());  // the reader keeps a view of it
        TLangReader reader(bytes);
        std::string key, text;
        while (reader.ReadLangPair(key, text)) own.MergeLangPair(key, text);
        for (const TLookName& look : kBuiltInLooks) {
            const auto& entries = own.Entries();
            const auto it =
                std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == look.key; });
            if (it == entries.end()) {
                ADD_FAILURE() << name << " has no name for look " << look.key << " (" << look.english << ")";
                continue;
            }
            EXPECT_FALSE(it->second.empty()) << name << ' ' << look.key;
            if (name == "English") {
                EXPECT_EQ(it->second, look.english) << look.key;
            }
        }
    }
    EXPECT_EQ(languages, 5u);
}

}  // namespace
}  // namespace ratiscope
