// Scaling from the 96-dpi design, the window layout from the tab height, and
// where every control lands at two resolutions.
#include <gtest/gtest.h>

#include "panel/PanelControls.h"
#include "panel/PanelLayout.h"
#include "panel/SettingsFrm.h"
#include "support/RecordingControls.h"

namespace ratiscope {
namespace {

using testing::RecordingControls;

TEST(ScaleToDpi, RoundsHalvesAwayFromZero) {
    struct Case {
        std::int32_t v;
        int dpi;
        std::int32_t scaled;
    };
    const Case cases[] = {
        {175, 96, 175},  {175, 144, 263}, {175, 120, 219}, {175, 192, 350}, {320, 144, 480},
        {2, 144, 3},     {2, 120, 3},     {9, 144, 14},    {11, 144, 17},   {16, 120, 20},
        {1, 144, 2},     {3, 144, 5},     {1, 48, 1},      {3, 48, 2},      {5, 72, 4},
        {0, 144, 0},     {175, 0, 175},   {175, -5, 175},
    };
    for (const Case& c : cases) EXPECT_EQ(ScaleToDpi(c.v, c.dpi), c.scaled) << c.v << " at " << c.dpi;
}

TEST(PanelLayout, WindowIsFiveTabsAndThreeHundredTwentyHigh) {
    struct Case {
        int dpi;
        std::int32_t tab;
        TSize window;
        TRect panel;
        TRect pageControl;
        std::int32_t item;
    };
    const Case cases[] = {
        {96, 18, {175, 410}, {0, 16, 175, 410}, {2, 4, 2 + 172, 4 + 394 - 6 + 1}, 16},
        {144, 27, {263, 615}, {0, 16, 263, 615}, {3, 6, 3 + 259, 6 + 599 - 9 + 1}, 24},
        {120, 22, {219, 510}, {0, 16, 219, 510}, {3, 6, 3 + 215, 6 + 494 - 9 + 1}, 20},
    };
    for (const Case& c : cases) {
        const TPanelLayout l = ComputePanelLayout(c.dpi, c.tab);
        EXPECT_EQ(l.window, c.window) << c.dpi;
        EXPECT_EQ(l.panel, c.panel) << c.dpi;
        EXPECT_EQ(l.pageControl, c.pageControl) << c.dpi;
        EXPECT_EQ(l.colorItemHeight, c.item) << c.dpi;
    }
}

TEST(PanelLayout, ControlsLandAtTheirScaledDesignPlaces) {
    RecordingControls c;
    TPanelControls panel(c);
    c.Get<testing::RecordingTabControl>("PageControl").tabHeight = 27;
    ScaleControls(panel, 144);
    const TSize window = LayoutPanel(panel, 144);
    EXPECT_EQ(window, (TSize{263, 615}));

    struct Case {
        const char* name;
        TRect at144;
    };
    // Left, top, width and height are each scaled; right = left + width.
    const Case cases[] = {
        {"SnapToGroupBox", {12, 42, 12 + 224, 42 + 86}},
        {"SizeEdit", {138, 35, 138 + 53, 35 + 29}},
        {"SizeUpDown", {191, 35, 191 + 24, 35 + 29}},
        {"RatioComboBox", {18, 158, 18 + 212, 158 + 29}},
        {"LockCheckBox", {18, 195, 18 + 212, 195 + 26}},
        {"FitWindowBtn", {18, 435, 18 + 212, 435 + 32}},
        {"OpacityTrackBar", {18, 171, 18 + 212, 171 + 50}},
        {"AdvCheckListBox", {18, 38, 18 + 212, 38 + 219}},
        {"HelpBtn", {17, 320, 17 + 213, 320 + 32}},
        {"Panel", {0, 16, 263, 615}},
        {"PageControl", {3, 6, 3 + 259, 6 + 591}},
    };
    for (const Case& k : cases) EXPECT_EQ(c.Get<IControl>(k.name).Bounds(), k.at144) << k.name;
    // Labels sizing themselves keep only their place.
    EXPECT_EQ(c.Get<IControl>("SectionLabel").Bounds().left, 18);
    EXPECT_EQ(c.Get<IControl>("SectionLabel").Bounds().top, 18);

    EXPECT_EQ(c.Get<IControl>("SizeEdit").Font(), (TFont{"Tahoma", 14, false}));
    EXPECT_EQ(c.Get<IControl>("SectionLabel").Font(), (TFont{"Tahoma", 14, true}));
    EXPECT_EQ(c.Get<IControl>("GridLabel").Font().bold, true);
    EXPECT_EQ(c.Get<IControl>("LogoLabel").Font().bold, true);
    EXPECT_EQ(c.Get<testing::RecordingColorBox>("LinesColorBox").itemHeight, 24);
    EXPECT_EQ(c.Get<testing::RecordingColorBox>("ValuesColorBox").itemHeight, 24);
    EXPECT_EQ(c.Get<testing::RecordingCheckListBox>("AdvCheckListBox").itemHeight, 17);
    EXPECT_EQ(c.Get<testing::RecordingCheckListBox>("AdvCheckListBox").horizontalExtent, 420);
}

TEST(PanelControls, KeyboardOrderOfEachPageIsTheCreationOrder) {
    RecordingControls c;
    TPanelControls panel(c);
    std::vector<std::string> focusable;
    for (const std::string& name : c.CreationOrder())
        if (name.find("Label") == std::string::npos && name.find("Tab") == std::string::npos &&
            name != "LogoImage" && name != "Panel" && name != "PageControl" && name != "SnapToGroupBox")
            focusable.push_back(name);
    const std::vector<std::string> expected{
        "DevWebBtn",     "AskSupportBtn",  "CheckForUpdatesBtn", "HelpBtn",
        "SetupComboBox", "SaveSetupBtn",   "RestoreSetupBtn",    "DeleteSetupBtn",
        "WidthRadio",    "HeightRadio",    "SizeEdit",           "SizeUpDown",
        "RatioComboBox", "LookComboBox",   "OrientationComboBox", "GridSizeEdit",
        "GridSizeUpDown", "LockCheckBox",  "FitWindowBtn",       "LinesColorBox",      "ValuesColorBox",
        "OpacityTrackBar", "AdvCheckListBox", "RestoreButton",   "LangComboBox",
    };
    EXPECT_EQ(focusable, expected);
    EXPECT_EQ(panel.PageControl.PageCount(), 4);
    EXPECT_EQ(panel.RatioComboBox.ItemCount(), 17);
    EXPECT_EQ(panel.LookComboBox.ItemCount(), 16);
    EXPECT_EQ(panel.OrientationComboBox.ItemCount(), 4);
    EXPECT_EQ(panel.AdvCheckListBox.ItemCount(), 7);
    EXPECT_EQ(panel.GridSizeUpDown.Max(), 32766);
    EXPECT_EQ(panel.P0Label.Caption(), "0%");
    EXPECT_EQ(panel.P100Label.Caption(), "100%");
}

TEST(PageNumbers, LookIsTwoAndNoPageIsOne) {
    struct Case {
        std::int32_t stored;
        std::int32_t index;
        std::int32_t storedBack;
    };
    const Case cases[] = {
        {0, 0, 0}, {1, 1, 2}, {2, 1, 2}, {3, 2, 3}, {4, 3, 4}, {5, -1, -1}, {-1, -1, -1}, {-7, -1, -1}, {100, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageIndexFromNumber(c.stored), c.index) << c.stored;
        EXPECT_EQ(PageNumberFromIndex(PageIndexFromNumber(c.stored)), c.storedBack) << c.stored;
    }
}

}  // namespace
}  // namespace ratiscope
