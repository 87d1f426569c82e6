// The setters' limits, refusals and the order in which the windows are told.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "support/RecordingWindows.h"

namespace ratiscope {
namespace {

using testing::TCallLog;

class SettingsModel : public ::testing::Test {
protected:
    TSettings s{1920};
    TCallLog log;
    testing::RecordingOverlay overlay{log};
    testing::RecordingPanel panel{log};

    void Attach() {
        s.Overlay = &overlay;
        s.Panel = &panel;
    }
};

TEST_F(SettingsModel, NewRecordHoldsTheFirstRunValues) {
    EXPECT_EQ(s.Width, 396);
    EXPECT_EQ(s.Height, 245);
    EXPECT_EQ(s.Border, 12);
    EXPECT_EQ(s.Ratio, 0.6180339887498949);
    EXPECT_TRUE(s.Lock);
    EXPECT_TRUE(s.LockWidth);
    EXPECT_EQ(s.LinesColor, 4210943u);
    EXPECT_EQ(s.ValuesColor, 8618883u);
    EXPECT_EQ(s.Opacity, 90);
    EXPECT_EQ(s.GridSize, 8);
    EXPECT_EQ(s.LookMode, TLook::RatioSequence);
    EXPECT_EQ(s.OrientMode, TOrientation::TopLeft);
    EXPECT_EQ(s.X, 300);
    EXPECT_EQ(s.Y, 240);
    EXPECT_EQ(s.SX, 1920 - 181);
    EXPECT_EQ(s.SY, 10);
    EXPECT_TRUE(s.SVisible);
    EXPECT_EQ(s.SPage, 0);
    EXPECT_EQ(s.Lang, "English");
    EXPECT_TRUE(s.SFrame && s.ShowValues && s.ShowHints && s.MoveUsingGrid);
    EXPECT_TRUE(s.MouseResizeAllowed && s.MouseWheelAllowed);
    EXPECT_FALSE(s.SettingsOpacity);
}

TEST_F(SettingsModel, OpacityOutsideRangeIsRefusedSilently) {
    Attach();
    s.SetOpacity(101);
    s.SetOpacity(-1);
    s.SetOpacity(90);
    EXPECT_EQ(s.Opacity, 90);
    EXPECT_TRUE(log.empty());
    s.SetOpacity(100);
    EXPECT_EQ(s.Opacity, 100);
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateOpacity", "panel.ApplyOpacity"}));
}

TEST_F(SettingsModel, GridSizeHasAFloorOfThreeAndComparesBeforeIt) {
    Attach();
    s.SetGridSize(1);
    EXPECT_EQ(s.GridSize, 3);
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateLook", "panel.ShowGridSize"}));
    log.clear();
    s.SetGridSize(3);
    EXPECT_TRUE(log.empty());
    // 2 differs from the stored 3, so it is taken and clamped again: told once more.
    s.SetGridSize(2);
    EXPECT_EQ(s.GridSize, 3);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(SettingsModel, WidthWithLockOffKeepsItsMinimumAndLeavesHeight) {
    s.SetLock(false);
    Attach();
    s.SetWidth(10);
    EXPECT_EQ(s.Width, 58);
    EXPECT_EQ(s.Height, 245);
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateSize", "panel.ShowSize"}));
}

TEST_F(SettingsModel, WidthLeadsWhileLockedToWidth) {
    Attach();
    s.SetWidth(500);
    EXPECT_EQ(s.Width, 500);
    EXPECT_EQ(s.Height, 309);  // 309.0169... rounded
    log.clear();
    s.SetHeight(100);  // the follower cannot be set, but the size is refreshed
    EXPECT_EQ(s.Height, 309);
    EXPECT_EQ(s.Width, 500);
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateSize", "panel.ShowSize"}));
}

TEST_F(SettingsModel, HeightLeadsWhileLockedToHeight) {
    s.SetLockWidth(false);
    s.SetHeight(20);
    EXPECT_EQ(s.Height, 36);
    EXPECT_EQ(s.Width, 58);
    const int w = s.Width;
    s.SetWidth(1000);
    EXPECT_EQ(s.Width, w);
}

TEST_F(SettingsModel, RaisedHeightCanRoundBelowItsWidthEquivalent) {
    // round(58 x 0.61) = 35, whose width equivalent is 57.4: the setter's rule, kept as it is.
    s.SetLockWidth(false);
    s.SetRatio(0.61);
    s.SetHeight(20);
    EXPECT_EQ(s.Height, 35);
    EXPECT_EQ(s.Width, 57);
}

TEST_F(SettingsModel, SameRatioDoesNothingEvenAfterLockIsSwitchedOn) {
    s.SetLock(false);
    s.SetWidth(500);
    Attach();
    s.SetLock(true);
    log.clear();
    s.SetRatio(s.Ratio);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(s.Height, 245);
    s.ApplyRatio();
    EXPECT_EQ(s.Height, 309);
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateSize"}));
}

TEST_F(SettingsModel, RatioThatIsNotAPositiveNumberIsRefused) {
    Attach();
    for (double bad : {0.0, -0.5, std::nan(""), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        s.SetRatio(bad);
        EXPECT_EQ(s.Ratio, 0.6180339887498949) << bad;
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(SettingsModel, ExtremeRatiosKeepTheFollowingSideRepresentable) {
    s.SetRatio(1e300);
    EXPECT_EQ(s.Height, kMaxSide);
    s.SetRatio(1e-300);
    EXPECT_EQ(s.Height, 0);
    s.SetLockWidth(false);
    s.SetRatio(1e-9);
    s.ApplyRatio();
    EXPECT_GE(s.Width, 0);
    EXPECT_LE(s.Width, kMaxSide);
    s.SetHeight(1000000);
    EXPECT_LE(s.Width, kMaxSide);
    EXPECT_LE(s.Height, kMaxSide);
}

TEST_F(SettingsModel, SizesAndBorderStayWithinTheWindowLimits) {
    s.SetLock(false);
    s.SetWidth(std::numeric_limits<std::int32_t>::max());
    s.SetHeight(std::numeric_limits<std::int32_t>::max());
    s.SetBorder(std::numeric_limits<std::int32_t>::max());
    EXPECT_LE(s.Width + 2 * s.Border, 32767);
    EXPECT_LE(s.Height + 2 * s.Border + 16, 32767);
    s.SetBorder(std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(s.Border, kMinBorder);
    s.SetWidth(std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(s.Width, 58);
}

TEST_F(SettingsModel, NextLookAndNextOrientWrapFromTheTopOrAbove) {
    struct Case {
        int from, to;
    };
    // The two appended looks are left out of the cycle: from them it goes back to 0.
    for (Case c : {Case{13, 0}, Case{14, 0}, Case{15, 0}, Case{20, 0}, Case{0, 1}, Case{12, 13}, Case{-5, -4}}) {
        s.SetLookMode(TLook{c.from});
        s.NextLook();
        EXPECT_EQ(s.LookMode, TLook{c.to}) << c.from;
    }
    for (Case c : {Case{3, 0}, Case{7, 0}, Case{2, 3}, Case{-1, 0}}) {
        s.SetOrientMode(TOrientation{c.from});
        s.NextOrient();
        EXPECT_EQ(s.OrientMode, TOrientation{c.to}) << c.from;
    }
}

TEST_F(SettingsModel, NextLookGoesOnThroughTheFiguresOfOnesOwn) {
    struct Case {
        const char* what;
        int look;
        const char* figure;
        std::vector<std::string> figures;
        int wantLook;
        const char* wantFigure;
    };
    const std::vector<std::string> two{"a.figure", "b.figure"};
    const std::vector<Case> cases = {
        {"last cycled look to the first figure", 13, "", two, 13, "a.figure"},
        {"figure to figure", 13, "a.figure", two, 13, "b.figure"},
        {"last figure back to the first look", 13, "b.figure", two, 0, ""},
        {"no figures: as before", 13, "", {}, 0, ""},
        {"a list-only look skips the figures", 14, "", two, 0, ""},
        {"a vanished figure was drawn as its look", 4, "gone.figure", two, 5, ""},
        {"a figure chosen from any look", 2, "a.figure", two, 2, "b.figure"},
    };
    for (const Case& c : cases) {
        s.ChooseLook(TLook{c.look});
        s.ChooseFigure(c.figure);
        s.NextLook(c.figures);
        EXPECT_EQ(s.LookMode, TLook{c.wantLook}) << c.what;
        EXPECT_EQ(s.Figure, c.wantFigure) << c.what;
    }
}

TEST_F(SettingsModel, ChoosingABuiltInLookLeavesTheFigureAndTellsOnce) {
    s.ChooseFigure("a.figure");
    Attach();
    s.ChooseLook(TLook::Spiral);
    EXPECT_EQ(s.Figure, "");
    EXPECT_EQ(s.LookMode, TLook::Spiral);
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateLook", "panel.ShowLook"}));
    log.clear();
    s.ChooseFigure("a.figure");
    s.ChooseFigure("a.figure");
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateLook", "panel.ShowLook"}));
    // Restoring the defaults returns to the default look.
    s.RestoreDefaults();
    EXPECT_EQ(s.Figure, "");
}

TEST_F(SettingsModel, LanguageChangeTellsThePanelFirstAndComparesWithCase) {
    Attach();
    s.SetLang("English");
    EXPECT_TRUE(log.empty());
    s.SetLang("english");
    EXPECT_EQ(s.Lang, "english");
    EXPECT_EQ(log, (TCallLog{"panel.ReloadLanguage", "overlay.UpdateLanguage"}));
}

TEST_F(SettingsModel, EachSetterTellsItsWindowsInOrder) {
    Attach();
    struct Case {
        void (*change)(TSettings&);
        TCallLog expected;
    };
    const Case cases[] = {
        {[](TSettings& t) { t.SetLinesColor(1); }, {"overlay.UpdateLook", "panel.ShowColors"}},
        {[](TSettings& t) { t.SetValuesColor(1); }, {"overlay.UpdateLook", "panel.ShowColors"}},
        {[](TSettings& t) { t.SetOrientMode(TOrientation::BottomRight); },
         {"overlay.UpdateLook", "panel.ShowOrientation"}},
        {[](TSettings& t) { t.SetLookMode(TLook::Spiral); }, {"overlay.UpdateLook", "panel.ShowLook"}},
        {[](TSettings& t) { t.SetRatio(0.5); }, {"overlay.UpdateSize", "panel.ShowRatio"}},
        {[](TSettings& t) { t.SetLock(false); }, {"panel.ShowSnapAndLock"}},
        {[](TSettings& t) { t.SetLockWidth(false); }, {"panel.ShowSnapAndLock"}},
        {[](TSettings& t) { t.SetBorder(3); }, {}},
        {[](TSettings& t) { t.SetShowValues(false); }, {"overlay.UpdateOptions", "panel.ShowAdvanced"}},
        {[](TSettings& t) { t.SetShowHints(false); }, {"overlay.UpdateOptions", "panel.ShowAdvanced"}},
        {[](TSettings& t) { t.SetMouseResizeAllowed(false); }, {"overlay.UpdateOptions", "panel.ShowAdvanced"}},
        {[](TSettings& t) { t.SetMouseWheelAllowed(false); }, {"overlay.UpdateOptions", "panel.ShowAdvanced"}},
        {[](TSettings& t) { t.SetSettingsOpacity(true); }, {"overlay.UpdateOptions", "panel.ShowAdvanced"}},
        {[](TSettings& t) { t.SetMoveUsingGrid(false); }, {"overlay.UpdateOptions", "panel.ShowAdvanced"}},
        {[](TSettings& t) { t.SetSFrame(false); }, {"overlay.UpdateOptions", "panel.ShowAdvanced"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        log.clear();
        cases[i].change(s);
        EXPECT_EQ(log, cases[i].expected) << "case " << i;
        log.clear();
        cases[i].change(s);  // unchanged now: nobody is told
        EXPECT_TRUE(log.empty()) << "case " << i;
    }
}

TEST_F(SettingsModel, RestoreDefaultsBringsBackEveryLookValueButKeepsPositions) {
    s.SetRatio(2.0);
    s.SetLock(false);
    s.SetWidth(777);
    s.SetHeight(333);
    s.SetBorder(40);
    s.SetOpacity(20);
    s.SetLookMode(TLook::CentredSections);
    s.SetOrientMode(TOrientation::BottomLeft);
    s.SetGridSize(30);
    s.SetShowValues(false);
    s.SetSFrame(false);
    s.SetLinesColor(5);
    s.SetLang("German");
    s.X = 1;
    s.SPage = 3;
    s.SVisible = false;
    Attach();
    s.RestoreDefaults();
    EXPECT_EQ(s.Width, 396);
    EXPECT_EQ(s.Height, 245);
    EXPECT_EQ(s.Border, 12);
    EXPECT_EQ(s.Ratio, 0.6180339887498949);
    EXPECT_TRUE(s.Lock && s.LockWidth);
    EXPECT_EQ(s.Opacity, 90);
    EXPECT_EQ(s.LookMode, TLook::RatioSequence);
    EXPECT_EQ(s.OrientMode, TOrientation::TopLeft);
    EXPECT_EQ(s.GridSize, 8);
    EXPECT_TRUE(s.ShowValues && s.SFrame);
    EXPECT_EQ(s.LinesColor, kDefaultLinesColor);
    EXPECT_EQ(s.Lang, "German");
    EXPECT_EQ(s.X, 1);
    EXPECT_EQ(s.SPage, 3);
    EXPECT_FALSE(s.SVisible);
    // The lock switches and the width go through their setters, so the windows hear of them.
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "panel.ShowSnapAndLock");
    EXPECT_EQ(log[1], "panel.ShowSnapAndLock");
    EXPECT_EQ(log[2], "overlay.UpdateSize");
    EXPECT_EQ(log[3], "panel.ShowSize");
}

TEST_F(SettingsModel, EmptySlotsAreSkipped) {
    s.Overlay = &overlay;  // panel slot left empty
    s.SetLookMode(TLook::GoldenLines);
    s.SetOpacity(50);
    EXPECT_EQ(log, (TCallLog{"overlay.UpdateLook", "overlay.UpdateOpacity"}));
}

}  // namespace
}  // namespace ratiscope
