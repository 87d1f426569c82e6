// The Look page against recording controls: the size field's live and
// committed paths, the ratio box, the lock, the lists and the grid field.
#include <cmath>
#include <limits>

#include "panel/LookRules.h"
#include "platform/Keys.h"
#include "settings/FigureLibrary.h"
#include "PanelFixture.h"

namespace ratiscope::testing {
namespace {

class LookPage : public PanelTest {
protected:
    void SetUp() override { Create(); }
};

TEST_F(LookPage, StartsWithTheSettingsShown) {
    EXPECT_TRUE(Get<RecordingRadioButton>("WidthRadio").Checked());
    EXPECT_FALSE(Get<RecordingRadioButton>("HeightRadio").Checked());
    EXPECT_EQ(SizeEdit().Text(), "396");
    EXPECT_TRUE(Get<RecordingCheckBox>("LockCheckBox").Checked());
    EXPECT_EQ(RatioBox().ItemIndex(), 0);
    EXPECT_EQ(RatioBox().ItemCount(), 17);
    EXPECT_EQ(Get<RecordingComboBox>("LookComboBox").ItemIndex(), 1);
    EXPECT_EQ(Get<RecordingComboBox>("OrientationComboBox").ItemIndex(), 0);
    EXPECT_EQ(GridEdit().Text(), "8");
    EXPECT_EQ(SizeUpDown().Max(), 3840);
    EXPECT_TRUE(form->Look()->LiveApply());
}

TEST_F(LookPage, TypedSizeWaitsForEnterThenAppliesWithTheLock) {
    SizeEdit().UserTypes("500");
    EXPECT_FALSE(form->Look()->LiveApply());
    EXPECT_EQ(settings.Width, 396);
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_TRUE(form->Look()->LiveApply());
    EXPECT_EQ(settings.Width, 500);
    EXPECT_EQ(settings.Height, 309);  // round(500 x 0.618...)
    EXPECT_EQ(SizeEdit().Text(), "500");
    // The overlay was resized.
    EXPECT_NE(std::find(calls.begin(), calls.end(), "overlay.UpdateSize"), calls.end());
}

TEST_F(LookPage, EnterOnTheDefaultSizeGivesTheGoldenHeight) {
    settings.SetWidth(300);
    SizeEdit().UserTypes("396");
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Width, 396);
    EXPECT_EQ(settings.Height, 245);
}

TEST_F(LookPage, LeavingTheFieldCommitsToo) {
    SizeEdit().UserTypes("640");
    EXPECT_EQ(settings.Width, 396);
    Get<RecordingComboBox>("LookComboBox").SetFocus();
    EXPECT_EQ(settings.Width, 640);
    EXPECT_TRUE(form->Look()->LiveApply());
}

TEST_F(LookPage, SpacesAreDroppedFromATypedSize) {
    SizeEdit().UserTypes("1 200");
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Width, 1200);
    EXPECT_EQ(SizeEdit().Text(), "1200");
}

TEST_F(LookPage, SpinClicksApplyAtOnceUntilSomethingIsTyped) {
    SizeUpDown().UserClicks(+1);
    EXPECT_EQ(settings.Width, 397);
    SizeEdit().UserPresses(TKey::Down);  // the arrow keys step the spin buttons as well, but a key clears live apply
    EXPECT_EQ(SizeEdit().Text(), "396");
    EXPECT_EQ(settings.Width, 397);
    SizeUpDown().UserClicks(+1);
    SizeUpDown().UserClicks(+1);
    EXPECT_EQ(SizeEdit().Text(), "398");
    EXPECT_EQ(settings.Width, 397);
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Width, 398);
    SizeUpDown().UserClicks(+1);
    EXPECT_EQ(settings.Width, 399);
}

TEST_F(LookPage, TextThatIsNoIntegerShowsTheErrorAndChangesNothing) {
    SizeEdit().UserTypes("12a");
    const TCallLog before = calls;
    SizeEdit().UserPresses(TKey::Return);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "app.ShowMessage error \"Vendrel Ratiscope\" \"'12a' is not a valid integer value\"");
    EXPECT_EQ(settings.Width, 396);
    EXPECT_EQ(settings.Height, 245);
    EXPECT_EQ(calls, before);
    EXPECT_TRUE(form->Look()->LiveApply());
    EXPECT_EQ(SizeEdit().Text(), "12a");
}

TEST_F(LookPage, SizesFromTwiceTheScreenWidthAreIgnoredSilently) {
    SizeEdit().UserTypes("3840");
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Width, 396);
    EXPECT_TRUE(Messages().empty());
    SizeEdit().UserTypes("3839");
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Width, 3839);
}

TEST_F(LookPage, NegativeAndSmallSizesMeetTheSettersMinimum) {
    SizeEdit().UserTypes("-40");
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Width, 58);
    EXPECT_EQ(SizeEdit().Text(), "58");
}

TEST_F(LookPage, HeightRadioShowsTheHeightAndTheFieldThenSetsIt) {
    Get<RecordingRadioButton>("HeightRadio").UserClicks();
    EXPECT_FALSE(settings.LockWidth);
    EXPECT_EQ(SizeEdit().Text(), "245");
    EXPECT_EQ(settings.Width, 396);
    EXPECT_EQ(settings.Height, 245);
    SizeEdit().UserTypes("300");
    SizeEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Height, 300);
    EXPECT_EQ(settings.Width, 485);  // round(300 / 0.618...)
    Get<RecordingRadioButton>("WidthRadio").UserClicks();
    EXPECT_TRUE(settings.LockWidth);
    EXPECT_EQ(SizeEdit().Text(), "485");
}

TEST_F(LookPage, WheelOnTheOverlayShowsInTheSizeField) {
    settings.SetWidth(420);  // what a wheel step does
    EXPECT_EQ(SizeEdit().Text(), "420");
    settings.SetLockWidth(false);
    EXPECT_FALSE(Get<RecordingRadioButton>("WidthRadio").Checked());
    settings.SetHeight(200);
    EXPECT_EQ(SizeEdit().Text(), "200");
}

TEST_F(LookPage, LockBoxAppliesTheRatioAtOnce) {
    auto& lock = Get<RecordingCheckBox>("LockCheckBox");
    lock.UserClicks();
    EXPECT_FALSE(settings.Lock);
    settings.SetWidth(500);
    EXPECT_EQ(settings.Height, 245);  // unlocked: the height stays
    calls.clear();
    lock.UserClicks();
    EXPECT_TRUE(settings.Lock);
    EXPECT_EQ(settings.Height, 309);
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateSize"}));
}

TEST_F(LookPage, RatioBoxRules) {
    struct Case {
        const char* typed;
        double ratio;  // the ratio afterwards
    };
    // Applied one after another with Enter.
    const Case cases[] = {
        {"1.0005", kRatioEntries[0]}, {"3.05", 3.05}, {"3.1", 3.05},  {"1", 3.05},     {"abc", 3.05},
        {"0", 3.05},                  {"-2", 3.05},   {"nan", 3.05},  {"0.8", 0.8},    {"1e-3", 0.001},
    };
    for (const Case& c : cases) {
        RatioBox().UserTypes(c.typed);
        EXPECT_EQ(RatioBox().ItemIndex(), -1);
        RatioBox().UserPresses(TKey::Return);
        EXPECT_EQ(settings.Ratio, c.ratio) << c.typed;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(LookPage, TypedRatioIsShownAndAppendedAndEnterAppliesEvenWhenNothingChanged) {
    RatioBox().UserTypes("3.05");
    calls.clear();
    RatioBox().UserPresses(TKey::Return);
    EXPECT_EQ(settings.Ratio, 3.05);
    EXPECT_EQ(settings.Height, 1208);  // round(396 x 3.05)
    EXPECT_EQ(RatioBox().ItemCount(), 18);
    EXPECT_EQ(RatioBox().ItemText(17), "3.05");
    EXPECT_EQ(RatioBox().Text(), "3.05");
    EXPECT_EQ(calls.back(), "overlay.UpdateLook");
    RatioBox().UserTypes("3.1");
    calls.clear();
    RatioBox().UserPresses(TKey::Return);
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateLook"}));
}

TEST_F(LookPage, PickingAnEntrySetsTheTablesLiteral) {
    RatioBox().UserPicks(10);
    EXPECT_EQ(settings.Ratio, 0.7071067811865476);
    RatioBox().UserPicks(12);
    EXPECT_EQ(settings.Ratio, 1.0);
    EXPECT_EQ(settings.Height, 396);
    RatioBox().UserPicks(1);
    EXPECT_EQ(settings.Ratio, 1.6180339887498947);
    EXPECT_EQ(RatioBox().ItemCount(), 17);
}

TEST_F(LookPage, ARatioNearAnEntrySelectsItWithoutChangingTheRatio) {
    settings.SetRatio(0.6185);
    EXPECT_EQ(settings.Ratio, 0.6185);
    EXPECT_EQ(RatioBox().ItemIndex(), 0);
    EXPECT_EQ(RatioBox().ItemCount(), 17);
}

TEST_F(LookPage, AppendedEntriesStayAndGrowWithEveryShow) {
    settings.SetRatio(1.25);
    settings.SetRatio(2.5);
    settings.SetRatio(1.25);
    EXPECT_EQ(RatioBox().ItemCount(), 20);
    EXPECT_EQ(RatioBox().ItemText(17), "1.25");
    EXPECT_EQ(RatioBox().ItemText(18), "2.5");
    EXPECT_EQ(RatioBox().ItemText(19), "1.25");
    // Picking an appended entry reads its text.
    RatioBox().UserPicks(18);
    EXPECT_EQ(settings.Ratio, 2.5);
}

TEST_F(LookPage, RegionalSeparatorReadsAndWritesTypedRatios) {
    form->Look()->SetDecimalSeparator(',');
    RatioBox().UserTypes("1,5");
    RatioBox().UserPresses(TKey::Return);
    EXPECT_EQ(RatioBox().ItemIndex(), 9);  // 1.5 is entry 9
    settings.SetRatio(2.25);
    EXPECT_EQ(RatioBox().Text(), "2,25");
}

TEST_F(LookPage, LookAndOrientationListsSetTheirModes) {
    Get<RecordingComboBox>("LookComboBox").UserPicks(9);
    EXPECT_EQ(settings.LookMode, TLook::CentredSections);
    Get<RecordingComboBox>("OrientationComboBox").UserPicks(3);
    EXPECT_EQ(settings.OrientMode, TOrientation::BottomLeft);
    settings.SetLookMode(TLook{40});  // outside the list: the selection stays
    EXPECT_EQ(Get<RecordingComboBox>("LookComboBox").ItemIndex(), 9);
    settings.NextOrient();
    EXPECT_EQ(Get<RecordingComboBox>("OrientationComboBox").ItemIndex(), 0);
}

TEST_F(LookPage, TheTwoAppendedLooksArePickedFromTheListAndShownBack) {
    auto& looks = Get<RecordingComboBox>("LookComboBox");
    EXPECT_EQ(looks.ItemText(14), "look 14");
    EXPECT_EQ(looks.ItemText(15), "look 15");
    looks.UserPicks(15);
    EXPECT_EQ(settings.LookMode, TLook::DiagonalMethod);
    settings.SetLookMode(TLook::GoldenTriangles);
    EXPECT_EQ(looks.ItemIndex(), 14);
    // The cycle of the look key and button is the designed one: from 14 back to 0.
    settings.NextLook();
    EXPECT_EQ(settings.LookMode, TLook::Grid);
    EXPECT_EQ(looks.ItemIndex(), 0);
    settings.SetLookMode(TLook{kBuiltInLookCount});  // beyond the list: the selection stays
    EXPECT_EQ(looks.ItemIndex(), 0);
}

TEST_F(LookPage, GridFieldEnterAppliesButKeepsLiveApplyCleared) {
    GridEdit().UserTypes("12");
    EXPECT_EQ(settings.GridSize, 8);
    GridEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.GridSize, 12);
    EXPECT_FALSE(form->Look()->LiveApply());
    Get<RecordingUpDown>("GridSizeUpDown").UserClicks(+1);
    EXPECT_EQ(GridEdit().Text(), "13");
    EXPECT_EQ(settings.GridSize, 12);
    // The shared flag: the size field's spin buttons wait too.
    SizeUpDown().UserClicks(+1);
    EXPECT_EQ(settings.Width, 396);
    Get<RecordingComboBox>("LookComboBox").SetFocus();  // leaving the grid field
    EXPECT_TRUE(form->Look()->LiveApply());
    EXPECT_EQ(settings.GridSize, 13);
}

TEST_F(LookPage, GridStepBelowThreeShowsThree) {
    GridEdit().UserTypes("1");
    GridEdit().UserPresses(TKey::Return);
    EXPECT_EQ(settings.GridSize, 3);
    EXPECT_EQ(GridEdit().Text(), "3");
    Get<RecordingUpDown>("GridSizeUpDown").UserClicks(-1);  // live apply is off: nothing happens
    Get<RecordingComboBox>("LookComboBox").SetFocus();
    EXPECT_EQ(settings.GridSize, 3);
    EXPECT_EQ(GridEdit().Text(), "3");
}

TEST_F(LookPage, GridTextThatIsNoNumberLeavesTheStepAndIsReplacedOnLeaving) {
    GridEdit().UserTypes("x");
    Get<RecordingComboBox>("LookComboBox").SetFocus();
    EXPECT_EQ(settings.GridSize, 8);
    EXPECT_EQ(GridEdit().Text(), "8");
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
// Figures of one's own, as the program finds them before the panel is built.
class LookPageWithFigures : public LookPage {
protected:
    LookPageWithFigures() {
        FigureLibrary().figures = {TFigureEntry{"a.figure", "Mine", {}}, TFigureEntry{"b.figure", "Phi grid", {}}};
        FigureLibrary().problems = {TFigureProblem{"bad.figure", "line 2, column 7: nonsense"},
                                    TFigureProblem{"worse.figure", "line 1, column 1: worse"}};
    }
    ~LookPageWithFigures() override { FigureLibrary() = {}; }
    RecordingComboBox& LookBox() { return Get<RecordingComboBox>("LookComboBox"); }
};

TEST_F(LookPageWithFigures, ListsThemAfterTheBuiltInLooksAndSaysWhyOthersAreMissing) {
    ASSERT_EQ(LookBox().ItemCount(), kBuiltInLookCount + 2);
    EXPECT_EQ(LookBox().ItemText(kBuiltInLookCount - 1), "look 15");
    EXPECT_EQ(LookBox().ItemText(kBuiltInLookCount), "Mine");
    EXPECT_EQ(LookBox().ItemText(kBuiltInLookCount + 1), "Phi grid");
    EXPECT_EQ(Get<RecordingLabel>("FigureProblemLabel").Caption(),
              "bad.figure: line 2, column 7: nonsense\nworse.figure: line 1, column 1: worse");
    // A language change renames the built-in looks only.
    settings.SetLang("Deutsch");
    EXPECT_EQ(LookBox().ItemText(1), "Folge");
    EXPECT_EQ(LookBox().ItemText(kBuiltInLookCount + 1), "Phi grid");
}

TEST_F(LookPageWithFigures, PickingOneDrawsItAndPickingALookLeavesIt) {
    LookBox().UserPicks(kBuiltInLookCount + 1);
    EXPECT_EQ(settings.Figure, "b.figure");
    EXPECT_EQ(settings.LookMode, TLook::RatioSequence);
    LookBox().UserPicks(5);
    EXPECT_EQ(settings.Figure, "");
    EXPECT_EQ(settings.LookMode, TLook::Spiral);
}

TEST_F(LookPageWithFigures, ShowsTheFigureInUseOrItsLookWhenTheFileIsGone) {
    struct Case {
        const char* figure;
        int look;
        int shown;
    };
    for (const Case c : {Case{"a.figure", 3, kBuiltInLookCount}, Case{"gone.figure", 3, 3}, Case{"", 7, 7}}) {
        settings.ChooseLook(TLook{c.look});
        settings.ChooseFigure(c.figure);
        EXPECT_EQ(LookBox().ItemIndex(), c.shown) << c.figure;
    }
}

}  // namespace ratiscope::testing
