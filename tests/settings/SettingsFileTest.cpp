// Loading and saving the settings file against the in-memory file system:
// the read order, each key's default, the written form and the folder rules.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/Numbers.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "support/FakeFiles.h"

namespace ratiscope {
namespace {

using testing::InstalledCopy;
using testing::PortableCopy;
using testing::TFakeFiles;

constexpr const char* kPortablePath = testing::kPortableSettingsPath;

// The fields a case looks at; unset ones are not checked.
struct TExpected {
    std::optional<std::int32_t> width{}, height{}, x{}, y{}, sx{}, sy{}, sPage{}, opacity{}, gridSize{};
    std::optional<bool> sVisible{}, showHints{};
    std::optional<double> ratio{};
    std::optional<std::string> lang{};
    std::optional<TColor> linesColor{};
};

void ExpectFields(const TSettings& s, const TExpected& e, const std::string& name) {
    if (e.width) {
        EXPECT_EQ(s.Width, *e.width) << name;
    }
    if (e.height) {
        EXPECT_EQ(s.Height, *e.height) << name;
    }
    if (e.x) {
        EXPECT_EQ(s.X, *e.x) << name;
    }
    if (e.y) {
        EXPECT_EQ(s.Y, *e.y) << name;
    }
    if (e.sx) {
        EXPECT_EQ(s.SX, *e.sx) << name;
    }
    if (e.sy) {
        EXPECT_EQ(s.SY, *e.sy) << name;
    }
    if (e.sPage) {
        EXPECT_EQ(s.SPage, *e.sPage) << name;
    }
    if (e.opacity) {
        EXPECT_EQ(s.Opacity, *e.opacity) << name;
    }
    if (e.gridSize) {
        EXPECT_EQ(s.GridSize, *e.gridSize) << name;
    }
    if (e.sVisible) {
        EXPECT_EQ(s.SVisible, *e.sVisible) << name;
    }
    if (e.showHints) {
        EXPECT_EQ(s.ShowHints, *e.showHints) << name;
    }
    if (e.ratio) {
        EXPECT_EQ(s.Ratio, *e.ratio) << name;
    }
    if (e.lang) {
        EXPECT_EQ(s.Lang, *e.lang) << name;
    }
    if (e.linesColor) {
        EXPECT_EQ(s.LinesColor, *e.linesColor) << name;
    }
}

TEST(SettingsFile, LoadsEachKeyWithItsDefaultAndThroughItsSetter) {
    struct Case {
        const char* name;
        const char* content;
        char separator;
        TExpected expected;
    };
    const Case cases[] = {
        {"only the section header", "[Settings]\r\n", '.',
         {.width = 401, .height = 248, .x = 200, .y = 200, .sx = 600, .sy = 10, .sPage = 1, .sVisible = false}},
        {"height leads: the file's width has no effect",
         "[Settings]\r\nLockWidth=0\r\nLock=1\r\nHeight=300\r\nWidth=1000\r\n", '.', {.width = 485, .height = 300}},
        {"width leads", "[Settings]\nRatio=0.5\nWidth=400\nHeight=1\n", '.', {.width = 400, .height = 200}},
        {"unlocked sizes keep their minimums", "[Settings]\nLock=0\nWidth=10\nHeight=10\n", '.',
         {.width = 58, .height = 36}},
        {"opacity out of range is refused", "[Settings]\nOpacity=150\n", '.', {.opacity = 90}},
        {"opacity in range", "[Settings]\nOpacity=35\n", '.', {.opacity = 35}},
        {"grid size raised to 3", "[Settings]\nGridSize=0\n", '.', {.gridSize = 3}},
        {"boolean as text gives the default", "[Settings]\nShowHints=yes\n", '.', {.showHints = true}},
        {"boolean 2 is true", "[Settings]\nShowHints=2\n", '.', {.showHints = true}},
        {"boolean 0 is false", "[Settings]\nShowHints=0\n", '.', {.showHints = false}},
        {"empty boolean gives the default", "[Settings]\nSVisible=\n", '.', {.sVisible = false}},
        {"empty integer gives the default", "[Settings]\nWidth=\nX=\n", '.', {.width = 401, .x = 200}},
        {"empty Lang stays empty", "[Settings]\nLang=\n", '.', {.lang = ""}},
        {"missing Lang is English", "[Settings]\n", '.', {.lang = "English"}},
        {"Lang without a file is kept", "[Settings]\nLang=Klingon\n", '.', {.lang = "Klingon"}},
        {"quoted Lang", "[Settings]\nLang=\"Deutsch\"\n", '.', {.lang = "Deutsch"}},
        {"hexadecimal and negative colours", "[Settings]\nLinesColor=$FF\n", '.', {.linesColor = 0xFFu}},
        {"negative colour keeps its 32 bits", "[Settings]\nLinesColor=-1\n", '.', {.linesColor = 0xFFFFFFFFu}},
        {"ratio with the locale's separator", "[Settings]\nRatio=0,5\n", ',', {.ratio = 0.5}},
        {"ratio with a dot under a comma locale", "[Settings]\nRatio=0.5\n", ',', {.ratio = 0.5}},
        {"ratio with a comma under a dot locale", "[Settings]\nRatio=0,5\n", '.', {.ratio = 0.5}},
        {"ratio with two separators falls back", "[Settings]\nRatio=0,5.1\n", '.', {.ratio = kGoldenFactor}},
        {"zero ratio is refused", "[Settings]\nRatio=0\n", '.', {.ratio = kGoldenFactor}},
        {"negative ratio is refused", "[Settings]\nRatio=-2\n", '.', {.ratio = kGoldenFactor}},
        {"ratio that is no number", "[Settings]\nRatio=nan\n", '.', {.ratio = kGoldenFactor}},
        {"keys in any case, blanks and CRLF",
         "\xEF\xBB\xBF[settings]\r\n  WIDTH = 500 \r\n x=-40\r\n", '.', {.width = 500, .height = 309, .x = -40}},
        {"another section's keys are not read", "[Other]\nWidth=900\n[Settings]\n", '.', {.width = 401}},
        {"no section: every key takes its default", "Width=900\n", '.', {.width = 401, .x = 200, .sPage = 1}},
        {"window places stored as they are", "[Settings]\nX=-5000\nSX=99999\nSPage=7\nSVisible=1\n", '.',
         {.x = -5000, .sx = 99999, .sPage = 7, .sVisible = true}},
    };
    for (const Case& c : cases) {
        TFakeFiles files = PortableCopy();
        files.AddFile(kPortablePath, c.content);
        TSettings s(1920);
        LoadSettings(s, files, c.separator);
        ExpectFields(s, c.expected, c.name);
    }
}

TEST(SettingsFile, NoFileKeepsTheFirstRunValues) {
    TFakeFiles files = PortableCopy();
    TSettings s(1920);
    LoadSettings(s, files, '.');
    ExpectFields(s, {.width = 396, .height = 245, .x = 300, .y = 240, .sx = 1739, .sy = 10, .sPage = 0,
                     .sVisible = true, .lang = "English"},
                 "no file");
    EXPECT_TRUE(files.log.empty()) << "nothing is read";
}

TEST(SettingsFile, UnreadableFileGivesEveryKeyItsDefault) {
    TFakeFiles files = PortableCopy();
    files.AddFile(kPortablePath, "[Settings]\nX=5\n");
    files.unreadable.insert(kPortablePath);
    TSettings s(1920);
    LoadSettings(s, files, '.');
    ExpectFields(s, {.width = 401, .height = 248, .x = 200, .sVisible = false}, "unreadable");
}

TEST(SettingsFile, TheShowAndHideKeyIsReadAsWrittenAndDefaultsWhenMissing) {
    struct Case {
        const char* file;
        const char* want;
    };
    for (const Case& c : {Case{"[Settings]\nX=5\n", "Ctrl+Alt+G"}, Case{"[Settings]\nHotkey=Super+F9\n", "Super+F9"},
                          Case{"[Settings]\nhotkey=\n", ""}, Case{"[Settings]\nHotkey=nonsense\n", "nonsense"}}) {
        TFakeFiles files = PortableCopy();
        files.AddFile(kPortablePath, c.file);
        TSettings s(1920);
        LoadSettings(s, files, '.');
        EXPECT_EQ(s.Hotkey, c.want) << c.file;
        // Nothing else the file lacks changes meaning because of the new key.
        EXPECT_EQ(s.X, std::string(c.file).find("X=5") != std::string::npos ? 5 : 200) << c.file;
    }
    TSettings fresh(1920);
    EXPECT_EQ(fresh.Hotkey, "Ctrl+Alt+G");
}

TEST(SettingsFile, NewFileHoldsTheKeysInWrittenOrder) {
    TFakeFiles files = PortableCopy();
    TSettings s(1920);
    SaveSettings(s, files, '.');
    EXPECT_EQ(files.files.at(kPortablePath),
              "[Settings]\nBorder=12\nHeight=245\nWidth=396\nLockWidth=1\nLock=1\nRatio=0.618033988749895\n"
              "LinesColor=4210943\nValuesColor=8618883\nMouseResizeAllowed=1\nOpacity=90\n"
              "MouseWheelAllowed=1\nOrientMode=0\nShowHints=1\nShowValues=1\nLookMode=1\nGridSize=8\n"
              "SettingsOpacity=0\nMoveUsingGrid=1\nLang=English\nX=300\nY=240\nSX=1739\nSY=10\nSVisible=1\n"
              "SPage=0\nSFrame=1\nHotkey=Ctrl+Alt+G\nFigure=\n");
}

TEST(SettingsFile, SavedValuesComeBackAfterALoad) {
    for (const char separator : {'.', ','}) {
        TFakeFiles files = PortableCopy();
        TSettings a(1920);
        a.SetLock(false);
        a.SetWidth(640);
        a.SetHeight(480);
        a.SetRatio(1.25);
        a.SetLinesColor(0x00FFFFFF);
        a.SetOpacity(55);
        a.SetLang("Русский");
        a.X = -40;
        a.SVisible = false;
        a.SPage = 3;
        SaveSettings(a, files, separator);
        TSettings b(800);
        LoadSettings(b, files, separator);
        EXPECT_EQ(b.Width, 640);
        EXPECT_EQ(b.Height, 480);
        EXPECT_EQ(b.Lock, false);
        EXPECT_EQ(b.Ratio, 1.25);
        EXPECT_EQ(b.LinesColor, 0x00FFFFFFu);
        EXPECT_EQ(b.Opacity, 55);
        EXPECT_EQ(b.Lang, "Русский");
        EXPECT_EQ(b.X, -40);
        EXPECT_EQ(b.SX, 1739);
        EXPECT_EQ(b.SVisible, false);
        EXPECT_EQ(b.SPage, 3);
    }
}

TEST(SettingsFile, RatioIsWrittenWithFifteenDigitsAndTheLocaleSeparator) {
    TFakeFiles files = PortableCopy();
    TSettings s(1920);
    SaveSettings(s, files, ',');
    EXPECT_NE(files.files.at(kPortablePath).find("\nRatio=0,618033988749895\n"), std::string::npos);
    TSettings back(1920);
    back.SetRatio(2);
    LoadSettings(back, files, ',');
    EXPECT_EQ(back.Ratio, 0.618033988749895);
    EXPECT_NE(back.Ratio, kGoldenFactor) << "fifteen digits do not give the constant back";
}

TEST(SettingsFile, UnknownKeysAndSectionsSurviveASave) {
    TFakeFiles files = PortableCopy();
    const std::string before =
        "; mine\r\n[Window]\r\nTheme=dark\r\n\r\n[Settings]\r\nwidth=500\r\nFavourite=7\r\n\r\n[Tail]\r\nA=1\r\n";
    files.AddFile(kPortablePath, before);
    TSettings s(1920);
    LoadSettings(s, files, '.');
    SaveSettings(s, files, '.');
    const std::string& after = files.files.at(kPortablePath);
    EXPECT_TRUE(after.starts_with("; mine\r\n[Window]\r\nTheme=dark\r\n\r\n[Settings]\r\nwidth=500\r\nFavourite=7\r\n"
                                  "Border=12\r\nHeight=309\r\n"))
        << after;
    EXPECT_TRUE(after.ends_with("SFrame=1\r\nHotkey=Ctrl+Alt+G\r\nFigure=\r\n\r\n[Tail]\r\nA=1\r\n")) << after;
    EXPECT_EQ(after.find("\nWidth="), std::string::npos) << "the existing key is rewritten, not added";
}

TEST(SettingsFile, FirstSaveOfAnInstalledProgramCreatesTheFolderChain) {
    TFakeFiles files = InstalledCopy();
    files.AddFolder("/home/u/.config");
    TSettings s(1920);
    SaveSettings(s, files, '.');
    EXPECT_EQ(files.log, (std::vector<std::string>{
                             "CreateFolder /home/u/.config/Vendrel",
                             "CreateFolder /home/u/.config/Vendrel/Ratiscope",
                             "ReplaceFile /home/u/.config/Vendrel/Ratiscope/Ratiscope.user.settings",
                         }));

    files.log.clear();
    SaveSettings(s, files, '.');
    EXPECT_EQ(files.log, (std::vector<std::string>{
                             "ReadFile /home/u/.config/Vendrel/Ratiscope/Ratiscope.user.settings",
                             "ReplaceFile /home/u/.config/Vendrel/Ratiscope/Ratiscope.user.settings",
                         }))
        << "an existing file is read for its other lines, and no folder is created";
}

TEST(SettingsFile, AFailedSaveRaisesTheErrorAndLeavesTheOldFile) {
    struct Case {
        const char* name;
        void (*arrange)(TFakeFiles&);
    };
    const Case cases[] = {
        {"the replace fails", [](TFakeFiles& f) { f.failingReplaces.insert(kPortablePath); }},
        {"the old file cannot be read", [](TFakeFiles& f) { f.unreadable.insert(kPortablePath); }},
    };
    for (const Case& c : cases) {
        TFakeFiles files = PortableCopy();
        files.AddFile(kPortablePath, "[Settings]\nWidth=500\n");
        c.arrange(files);
        TSettings s(1920);
        try {
            SaveSettings(s, files, '.');
            ADD_FAILURE() << c.name << ": no error";
        } catch (const EWriteError& e) {
            EXPECT_STREQ(e.what(), "Unable to write to /opt/tools/Ratiscope.user.settings") << c.name;
        }
        EXPECT_EQ(files.files.at(kPortablePath), "[Settings]\nWidth=500\n") << c.name;
    }
}

TEST(SettingsFile, AFolderThatCannotBeCreatedShowsAsAFailedWrite) {
    TFakeFiles files = InstalledCopy();
    files.AddFile("/home/u/.config/Vendrel", "a file where the folder must go");
    TSettings s(1920);
    EXPECT_THROW(SaveSettings(s, files, '.'), EWriteError);
    EXPECT_EQ(files.files.at("/home/u/.config/Vendrel"), "a file where the folder must go");
}

TEST(SettingsFile, LocaleSeparatorComesFromTheCLibrary) {
    // The program entry sets the locale from the environment; the C locale
    // is what every test starts with.
    EXPECT_EQ(LocaleDecimalSeparator(), '.');
}

}  // namespace
}  // namespace ratiscope
