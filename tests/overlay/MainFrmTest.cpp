// The overlay window's life: creation order, geometry, opacity, keeping it on
// screen, activation, the six commands and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "overlay/MainFrmFixture.h"
#include "overlay/Renderer.h"
#include "platform/Keys.h"
#include "platform/raster/RasterCanvas.h"
#include "support/RecordingWindows.h"

namespace ratiscope::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(MainFormTest, CreationHidesUntilConfiguredThenShowsAtStoredPlaceAndSize) {
    Create();
    EXPECT_EQ(ws.title, "Vendrel Ratiscope");
    EXPECT_EQ(ws.appEvents, form.get());
    EXPECT_EQ(settings.Overlay, form.get());
    EXPECT_EQ(ws.hintColor, 13564415u);
    EXPECT_TRUE(window->options.mainWindow);
    EXPECT_EQ(window->options.keyColor, 16646398u);

    const auto& log = ws.log;
    auto at = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) - log.begin(); };
    auto last = [&](const std::string& line) { return log.rend() - std::find(log.rbegin(), log.rend(), line) - 1; };
    // Size 0 x 0 and alpha 0 come first, the real opacity, place and size later, and Show last.
    EXPECT_LT(at("SetClientSize 0,0"), at("SetAlpha 1 0"));
    EXPECT_LT(at("SetAlpha 1 0"), at("SetAlpha 1 230"));
    EXPECT_LT(at("SetAlpha 1 230"), at("Move 300,240"));
    EXPECT_LT(at("Move 300,240"), at("SetClientSize 420,285"));
    EXPECT_LT(at("SetClientSize 420,285"), last("SetHintsEnabled 1"));
    EXPECT_EQ(log.back(), "Show");
    EXPECT_EQ(Client(), (TSize{420, 285}));
    EXPECT_EQ(window->shown.Size(), (TSize{420, 285}));
}

TEST_F(MainFormTest, ClientSizeFollowsWidthHeightAndBorder) {
    struct Case {
        std::int32_t border, width, height;
        TSize client;
    };
    const Case cases[] = {
        {12, 396, 245, {420, 285}},
        {0, 58, 36, {58, 52}},
        {30, 1000, 618, {1060, 694}},
    };
    Create();
    settings.SetLock(false);
    for (const Case& c : cases) {
        settings.SetBorder(c.border);
        settings.SetWidth(c.width);
        settings.SetHeight(c.height);
        form->UpdateSize();
        EXPECT_EQ(Client(), c.client) << c.border << " " << c.width << " " << c.height;
        EXPECT_EQ(window->shown.Size(), c.client);
    }
}

// Stored places and sizes are kept as they are; the window gets what the
// window system can place and what the desktop (1920 x 1080 here, its work
// area 1920 x 1050) can show, and comes up with its caption and its buttons
// on the work area whatever the settings hold.
TEST_F(MainFormTest, WindowRectangleStaysPlaceableWhateverTheSettingsHold) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* name;
        std::int32_t x, y, width, height, border;
        std::int32_t left, top;
        TSize client;
    };
    const Case cases[] = {
        {"places at the top of the range", kMax, kMax, 401, 248, 12, 1920 - 425, 1050 - 16, {425, 288}},
        {"places at the bottom of the range", kMin, kMin, 401, 248, 12, 84 - 425, 0, {425, 288}},
        {"largest sizes", 300, 240, 30000, 30000, 1024, 0, 240, {1920, 1080}},
        {"only wider than the desktop", 0, 0, 3000, 300, 12, 0, 0, {1920, 340}},
        {"both at once", kMax, kMin, 30000, 30000, 1024, 0, 0, {1920, 1080}},
        {"buttons past the right edge", 1700, 100, 396, 245, 12, 1920 - 420, 100, {420, 285}},
        {"wholly on the desktop stays", 1500, 765, 396, 245, 12, 1500, 765, {420, 285}},
    };
    for (const Case& c : cases) {
        settings.SetLock(false);
        settings.SetBorder(c.border);
        settings.SetWidth(c.width);
        settings.SetHeight(c.height);
        settings.X = c.x;
        settings.Y = c.y;
        Create();
        EXPECT_EQ(window->left, c.left) << c.name;
        EXPECT_EQ(window->top, c.top) << c.name;
        EXPECT_EQ(Client(), c.client) << c.name;
        EXPECT_EQ(window->shown.Size(), c.client) << c.name;
        EXPECT_EQ(settings.Width, c.width) << c.name << ": the stored size stays";
        EXPECT_EQ(settings.X, c.x) << c.name << ": the stored place stays";
        // Moving on by keys stays within the range too.
        form->FormKeyDown(TKey::Right, 0);
        form->FormKeyDown(TKey::Up, 0);
        EXPECT_GE(window->left, c.left) << c.name;
        EXPECT_LE(window->left, 32767) << c.name;
        EXPECT_LE(window->top, c.top) << c.name;
        EXPECT_GE(window->top, -32768) << c.name;
        form.reset();
        ws.windows.clear();
    }
}

TEST_F(MainFormTest, AWindowBoundedByTheDesktopStillRepaintsAChangedFigure) {
    settings.SetLock(false);
    settings.SetWidth(5000);
    Create();
    ASSERT_EQ(Client().width, 1920);
    const int pictures = window->pictures;
    settings.SetWidth(5010);
    EXPECT_EQ(Client().width, 1920);
    EXPECT_EQ(window->pictures, pictures + 1);
}

TEST_F(MainFormTest, RestoringDefaultsResizesTheWindowForTheDefaultBorder) {
    const std::int32_t borders[] = {200, 0, 12};
    for (const std::int32_t border : borders) {
        settings.SetBorder(border);
        Create();
        settings.RestoreDefaults();
        EXPECT_EQ(Client(), (TSize{420, 285})) << "border " << border;
        EXPECT_EQ(window->shown.Size(), (TSize{420, 285})) << "border " << border;
        form.reset();
        ws.windows.clear();
    }
}

TEST_F(MainFormTest, UpdateSizeDoesNothingWhenTheSizeStands) {
    Create();
    const int pictures = window->pictures;
    const auto mark = Mark();
    form->UpdateSize();
    EXPECT_EQ(window->pictures, pictures);
    EXPECT_TRUE(ws.Since(mark).empty());
}

TEST_F(MainFormTest, OpacityMapsToRoundedAlphaAndSwitchesBlendingOffAt100) {
    struct Case {
        std::int32_t opacity;
        bool blending;
        int alpha;
    };
    const Case cases[] = {{0, true, 0}, {30, true, 76}, {50, true, 128}, {90, true, 230}, {99, true, 252}, {100, false, 255}};
    Create();
    TCallLog panelLog;
    RecordingPanel panelSlot(panelLog);
    settings.Panel = &panelSlot;
    for (const Case& c : cases) {
        panelLog.clear();
        settings.SetOpacity(c.opacity);
        form->UpdateOpacity();
        EXPECT_EQ(window->blending, c.blending) << c.opacity;
        EXPECT_EQ(window->alpha, c.alpha) << c.opacity;
        EXPECT_FALSE(panelLog.empty()) << "the panel follows the opacity";
    }
    settings.Panel = nullptr;
}

TEST_F(MainFormTest, KeepOnScreenRules) {
    struct Case {
        const char* what;
        std::int32_t left, top, width;  // width is Width; the window is Width + 24 wide
        std::int32_t wantLeft, wantTop;
    };
    // Work area 100..1380 x 50..1010.
    const Case cases[] = {
        {"inside stays", 400, 300, 396, 400, 300},
        {"above the top", 400, 20, 396, 400, 50},
        {"at the top counts as above", 400, 50, 396, 400, 50},
        {"10 left of the right edge", 1370, 300, 396, 1348, 300},
        {"right at the limit", 1348, 300, 396, 1348, 300},
        {"below the bottom", 400, 1000, 396, 400, 994},
        {"right edge at left + 50", 150 - 100, 300, 76, 84, 300},
        {"right edge at left + 84", 184 - 100, 300, 76, 84, 300},
        {"top-left corner far out", -5000, -5000, 396, 184 - 420, 50},
    };
    ws.workArea = {100, 50, 1380, 1010};
    Create();
    settings.SetLock(false);
    for (const Case& c : cases) {
        settings.SetWidth(c.width);
        window->Move(c.left, c.top);
        form->KeepOnScreen();
        EXPECT_EQ(window->left, c.wantLeft) << c.what;
        EXPECT_EQ(window->top, c.wantTop) << c.what;
    }
}

TEST_F(MainFormTest, ActivationOrder) {
    Create();
    ws.workArea = {0, 0, 1920, 1050};
    window->Move(1910, 300);
    auto mark = Mark();
    form->FormActivate();
    EXPECT_THAT(ws.Since(mark), ElementsAre("ReassertTopmost", "panel.RequestRepaint", "Move 1888,300", "NewPicture 420x285",
                                            "FlushSurface", "SetAlpha 1 230", "Invalidate"));
    window->cursor = TCursor::HandPoint;
    ws.overrides = {TCursor::SizeNWSE, TCursor::SizeNWSE};
    mark = Mark();
    ws.appEvents->OnApplicationDeactivate();
    EXPECT_THAT(ws.Since(mark), ElementsAre("panel.RequestRepaint", "app.ResetOverrideCursor", "SetAlpha 1 230", "Invalidate"));
    EXPECT_TRUE(ws.overrides.empty());
}

TEST_F(MainFormTest, ActivationRestoresAPeekedWindow) {
    Create();
    form->FormKeyDown(TKey::F3, 0);
    EXPECT_EQ(window->alpha, 0);
    form->FormDeactivate();
    EXPECT_EQ(window->alpha, 230);
}

TEST_F(MainFormTest, CommandsCycleRepaintAndReachThePanel) {
    Create();
    settings.SetOrientMode(TOrientation::BottomLeft);
    settings.SetLookMode(TLook::SingleGoldenLines);
    int pictures = window->pictures;
    form->ActionOrientExecute();
    EXPECT_EQ(settings.OrientMode, TOrientation::TopLeft);
    EXPECT_EQ(window->pictures, ++pictures) << "repainted at once";
    form->ActionLookExecute();
    EXPECT_EQ(settings.LookMode, TLook::Grid);
    EXPECT_EQ(window->pictures, ++pictures);
    form->ActionFrameExecute();
    EXPECT_FALSE(settings.SFrame);
    EXPECT_EQ(window->pictures, ++pictures);

    settings.OrientMode = TOrientation{7};  // a hand-edited settings file
    form->ActionOrientExecute();
    EXPECT_EQ(settings.OrientMode, TOrientation::TopLeft);

    form->ActionShowSettingsExecute();
    EXPECT_FALSE(panel.shown);
    form->ActionShowSettingsExecute();
    EXPECT_TRUE(panel.shown);
    EXPECT_EQ(ws.log.back(), "panel.Show+BringToFront");

    auto mark = Mark();
    form->ActionMinimizeExecute();
    EXPECT_THAT(ws.Since(mark), ElementsAre("app.MinimizeApplication"));
}

TEST_F(MainFormTest, OrientMarkOnlyWithTheFrame) {
    // A white corner icon, so the grey mark on it stands out.
    constexpr std::int32_t kCornerWidth = 64;
    constexpr std::int32_t kCornerHeight = 16;
    icons.TRCorner = TIcon(TImage(kCornerWidth, kCornerHeight, PixelFromColor(0xFFFFFF)),
                           std::vector<std::uint8_t>(static_cast<std::size_t>(kCornerWidth * kCornerHeight), 1));
    Create();
    // Grey pixels in the corner icon's stretch where the mark goes.
    const auto markPixels = [this] {
        const TImage& p = window->shown;
        int grey = 0;
        for (std::int32_t y = 0; y < kCornerHeight; ++y)
            for (std::int32_t x = p.Width() - kCornerWidth; x < p.Width() - kCornerWidth + 16; ++x)
                grey += ColorFromPixel(p.At(x, y)) == kChromeGrey;
        return grey;
    };
    form->FormPaint();
    EXPECT_EQ(markPixels(), 10) << "two strokes of five pixels, each without its end point";
    settings.SetSFrame(false);
    form->FormPaint();
    EXPECT_EQ(markPixels(), 0);
}

TEST_F(MainFormTest, ThePictureIsKeyColouredWhereNothingIsDrawn) {
    Create();
    const TImage& p = window->shown;
    ASSERT_EQ(p.Size(), (TSize{420, 285}));
    int key = 0;
    int lines = 0;
    for (std::int32_t y = 0; y < p.Height(); ++y)
        for (std::int32_t x = 0; x < p.Width(); ++x) {
            key += ColorFromPixel(p.At(x, y)) == kOverlayKeyColor;
            lines += ColorFromPixel(p.At(x, y)) == settings.LinesColor;
        }
    EXPECT_GT(key, p.Width() * p.Height() / 2);
    EXPECT_GT(lines, 0);
    EXPECT_EQ(ColorFromPixel(p.At(0, 0)), kChromeGrey) << "the top-left corner icon";
}

TEST_F(MainFormTest, EveryRepaintShowsThePictureComposedAfreshAtTheClientSize) {
    // Changes that shrink, grow, bound and redraw the window: after each the
    // window shows exactly what a fresh composition at its client size holds,
    // with nothing left of the picture before.
    struct Step {
        const char* name;
        void (*change)(TSettings&);
    };
    const Step steps[] = {
        {"first picture", [](TSettings&) {}},
        {"a look full of lines", [](TSettings& s) { s.SetLookMode(TLook::SingleGoldenLines); }},
        {"narrower", [](TSettings& s) { s.SetWidth(150); }},
        {"no frame", [](TSettings& s) { s.SetSFrame(false); }},
        {"wider than the desktop", [](TSettings& s) { s.SetWidth(2500); }},
        {"frame again", [](TSettings& s) { s.SetSFrame(true); }},
        {"another look and orientation", [](TSettings& s) { s.SetLookMode(TLook::Spiral); s.NextOrient(); }},
        {"no values, wider border", [](TSettings& s) { s.SetShowValues(false); s.SetBorder(40); }},
        {"small again", [](TSettings& s) { s.SetWidth(60); }},
    };
    settings.SetLock(false);
    Create();
    for (const Step& step : steps) {
        step.change(settings);
        form->FormPaint();
        TRasterCanvas expected{text};
        ComposeImage(expected, settings, icons, window->active, Client());
        DrawOrientMark(expected, settings, Client().width);
        const TImage& shown = window->shown;
        ASSERT_EQ(shown.Size(), expected.Image().Size()) << step.name;
        int differing = 0;
        for (std::int32_t y = 0; y < shown.Height(); ++y)
            for (std::int32_t x = 0; x < shown.Width(); ++x) differing += shown.At(x, y) != expected.Image().At(x, y);
        EXPECT_EQ(differing, 0) << step.name << " at " << Client().width << " x " << Client().height;
    }
}

TEST_F(MainFormTest, CloseStoresBothPlacesAndEndsThePainting) {
    Create();
    window->Move(123, 456);
    panel.shown = false;
    panel.left = 77;
    panel.top = 88;
    panel.page = 3;
    form->ActionExitExecute();
    EXPECT_TRUE(window->closed);
    EXPECT_EQ(settings.X, 123);
    EXPECT_EQ(settings.Y, 456);
    EXPECT_EQ(settings.SX, 77);
    EXPECT_EQ(settings.SY, 88);
    EXPECT_FALSE(settings.SVisible);
    EXPECT_EQ(settings.SPage, 3);
    EXPECT_TRUE(form->Closed());
    const int pictures = window->pictures;
    const int flushes = window->flushes;
    window->events.OnPaint();
    settings.SetLookMode(TLook::Spiral);
    form->FormPaint();
    EXPECT_EQ(window->pictures, pictures) << "no paint after closing";
    EXPECT_EQ(window->flushes, flushes);
}

TEST_F(MainFormTest, SettersReachTheWindowThroughTheSlot) {
    Create();
    auto mark = Mark();
    settings.SetWidth(500);
    EXPECT_TRUE(Logged(mark, "SetClientSize 524,349"));
    mark = Mark();
    settings.SetShowHints(false);
    EXPECT_THAT(ws.Since(mark), ElementsAre("Invalidate", "SetHintsEnabled 0"));
    mark = Mark();
    settings.SetLinesColor(255);
    EXPECT_THAT(ws.Since(mark), ElementsAre("Invalidate"));
    form.reset();
    EXPECT_EQ(settings.Overlay, nullptr);
    EXPECT_EQ(ws.appEvents, nullptr);
}

TEST_F(MainFormTest, MissingIconsLeaveAWorkingWindow) {
    TMainFormServices services{
        ws,
        []() -> TOverlayIcons { throw std::runtime_error("no resources"); },
        {},
    };
    form = std::make_unique<TMainForm>(settings, std::move(services));
    form->FormCreate();
    window = ws.windows.at(0);
    EXPECT_TRUE(window->visible);
    EXPECT_TRUE(form->Icons().TRCorner.Empty());
    form->FormMouseMove(0, 420 - 51, 5);  // hover feedback without the strip
    EXPECT_TRUE(form->Highlighted());
    form->FormKeyDown(TKey::F1, 0);  // without a manual opener
}

}  // namespace
}  // namespace ratiscope::testing
