// Start-up and shutdown against an in-memory file system: what is read,
// loaded, opened, shown and saved for each command line and screen.
#include "shell/StartUp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "settings/LangTable.h"
#include "shell/Links.h"
#include "support/FakeFiles.h"

namespace ratiscope {
namespace {

using testing::TFakeFiles;

constexpr const char* kSettingsPath = testing::kPortableSettingsPath;

// The portable copy of the settings tests, with its language files.
TFakeFiles PortableCopyWithLanguages() {
    TFakeFiles files = testing::PortableCopy();
    files.AddFile("/opt/tools/English.lng", "MClose=Close\nMExit=Exit\n");
    files.AddFile("/opt/tools/Deutsch.lng", "MClose=Schliessen\n");
    files.AddFile("/opt/tools/english.lng", "MClose=lower case\n");
    return files;
}

// Everything start-up did besides reading files, in order.
struct TRecorder {
    std::vector<std::string> calls;
    int depth = 32;
};

TStartUpServices ServicesFor(TFakeFiles& files, TLangTable& table, TRecorder& rec) {
    return TStartUpServices{
        files,
        table,
        [&rec](std::string_view address) { rec.calls.push_back("open " + std::string(address)); },
        [&rec] {
            rec.calls.push_back("depth");
            return rec.depth;
        },
        [&rec](TMessageKind kind, std::string_view caption, std::string_view text) {
            rec.calls.push_back(std::string(kind == TMessageKind::Error ? "error " : "warning ") +
                                std::string(caption) + ": " + std::string(text));
        },
    };
}

std::vector<std::string> Args(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

TEST(CommandLine, HelpAndVersionAreFoundAnywhereAndEverythingElseRuns) {
    struct TCase {
        std::vector<std::string> arguments;
        TCommand expected;
    };
    const TCase cases[] = {
        {Args({}), TCommand::Run},
        {Args({"/uninstall"}), TCommand::Run},
        {Args({"--help"}), TCommand::Help},
        {Args({"-h"}), TCommand::Help},
        {Args({"x", "--help"}), TCommand::Help},
        {Args({"--version"}), TCommand::Version},
        {Args({"--version", "--help"}), TCommand::Help},
        {Args({"--HELP"}), TCommand::Run},
        {Args({"--versions"}), TCommand::Run},
    };
    for (const TCase& c : cases) {
        std::string joined;
        for (const auto& a : c.arguments) joined += a + " ";
        EXPECT_EQ(CommandOf(c.arguments), c.expected) << joined;
    }
    EXPECT_EQ(VersionText(), "Vendrel Ratiscope 5.9.3\n");
    EXPECT_NE(UsageText("/x/ratiscope").find("Usage: /x/ratiscope"), std::string::npos);
    EXPECT_NE(UsageText("").find("/uninstall"), std::string::npos);
}

TEST(StartUp, UninstallSwitchOnlyAsFirstArgumentAndExactlyWritten) {
    struct TCase {
        std::vector<std::string> arguments;
        bool uninstalls;
    };
    const TCase cases[] = {
        {Args({"/uninstall"}), true},
        {Args({"/uninstall", "more"}), true},
        {Args({"/UNINSTALL"}), false},
        {Args({"/Uninstall"}), false},
        {Args({"x", "/uninstall"}), false},
        {Args({"/uninstall "}), false},
        {Args({}), false},
    };
    for (const TCase& c : cases) {
        TFakeFiles files = PortableCopyWithLanguages();
        TLangTable table;
        TRecorder rec;
        std::optional<TSettings> settings;
        const bool run = StartUp(settings, 1920, c.arguments, ServicesFor(files, table, rec));
        const std::string label = c.arguments.empty() ? "(none)" : c.arguments.front();
        ASSERT_TRUE(settings.has_value()) << label;
        EXPECT_EQ(run, !c.uninstalls) << label;
        if (c.uninstalls) {
            // No colour check and no window on this path.
            ASSERT_EQ(rec.calls.size(), 1u) << label;
            // The web query is added by the opener, as for every vendor page.
            EXPECT_EQ(rec.calls[0], "open " + VendorPage(kUninstallPage)) << label;
            EXPECT_TRUE(rec.calls[0].ends_with("/we/service/uninstall/")) << rec.calls[0];
        } else {
            EXPECT_EQ(rec.calls, std::vector<std::string>{"depth"}) << label;
        }
    }
}

TEST(StartUp, ColourDepthBelowTrueColourWarnsOnceAndStillRuns) {
    struct TCase {
        int depth;
        bool warns;
    };
    const TCase cases[] = {{1, true}, {8, true}, {16, true}, {23, true}, {24, false}, {32, false}};
    for (const TCase& c : cases) {
        TFakeFiles files = PortableCopyWithLanguages();
        TLangTable table;
        TRecorder rec;
        rec.depth = c.depth;
        std::optional<TSettings> settings;
        EXPECT_TRUE(StartUp(settings, 1920, {}, ServicesFor(files, table, rec))) << c.depth;
        std::vector<std::string> expected{"depth"};
        if (c.warns) expected.push_back("warning Vendrel Ratiscope: True color screen mode is required");
        EXPECT_EQ(rec.calls, expected) << c.depth;
    }
}

TEST(StartUp, SettingsAndLanguagesAreLoadedBeforeAnyWindow) {
    struct TCase {
        const char* lang;
        const char* closeText;
        int englishReads;
    };
    const TCase cases[] = {
        {"English", "Close", 1},         // English is read once only
        {"Deutsch", "Schliessen", 1},    // laid over English
        {"english", "lower case", 1},    // another name, loaded a second time over English
        {"Missing", "Close", 1},         // a missing file leaves English
    };
    for (const TCase& c : cases) {
        TFakeFiles files = PortableCopyWithLanguages();
        files.AddFile(kSettingsPath, std::string("[Settings]\nX=77\nY=88\nLang=") + c.lang + "\n");
        TLangTable table;
        TRecorder rec;
        std::optional<TSettings> settings;
        ASSERT_TRUE(StartUp(settings, 1920, {}, ServicesFor(files, table, rec))) << c.lang;
        EXPECT_EQ(settings->X, 77) << c.lang;
        EXPECT_EQ(settings->Y, 88) << c.lang;
        EXPECT_EQ(settings->Lang, c.lang);
        EXPECT_EQ(table.LangString("MClose"), c.closeText) << c.lang;
        EXPECT_EQ(table.LangString("MExit"), "Exit") << c.lang;
        int reads = 0;
        for (const auto& line : files.log) reads += line == "ReadFile /opt/tools/English.lng";
        EXPECT_EQ(reads, c.englishReads) << c.lang;
        ASSERT_FALSE(files.log.empty());
        EXPECT_EQ(files.log.front(), std::string("ReadFile ") + kSettingsPath) << c.lang;
    }
}

TEST(StartUp, NoSettingsFileKeepsTheDefaultsOfThisScreen) {
    TFakeFiles files = PortableCopyWithLanguages();
    TLangTable table;
    TRecorder rec;
    std::optional<TSettings> settings;
    ASSERT_TRUE(StartUp(settings, 1280, {}, ServicesFor(files, table, rec)));
    EXPECT_EQ(settings->X, 300);
    EXPECT_EQ(settings->Y, 240);
    EXPECT_EQ(settings->SX, 1280 - 181);
    EXPECT_EQ(settings->SY, 10);
    EXPECT_TRUE(settings->SVisible);
    EXPECT_FALSE(files.files.contains(kSettingsPath));
}

TEST(StartUp, AFirstStartSpeaksTheUsersLanguageAndAStoredOneWins) {
    struct TCase {
        const char* name;
        const char* settingsFile;  // nullptr: none, a first start
        const char* locale;
        const char* lang;
        const char* closeText;
    };
    const TCase cases[] = {
        {"first start, German locale", nullptr, "de_DE.UTF-8", "Deutsch", "Schliessen"},
        {"first start, Austrian locale", nullptr, "de_AT.UTF-8@euro", "Deutsch", "Schliessen"},
        {"first start, a locale without a file", nullptr, "it_IT.UTF-8", "English", "Close"},
        {"first start, C locale", nullptr, "C", "English", "Close"},
        {"first start, no locale", nullptr, "", "English", "Close"},
        {"stored English wins", "[Settings]\nLang=English\n", "de_DE.UTF-8", "English", "Close"},
        {"stored German wins", "[Settings]\nLang=Deutsch\n", "fr_FR.UTF-8", "Deutsch", "Schliessen"},
        {"a file without Lang keeps the default", "[Settings]\nX=5\n", "de_DE.UTF-8", "English", "Close"},
        {"an empty file is not a first start", "", "de_DE.UTF-8", "English", "Close"},
    };
    for (const TCase& c : cases) {
        TFakeFiles files = PortableCopyWithLanguages();
        files.AddFile("/opt/tools/English.lng", "Locale=en\nMClose=Close\nMExit=Exit\n");
        files.AddFile("/opt/tools/Deutsch.lng", "Locale=de\nMClose=Schliessen\n");
        if (c.settingsFile) files.AddFile(kSettingsPath, c.settingsFile);
        TLangTable table;
        TRecorder rec;
        TStartUpServices services = ServicesFor(files, table, rec);
        services.userLocale = [&c] { return std::string(c.locale); };
        std::optional<TSettings> settings;
        ASSERT_TRUE(StartUp(settings, 1920, {}, services)) << c.name;
        EXPECT_EQ(settings->Lang, c.lang) << c.name;
        EXPECT_EQ(table.LangString("MClose"), c.closeText) << c.name;
        // The language found is stored at the end, so it is kept from then on.
        ASSERT_EQ(ShutDown(settings, services), 0) << c.name;
        const std::string& saved = files.files[kSettingsPath];
        const std::string line = std::string("Lang=") + c.lang;
        const std::size_t at = saved.find(line);
        ASSERT_NE(at, std::string::npos) << c.name << ": " << saved;
        EXPECT_TRUE(at + line.size() < saved.size() && (saved[at + line.size()] == '\r' || saved[at + line.size()] == '\n'))
            << c.name << ": " << saved;
    }
}

TEST(StartUp, WithoutALocaleServiceAFirstStartIsEnglish) {
    TFakeFiles files = PortableCopyWithLanguages();
    files.AddFile("/opt/tools/Deutsch.lng", "Locale=de\nMClose=Schliessen\n");
    TLangTable table;
    TRecorder rec;
    std::optional<TSettings> settings;
    ASSERT_TRUE(StartUp(settings, 1920, {}, ServicesFor(files, table, rec)));
    EXPECT_EQ(settings->Lang, "English");
}

TEST(ShutDown, SavesAlwaysAndReleasesTheSettings) {
    TFakeFiles files = PortableCopyWithLanguages();
    TLangTable table;
    TRecorder rec;
    const TStartUpServices services = ServicesFor(files, table, rec);
    std::optional<TSettings> settings;
    ASSERT_TRUE(StartUp(settings, 1920, {}, services));
    settings->X = 512;  // what the close handler copies from the window
    settings->SVisible = false;
    EXPECT_EQ(ShutDown(settings, services), 0);
    EXPECT_FALSE(settings.has_value());
    ASSERT_TRUE(files.files.contains(kSettingsPath));
    const std::string& saved = files.files.at(kSettingsPath);
    EXPECT_NE(saved.find("X=512\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("SVisible=0\n"), std::string::npos) << saved;

    // Unchanged settings are written as well.
    files.log.clear();
    std::optional<TSettings> again;
    ASSERT_TRUE(StartUp(again, 1920, {}, services));
    EXPECT_EQ(again->X, 512);
    EXPECT_EQ(ShutDown(again, services), 0);
    EXPECT_EQ(files.log.back(), std::string("ReplaceFile ") + kSettingsPath);
    EXPECT_EQ(std::count(rec.calls.begin(), rec.calls.end(), "depth"), 2);
}

TEST(ShutDown, AFailedSaveShowsTheErrorGivesExitCodeOneAndKeepsTheOldFile) {
    TFakeFiles files = PortableCopyWithLanguages();
    const std::string old = "[Settings]\nX=5\nY=6\n";
    files.AddFile(kSettingsPath, old);
    files.failingReplaces.insert(kSettingsPath);
    TLangTable table;
    TRecorder rec;
    const TStartUpServices services = ServicesFor(files, table, rec);
    std::optional<TSettings> settings;
    ASSERT_TRUE(StartUp(settings, 1920, {}, services));
    settings->X = 900;
    EXPECT_EQ(ShutDown(settings, services), 1);
    EXPECT_TRUE(settings.has_value());
    EXPECT_EQ(files.files.at(kSettingsPath), old);
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(rec.calls[1], std::string("error Vendrel Ratiscope: Unable to write to ") + kSettingsPath);
}

TEST(ShutDown, NothingToSaveWhenStartUpNeverRan) {
    TFakeFiles files = PortableCopyWithLanguages();
    TLangTable table;
    TRecorder rec;
    std::optional<TSettings> none;
    EXPECT_EQ(ShutDown(none, ServicesFor(files, table, rec)), 0);
    EXPECT_TRUE(files.log.empty());
    EXPECT_TRUE(rec.calls.empty());
}

}  // namespace
}  // namespace ratiscope
