// The global show-and-hide key on Windows: RegisterHotKey on a message-only
// window of its own, so WM_HOTKEY reaches it whatever window has the focus.
#pragma once

#include "platform/win32/Win32Api.h"

#include <cstdint>
#include <functional>

#include "platform/GlobalHotkey.h"

namespace ratiscope {

// The RegisterHotKey modifiers (MOD_*) of a combination, with MOD_NOREPEAT so
// holding the keys acts once.
UINT Win32HotkeyModifiers(std::uint32_t modifiers);

class TWin32GlobalHotkey final : public IGlobalHotkey {
public:
    // Every Register is Unusable when the message-only window cannot be made.
    explicit TWin32GlobalHotkey(HINSTANCE instance);
    // Gives the combination back.
    ~TWin32GlobalHotkey() override;
    TWin32GlobalHotkey(const TWin32GlobalHotkey&) = delete;
    TWin32GlobalHotkey& operator=(const TWin32GlobalHotkey&) = delete;

    THotkeyResult Register(const THotkey& hotkey, std::function<void()> pressed) override;
    void Unregister() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    bool ownsClass_ = false;
    HWND window_ = nullptr;
    bool registered_ = false;
    std::function<void()> pressed_;
};

}  // namespace ratiscope
