// The standard controls on Win32 common controls: the control set of one
// window and the toolkit that makes it for a Win32 window's control host.
#pragma once

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Controls.h"
#include "platform/Window.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32ControlBase.h"

namespace ratiscope {

class TWin32Button;

// What a Win32 window offers its controls. The window that owns the host:
// - returns its client window from ControlParent, and keeps it for as long as
//   the control set lives;
// - lets the set subclass that window (the set routes the notifications its
//   children send it back to them, and answers DM_GETDEFID);
// - passes its queued messages through IsDialogMessageW(top-level window, &msg)
//   after its own key preview, so Tab and the arrow keys move between the
//   controls and Enter reaches the fields and the default button.
// Fonts come scaled by the caller (TFont::height in pixels), so the set needs
// no DPI of its own.
class IWin32ControlHost : public IControlHost {
public:
    virtual HWND ControlParent() const = 0;
};

class TWin32Controls final : public IControls {
public:
    // Places every control inside `host`, which must outlive the set.
    explicit TWin32Controls(HWND host);
    ~TWin32Controls() override;
    TWin32Controls(const TWin32Controls&) = delete;
    TWin32Controls& operator=(const TWin32Controls&) = delete;

    IContainer& Client() override;
    IContainer& CreatePanel(IContainer& parent, std::string_view name) override;
    ITabControl& CreateTabControl(IContainer& parent, std::string_view name) override;
    IGroupBox& CreateGroupBox(IContainer& parent, std::string_view name) override;
    ILabel& CreateLabel(IContainer& parent, std::string_view name, TLabelSizing sizing) override;
    IEdit& CreateEdit(IContainer& parent, std::string_view name) override;
    IUpDown& CreateUpDown(IContainer& parent, std::string_view name, IEdit& buddy) override;
    IComboBox& CreateComboBox(IContainer& parent, std::string_view name, TComboStyle style) override;
    IRadioButton& CreateRadioButton(IContainer& parent, std::string_view name) override;
    ICheckBox& CreateCheckBox(IContainer& parent, std::string_view name) override;
    ICheckListBox& CreateCheckListBox(IContainer& parent, std::string_view name) override;
    IColorBox& CreateColorBox(IContainer& parent, std::string_view name) override;
    ITrackBar& CreateTrackBar(IContainer& parent, std::string_view name) override;
    IButton& CreateButton(IContainer& parent, std::string_view name) override;
    IPicture& CreatePicture(IContainer& parent, std::string_view name) override;

    // The control of that name, for tests and tools; null when there is none.
    IControl* Find(std::string_view name) const;

    // The id Enter presses: the push button holding the focus, else the
    // default button while it is shown and enabled; 0 for none.
    int DefaultButtonId() const;
    // Enter that no focused control took: clicks the default button while it
    // is shown and enabled; false when there is none to press.
    bool PressDefaultButton();
    void SetDefaultButton(TWin32Button* button, bool isDefault);

    // The window of a container made by this set (or the host for Client).
    static HWND HandleOf(IContainer& container);

private:
    // Creates a child window of `parent` with the next control id; `kind`
    // decides whether it starts a new keyboard group.
    enum class TGroupKind { Radio, Other };
    HWND CreateChild(IContainer& parent, const wchar_t* windowClass, DWORD style, DWORD exStyle, TGroupKind kind);
    template <class T>
    T& Keep(std::unique_ptr<T> control);

    HWND host_;
    TWin32Fonts fonts_;
    std::unique_ptr<IContainer> client_;
    std::vector<std::unique_ptr<TWin32Handle>> controls_;
    std::map<HWND, TGroupKind> lastKind_;
    int nextId_ = 1000;
    TWin32Button* defaultButton_ = nullptr;
};

class TWin32ControlToolkit final : public IControlToolkit {
public:
    // Loads the common controls once for the process.
    TWin32ControlToolkit();
    ~TWin32ControlToolkit() override;
    // The host must be a Win32 window's (IWin32ControlHost); any other host
    // gets a hidden window of its own, so nothing is shown but nothing breaks.
    std::unique_ptr<IControls> CreateControls(IControlHost& host) override;

private:
    std::vector<HWND> orphanHosts_;
};

}  // namespace ratiscope
