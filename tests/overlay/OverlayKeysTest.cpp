// Key rules of the overlay: steps of 16 and 1, the Shift grid table, the
// commands and the hold-to-peek keys.
#include <gtest/gtest.h>

#include "overlay/MainFrmFixture.h"
#include "platform/Keys.h"
#include "settings/Setups.h"

namespace ratiscope::testing {
namespace {

struct TKeyCase {
    const char* what;
    TKey key;
    TShiftState state;
    bool lockWidth;
    std::int32_t width, grid;  // before
    std::int32_t wantLeft, wantTop, wantWidth, wantHeight, wantGrid;
};

// The window starts at (300, 240) with Width 396, Height 245, the lock on.
const TKeyCase kKeys[] = {
    {"right", TKey::Right, 0, true, 396, 8, 316, 240, 396, 245, 8},
    {"ctrl + right", TKey::Right, ssCtrl, true, 396, 8, 301, 240, 396, 245, 8},
    {"left", TKey::Left, 0, true, 396, 8, 284, 240, 396, 245, 8},
    {"ctrl + up", TKey::Up, ssCtrl, true, 396, 8, 300, 239, 396, 245, 8},
    {"down, alt not looked at", TKey::Down, ssAlt, true, 396, 8, 300, 256, 396, 245, 8},
    {"shift + right: nothing", TKey::Right, ssShift, true, 396, 8, 300, 240, 396, 245, 8},
    {"shift + keypad plus: grid + 16", TKey::Add, ssShift, true, 396, 8, 300, 240, 396, 245, 24},
    {"shift + ctrl + keypad plus: grid + 1", TKey::Add, ssShift | ssCtrl, true, 396, 8, 300, 240, 396, 245, 9},
    {"shift + keypad minus at 10: 3", TKey::Subtract, ssShift, true, 396, 10, 300, 240, 396, 245, 3},
    {"keypad plus, width leads", TKey::Add, 0, true, 396, 8, 300, 240, 412, 255, 8},
    {"ctrl + keypad minus, height leads", TKey::Subtract, ssCtrl, false, 396, 8, 300, 240, 395, 244, 8},
    {"keypad minus at 60: the minimum", TKey::Subtract, 0, true, 60, 8, 300, 240, 58, 36, 8},
    {"main keyboard plus: nothing", TKey::OemPlus, 0, true, 396, 8, 300, 240, 396, 245, 8},
    {"main keyboard minus: nothing", TKey::OemMinus, 0, true, 396, 8, 300, 240, 396, 245, 8},
    {"a letter: nothing", KeyOfLetter('A'), 0, true, 396, 8, 300, 240, 396, 245, 8},
};

TEST_F(MainFormTest, KeyRules) {
    Create();
    for (const TKeyCase& c : kKeys) {
        SCOPED_TRACE(c.what);
        settings.RestoreDefaults();
        settings.SetLockWidth(c.lockWidth);
        settings.SetWidth(c.width);
        settings.SetGridSize(c.grid);
        window->Move(300, 240);
        form->FormKeyDown(c.key, c.state);
        EXPECT_EQ(window->left, c.wantLeft);
        EXPECT_EQ(window->top, c.wantTop);
        EXPECT_EQ(settings.Width, c.wantWidth);
        EXPECT_EQ(settings.Height, c.wantHeight);
        EXPECT_EQ(settings.GridSize, c.wantGrid);
        EXPECT_EQ(Client(), (TSize{settings.Width + 24, settings.Height + 40}));
    }
}

TEST_F(MainFormTest, ArrowMovesAreNotPulledBack) {
    ws.workArea = {0, 0, 1920, 1050};
    Create();
    window->Move(1900, 300);
    form->FormKeyDown(TKey::Right, 0);
    EXPECT_EQ(window->left, 1916);
}

TEST_F(MainFormTest, CommandKeys) {
    Create();
    form->FormKeyDown(TKey::Return, 0);
    EXPECT_EQ(settings.LookMode, TLook::Halves);
    form->FormKeyDown(TKey::Space, ssCtrl);
    EXPECT_EQ(settings.OrientMode, TOrientation::TopRight);
    form->FormKeyDown(TKey::Multiply, 0);
    EXPECT_FALSE(settings.SFrame);
    form->FormKeyDown(TKey::F4, 0);
    EXPECT_TRUE(settings.SFrame);
    form->FormKeyDown(TKey::Return, ssShift);
    EXPECT_EQ(settings.LookMode, TLook::Halves) << "Shift switches to the grid table";

    auto mark = Mark();
    form->FormKeyDown(TKey::F1, 0);
    EXPECT_TRUE(Logged(mark, "OpenManual"));
    form->FormKeyDown(TKey::F2, 0);
    EXPECT_FALSE(panel.shown);
    form->FormKeyDown(TKey::F2, 0);
    EXPECT_TRUE(panel.shown);
}

TEST_F(MainFormTest, PeekKeysHideWhileHeld) {
    struct Case {
        const char* what;
        TKey key;
        TShiftState down, up;
        bool hidden;
    };
    const Case cases[] = {
        {"F3", TKey::F3, 0, 0, true},
        {"keypad divide", TKey::Divide, 0, 0, true},
        {"F3 with ctrl", TKey::F3, ssCtrl, ssCtrl, true},
        {"F3 with shift: not hidden", TKey::F3, ssShift, ssShift, false},
        {"released with shift", TKey::Divide, 0, ssShift, true},
    };
    Create();
    settings.SetOpacity(50);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->FormKeyDown(c.key, c.down);
        form->FormKeyDown(c.key, c.down);  // auto-repeat only repeats the hiding
        EXPECT_EQ(window->alpha, c.hidden ? 0 : 128);
        EXPECT_TRUE(window->blending);
        form->FormKeyUp(c.key, c.up);
        EXPECT_EQ(window->alpha, 128);
    }
    settings.SetOpacity(100);
    form->FormKeyDown(TKey::F3, 0);
    EXPECT_TRUE(window->blending) << "hiding switches blending on";
    EXPECT_EQ(window->alpha, 0);
    form->FormKeyUp(TKey::F3, 0);
    EXPECT_FALSE(window->blending);
    form->FormKeyUp(TKey::F2, 0);
    EXPECT_FALSE(window->blending) << "other releases do nothing";
}

TEST_F(MainFormTest, CtrlAndADigitBringBackThatSetup) {
    Create();
    settings.SetGridSize(12);
    ASSERT_TRUE(SaveSetup(settings, "twelve"));
    settings.SetLookMode(TLook::Circles);
    settings.SetGridSize(30);
    ASSERT_TRUE(SaveSetup(settings, "thirty"));
    struct Case {
        const char* what;
        TKey key;
        TShiftState state;
        std::int32_t wantGrid;
    };
    const Case cases[] = {
        {"ctrl + 1", KeyOfDigit(1), ssCtrl, 12},
        {"ctrl + keypad 2", KeypadDigit(2), ssCtrl, 30},
        {"ctrl + 3: no third set-up", KeyOfDigit(3), ssCtrl, 7},
        {"2 without ctrl", KeyOfDigit(2), 0, 7},
        {"ctrl + 0: no set-up has that number", KeyOfDigit(0), ssCtrl, 7},
    };
    for (const Case& c : cases) {
        settings.SetGridSize(7);
        form->FormKeyDown(c.key, c.state);
        EXPECT_EQ(settings.GridSize, c.wantGrid) << c.what;
    }
    form->FormKeyDown(KeyOfDigit(1), ssCtrl);
    EXPECT_EQ(settings.LookMode, kDefaultLookMode);
}

}  // namespace
}  // namespace ratiscope::testing
