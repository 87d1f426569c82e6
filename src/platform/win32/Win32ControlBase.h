// What every Win32 control shares: its window handle, placement, typeface and
// focus, and the routing of the notifications Win32 sends to a control's
// parent back to the control that caused them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/win32/Win32Api.h"

namespace ratiscope {

class TWin32Controls;

// One GDI font per typeface the controls of a window use; freed with the set.
class TWin32Fonts {
public:
    TWin32Fonts() = default;
    ~TWin32Fonts();
    TWin32Fonts(const TWin32Fonts&) = delete;
    TWin32Fonts& operator=(const TWin32Fonts&) = delete;
    // Non-antialiased, so text never leaves blended fringe pixels.
    HFONT Get(const TFont& font);

private:
    std::vector<std::pair<TFont, HFONT>> fonts_;
};

// The text of a window as UTF-8, and setting it from UTF-8.
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);
// Pixels from the start of `text` to the right edge of its last glyph, in
// the control's own font: the room a control needs to show it uncut.
int TextWidthIn(HWND control, std::wstring_view text);
// Pixels from the left edge of `control` to the nearest control shown beside
// it on its rows, or else to its container's right edge.
int RoomRightOf(HWND control);
// The window's place in its parent's client area.
TRect ChildBounds(HWND window);
// Win32's rectangle type and ours, both right and bottom exclusive.
RECT ToRect(TRect r);
TRect FromRect(const RECT& r);

// A window this set created, found again from its handle.
class TWin32Handle {
public:
    TWin32Handle(HWND window, std::string_view name);
    virtual ~TWin32Handle();
    TWin32Handle(const TWin32Handle&) = delete;
    TWin32Handle& operator=(const TWin32Handle&) = delete;

    HWND Handle() const { return hwnd_; }
    const std::string& Name() const { return name_; }
    static TWin32Handle* FromHandle(HWND window);

    // A notification the control sent to its parent (WM_COMMAND, WM_NOTIFY,
    // WM_HSCROLL, WM_DRAWITEM); true when it is handled, with its result.
    virtual bool OnParentNotify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // A message to `window` (the control or a child of it given to Subclass),
    // before the window's own procedure; true when handled, with its result.
    virtual bool OnOwnMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // The brush the control's children paint their background with, when the
    // control decides it; its origin is the control's own client origin.
    virtual HBRUSH Background() const { return nullptr; }
    // Drops every handler: windows being destroyed still send focus and change
    // notifications, which must not reach a program tearing the window down.
    virtual void Silence() {}

protected:
    // Sends the messages of `window` through OnOwnMessage first. Installing it
    // again puts it in front of subclasses installed since.
    void Subclass(HWND window);

private:
    static LRESULT CALLBACK OwnProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND hwnd_;
    std::string name_;
    std::vector<HWND> subclassed_;
};

// Makes `window` hand its children's notifications to the controls they
// belong to, paint their background from the nearest container that decides
// it, and give Enter to the set's default button (DM_GETDEFID).
void RouteChildNotifications(HWND window, TWin32Controls& controls);
void StopRouting(HWND window);

// A control over one child window it owns.
template <class Interface>
class TWin32Control : public Interface, public TWin32Handle {
public:
    TWin32Control(HWND window, std::string_view name, TWin32Fonts& fonts)
        : TWin32Handle(window, name), fonts_(fonts) {}

    void Silence() override {
        if constexpr (requires(Interface& i) { i.OnChange; }) this->OnChange = nullptr;
        if constexpr (requires(Interface& i) { i.OnKeyDown; }) this->OnKeyDown = nullptr;
        if constexpr (requires(Interface& i) { i.OnExit; }) this->OnExit = nullptr;
        if constexpr (requires(Interface& i) { i.OnSelect; }) this->OnSelect = nullptr;
        if constexpr (requires(Interface& i) { i.OnClick; }) this->OnClick = nullptr;
        if constexpr (requires(Interface& i) { i.OnClickCheck; }) this->OnClickCheck = nullptr;
        if constexpr (requires(Interface& i) { i.OnMouseMove; }) this->OnMouseMove = nullptr;
    }

    void SetBounds(TRect b) override {
        SetWindowPos(Handle(), nullptr, b.left, b.top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    TRect Bounds() const override { return ChildBounds(Handle()); }
    void SetFont(const TFont& font) override {
        font_ = font;
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(font)), TRUE);
    }
    TFont Font() const override { return font_; }
    void SetFocus() override { ::SetFocus(Handle()); }
    bool Focused() const override {
        const HWND focus = GetFocus();
        return focus && (focus == Handle() || IsChild(Handle(), focus));
    }

protected:
    TWin32Fonts& fonts_;
    TFont font_;
};

}  // namespace ratiscope
