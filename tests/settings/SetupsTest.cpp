// Named set-ups: what one brings back, through which rules, and how the
// settings file keeps them beside, never inside, the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "settings/Setups.h"
#include "support/RecordingWindows.h"

namespace ratiscope {
namespace {

// The fields a set-up holds, as text, for comparing two records.
std::string SetupFieldsOf(const TSettings& s) {
    std::string out;
    for (const TSettingsField field : kSetupFields)
        out += std::string(SettingsKey(field).name) + "=" + FormatSettingValue(SettingsKey(field).value(s)) + " ";
    return out;
}

std::string Described(const std::vector<TSetup>& setups) {
    std::string out;
    for (const TSetup& setup : setups) {
        out += setup.name + ":";
        for (const auto& [field, value] : setup.values)
            out += " " + std::string(SettingsKey(field).name) + "=" + FormatSettingValue(value);
        out += "\n";
    }
    return out;
}

TEST(Setups, RestoringBringsBackWhatWasSavedFromAnyState) {
    struct Case {
        const char* what;
        bool lock, lockWidth;
        std::int32_t width, height;
        double ratio;
    };
    const Case saved[] = {
        {"locked to the width", true, true, 640, 396, 0.618},
        {"locked to the height", true, false, 500, 250, 0.5},
        {"unlocked", false, true, 300, 700, 1.5},
    };
    for (const Case& c : saved) {
        TSettings a(1920);
        a.SetLock(false);
        a.SetLockWidth(c.lockWidth);
        a.SetRatio(c.ratio);
        a.SetWidth(c.width);
        a.SetHeight(c.height);
        a.SetLock(c.lock);
        a.SetLookMode(TLook::Spiral);
        a.ChooseFigure("mine.figure");
        a.SetOrientMode(TOrientation::BottomRight);
        a.SetLinesColor(0x00123456);
        a.SetValuesColor(0x00654321);
        a.SetOpacity(42);
        a.SetGridSize(12);
        const TSetup setup = CaptureSetup(a, "x");
        for (const bool otherLock : {false, true}) {
            TSettings b(1920);
            b.SetLock(otherLock);
            b.SetLockWidth(!c.lockWidth);
            b.SetWidth(1000);
            RestoreSetup(b, setup);
            EXPECT_EQ(SetupFieldsOf(b), SetupFieldsOf(a)) << c.what << ", restored into lock " << otherLock;
        }
    }
}

TEST(Setups, RestoringGoesThroughTheSettersAndTellsTheWindowsOnce) {
    TSettings s(1920);
    testing::TCallLog log;
    testing::RecordingOverlay overlay(log);
    testing::RecordingPanel panel(log);
    s.Overlay = &overlay;
    s.Panel = &panel;
    const std::int32_t opacity = s.Opacity;
    TSetup hostile{"hostile",
                   {{TSettingsField::Opacity, std::int32_t{300}},
                    {TSettingsField::GridSize, std::int32_t{1}},
                    {TSettingsField::Ratio, -2.0},
                    {TSettingsField::LookMode, std::int32_t{5}}}};
    RestoreSetup(s, hostile);
    EXPECT_EQ(s.Opacity, opacity);  // refused, as from the settings file
    EXPECT_EQ(s.GridSize, 3);
    EXPECT_GT(s.Ratio, 0);
    EXPECT_EQ(s.LookMode, TLook::Spiral);
    EXPECT_EQ(std::count(log.begin(), log.end(), "overlay.UpdateLook"), 1) << ::testing::PrintToString(log);
    s.Overlay = nullptr;
    s.Panel = nullptr;
}

TEST(Setups, NamesAreOneTidyLineOfBoundedLength) {
    struct Case {
        std::string typed, kept;
    };
    const std::string longName(kMaxSetupNameBytes + 20, 'a');
    // 99 ASCII bytes and then a two-byte letter that would end past the limit.
    const std::string cut = std::string(kMaxSetupNameBytes - 1, 'b') + "\xC3\xA9";
    const Case cases[] = {
        {"  Portrait  ", "Portrait"},
        {"two\r\nlines", "two  lines"},
        {"\t", ""},
        {longName, std::string(kMaxSetupNameBytes, 'a')},
        {cut, std::string(kMaxSetupNameBytes - 1, 'b')},
        {"Entwurf \xC3\xBC", "Entwurf \xC3\xBC"},
    };
    for (const Case& c : cases) EXPECT_EQ(SetupName(c.typed), c.kept) << c.typed;
}

TEST(Setups, SavingReplacesByNameNumbersUnnamedOnesAndStopsWhenFull) {
    TSettings s(1920);
    EXPECT_TRUE(SaveSetup(s, "Print"));
    s.SetGridSize(20);
    EXPECT_TRUE(SaveSetup(s, " Print "));  // the same name, tidied
    ASSERT_EQ(s.Setups.size(), 1u);
    EXPECT_NE(std::find(s.Setups[0].values.begin(), s.Setups[0].values.end(),
                        std::pair<TSettingsField, TSettingValue>{TSettingsField::GridSize, std::int32_t{20}}),
              s.Setups[0].values.end());
    EXPECT_TRUE(SaveSetup(s, ""));
    EXPECT_TRUE(SaveSetup(s, "Set-up 3"));
    EXPECT_TRUE(SaveSetup(s, "   "));
    std::vector<std::string> names;
    for (const TSetup& setup : s.Setups) names.push_back(setup.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Print", "Set-up 2", "Set-up 3", "Set-up 4"}));
    EXPECT_TRUE(s.SetupsChanged);

    while (s.Setups.size() < kMaxSetups) ASSERT_TRUE(SaveSetup(s, "n" + std::to_string(s.Setups.size())));
    EXPECT_FALSE(SaveSetup(s, "one too many"));
    EXPECT_TRUE(SaveSetup(s, "Print"));  // replacing still works
    EXPECT_EQ(s.Setups.size(), kMaxSetups);

    EXPECT_TRUE(DeleteSetup(s, "Print"));
    EXPECT_FALSE(DeleteSetup(s, "Print"));
    EXPECT_EQ(s.Setups.front().name, "Set-up 2");
    EXPECT_FALSE(RestoreSetupAt(s, kMaxSetups));
}

TEST(Setups, TheFileKeepsThemInASectionOfTheirOwn) {
    TSettings s(1920);
    s.SetGridSize(16);
    ASSERT_TRUE(SaveSetup(s, "Grid 16"));
    s.SetLinesColor(0x00FF0000);
    ASSERT_TRUE(SaveSetup(s, "Blue lines"));
    const std::string file = SettingsFileContent(s, "[Mine]\nA=1\n", '.', "\n");
    EXPECT_NE(file.find("[Mine]\nA=1\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\n[Setups]\n1.Name=Grid 16\n1.LockWidth=1\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\n2.Name=Blue lines\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\n2.LinesColor=16711680\n"), std::string::npos) << file;

    TSettings t(1920);
    ApplySettingsText(t, file);
    ASSERT_EQ(t.Setups.size(), 2u);
    // As the file spells them: the ratio keeps the settings file's 15 digits.
    EXPECT_EQ(Described(t.Setups), Described(s.Setups));
    EXPECT_FALSE(t.SetupsChanged);
    // Unchanged set-ups leave their section exactly as the file has it.
    const std::string handEdited = "[Setups]\n; mine\n 1.Name = Odd  \n1.GridSize=9\n";
    ApplySettingsText(t, handEdited);
    EXPECT_EQ(t.Setups.at(0).name, "Odd");
    EXPECT_TRUE(SettingsFileContent(t, handEdited, '.', "\n").starts_with(handEdited));
    // A change writes the section anew: numbered from 1, the comment kept.
    ASSERT_TRUE(DeleteSetup(t, "Odd"));
    ASSERT_TRUE(SaveSetup(t, "New"));
    EXPECT_TRUE(SettingsFileContent(t, handEdited, '.', "\n").starts_with("[Setups]\n; mine\n1.Name=New\n"));
}

TEST(Setups, AHandEditedSectionIsReadAsFarAsItMakesSense) {
    const std::string file =
        "[Setups]\n"
        "3.Name=Third\n3.Width=500\n3.Opacity=lots\n"  // a number may be missing; a bad value is left out
        "4.Width=300\n"                                 // no name: skipped
        "5.Name=Third\n5.Width=1\n"                     // a name met before: the first counts
        "21.Name=Beyond\n"                              // past the last number read
        "6.Name=\n";
    const std::vector<TSetup> setups = ReadSetups(TIniFile(file), '.');
    ASSERT_EQ(setups.size(), 1u);
    EXPECT_EQ(setups[0].name, "Third");
    EXPECT_EQ(setups[0].values,
              (std::vector<std::pair<TSettingsField, TSettingValue>>{{TSettingsField::Width, std::int32_t{500}}}));
}

}  // namespace
}  // namespace ratiscope
