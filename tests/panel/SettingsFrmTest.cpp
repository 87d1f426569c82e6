// The panel as a window on a recording window system: creation, the caption
// strip, hover, dragging, the two hot spots, keeping on screen, keys, DPI
// changes, page numbers and closing.
#include "PanelFixture.h"
#include "panel/PanelLayout.h"
#include "platform/Keys.h"

namespace ratiscope::testing {
namespace {

class PanelWindow : public PanelTest {
protected:
    void MoveMouse(std::int32_t x, std::int32_t y) { window->events.OnMouseMove(0, x, y); }
    void Press(std::int32_t x, std::int32_t y) { window->events.OnMouseDown(TMouseButton::Left, ssLeft, x, y); }
    void Release(std::int32_t x, std::int32_t y) { window->events.OnMouseUp(TMouseButton::Left, 0, x, y); }
    static constexpr std::int32_t W = 175;
};

TEST_F(PanelWindow, CreationPlacesSizesAndShowsTheWindow) {
    settings.SX = 1500;
    settings.SY = 40;
    Create();
    EXPECT_EQ(window->options.keyColor, 9596302u);
    EXPECT_FALSE(window->options.mainWindow);
    EXPECT_EQ(window->left, 1500);
    EXPECT_EQ(window->top, 40);
    EXPECT_EQ(window->size, (TSize{175, 5 * 18 + 320}));
    EXPECT_TRUE(window->visible);
    EXPECT_FALSE(window->blending);
    EXPECT_EQ(settings.Panel, form.get());
    EXPECT_TRUE(Get<RecordingTabControl>("PageControl").Focused());
    EXPECT_EQ(form->ActivePage(), 0);
    // The logo asks for a picture of its box's size: 32 pixels at 96 dpi.
    EXPECT_EQ(Get<RecordingPicture>("LogoImage").picture.Width(), 32);
    // Every display operation ran before the window showed.
    auto showAt = std::find(ws.log.begin(), ws.log.end(), "Show");
    auto alphaAt = std::find(ws.log.begin(), ws.log.end(), "SetAlpha 0 255");
    auto moveAt = std::find(ws.log.begin(), ws.log.end(), "Move 1500,40");
    EXPECT_LT(moveAt, alphaAt);
    EXPECT_LT(alphaAt, showAt);
}

// A first run places the panel at the primary screen's right edge; scaled up,
// the whole panel still lies on the work area with the gap scaled too.
TEST_F(PanelWindow, AFirstRunPanelLiesWhollyOnTheWorkAreaAtEveryDpi) {
    struct Case {
        const char* what;
        int dpi;
        std::int32_t tabHeight;
        TRect work;
        std::int32_t left, top;
        TSize size;
    };
    const Case cases[] = {
        {"96 dpi, the design", 96, 18, {0, 0, 1600, 1000}, 1600 - 181, 10, {175, 410}},
        {"120 dpi", 120, 22, {0, 0, 1600, 1000}, 1600 - 226, 10, {219, 510}},
        {"144 dpi", 144, 27, {0, 0, 1600, 1000}, 1600 - 272, 10, {263, 615}},
        {"192 dpi", 192, 36, {0, 0, 1600, 1000}, 1600 - 362, 10, {350, 820}},
        {"a task bar at the right", 144, 27, {0, 0, 1500, 1000}, 1500 - 263, 10, {263, 615}},
        {"a task bar at the top", 96, 18, {0, 40, 1600, 1000}, 1600 - 181, 40, {175, 410}},
        {"a work area shorter than the panel", 192, 36, {0, 0, 1600, 600}, 1600 - 362, 0, {350, 820}},
    };
    for (const Case& c : cases) {
        TSettings first(1600);
        settings.SX = first.SX;
        settings.SY = first.SY;
        ws.primaryWidth = 1600;
        ws.workArea = c.work;
        ws.newWindowDpi = c.dpi;
        toolkit.tabHeight = c.tabHeight;
        Create();
        EXPECT_EQ(window->size, c.size) << c.what;
        EXPECT_EQ(window->left, c.left) << c.what;
        EXPECT_EQ(window->top, c.top) << c.what;
        form.reset();
        ws.windows.clear();
    }
}

// A tab control that reports no tabs before it has a size (Windows' does)
// still gives the panel room for its tab rows, at every DPI.
TEST_F(PanelWindow, TheTabRowsGetTheirRoomFromATabControlThatNeedsASize) {
    struct Case {
        int dpi;
        std::int32_t tabHeight;
        TSize size;
    };
    const Case cases[] = {{96, 18, {175, 410}}, {144, 27, {263, 615}}};
    toolkit.tabsEmptyUntilSized = true;
    for (const Case& c : cases) {
        ws.newWindowDpi = c.dpi;
        toolkit.tabHeight = c.tabHeight;
        Create();
        EXPECT_EQ(window->size, c.size) << c.dpi << " dpi";
        form->WMDpiChanged(c.dpi == 96 ? 144 : 96);
        form->WMDpiChanged(c.dpi);
        EXPECT_EQ(window->size, c.size) << c.dpi << " dpi, after a round trip";
        form.reset();
        ws.windows.clear();
    }
}

TEST_F(PanelWindow, AStoredPlaceIsRestoredAsItIsAtEveryDpi) {
    // Near the first-run place but not on it: the user put it there.
    struct Place {
        std::int32_t x, y;
    };
    const Place places[] = {{1600 - 180, 10}, {1600 - 181, 11}, {1590, 500}};
    for (const Place p : places) {
        settings.SX = p.x;
        settings.SY = p.y;
        ws.primaryWidth = 1600;
        ws.newWindowDpi = 144;
        Create();
        EXPECT_EQ(window->left, p.x);
        EXPECT_EQ(window->top, p.y);
        form.reset();
        ws.windows.clear();
    }
}

TEST_F(PanelWindow, StaysHiddenWhenStoredHidden) {
    settings.SVisible = false;
    Create();
    EXPECT_FALSE(window->visible);
    EXPECT_FALSE(form->IsShown());
}

TEST_F(PanelWindow, StoredPageNumbers) {
    struct Case {
        std::int32_t stored;
        std::int32_t index;
        std::int32_t reported;
    };
    const Case cases[] = {{0, 0, 0}, {1, 1, 2}, {2, 1, 2}, {3, 2, 3}, {4, 3, 4}, {5, -1, -1}, {-1, -1, -1}};
    for (const Case& c : cases) {
        settings.SPage = c.stored;
        Create();
        EXPECT_EQ(Get<RecordingTabControl>("PageControl").ActivePage(), c.index) << c.stored;
        EXPECT_EQ(form->ActivePage(), c.reported) << c.stored;
        form.reset();
        ws.windows.clear();
    }
}

TEST_F(PanelWindow, CloseRequestStoresPlacePageAndVisibilityAndOnlyHides) {
    settings.SPage = 1;
    Create();
    window->Move(800, 90);
    window->Close();
    EXPECT_EQ(settings.SX, 800);
    EXPECT_EQ(settings.SY, 90);
    EXPECT_TRUE(settings.SVisible);  // shown when the request came
    EXPECT_EQ(settings.SPage, 2);
    EXPECT_FALSE(window->visible);
    EXPECT_EQ(settings.Panel, form.get());
    form->ToggleVisible();
    EXPECT_TRUE(window->visible);
}

TEST_F(PanelWindow, CaptionStripIsComposedOnTheWindow) {
    Create();
    const auto mark = Mark();
    form->FormPaint();
    // On a new picture, key-coloured all over, of the window's size.
    const std::vector<std::string> expected{
        "FillRect 0,16,175,410 15790320",
        "DrawIcon 16x16 0,0",
        "DrawIcon 32x16 16,0",
        "DrawIcon 32x16 48,0",
        "DrawIcon 32x16 80,0",
        "DrawIcon 32x16 112,0",
        "SetTextColor 8421504",
        "SetFontAngle 0",
        "DrawTextInBox \"mscaption\" 14,1,138,15 10",
        "DrawIcon 37x16 138,0",
    };
    EXPECT_EQ(window->surface.calls, expected);
    EXPECT_EQ(ws.Since(mark), (std::vector<std::string>{"NewPicture 175x410", "FlushSurface"}));
    EXPECT_EQ(window->shown.Size(), (TSize{175, 410}));
    window->active = false;
    form->FormPaint();
    EXPECT_EQ(window->surface.CallsOf("SetTextColor").back(), "SetTextColor 12632256");
}

TEST_F(PanelWindow, HoverLightsTheButtonFacesAndRestoresThem) {
    Create();
    window->surface.calls.clear();
    MoveMouse(W - 33, 4);
    EXPECT_EQ(window->surface.calls,
              (std::vector<std::string>{"DrawIcon 37x16 138,0", "FloodFill 142,4 8421504 16777215"}));
    EXPECT_TRUE(form->ButtonLit());
    EXPECT_EQ(window->cursor, TCursor::HandPoint);
    EXPECT_EQ(window->hint, "mhelpbuttonhint");

    window->surface.calls.clear();
    MoveMouse(W - 5, 11);
    EXPECT_EQ(window->surface.calls, (std::vector<std::string>{"DrawIcon 37x16 138,0", "FloodFill 163,4 8421504 255"}));
    EXPECT_EQ(window->hint, "msclosebuttonhint");

    window->surface.calls.clear();
    const auto mark = Mark();
    MoveMouse(W - 4, 11);  // just right of the close spot
    EXPECT_EQ(window->surface.calls, (std::vector<std::string>{"DrawIcon 37x16 138,0"}));
    EXPECT_FALSE(form->ButtonLit());
    EXPECT_EQ(window->cursor, TCursor::Default);
    EXPECT_EQ(window->hint, "");
    EXPECT_TRUE(Logged(mark, "CancelHint"));
    window->surface.calls.clear();
    MoveMouse(60, 8);
    EXPECT_TRUE(window->surface.calls.empty());
}

TEST_F(PanelWindow, HotSpotsAreEightByEight) {
    struct Case {
        std::int32_t x, y;
        bool help, close;
    };
    const Case cases[] = {
        {W - 33, 4, true, false}, {W - 26, 11, true, false}, {W - 25, 4, false, false}, {W - 34, 4, false, false},
        {W - 33, 3, false, false}, {W - 33, 12, false, false}, {W - 12, 4, false, true}, {W - 5, 11, false, true},
        {W - 4, 4, false, false}, {W - 13, 4, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TSettingsForm::IsOverButton(c.x, c.y, W - 33), c.help) << c.x << "," << c.y;
        EXPECT_EQ(TSettingsForm::IsOverButton(c.x, c.y, W - 12), c.close) << c.x << "," << c.y;
    }
}

TEST_F(PanelWindow, DraggingTheStripMovesThePanel) {
    settings.SX = 1000;
    settings.SY = 100;
    Create();
    Press(50, 8);
    EXPECT_TRUE(form->Dragging());
    EXPECT_TRUE(window->captured);
    MoveMouse(70, 3);  // the window follows: 20 right, 5 up
    EXPECT_EQ(window->left, 1020);
    EXPECT_EQ(window->top, 95);
    MoveMouse(40, 8);  // relative to the unchanged start point
    EXPECT_EQ(window->left, 1010);
    EXPECT_EQ(window->top, 95);
    Release(40, 8);
    EXPECT_FALSE(form->Dragging());
    EXPECT_FALSE(window->captured);
    MoveMouse(60, 8);
    EXPECT_EQ(window->left, 1010);
}

TEST_F(PanelWindow, CloseSpotHidesOnReleaseHelpSpotOpensOnPress) {
    Create();
    auto mark = Mark();
    Press(W - 10, 6);
    EXPECT_TRUE(window->visible);
    EXPECT_FALSE(form->Dragging());
    EXPECT_FALSE(Logged(mark, "CaptureMouse"));
    Release(W - 10, 6);
    EXPECT_FALSE(window->visible);

    window->visible = true;
    mark = Mark();
    Press(W - 30, 6);
    EXPECT_EQ(ws.Since(mark), (std::vector<std::string>{"OpenManual"}));
    Release(W - 30, 6);
    EXPECT_EQ(ws.Since(mark), (std::vector<std::string>{"OpenManual"}));
}

TEST_F(PanelWindow, ADragReleasedOverTheCloseSpotEndsTheDrag) {
    Create();
    Press(50, 8);
    Release(W - 10, 6);
    EXPECT_FALSE(window->visible);
    EXPECT_FALSE(form->Dragging());
    // Shown again, the bare mouse over the strip must not carry the panel along.
    form->ToggleVisible();
    const std::int32_t left = window->left;
    MoveMouse(90, 8);
    EXPECT_EQ(window->left, left);
}

TEST_F(PanelWindow, KeepOnScreenLeavesEnoughOfThePanelReachable) {
    struct Case {
        std::int32_t left, top;
        std::int32_t keptLeft, keptTop;
    };
    // Work area 0,0 - 1920,1050; the panel is 175 wide.
    const Case cases[] = {
        {500, 300, 500, 300},  {500, -20, 500, 0},       {1900, 300, 1888, 300}, {1888, 300, 1888, 300},
        {1887, 300, 1887, 300}, {500, 1034, 500, 1034},  {500, 1040, 500, 1034}, {-111, 300, -111, 300},
        {-112, 300, -111, 300}, {-500, -500, -111, 0},   {3000, 3000, 1888, 1034},
    };
    Create();
    for (const Case& c : cases) {
        window->Move(c.left, c.top);
        form->KeepOnScreen();
        EXPECT_EQ(window->left, c.keptLeft) << c.left << "," << c.top;
        EXPECT_EQ(window->top, c.keptTop) << c.left << "," << c.top;
    }
}

TEST_F(PanelWindow, ADragEndsWithKeepOnScreen) {
    settings.SX = 1800;
    Create();
    Press(50, 8);
    MoveMouse(250, 8);  // the left edge is now 2000, beyond the work area's right edge
    Release(250, 8);
    EXPECT_EQ(window->left, 1920 - 32);
}

TEST_F(PanelWindow, ActivationKeepsOnScreenAndRepaints) {
    settings.SY = -40;
    Create();
    const auto mark = Mark();
    window->events.OnActivate();
    EXPECT_EQ(window->top, 0);
    EXPECT_TRUE(Logged(mark, "Invalidate"));
    const auto mark2 = Mark();
    window->events.OnDeactivate();
    EXPECT_EQ(ws.Since(mark2), (std::vector<std::string>{"Invalidate"}));
}

TEST_F(PanelWindow, FunctionKeys) {
    Create();
    auto mark = Mark();
    window->events.OnKeyDown(TKey::F1, 0);
    EXPECT_EQ(ws.Since(mark), (std::vector<std::string>{"OpenManual"}));
    window->events.OnKeyDown(TKey::F3, 0);
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateOpacity"}));
    window->events.OnKeyDown(TKey::F2, 0);
    EXPECT_FALSE(window->visible);
    mark = Mark();
    window->events.OnKeyDown(TKey::F2, 0);
    EXPECT_EQ(ws.Since(mark), (std::vector<std::string>{"Show", "BringToFront"}));
    mark = Mark();
    window->events.OnKeyDown(TKey::F4, 0);
    window->events.OnKeyDown(KeyOfLetter('A'), 0);
    EXPECT_TRUE(ws.Since(mark).empty());
}

TEST_F(PanelWindow, MouseOverTheTabsResetsTheOverrideCursor) {
    Create();
    ws.SetOverrideCursor(TCursor::SizeNWSE);
    Get<RecordingTabControl>("PageControl").OnMouseMove();
    EXPECT_TRUE(ws.overrides.empty());
}

TEST_F(PanelWindow, DpiChangeRescalesEverySizeFromTheDesign) {
    Create();
    auto& tabs = Get<RecordingTabControl>("PageControl");
    tabs.tabHeight = 27;  // what the tab control reports once its font is larger
    form->WMDpiChanged(144);
    EXPECT_EQ(form->CurrentDpi(), 144);
    EXPECT_EQ(window->size, (TSize{263, 615}));
    EXPECT_EQ(Get<IControl>("Panel").Bounds(), (TRect{0, 16, 263, 615}));
    EXPECT_EQ(Get<IControl>("SizeEdit").Bounds(), (TRect{138, 35, 191, 64}));
    EXPECT_EQ(Get<IControl>("SizeEdit").Font().height, 14);
    EXPECT_EQ(Get<RecordingPicture>("LogoImage").picture.Width(), 48);  // a picture made for the larger box
    // Back and forth lands exactly where it started.
    tabs.tabHeight = 18;
    form->WMDpiChanged(120);
    form->WMDpiChanged(96);
    EXPECT_EQ(window->size, (TSize{175, 410}));
    EXPECT_EQ(Get<IControl>("SizeEdit").Bounds(), (TRect{92, 23, 127, 42}));
}

TEST_F(PanelWindow, ADpiNotificationDuringARescaleIsIgnored) {
    Create();
    int nested = 0;
    Get<RecordingTabControl>("PageControl").onSetBounds = [&] {
        ++nested;
        EXPECT_TRUE(form->Scaling());
        form->WMDpiChanged(192);
    };
    form->WMDpiChanged(144);
    EXPECT_GE(nested, 1);  // the inner notification came, and was ignored:
    EXPECT_EQ(form->CurrentDpi(), 144);
    EXPECT_EQ(window->size.width, 263);
    EXPECT_FALSE(form->Scaling());
}

TEST_F(PanelWindow, AnUnusableDpiReportCountsAsDesign) {
    Create();
    form->WMDpiChanged(0);
    EXPECT_EQ(form->CurrentDpi(), 96);
    EXPECT_EQ(window->size.width, 175);
}

TEST_F(PanelWindow, DestroyingThePanelEmptiesTheSlot) {
    Create();
    form.reset();
    EXPECT_EQ(settings.Panel, nullptr);
    settings.SetRatio(1.5);  // no panel to tell: nothing breaks
    EXPECT_EQ(settings.Ratio, 1.5);
}

}  // namespace
}  // namespace ratiscope::testing
