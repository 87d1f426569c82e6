// The Win32 containers: the host window's client area, plain panels and tab
// pages in the dialog face colour, and the group box.
#pragma once

#include "platform/win32/Win32ControlBase.h"

namespace ratiscope {

// The class of the set's own container windows: they draw nothing but their
// background and hand their children's notifications on.
const wchar_t* ContainerWindowClass();

// A plain container. Its background brush is the dialog face colour unless
// a themed brush (a tab page's) replaces it; the children's labels and check
// boxes paint with the same brush, so none shows a box of another colour.
class TWin32Container final : public TWin32Control<IContainer> {
public:
    using TWin32Control::TWin32Control;
    ~TWin32Container() override;
    HBRUSH Background() const override { return brush_ ? brush_ : GetSysColorBrush(COLOR_BTNFACE); }
    // Takes over `brush` (null: back to the dialog face) and repaints.
    void SetBackground(HBRUSH brush);

private:
    HBRUSH brush_ = nullptr;
};

// The window's own client area: the host window, which the window owns.
class TWin32ClientArea final : public IContainer {
public:
    explicit TWin32ClientArea(HWND host) : host_(host) {}
    HWND Host() const { return host_; }
    // The client area is the window's: its place and size are the window's business.
    void SetBounds(TRect) override {}
    TRect Bounds() const override;
    // Kept only: the host window draws its own texts.
    void SetFont(const TFont& font) override { font_ = font; }
    TFont Font() const override { return font_; }
    void SetFocus() override { ::SetFocus(host_); }
    bool Focused() const override { return GetFocus() == host_; }

private:
    HWND host_;
    TFont font_;
};

class TWin32GroupBox final : public TWin32Control<IGroupBox> {
public:
    using TWin32Control::TWin32Control;
    void SetCaption(std::string_view text) override { SetWindowTextUtf8(Handle(), text); }
    std::string Caption() const override { return WindowTextUtf8(Handle()); }
};

}  // namespace ratiscope
