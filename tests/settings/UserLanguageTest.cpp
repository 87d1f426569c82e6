// The first start's language: the user's locale from the environment, and
// the language file that names it, among the shipped ones and others.
#include "settings/UserLanguage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/FakeFiles.h"

namespace ratiscope {
namespace {

using testing::TFakeFiles;

TEnvironmentReader Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> std::optional<std::string> {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(UserLanguage, TheMessagesLocaleFollowsTheCLibrarysOrder) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> env;
        const char* locale;
    };
    const Case cases[] = {
        {"LANG alone", {{"LANG", "de_DE.UTF-8"}}, "de_DE.UTF-8"},
        {"LC_MESSAGES over LANG", {{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, "fr_FR.UTF-8"},
        {"LC_ALL over everything", {{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "ru_RU.UTF-8"}},
         "ru_RU.UTF-8"},
        {"an empty variable counts as unset", {{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "es_ES.UTF-8"}},
         "es_ES.UTF-8"},
        {"other categories do not count", {{"LC_CTYPE", "de_DE.UTF-8"}, {"LC_NUMERIC", "fr_FR"}}, ""},
        {"nothing set", {}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(MessagesLocale(Environment(c.env)), c.locale) << c.name;
    EXPECT_EQ(MessagesLocale(nullptr), "");
}

TEST(UserLanguage, LocaleNamesAreTakenApart) {
    struct Case {
        const char* locale;
        TLocaleName expected;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", {"de", "DE"}},     {"de_AT.UTF-8@euro", {"de", "AT"}}, {"fr", {"fr", ""}},
        {"pt_br", {"pt", "BR"}},           {"RU_ru", {"ru", "RU"}},            {"sr@latin", {"sr", ""}},
        {"es_ES@euro", {"es", "ES"}},      {"C", {"", ""}},                    {"C.UTF-8", {"", ""}},
        {"POSIX", {"", ""}},               {"", {"", ""}},                     {" de \r", {"de", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLocaleName(c.locale), c.expected) << c.locale;
}

// A program folder with the five languages as they ship, told apart by their locale only.
TFakeFiles ShippedLanguages() {
    TFakeFiles files = testing::InstalledCopy();
    files.sharedDataFolders = {"/usr/local/share", "/usr/share"};
    files.AddFile("/usr/lib/ratiscope/English.lng", "; English\r\nLocale=en\r\nMSCaption=Settings\r\n");
    files.AddFile("/usr/lib/ratiscope/Deutsch.lng", "; German\r\nLocale=de\r\nMSCaption=Einstellungen\r\n");
    files.AddFile("/usr/lib/ratiscope/Español.lng", "Locale=es\r\n");
    files.AddFile("/usr/lib/ratiscope/Français.lng", "Locale=fr\r\n");
    files.AddFile("/usr/lib/ratiscope/Русский.lng", "Locale=ru\r\n");
    return files;
}

TEST(UserLanguage, TheLanguageWhoseFileNamesTheLocale) {
    struct Case {
        const char* locale;
        const char* language;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", "Deutsch"},  {"de_AT.UTF-8@euro", "Deutsch"}, {"de_CH", "Deutsch"},
        {"de", "Deutsch"},           {"fr_FR.UTF-8", "Français"},     {"fr_CA.UTF-8", "Français"},
        {"es_ES.UTF-8", "Español"},  {"es_MX", "Español"},            {"ru_RU.UTF-8", "Русский"},
        {"ru_UA.KOI8-U", "Русский"}, {"en_GB.UTF-8", "English"},      {"en_US", "English"},
        {"it_IT.UTF-8", "English"},  {"ja_JP.eucJP", "English"},      {"C", "English"},
        {"C.UTF-8", "English"},      {"POSIX", "English"},            {"", "English"},
        {"deu", "English"},          {"_DE", "English"},
    };
    for (const Case& c : cases) {
        TFakeFiles files = ShippedLanguages();
        EXPECT_EQ(LanguageForLocale(files, c.locale), c.language) << c.locale;
    }
}

TEST(UserLanguage, TerritoryFirstThenFolderOrderThenName) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> extra;  // path -> Locale
        const char* locale;
        const char* language;
    };
    const Case cases[] = {
        {"a file for the territory wins over the language's",
         {{"/usr/share/Vendrel/Ratiscope/Schweizerdeutsch.lng", "de_CH"}}, "de_CH.UTF-8", "Schweizerdeutsch"},
        {"a file for another territory does not fit",
         {{"/usr/share/Vendrel/Ratiscope/Schweizerdeutsch.lng", "de_CH"}}, "de_DE.UTF-8", "Deutsch"},
        {"a territory's file does not fit the bare language",
         {{"/usr/share/Vendrel/Ratiscope/Brasileiro.lng", "pt_BR"}}, "pt", "English"},
        {"a new language in the first data folder", {{"/usr/local/share/Vendrel/Ratiscope/Italiano.lng", "it"}},
         "it_IT.UTF-8", "Italiano"},
        {"a new language in the second data folder", {{"/usr/share/Vendrel/Ratiscope/Italiano.lng", "it"}},
         "it_IT.UTF-8", "Italiano"},
        {"the user's own language", {{"/home/u/.config/Vendrel/Ratiscope/Polski.lng", "pl"}}, "pl_PL.UTF-8",
         "Polski"},
        {"the program folder before the data folders",
         {{"/usr/local/share/Vendrel/Ratiscope/Anders.lng", "de"}}, "de_DE", "Deutsch"},
        {"the first name in a folder", {{"/usr/share/Vendrel/Ratiscope/B.lng", "nl"},
                                        {"/usr/share/Vendrel/Ratiscope/A.lng", "nl"}}, "nl_NL", "A"},
        {"the last Locale entry of a file counts", {{"/usr/share/Vendrel/Ratiscope/Twice.lng", "xx\r\nLocale=nl"}},
         "nl_BE", "Twice"},
        {"letter case and codeset in the key's text", {{"/usr/share/Vendrel/Ratiscope/Dansk.lng", "DA_dk.utf8"}},
         "da_DK.UTF-8", "Dansk"},
    };
    for (const Case& c : cases) {
        TFakeFiles files = ShippedLanguages();
        for (const auto& [path, locale] : c.extra) files.AddFile(path, "Locale=" + locale + "\r\n");
        EXPECT_EQ(LanguageForLocale(files, c.locale), c.language) << c.name;
    }
}

TEST(UserLanguage, FilesWithoutALocaleOrUnreadableAreLeftOut) {
    TFakeFiles files = ShippedLanguages();
    files.AddFile("/usr/share/Vendrel/Ratiscope/Ohne.lng", "MSCaption=ohne Locale\r\nlocale=it\r\n");
    files.AddFile("/usr/share/Vendrel/Ratiscope/Cut.lng", "Locale=it");  // no line end: not taken
    files.AddFile("/usr/share/Vendrel/Ratiscope/Locked.lng", "Locale=it\r\n");
    files.unreadable.insert("/usr/share/Vendrel/Ratiscope/Locked.lng");
    files.AddFile("/usr/share/Vendrel/Ratiscope/notes.txt", "Locale=it\r\n");
    EXPECT_EQ(LanguageForLocale(files, "it_IT.UTF-8"), "English");
    files.unreadable.clear();
    EXPECT_EQ(LanguageForLocale(files, "it_IT.UTF-8"), "Locked");
}

TEST(UserLanguage, AProgramThatIsNotInstalledLooksOnlyNextToItself) {
    TFakeFiles files = ShippedLanguages();
    files.programPath = "/home/u/r/ratiscope";
    files.AddFile("/home/u/r/Deutsch.lng", "Locale=de\r\n");
    files.AddFile("/usr/share/Vendrel/Ratiscope/Français.lng", "Locale=fr\r\n");
    EXPECT_EQ(LanguageForLocale(files, "de_DE.UTF-8"), "Deutsch");
    EXPECT_EQ(LanguageForLocale(files, "fr_FR.UTF-8"), "English");
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(UserLanguage, TheShippedFilesNameTheirLocales) {
    TFakeFiles files;
    files.programPath = "/p/ratiscope";
    for (const auto& entry : std::filesystem::directory_iterator(RATISCOPE_LANG_DIR))
        if (entry.path().extension() == ".lng")
            files.AddFile("/p/" + entry.path().filename().string(), ReadBytes(entry.path()));
    ASSERT_EQ(files.files.size(), 5u);
    const std::map<std::string, std::string> expected = {
        {"de_DE.UTF-8", "Deutsch"}, {"fr_BE.UTF-8", "Français"}, {"es_AR.UTF-8", "Español"},
        {"ru_RU.UTF-8", "Русский"}, {"en_AU.UTF-8", "English"},  {"sv_SE.UTF-8", "English"},
    };
    for (const auto& [locale, language] : expected) EXPECT_EQ(LanguageForLocale(files, locale), language) << locale;
}

}  // namespace
}  // namespace ratiscope
