// Win32 key codes and mouse flags in the platform's terms: the overlay's and
// the panel's key handlers compare with the codes of platform/Keys.h.
#include <gtest/gtest.h>

#include "platform/Keys.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Keys.h"

namespace ratiscope {
namespace {

TEST(Win32Keys, MapsEveryKeyTheHandlersUse) {
    struct Case {
        WPARAM win32;
        TKey key;
    };
    const Case cases[] = {
        {VK_LEFT, TKey::Left},           {VK_UP, TKey::Up},                {VK_RIGHT, TKey::Right},
        {VK_DOWN, TKey::Down},           {VK_PRIOR, TKey::Prior},          {VK_NEXT, TKey::Next},
        {VK_HOME, TKey::Home},           {VK_END, TKey::End},              {VK_F1, TKey::F1},
        {VK_F2, TKey::F2},               {VK_F3, TKey::F3},                {VK_F4, TKey::F4},
        {VK_F24, FunctionKey(24)},       {VK_ADD, TKey::Add},              {VK_SUBTRACT, TKey::Subtract},
        {VK_OEM_PLUS, TKey::OemPlus},    {VK_OEM_MINUS, TKey::OemMinus},   {VK_ESCAPE, TKey::Escape},
        {VK_RETURN, TKey::Return},       {VK_TAB, TKey::Tab},              {VK_SPACE, TKey::Space},
        {VK_NUMPAD0, TKey::Numpad0},     {VK_NUMPAD9, KeypadDigit(9)},     {'A', KeyOfLetter('A')},
        {'0', KeyOfDigit(0)},            {VK_SHIFT, TKey::Shift},          {VK_LSHIFT, TKey::Shift},
        {VK_RSHIFT, TKey::Shift},        {VK_CONTROL, TKey::Control},      {VK_RCONTROL, TKey::Control},
        {VK_MENU, TKey::Menu},           {VK_LMENU, TKey::Menu},           {VK_RMENU, TKey::Menu},
        {0, TKey::None},                 {VK_PROCESSKEY, TKey::None},      {VK_PACKET, TKey::None},
        {0xFF, TKey::None},              {0x1234, TKey::None},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyNumber(VirtualKeyFromWin32(c.win32)), KeyNumber(c.key)) << c.win32;
}

// What the panel's fields and boxes report: the code itself, the left and right
// modifiers apart, and nothing for a wParam beyond the codes.
TEST(Win32Keys, CodesPassAsTheyAreWithinTheirRange) {
    struct Case {
        WPARAM win32;
        TKey key;
    };
    const Case cases[] = {
        {VK_RETURN, TKey::Return},   {VK_UP, TKey::Up},           {'Z', KeyOfLetter('Z')},
        {VK_LSHIFT, KeyFromNumber(VK_LSHIFT)}, {VK_PROCESSKEY, KeyFromNumber(VK_PROCESSKEY)},
        {0xFE, KeyFromNumber(0xFE)}, {0, TKey::None},             {0xFF, TKey::None},
        {0x1234, TKey::None},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyNumber(KeyOfWin32Code(c.win32)), KeyNumber(c.key)) << c.win32;
}

TEST(Win32Keys, MouseFlagsGiveTheHeldKeysAndButtons) {
    struct Case {
        WPARAM flags;
        bool alt;
        TShiftState state;
    };
    const Case cases[] = {
        {0, false, 0},
        {MK_LBUTTON, false, ssLeft},
        {MK_LBUTTON | MK_SHIFT, false, ssLeft | ssShift},
        {MK_RBUTTON | MK_CONTROL, true, ssRight | ssCtrl | ssAlt},
        {MK_MBUTTON, false, ssMiddle},
        {MK_XBUTTON1, false, 0},  // the side buttons count for nothing
    };
    for (const Case& c : cases) EXPECT_EQ(ShiftStateFromMouseFlags(c.flags, c.alt), c.state) << c.flags;
}

}  // namespace
}  // namespace ratiscope
