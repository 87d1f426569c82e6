// Mouse rules of the overlay: grip drags in all four modes with and without
// the aspect lock, move drags, clicks, releases over buttons, hover feedback and the wheel.
#include <gtest/gtest.h>

#include <algorithm>

#include "overlay/MainFrmFixture.h"
#include "support/RecordingWindows.h"

namespace ratiscope::testing {
namespace {

using ::testing::ElementsAre;

// The default window: Width 396, Height 245, Border 12, so 420 x 285 at (300, 240).
constexpr std::int32_t kTL = 5;                 // inside the top-left grip
constexpr std::int32_t kBRx = 410, kBRy = 275;  // inside the bottom-right grip

struct TDragCase {
    const char* what;
    bool lock, lockWidth, resizeAllowed, moveUsingGrid;
    TMouseButton button;
    std::int32_t px, py;  // press
    std::int32_t mx, my;  // move
    std::int32_t width, height, left, top;
};

const TDragCase kDrags[] = {
    {"lock off, top-left by (-10,-10): grows, bottom-right stays", false, false, true, true, TMouseButton::Left,
     kTL, kTL, kTL - 10, kTL - 10, 406, 255, 290, 230},
    {"lock off, right bottom-right by (+5,+5): centre stays", false, false, true, true, TMouseButton::Right,
     kBRx, kBRy, kBRx + 5, kBRy + 5, 406, 255, 295, 235},
    {"lock on, height leads, bottom-right 10 right", true, false, true, true, TMouseButton::Left,
     kBRx, kBRy, kBRx + 10, kBRy, 413, 255, 300, 240},
    {"lock on, height leads, bottom-right purely vertical", true, false, true, true, TMouseButton::Left,
     kBRx, kBRy, kBRx, kBRy + 10, 396, 245, 300, 240},
    {"lock on, width leads, top-left purely vertical", true, true, true, true, TMouseButton::Left,
     kTL, kTL, kTL, kTL - 10, 396, 245, 300, 240},
    {"lock on, width leads, top-left 10 left", true, true, true, true, TMouseButton::Left,
     kTL, kTL, kTL - 10, kTL, 406, 251, 290, 234},
    {"lock off, top-left shrinks to the minimum, bottom-right stays", false, false, true, true, TMouseButton::Left,
     kTL, kTL, 400, kTL, 58, 245, 638, 240},
    {"lock off, middle top-left by (-4,-6): centre stays", false, false, true, true, TMouseButton::Middle,
     kTL, kTL, kTL - 4, kTL - 6, 404, 257, 296, 234},
    {"lock off, bottom-right by (+10,+5)", false, false, true, true, TMouseButton::Left,
     kBRx, kBRy, kBRx + 10, kBRy + 5, 406, 250, 300, 240},
    {"lock on, width leads, right bottom-right 5 right: centre stays", true, true, true, true, TMouseButton::Right,
     kBRx, kBRy, kBRx + 5, kBRy, 406, 251, 295, 237},
    {"resize off: top-left moves the window", true, true, false, false, TMouseButton::Left,
     kTL, kTL, kTL + 20, kTL + 10, 396, 245, 320, 250},
    {"resize off, move by grid off: bottom-right does nothing", true, true, false, false, TMouseButton::Left,
     kBRx, kBRy, kBRx + 20, kBRy + 20, 396, 245, 300, 240},
    {"resize off, move by grid on: bottom-right moves the window", true, true, false, true, TMouseButton::Left,
     kBRx, kBRy, kBRx + 20, kBRy + 20, 396, 245, 320, 260},
};

TShiftState Held(TMouseButton b) {
    return b == TMouseButton::Left ? ssLeft : b == TMouseButton::Right ? ssRight : ssMiddle;
}

TEST_F(MainFormTest, GripDrags) {
    for (const TDragCase& c : kDrags) {
        SCOPED_TRACE(c.what);
        settings.RestoreDefaults();
        settings.SetLock(c.lock);
        settings.SetLockWidth(c.lockWidth);
        settings.SetMouseResizeAllowed(c.resizeAllowed);
        settings.SetMoveUsingGrid(c.moveUsingGrid);
        if (!form) Create();
        window->Move(300, 240);
        form->FormMouseDown(c.button, Held(c.button), c.px, c.py);
        EXPECT_TRUE(window->captured);
        form->FormMouseMove(Held(c.button), c.mx, c.my);
        EXPECT_EQ(settings.Width, c.width);
        EXPECT_EQ(settings.Height, c.height);
        EXPECT_EQ(window->left, c.left);
        EXPECT_EQ(window->top, c.top);
        EXPECT_EQ(Client(), (TSize{settings.Width + 24, settings.Height + 40}));
        form->FormMouseUp(c.button, 0, c.mx, c.my);
        EXPECT_FALSE(window->captured);
        EXPECT_EQ(form->DragMode(), dmNone);
        EXPECT_FALSE(form->Moving());
    }
}

TEST_F(MainFormTest, ResizeStepSizesAndPaintsOnceAfterPlacing) {
    settings.SetLock(false);
    Create();
    form->FormMouseDown(TMouseButton::Left, ssLeft, kTL, kTL);
    EXPECT_EQ(ws.overrides, std::vector<TCursor>{TCursor::SizeNWSE});
    const auto mark = Mark();
    form->FormMouseMove(ssLeft, kTL - 3, kTL - 2);
    EXPECT_THAT(ws.Since(mark), ElementsAre("Move 297,238", "SetClientSize 423,287", "NewPicture 423x287", "FlushSurface"));
    EXPECT_EQ(window->shown.Size(), (TSize{423, 287}));
    form->FormMouseUp(TMouseButton::Left, 0, kTL - 3, kTL - 2);
    EXPECT_TRUE(ws.overrides.empty());
}

TEST_F(MainFormTest, AResizeStepWithBothSidesShowsThePanelOnce) {
    TCallLog log;
    RecordingPanel recorder{log};
    settings.SetLock(false);
    Create();
    settings.Panel = &recorder;
    form->FormMouseDown(TMouseButton::Left, ssLeft, kTL, kTL);
    form->FormMouseMove(ssLeft, kTL - 3, kTL - 2);
    settings.Panel = nullptr;
    EXPECT_EQ(settings.Width, 399);
    EXPECT_EQ(settings.Height, 247);
    EXPECT_EQ(std::count(log.begin(), log.end(), "panel.ShowSize"), 1);
}

TEST_F(MainFormTest, BottomRightAnchorFollowsTheGrip) {
    Create();  // lock on, width leads
    form->FormMouseDown(TMouseButton::Left, ssLeft, kBRx, kBRy);
    form->FormMouseMove(ssLeft, kBRx + 10, kBRy + 3);
    EXPECT_EQ(settings.Width, 406);
    EXPECT_EQ(form->AnchorX(), kBRx + 10);
    EXPECT_EQ(form->AnchorY(), kBRy + 10);
    form->FormMouseMove(ssLeft, kBRx + 10, kBRy + 3);  // the pointer stays: only y differs from the anchor
    EXPECT_EQ(settings.Width, 406);
    form->FormMouseMove(ssLeft, kBRx + 25, kBRy);
    EXPECT_EQ(settings.Width, 421);
    form->FormMouseMove(ssLeft, kBRx + 25, kBRy);  // only vertical against the moved anchor: nothing
    EXPECT_EQ(settings.Width, 421);
}

TEST_F(MainFormTest, ReleaseOverAButtonAfterADragRunsItsCommand) {
    Create();
    form->FormMouseDown(TMouseButton::Left, ssLeft, kBRx, kBRy);
    form->FormMouseMove(ssLeft, kBRx + 10, kBRy);
    const std::int32_t w = Client().width;
    ASSERT_EQ(w, 430);
    const auto look = settings.LookMode;
    form->FormMouseUp(TMouseButton::Left, 0, w - 51 + 3, 6);  // the look button
    EXPECT_EQ(settings.LookMode, TLook{LookNumber(look) + 1});
    EXPECT_EQ(form->DragMode(), dmNone);
    EXPECT_FALSE(window->captured);

    form->FormMouseDown(TMouseButton::Right, ssRight, 200, 200);
    const auto mark = Mark();
    form->FormMouseUp(TMouseButton::Right, 0, w - 12, 4);  // the close button's top-left pixel
    EXPECT_TRUE(window->closed);
    EXPECT_TRUE(Logged(mark, "Close"));
}

TEST_F(MainFormTest, ReleaseButtonsRunTheirCommands) {
    struct Case {
        std::int32_t offset;
        const char* logged;
    };
    const Case cases[] = {{42, "panel.Hide"}, {33, "OpenManual"}, {21, "app.MinimizeApplication"}};
    Create();
    for (const Case& c : cases) {
        const auto mark = Mark();
        form->FormMouseUp(TMouseButton::Left, 0, 420 - c.offset + 7, 11);  // bottom-right pixel of the face
        EXPECT_TRUE(Logged(mark, c.logged)) << c.logged;
    }
    const auto orient = settings.OrientMode;
    form->FormMouseUp(TMouseButton::Middle, 0, 420 - 60, 4);
    EXPECT_EQ(settings.OrientMode, TOrientation{OrientationNumber(orient) + 1});
    const auto mark = Mark();
    form->FormMouseUp(TMouseButton::Left, 0, 420 - 60 + 8, 4);  // just right of the orientation face
    EXPECT_THAT(ws.Since(mark), ElementsAre("app.ResetOverrideCursor")) << "no command";
    EXPECT_EQ(settings.OrientMode, TOrientation{OrientationNumber(orient) + 1});
}

TEST_F(MainFormTest, CaptionDragMovesAndTheReleasePullsBack) {
    Create();
    form->FormMouseDown(TMouseButton::Left, ssLeft, 100, 10);
    EXPECT_TRUE(form->Moving());
    form->FormMouseMove(ssLeft, 100 - 400, 10 - 300);
    EXPECT_EQ(window->left, -100);
    EXPECT_EQ(window->top, -60);
    form->FormMouseUp(TMouseButton::Left, 0, -300, -290);
    EXPECT_EQ(window->left, -100);
    EXPECT_EQ(window->top, 0);
}

TEST_F(MainFormTest, MoveDragPausesOverButtonsAndGrips) {
    Create();
    form->FormMouseDown(TMouseButton::Left, ssLeft, 100, 10);
    form->FormMouseMove(ssLeft, 420 - 51 + 2, 6);  // over the look button
    EXPECT_EQ(window->left, 300);
    form->FormMouseMove(ssLeft, 2, 2);  // over the top-left grip
    EXPECT_EQ(window->left, 300);
    form->FormMouseMove(ssLeft, 110, 12);
    EXPECT_EQ(window->left, 310);
    EXPECT_EQ(window->top, 242);
}

TEST_F(MainFormTest, PressesThatSwitchOrientationAndLook) {
    struct Case {
        const char* what;
        bool moveUsingGrid;
        TMouseButton button;
        TShiftState state;
        std::int32_t x, y;
        int orientSteps, lookSteps;
        bool moving, captured;
    };
    const Case cases[] = {
        {"right on the caption", true, TMouseButton::Right, ssRight, 100, 10, 1, 0, false, false},
        {"middle on the caption", true, TMouseButton::Middle, ssMiddle, 100, 20, 0, 1, false, false},
        {"left on the caption with right held", true, TMouseButton::Left, ssLeft | ssRight, 100, 10, 1, 0, true, true},
        {"right on the body, move by grid on", true, TMouseButton::Right, ssRight, 200, 200, 1, 0, false, false},
        {"middle on the body, move by grid on", true, TMouseButton::Middle, ssMiddle, 200, 200, 0, 1, false, false},
        {"right on the body, move by grid off", false, TMouseButton::Right, ssRight, 200, 200, 0, 0, false, false},
        {"left on the body, move by grid off", false, TMouseButton::Left, ssLeft, 200, 200, 0, 0, false, true},
        {"left on the body, move by grid on", true, TMouseButton::Left, ssLeft, 200, 200, 0, 0, true, true},
        {"right on a button does nothing", true, TMouseButton::Right, ssRight, 420 - 51, 4, 0, 0, false, false},
    };
    Create();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.SetMoveUsingGrid(c.moveUsingGrid);
        settings.SetOrientMode(TOrientation::TopLeft);
        settings.SetLookMode(TLook::RatioSequence);
        form->FormMouseDown(c.button, c.state, c.x, c.y);
        EXPECT_EQ(settings.OrientMode, TOrientation{c.orientSteps});
        EXPECT_EQ(settings.LookMode, TLook{1 + c.lookSteps});
        EXPECT_EQ(form->Moving(), c.moving);
        EXPECT_EQ(form->Captured(), c.captured);
        form->FormMouseUp(c.button, 0, c.x, c.y + 100);
    }
}

TEST_F(MainFormTest, HoverFeedbackOnTheButtons) {
    Create();
    const std::int32_t w = 420;
    window->surface.calls.clear();  // the orientation mark of the last paint
    form->FormMouseMove(0, w - 51 + 4, 7);
    EXPECT_THAT(window->surface.calls,
                ElementsAre("DrawIcon 64x16 356,0", "SetPenColor 8421504", "MoveTo 361,10", "LineTo 361,5", "LineTo 366,5",
                            "FloodFill 369,4 8421504 16777215"));
    EXPECT_TRUE(form->Highlighted());
    EXPECT_EQ(window->cursor, TCursor::HandPoint);
    EXPECT_EQ(window->hint, "MLookButtonHint");

    window->surface.calls.clear();
    form->FormMouseMove(0, w - 12, 4);
    EXPECT_EQ(window->surface.calls.back(), "FloodFill 408,4 8421504 255") << "close turns red";
    EXPECT_EQ(window->hint, "MCloseButtonHint");

    window->surface.calls.clear();
    const auto mark = Mark();
    form->FormMouseMove(0, 200, 200);
    EXPECT_THAT(window->surface.calls, ElementsAre("DrawIcon 64x16 356,0", "SetPenColor 8421504", "MoveTo 361,10",
                                                   "LineTo 361,5", "LineTo 366,5"));
    EXPECT_FALSE(form->Highlighted());
    EXPECT_EQ(window->cursor, TCursor::Default);
    EXPECT_TRUE(Logged(mark, "SetHint \"\""));
    EXPECT_TRUE(Logged(mark, "CancelHint"));

    // The grips only set the resize cursor, and only while resizing is allowed.
    form->FormMouseMove(0, 2, 2);
    EXPECT_EQ(window->cursor, TCursor::SizeNWSE);
    settings.SetMouseResizeAllowed(false);
    window->cursor = TCursor::Default;
    form->FormMouseMove(0, 415, 280);
    EXPECT_EQ(window->cursor, TCursor::Default);
}

struct TWheelCase {
    const char* what;
    TShiftState state;
    std::int32_t delta;
    bool lock, lockWidth;
    std::int32_t look, opacity, grid;
    std::int32_t wantWidth, wantHeight, wantOpacity, wantGrid;
};

const TWheelCase kWheel[] = {
    {"away: 10 smaller", 0, 120, true, true, 1, 90, 8, 386, 239, 90, 8},
    {"towards: 10 larger", 0, -120, true, true, 1, 90, 8, 406, 251, 90, 8},
    {"two notches in one event: the sign counts", 0, 240, true, true, 1, 90, 8, 386, 239, 90, 8},
    {"alt, two notches in one event: 16", ssAlt, -240, true, true, 1, 90, 8, 396, 245, 74, 8},
    {"ctrl: 1 smaller", ssCtrl, 120, true, true, 1, 90, 8, 395, 244, 90, 8},
    {"alt: 8 more opaque", ssAlt, 120, true, true, 1, 90, 8, 396, 245, 98, 8},
    {"alt at 95: 103 refused", ssAlt, 120, true, true, 1, 95, 8, 396, 245, 95, 8},
    {"alt at 92: 100", ssAlt, 120, true, true, 1, 92, 8, 396, 245, 100, 8},
    {"alt towards at 5: -3 refused", ssAlt, -120, true, true, 1, 5, 8, 396, 245, 5, 8},
    {"shift in look 0: grid + 1", ssShift, 120, true, true, 0, 90, 8, 396, 245, 90, 9},
    {"shift in look 0 at 3: stays 3", ssShift, -120, true, true, 0, 90, 3, 396, 245, 90, 3},
    {"shift in look 1: nothing", ssShift, 120, true, true, 1, 90, 8, 396, 245, 90, 8},
    {"alt and ctrl: the plain rule", ssAlt | ssCtrl, 120, true, true, 1, 90, 8, 386, 239, 90, 8},
    {"left button held: the plain rule", ssLeft, 120, true, true, 1, 90, 8, 386, 239, 90, 8},
    {"alt with a button: the plain rule", ssAlt | ssRight, 120, true, true, 1, 90, 8, 386, 239, 90, 8},
    {"lock off, height side: only height", 0, 120, false, false, 1, 90, 8, 396, 235, 90, 8},
    {"lock off, width side: only width", ssCtrl, -120, false, true, 1, 90, 8, 397, 245, 90, 8},
    {"lock on, height leads: width follows", 0, 120, true, false, 1, 90, 8, 380, 235, 90, 8},
};

TEST_F(MainFormTest, WheelRules) {
    Create();
    for (const TWheelCase& c : kWheel) {
        SCOPED_TRACE(c.what);
        settings.RestoreDefaults();
        settings.SetLock(c.lock);
        settings.SetLockWidth(c.lockWidth);
        settings.SetLookMode(TLook{c.look});
        settings.SetOpacity(c.opacity);
        settings.GridSize = c.grid;
        const auto mark = Mark();
        form->FormMouseWheel(c.state, c.delta);
        EXPECT_EQ(settings.Width, c.wantWidth);
        EXPECT_EQ(settings.Height, c.wantHeight);
        EXPECT_EQ(settings.Opacity, c.wantOpacity);
        EXPECT_EQ(settings.GridSize, c.wantGrid);
        if (c.state == ssAlt) {
            EXPECT_FALSE(ws.Since(mark).empty()) << "UpdateOpacity runs also after a refusal";
        }
        EXPECT_EQ(window->left, 300) << "the wheel never moves the window";
    }
    settings.SetOpacity(92);
    form->FormMouseWheel(ssAlt, 120);
    EXPECT_FALSE(window->blending);
    EXPECT_EQ(window->alpha, 255);
}

TEST_F(MainFormTest, WheelSwitchedOff) {
    Create();
    settings.SetMouseWheelAllowed(false);
    form->FormMouseWheel(0, 120);
    form->FormMouseWheel(ssAlt, 120);
    EXPECT_EQ(settings.Width, 396);
    EXPECT_EQ(settings.Opacity, 90);
}

}  // namespace
}  // namespace ratiscope::testing
