// RegisterHotKey and WM_HOTKEY for the show-and-hide key.
#include "platform/win32/Win32GlobalHotkey.h"

#include <utility>

#include "platform/win32/Win32Keys.h"

namespace ratiscope {
namespace {

constexpr const wchar_t* kHotkeyWindowClassName = L"VendrelRatiscopeHotkey";
// The program's one combination; ids below 0xC000 belong to the application.
constexpr int kHotkeyId = 1;

}  // namespace

UINT Win32HotkeyModifiers(std::uint32_t modifiers) {
    UINT flags = MOD_NOREPEAT;
    if (modifiers & hmCtrl) flags |= MOD_CONTROL;
    if (modifiers & hmAlt) flags |= MOD_ALT;
    if (modifiers & hmShift) flags |= MOD_SHIFT;
    if (modifiers & hmSuper) flags |= MOD_WIN;
    return flags;
}

TWin32GlobalHotkey::TWin32GlobalHotkey(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TWin32GlobalHotkey::WindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kHotkeyWindowClassName;
    // A second object finds the class registered by the first.
    ownsClass_ = RegisterClassExW(&wc) != 0;
    // Message-only: never shown, never in the z-order, but its queue gets WM_HOTKEY.
    window_ = CreateWindowExW(0, kHotkeyWindowClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TWin32GlobalHotkey::~TWin32GlobalHotkey() {
    Unregister();
    if (window_) DestroyWindow(window_);
    if (ownsClass_) UnregisterClassW(kHotkeyWindowClassName, instance_);
}

THotkeyResult TWin32GlobalHotkey::Register(const THotkey& hotkey, std::function<void()> pressed) {
    Unregister();
    if (!window_ || KeyNumber(hotkey.key) <= 0 || KeyNumber(hotkey.key) > kLastVirtualKey) return THotkeyResult::Unusable;
    if (!RegisterHotKey(window_, kHotkeyId, Win32HotkeyModifiers(hotkey.modifiers), static_cast<UINT>(KeyNumber(hotkey.key))))
        return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? THotkeyResult::Taken : THotkeyResult::Unusable;
    registered_ = true;
    pressed_ = std::move(pressed);
    return THotkeyResult::Registered;
}

void TWin32GlobalHotkey::Unregister() {
    if (registered_) UnregisterHotKey(window_, kHotkeyId);
    registered_ = false;
    pressed_ = nullptr;
}

LRESULT CALLBACK TWin32GlobalHotkey::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY && wParam == static_cast<WPARAM>(kHotkeyId)) {
        auto* self = reinterpret_cast<TWin32GlobalHotkey*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        // A copy: the handler may register another combination, replacing pressed_.
        if (self && self->pressed_) {
            const std::function<void()> pressed = self->pressed_;
            pressed();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ratiscope
