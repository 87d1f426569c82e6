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
        int key;
    };
    const Case cases[] = {
        {VK_LEFT, vk::Left},         {VK_UP, vk::Up},           {VK_RIGHT, vk::Right},      {VK_DOWN, vk::Down},
        {VK_PRIOR, vk::Prior},       {VK_NEXT, vk::Next},       {VK_HOME, vk::Home},        {VK_END, vk::End},
        {VK_F1, vk::F1},             {VK_F2, vk::F2},           {VK_F3, vk::F3},            {VK_F4, vk::F4},
        {VK_ADD, vk::Add},           {VK_SUBTRACT, vk::Subtract}, {VK_OEM_PLUS, vk::OemPlus}, {VK_OEM_MINUS, vk::OemMinus},
        {VK_ESCAPE, vk::Escape},     {VK_RETURN, vk::Return},   {VK_TAB, vk::Tab},          {VK_SPACE, vk::Space},
        {VK_NUMPAD0, vk::Numpad0},   {'A', 'A'},                {'0', '0'},                 {VK_SHIFT, vk::Shift},
        {VK_LSHIFT, vk::Shift},      {VK_RSHIFT, vk::Shift},    {VK_CONTROL, vk::Control},  {VK_RCONTROL, vk::Control},
        {VK_MENU, vk::Menu},         {VK_LMENU, vk::Menu},      {VK_RMENU, vk::Menu},
        {0, 0},                      {VK_PROCESSKEY, 0},        {VK_PACKET, 0},             {0xFF, 0},
        {0x1234, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromWin32(c.win32), c.key) << c.win32;
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
