// The Colors, Advanced and Main pages against recording controls: colours,
// opacity with and without SettingsOpacity, the seven options, languages,
// the restore button and the four web and help buttons.
#include "PanelFixture.h"

namespace ratiscope::testing {
namespace {

class OptionPages : public PanelTest {
protected:
    void SetUp() override { Create(); }
    RecordingColorBox& Lines() { return Get<RecordingColorBox>("LinesColorBox"); }
    RecordingTrackBar& Opacity() { return Get<RecordingTrackBar>("OpacityTrackBar"); }
    RecordingComboBox& Languages() { return Get<RecordingComboBox>("LangComboBox"); }
};

TEST_F(OptionPages, ColourBoxesOfferCustomTheSixteenAndFourMore) {
    EXPECT_EQ(Lines().ItemCount(), 21);
    EXPECT_EQ(Lines().ItemText(0), "Custom...");
    EXPECT_EQ(Lines().ItemText(1), "Black");
    EXPECT_EQ(Lines().ItemText(16), "White");
    EXPECT_EQ(Lines().ItemText(17), "Money Green");
    EXPECT_EQ(Lines().ItemColor(17), TColor(192 | 220 << 8 | 192 << 16));
    EXPECT_EQ(Lines().ItemColor(18), TColor(166 | 202 << 8 | 240 << 16));
    EXPECT_EQ(Lines().ItemColor(19), TColor(255 | 251 << 8 | 240 << 16));
    EXPECT_EQ(Lines().ItemColor(20), TColor(160 | 160 << 8 | 164 << 16));
    EXPECT_EQ(Lines().ItemColor(10), TColor(255));  // Red, red in the lowest byte
}

TEST_F(OptionPages, ColoursShowBothWays) {
    // The default lines colour is no named one: it is the custom entry.
    EXPECT_EQ(Lines().ItemIndex(), 0);
    EXPECT_EQ(Lines().Selected(), kDefaultLinesColor);
    Lines().UserPicks(13);  // Blue
    EXPECT_EQ(settings.LinesColor, 0xFF0000u);
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateLook"}));
    Get<RecordingColorBox>("ValuesColorBox").UserChoosesCustom(0x123456);
    EXPECT_EQ(settings.ValuesColor, 0x123456u);
    settings.SetLinesColor(0x00FFFF);  // Yellow from elsewhere
    EXPECT_EQ(Lines().ItemIndex(), 12);
}

TEST_F(OptionPages, OpacityFollowsTheTrackBarOnTheOverlayAlone) {
    EXPECT_EQ(Opacity().Position(), 90);
    EXPECT_FALSE(window->blending);
    Opacity().UserDrags(30);
    EXPECT_EQ(settings.Opacity, 30);
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateOpacity"}));
    EXPECT_FALSE(window->blending);  // SettingsOpacity is off: the panel stays opaque
}

TEST_F(OptionPages, WithSettingsOpacityThePanelTakesTheOverlaysAlpha) {
    struct Case {
        std::int32_t opacity;
        bool blending;
        std::uint8_t alpha;
    };
    Options().UserToggles(4);
    ASSERT_TRUE(settings.SettingsOpacity);
    const Case cases[] = {{90, true, 230}, {10, true, 26}, {30, true, 76}, {50, true, 128}, {0, true, 0}, {100, false, 255}};
    for (const Case& c : cases) {
        Opacity().UserDrags(c.opacity);
        EXPECT_EQ(window->blending, c.blending) << c.opacity;
        EXPECT_EQ(window->alpha, c.alpha) << c.opacity;
        EXPECT_EQ(Opacity().Position(), c.opacity);
    }
    Opacity().UserDrags(90);
    Options().UserToggles(4);
    EXPECT_FALSE(settings.SettingsOpacity);
    EXPECT_FALSE(window->blending);
}

TEST_F(OptionPages, OpacityFromTheOverlayMovesTheTrackBar) {
    settings.SetOpacity(58);  // a wheel step on the overlay
    EXPECT_EQ(Opacity().Position(), 58);
    settings.SetOpacity(140);  // refused
    EXPECT_EQ(Opacity().Position(), 58);
}

TEST_F(OptionPages, EachOptionEntrySwitchesItsField) {
    struct Case {
        int entry;
        bool TSettings::*field;
    };
    const Case cases[] = {
        {0, &TSettings::MouseResizeAllowed}, {1, &TSettings::MouseWheelAllowed}, {2, &TSettings::ShowValues},
        {3, &TSettings::ShowHints},          {4, &TSettings::SettingsOpacity},   {5, &TSettings::SFrame},
        {6, &TSettings::MoveUsingGrid},
    };
    for (const Case& c : cases) {
        const bool before = settings.*c.field;
        EXPECT_EQ(Options().Checked(c.entry), before) << c.entry;
        calls.clear();
        Options().UserToggles(c.entry);
        EXPECT_EQ(settings.*c.field, !before) << c.entry;
        EXPECT_EQ(calls, (TCallLog{"overlay.UpdateOptions"})) << c.entry;
        // Nothing else moved.
        for (const Case& other : cases) {
            if (other.entry == c.entry) continue;
            EXPECT_EQ(Options().Checked(other.entry), settings.*other.field);
        }
        Options().UserToggles(c.entry);
    }
}

TEST_F(OptionPages, HintsOptionSwitchesTooltipsOnBothWindows) {
    EXPECT_TRUE(window->hintsEnabled);
    const auto mark = Mark();
    Options().UserToggles(3);
    EXPECT_FALSE(settings.ShowHints);
    EXPECT_FALSE(window->hintsEnabled);
    EXPECT_TRUE(Logged(mark, "SetHintsEnabled 0"));
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateOptions"}));  // the overlay switches its own from ShowHints
}

TEST_F(OptionPages, HoveringTheOptionListRepaintsIt) {
    const int before = Options().repaints;
    Options().UserHovers();
    EXPECT_EQ(Options().repaints, before + 1);
    EXPECT_EQ(Options().horizontalExtent, 280);
}

TEST_F(OptionPages, LanguagesAreTheProgramFoldersFiles) {
    ASSERT_EQ(Languages().ItemCount(), 2);
    EXPECT_EQ(Languages().ItemText(0), "Deutsch");
    EXPECT_EQ(Languages().ItemText(1), "English");
    EXPECT_EQ(Languages().ItemIndex(), 1);
}

TEST_F(OptionPages, LanguageSwitchKeepsMarksAndSelections) {
    Options().UserToggles(2);  // ShowValues off
    Get<RecordingComboBox>("LookComboBox").UserPicks(5);
    Get<RecordingComboBox>("OrientationComboBox").UserPicks(2);
    calls.clear();
    Languages().UserPicks(0);
    EXPECT_EQ(settings.Lang, "Deutsch");
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateLanguage"}));
    auto& tabs = Get<RecordingTabControl>("PageControl");
    EXPECT_EQ(tabs.TabCaption(1), "Aussehen");
    EXPECT_EQ(tabs.TabCaption(2), "mscolorstab");  // not in Deutsch: English stays
    EXPECT_EQ(Get<RecordingLabel>("OpacityLabel").Caption(), "Deckkraft");
    EXPECT_EQ(Options().ItemText(3), "Hinweise");
    EXPECT_FALSE(Options().Checked(2));
    EXPECT_TRUE(Options().Checked(3));
    EXPECT_EQ(Get<RecordingComboBox>("LookComboBox").ItemIndex(), 5);
    EXPECT_EQ(Get<RecordingComboBox>("LookComboBox").ItemText(1), "Folge");
    EXPECT_EQ(Get<RecordingComboBox>("OrientationComboBox").ItemIndex(), 2);
    EXPECT_EQ(RatioBox().ItemIndex(), 0);
    EXPECT_EQ(Languages().ItemIndex(), 0);
}

TEST_F(OptionPages, ChoosingTheActiveLanguageChangesNothing) {
    calls.clear();
    const auto mark = Mark();
    Languages().UserPicks(1);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(ws.Since(mark).empty());
}

TEST_F(OptionPages, AppendedRatiosSurviveALanguageSwitchAndAreAppendedAgain) {
    settings.SetRatio(1.25);
    Languages().UserPicks(0);
    // Two selections (English, then Deutsch), each showing the ratio once more.
    ASSERT_EQ(RatioBox().ItemCount(), 20);
    EXPECT_EQ(RatioBox().ItemText(17), "1.25");
    EXPECT_EQ(RatioBox().ItemText(19), "1.25");
    EXPECT_EQ(RatioBox().Text(), "1.25");
}

TEST_F(OptionPages, RestoreButtonGivesTheDefaultsButKeepsLanguageAndPlace) {
    Languages().UserPicks(0);
    Get<RecordingRadioButton>("HeightRadio").UserClicks();
    Get<RecordingCheckBox>("LockCheckBox").UserClicks();
    settings.SetRatio(1.25);
    Options().UserToggles(0);
    Options().UserToggles(6);
    Opacity().UserDrags(40);
    settings.SX = 77;
    Get<RecordingButton>("RestoreButton").UserClicks();
    EXPECT_EQ(settings.Lang, "Deutsch");
    EXPECT_EQ(settings.SX, 77);
    EXPECT_TRUE(Get<RecordingRadioButton>("WidthRadio").Checked());
    EXPECT_FALSE(Get<RecordingRadioButton>("HeightRadio").Checked());
    EXPECT_TRUE(Get<RecordingCheckBox>("LockCheckBox").Checked());
    EXPECT_EQ(SizeEdit().Text(), "396");
    EXPECT_EQ(RatioBox().ItemIndex(), 0);
    EXPECT_EQ(Opacity().Position(), 90);
    EXPECT_EQ(Lines().Selected(), kDefaultLinesColor);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(Options().Checked(i), i != 4) << i;
    EXPECT_EQ(GridEdit().Text(), "8");
    EXPECT_EQ(Get<RecordingComboBox>("LookComboBox").ItemIndex(), 1);
}

TEST_F(OptionPages, MainPageButtonsOpenTheirPages) {
    const auto mark = Mark();
    Get<RecordingButton>("DevWebBtn").UserClicks();
    Get<RecordingButton>("AskSupportBtn").UserClicks();
    Get<RecordingButton>("CheckForUpdatesBtn").UserClicks();
    Get<RecordingButton>("HelpBtn").UserClicks();
    EXPECT_EQ(ws.Since(mark), (std::vector<std::string>{"OpenWebPage \"\"", "OpenWebPage \"we/service/\"",
                                                         "OpenWebPage \"ratiscope/\"", "OpenManual"}));
    EXPECT_TRUE(Get<RecordingButton>("DevWebBtn").isDefault);
    EXPECT_FALSE(Get<RecordingButton>("HelpBtn").isDefault);
}

TEST_F(OptionPages, LookPageFitButtonRunsTheOverlaysFitCommandAndSetsNothingItself) {
    const auto mark = Mark();
    const std::int32_t width = settings.Width;
    Get<RecordingButton>("FitWindowBtn").UserClicks();
    EXPECT_EQ(ws.Since(mark), (std::vector<std::string>{"FitToWindow"}));
    EXPECT_EQ(settings.Width, width);
    EXPECT_FALSE(Get<RecordingButton>("FitWindowBtn").isDefault);
}

class LanguageList : public PanelTest {};

TEST_F(LanguageList, MatchesTheFileNamePartOfLangWithoutRegardToCase) {
    settings.Lang = "/somewhere/else/DEUTSCH";
    Create();
    EXPECT_EQ(Get<RecordingComboBox>("LangComboBox").ItemIndex(), -1);  // the full name selects none at last
    form->FillLanguages();
    EXPECT_EQ(Get<RecordingComboBox>("LangComboBox").ItemIndex(), 0);
}

TEST_F(LanguageList, AnUnlistedLanguageSelectsNothingAndKeepsEnglishTexts) {
    settings.Lang = "Klingon";
    Create();
    EXPECT_EQ(Get<RecordingComboBox>("LangComboBox").ItemIndex(), -1);
    EXPECT_EQ(Get<RecordingTabControl>("PageControl").TabCaption(1), "mslooktab");
}

TEST_F(LanguageList, OnlyTheProgramFolderIsListed) {
    files.userDataFolder = "/home/u/.config";
    files.AddFile("/home/u/.config/Vendrel/Ratiscope/Italiano.lng", "MSLookTab=Aspetto\r\n");
    files.AddFile(std::string(kProgramFolder) + "Readme.txt", "");
    Create();
    EXPECT_EQ(Get<RecordingComboBox>("LangComboBox").ItemCount(), 2);
}

}  // namespace
}  // namespace ratiscope::testing
