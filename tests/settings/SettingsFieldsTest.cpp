// The field table's outcomes: what a new record holds, what a file without a
// key or with a bad value gives, and that a change of several fields tells
// each window once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <variant>

#include "base/Numbers.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsKeys.h"
#include "support/RecordingWindows.h"

namespace ratiscope {
namespace {

using testing::TCallLog;

constexpr std::int32_t kScreenWidth = 1920;

// The value of a named field, read through the table.
TSettingValue ValueOf(const TSettings& s, std::string_view name) {
    const TSettingsKey* key = FindSettingsKey(name);
    EXPECT_NE(key, nullptr) << name;
    return key ? key->value(s) : TSettingValue{};
}

std::map<std::string, int> Counted(const TCallLog& log) {
    std::map<std::string, int> counts;
    for (const auto& call : log) ++counts[call];
    return counts;
}

TEST(SettingsFields, RowsFollowTheFieldOrderWithDistinctKeys) {
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < SettingsKeys().size(); ++i) {
        const TSettingsKey& key = SettingsKeys()[i];
        EXPECT_EQ(static_cast<std::size_t>(key.field), i) << key.name;
        EXPECT_EQ(&SettingsKey(key.field), &key) << key.name;
        EXPECT_TRUE(names.insert(key.name).second) << key.name;
    }
    EXPECT_EQ(names.size(), kSettingsFieldCount);
}

TEST(SettingsFields, NewRecordAndMissingKeysGiveTheirDefaults) {
    struct Case {
        const char* key;
        TSettingValue created;  // a new record, no settings file
        TSettingValue missing;  // a file that lacks the key
    };
    const Case cases[] = {
        {"Border", 12, 12},
        {"Height", 245, 248},  // the missing width 401 leads: round(401 x 0.618...)
        {"Width", 396, 401},
        {"LockWidth", true, true},
        {"Lock", true, true},
        {"Ratio", 0.6180339887498949, 0.6180339887498949},
        {"LinesColor", 4210943, 4210943},
        {"ValuesColor", 8618883, 8618883},
        {"MouseResizeAllowed", true, true},
        {"Opacity", 90, 90},
        {"MouseWheelAllowed", true, true},
        {"OrientMode", 0, 0},
        {"ShowHints", true, true},
        {"ShowValues", true, true},
        {"LookMode", 1, 1},
        {"GridSize", 8, 8},
        {"SettingsOpacity", false, false},
        {"MoveUsingGrid", true, true},
        {"Lang", std::string("English"), std::string("English")},
        {"X", 300, 200},
        {"Y", 240, 200},
        {"SX", kScreenWidth - 181, 600},
        {"SY", 10, 10},
        {"SVisible", true, false},
        {"SPage", 0, 1},
        {"SFrame", true, true},
        {"Hotkey", std::string("Ctrl+Alt+G"), std::string("Ctrl+Alt+G")},
        {"Figure", std::string(), std::string()},
    };
    ASSERT_EQ(std::size(cases), kSettingsFieldCount);
    const TSettings created(kScreenWidth);
    TSettings fromEmptyFile(kScreenWidth);
    ApplySettingsText(fromEmptyFile, "[Settings]\n");
    for (const Case& c : cases) {
        EXPECT_EQ(ValueOf(created, c.key), c.created) << c.key;
        EXPECT_EQ(ValueOf(fromEmptyFile, c.key), c.missing) << c.key;
    }
}

TEST(SettingsFields, TheFigureDefaultsAreTheNewRecordsValues) {
    const TSettings s(kScreenWidth);
    EXPECT_EQ(s.Width, kDefaultWidth);
    EXPECT_EQ(s.Height, kDefaultHeight);
    EXPECT_EQ(kDefaultHeight, RoundToInt(kDefaultWidth * kDefaultRatio));
    EXPECT_EQ(s.Border, kDefaultBorder);
    EXPECT_EQ(s.Ratio, kDefaultRatio);
    EXPECT_EQ(s.LookMode, kDefaultLookMode);
    EXPECT_EQ(s.OrientMode, kDefaultOrientMode);
    EXPECT_EQ(s.GridSize, kDefaultGridSize);
    EXPECT_EQ(s.Opacity, kDefaultOpacity);
}

TEST(SettingsFields, BadValuesInTheFileAreHeldToTheFieldsLimits) {
    struct Case {
        const char* line;
        const char* key;
        TSettingValue expected;
    };
    const Case cases[] = {
        {"Opacity=150", "Opacity", 90},       // refused: the value at creation stays
        {"Opacity=-1", "Opacity", 90},
        {"Opacity=100", "Opacity", 100},
        {"Opacity=abc", "Opacity", 90},       // unreadable: the default
        {"GridSize=0", "GridSize", 3},        // raised to the floor
        {"GridSize=-40", "GridSize", 3},
        {"GridSize=3", "GridSize", 3},
        {"Border=5000", "Border", kMaxBorder},
        {"Border=-3", "Border", kMinBorder},
        {"Ratio=0", "Ratio", 0.6180339887498949},
        {"Ratio=-2", "Ratio", 0.6180339887498949},
        {"Ratio=1e999", "Ratio", 0.6180339887498949},
        {"Ratio=0.5", "Ratio", 0.5},
        {"Width=10", "Width", 58},            // with the width leading, the minimum
        {"Width=2000000", "Width", kMaxSide},
        {"LookMode=99", "LookMode", 99},      // stored whatever its value
        {"OrientMode=-7", "OrientMode", -7},
        {"ShowHints=yes", "ShowHints", true},
        {"ShowHints=0", "ShowHints", false},
        {"LinesColor=$FFFFFFFF", "LinesColor", -1},
        {"SPage=-9", "SPage", -9},            // stored directly, no limit
    };
    for (const Case& c : cases) {
        TSettings s(kScreenWidth);
        ApplySettingsText(s, std::string("[Settings]\n") + c.line + "\n");
        EXPECT_EQ(ValueOf(s, c.key), c.expected) << c.line;
    }
}

TEST(SettingsFields, ASetterGivenAnOutOfRangeValueKeepsTheSameLimit) {
    struct Case {
        TSettingsField field;
        TSettingValue given;
        TSettingValue stored;
    };
    const Case cases[] = {
        {TSettingsField::Opacity, 101, 90},
        {TSettingsField::Opacity, 0, 0},
        {TSettingsField::GridSize, 1, 3},
        {TSettingsField::Border, 1025, kMaxBorder},
        {TSettingsField::Ratio, -1.0, 0.6180339887498949},
        {TSettingsField::Width, 57, 58},
        {TSettingsField::Height, 20, 245},  // the width leads: nothing stored
        {TSettingsField::LookMode, 42, 42},
    };
    for (const Case& c : cases) {
        TSettings s(kScreenWidth);
        s.SetField(c.field, c.given);
        EXPECT_EQ(SettingsKey(c.field).value(s), c.stored) << SettingsKey(c.field).name;
    }
}

class SettingsChange : public ::testing::Test {
protected:
    TSettings s{kScreenWidth};
    TCallLog log;
    testing::RecordingOverlay overlay{log};
    testing::RecordingPanel panel{log};

    void Attach() {
        s.Overlay = &overlay;
        s.Panel = &panel;
    }
};

TEST_F(SettingsChange, SeveralFieldsTellEachWindowOnce) {
    struct Case {
        const char* what;
        void (*change)(TSettings&);
        std::map<std::string, int> told;
    };
    const Case cases[] = {
        {"both sides with the lock off",
         [](TSettings& t) {
             t.SetWidth(500);
             t.SetHeight(300);
         },
         {{"overlay.UpdateSize", 1}, {"panel.ShowSize", 1}}},
        {"size, look and colour",
         [](TSettings& t) {
             t.SetWidth(500);
             t.SetLookMode(TLook::GoldenLines);
             t.SetLinesColor(7);
             t.SetValuesColor(7);
         },
         {{"overlay.UpdateSize", 1},
          {"panel.ShowSize", 1},
          {"overlay.UpdateLook", 1},
          {"panel.ShowLook", 1},
          {"panel.ShowColors", 1}}},
        {"options",
         [](TSettings& t) {
             t.SetShowValues(false);
             t.SetShowHints(false);
             t.SetSFrame(false);
         },
         {{"overlay.UpdateOptions", 1}, {"panel.ShowAdvanced", 1}}},
        {"nothing changed",
         [](TSettings& t) {
             t.SetGridSize(t.GridSize);
             t.SetOpacity(500);
         },
         {}},
        {"a nested change",
         [](TSettings& t) {
             const TSettingsChange inner(t);
             t.SetOpacity(50);
             t.SetOpacity(60);
         },
         {{"overlay.UpdateOpacity", 1}, {"panel.ApplyOpacity", 1}}},
    };
    for (const Case& c : cases) {
        TSettings t(kScreenWidth);
        t.SetLock(false);
        t.Overlay = &overlay;
        t.Panel = &panel;
        log.clear();
        {
            const TSettingsChange change(t);
            c.change(t);
            EXPECT_TRUE(log.empty()) << c.what << ": told before the change ended";
        }
        EXPECT_EQ(Counted(log), c.told) << c.what;
    }
}

TEST_F(SettingsChange, TheChangedValuesAreInPlaceWhenTheWindowsAreTold) {
    s.SetLock(false);
    Attach();
    {
        const TSettingsChange change(s);
        s.SetWidth(10);
        s.SetHeight(400);
        s.SetGridSize(0);
    }
    EXPECT_EQ(s.Width, 58);
    EXPECT_EQ(s.Height, 400);
    EXPECT_EQ(s.GridSize, 3);
}

TEST_F(SettingsChange, ARequestedRefreshIsToldWithTheRest) {
    Attach();
    {
        TSettingsChange change(s);
        change.Refresh(kUpdateSize);
        s.SetWidth(s.Width);  // unchanged
    }
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateSize"}));
}

TEST_F(SettingsChange, SetSizeWithTheLockOffTellsOnce) {
    s.SetLock(false);
    Attach();
    s.SetSize(500, 300);
    EXPECT_EQ(s.Width, 500);
    EXPECT_EQ(s.Height, 300);
    EXPECT_EQ(Counted(log), (std::map<std::string, int>{{"overlay.UpdateSize", 1}, {"panel.ShowSize", 1}}));
}

TEST(SizeRules, TheSettersAndThePureRulesAgree) {
    struct Case {
        bool lock, lockWidth;
        double ratio;
        std::int32_t width, height;  // asked of SetSize
        std::int32_t wantWidth, wantHeight;
    };
    const Case cases[] = {
        {false, true, kGoldenFactor, 10, 500, 58, 500},
        {false, false, kGoldenFactor, 600, 20, 600, 36},
        {true, true, kGoldenFactor, 500, 1, 500, 309},
        {true, true, kGoldenFactor, 3, 900, 58, 36},
        {true, false, kGoldenFactor, 1000, 20, 58, 36},
        {true, false, 0.61, 1000, 20, 57, 35},  // the raised height can round below its width equivalent
        {true, false, kGoldenFactor, 1, 300, 485, 300},
        {true, true, 2.0, 20000, 0, 20000, kMaxSide},
    };
    for (const Case& c : cases) {
        TSettings s(kScreenWidth);
        s.SetLock(false);
        s.SetRatio(c.ratio);
        s.SetLockWidth(c.lockWidth);
        s.SetLock(c.lock);
        const TSizeState before = s.SizeState();
        s.SetSize(c.width, c.height);
        const TSizeState pure = WithSize(before, c.width, c.height);
        EXPECT_EQ(s.Width, c.wantWidth) << c.width << "x" << c.height;
        EXPECT_EQ(s.Height, c.wantHeight) << c.width << "x" << c.height;
        EXPECT_EQ(pure, s.SizeState()) << c.width << "x" << c.height;
    }
}

TEST(SizeRules, TheLeadingSideIsPickedByLockWidthAlone) {
    struct Case {
        bool lock, lockWidth;
        std::int32_t wantWidth, wantHeight;
    };
    // Asked for 500 x 100 from 396 x 245.
    const Case cases[] = {
        {false, true, 500, 245},
        {false, false, 396, 100},
        {true, true, 500, 309},
        {true, false, 162, 100},
    };
    for (const Case& c : cases) {
        const TSizeState s = WithLeadingSide({396, 245, kGoldenFactor, c.lock, c.lockWidth}, 500, 100);
        EXPECT_EQ(s.Width, c.wantWidth) << c.lock << c.lockWidth;
        EXPECT_EQ(s.Height, c.wantHeight) << c.lock << c.lockWidth;
    }
}

}  // namespace
}  // namespace ratiscope
