// The show-and-hide key on Windows: the combination is claimed on the whole
// desktop, a second claim of it is told apart from an unusable one, it is
// given back, and WM_HOTKEY reaches the handler through the message loop.
#include <gtest/gtest.h>

#include "platform/Keys.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32GlobalHotkey.h"

namespace ratiscope {
namespace {

// A combination no desktop uses, so the test never meets another program's claim.
constexpr THotkey kRareCombination{hmCtrl | hmAlt | hmShift, FunctionKey(24)};

TEST(Win32GlobalHotkey, ModifiersBecomeRegisterHotKeyFlagsWithoutRepeat) {
    struct Case {
        std::uint32_t modifiers;
        UINT flags;
    };
    const Case cases[] = {
        {0, MOD_NOREPEAT},
        {hmCtrl, MOD_NOREPEAT | MOD_CONTROL},
        {hmCtrl | hmAlt, MOD_NOREPEAT | MOD_CONTROL | MOD_ALT},
        {hmShift | hmSuper, MOD_NOREPEAT | MOD_SHIFT | MOD_WIN},
        {hmCtrl | hmAlt | hmShift | hmSuper, MOD_NOREPEAT | MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_WIN},
    };
    for (const Case& c : cases) EXPECT_EQ(Win32HotkeyModifiers(c.modifiers), c.flags) << c.modifiers;
}

TEST(Win32GlobalHotkey, KeysNoKeyboardMakesAreUnusable) {
    TWin32GlobalHotkey hotkey(GetModuleHandleW(nullptr));
    for (const int key : {0, -1, 0x100, 0x1234})
        EXPECT_EQ(hotkey.Register(THotkey{hmCtrl | hmAlt, KeyFromNumber(key)}, [] {}), THotkeyResult::Unusable) << key;
}

TEST(Win32GlobalHotkey, ASecondClaimIsTakenUntilTheFirstIsGivenBack) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    TWin32GlobalHotkey first(instance);
    TWin32GlobalHotkey second(instance);
    ASSERT_EQ(first.Register(kRareCombination, [] {}), THotkeyResult::Registered);
    EXPECT_EQ(second.Register(kRareCombination, [] {}), THotkeyResult::Taken);
    first.Unregister();
    EXPECT_EQ(second.Register(kRareCombination, [] {}), THotkeyResult::Registered);
    // Registering anew gives the earlier combination back first.
    EXPECT_EQ(second.Register(THotkey{hmCtrl | hmAlt | hmShift, FunctionKey(23)}, [] {}), THotkeyResult::Registered);
    EXPECT_EQ(first.Register(kRareCombination, [] {}), THotkeyResult::Registered);
}

TEST(Win32GlobalHotkey, AGivenBackKeyIsFreeForTheNextObject) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    {
        TWin32GlobalHotkey hotkey(instance);
        ASSERT_EQ(hotkey.Register(kRareCombination, [] {}), THotkeyResult::Registered);
    }
    TWin32GlobalHotkey next(instance);
    EXPECT_EQ(next.Register(kRareCombination, [] {}), THotkeyResult::Registered);
}

TEST(Win32GlobalHotkey, EachHotKeyMessageOfItsIdRunsTheHandler) {
    TWin32GlobalHotkey hotkey(GetModuleHandleW(nullptr));
    int presses = 0;
    ASSERT_EQ(hotkey.Register(kRareCombination, [&presses] { ++presses; }), THotkeyResult::Registered);
    // The system posts WM_HOTKEY to the claiming window; a post stands in for the key.
    const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, L"VendrelRatiscopeHotkey", nullptr);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 2; ++i) PostMessageW(window, WM_HOTKEY, 1, 0);
    PostMessageW(window, WM_HOTKEY, 2, 0);  // not ours
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_EQ(presses, 2);

    hotkey.Unregister();
    PostMessageW(window, WM_HOTKEY, 1, 0);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_EQ(presses, 2);
}

}  // namespace
}  // namespace ratiscope
