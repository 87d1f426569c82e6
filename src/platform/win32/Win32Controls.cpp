// The control set of a Win32 window: makes each control as a child window of
// its container and ends them in reverse order, so children go before parents.
#include "platform/win32/Win32Controls.h"

#include <commctrl.h>

#include "platform/win32/Win32ColorBox.h"
#include "platform/win32/Win32Containers.h"
#include "platform/win32/Win32EditControls.h"
#include "platform/win32/Win32ListControls.h"
#include "platform/win32/Win32SimpleControls.h"
#include "platform/win32/Win32TabControl.h"

namespace ratiscope {

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kContainerStyle = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

}  // namespace

TWin32Controls::TWin32Controls(HWND host) : host_(host), client_(std::make_unique<TWin32ClientArea>(host)) {
    RouteChildNotifications(host_, *this);
}

TWin32Controls::~TWin32Controls() {
    for (auto& c : controls_) c->Silence();
    while (!controls_.empty()) controls_.pop_back();
    StopRouting(host_);
}

HWND TWin32Controls::HandleOf(IContainer& container) {
    if (auto* own = dynamic_cast<TWin32Handle*>(&container)) return own->Handle();
    return dynamic_cast<TWin32ClientArea&>(container).Host();
}

HWND TWin32Controls::CreateChild(IContainer& parent, const wchar_t* windowClass, DWORD style, DWORD exStyle,
                                 TGroupKind kind) {
    const HWND parentWindow = HandleOf(parent);
    // A run of radio buttons is one group: arrow keys move within it and a
    // click clears the others. Every other control starts a group of its own.
    auto& last = lastKind_[parentWindow];
    if (kind == TGroupKind::Other || last != TGroupKind::Radio) style |= WS_GROUP;
    if (kind == TGroupKind::Radio && last == TGroupKind::Radio) style &= ~static_cast<DWORD>(WS_TABSTOP);
    last = kind;
    return CreateWindowExW(exStyle, windowClass, L"", style, 0, 0, 0, 0, parentWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)), GetModuleHandleW(nullptr),
                           nullptr);
}

template <class T>
T& TWin32Controls::Keep(std::unique_ptr<T> control) {
    T& ref = *control;
    controls_.push_back(std::move(control));
    return ref;
}

IContainer& TWin32Controls::Client() { return *client_; }

IControl* TWin32Controls::Find(std::string_view name) const {
    for (const auto& c : controls_) {
        if (c->Name() == name) return dynamic_cast<IControl*>(c.get());
        if (auto* tabs = dynamic_cast<TWin32TabControl*>(c.get()))
            for (std::int32_t i = 0; i < tabs->PageCount(); ++i)
                if (tabs->Page(i).Name() == name) return &tabs->Page(i);
    }
    return nullptr;
}

int TWin32Controls::DefaultButtonId() const {
    // A focused push button takes Enter itself, as a click.
    if (const HWND focus = GetFocus(); focus && IsChild(host_, focus))
        if (dynamic_cast<TWin32Button*>(TWin32Handle::FromHandle(focus))) return GetDlgCtrlID(focus);
    if (!defaultButton_ || !IsWindowVisible(defaultButton_->Handle()) || !IsWindowEnabled(defaultButton_->Handle()))
        return 0;
    return GetDlgCtrlID(defaultButton_->Handle());
}

bool TWin32Controls::PressDefaultButton() { return defaultButton_ && defaultButton_->PressIfShown(); }

void TWin32Controls::SetDefaultButton(TWin32Button* button, bool isDefault) {
    if (isDefault) {
        if (defaultButton_ && defaultButton_ != button)
            SendMessageW(defaultButton_->Handle(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        defaultButton_ = button;
    } else if (defaultButton_ == button) {
        defaultButton_ = nullptr;
    }
}

IContainer& TWin32Controls::CreatePanel(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, ContainerWindowClass(), kContainerStyle | WS_VISIBLE, WS_EX_CONTROLPARENT,
                               TGroupKind::Other);
    RouteChildNotifications(w, *this);
    return Keep(std::make_unique<TWin32Container>(w, name, fonts_));
}

ITabControl& TWin32Controls::CreateTabControl(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, WC_TABCONTROLW, kChildStyle | WS_CLIPCHILDREN | WS_TABSTOP | TCS_MULTILINE,
                               WS_EX_CONTROLPARENT, TGroupKind::Other);
    auto makePage = [this](HWND tab, std::string_view pageName) {
        const HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, ContainerWindowClass(), L"", kContainerStyle, 0, 0, 0,
                                          0, tab, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)),
                                          GetModuleHandleW(nullptr), nullptr);
        RouteChildNotifications(page, *this);
        return std::make_unique<TWin32Container>(page, pageName, fonts_);
    };
    return Keep(std::make_unique<TWin32TabControl>(w, name, fonts_, makePage));
}

IGroupBox& TWin32Controls::CreateGroupBox(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, WC_BUTTONW, kChildStyle | WS_CLIPCHILDREN | BS_GROUPBOX, WS_EX_CONTROLPARENT,
                               TGroupKind::Other);
    RouteChildNotifications(w, *this);
    return Keep(std::make_unique<TWin32GroupBox>(w, name, fonts_));
}

ILabel& TWin32Controls::CreateLabel(IContainer& parent, std::string_view name, TLabelSizing sizing) {
    const DWORD align = sizing == TLabelSizing::AutoSize ? SS_LEFTNOWORDWRAP : SS_LEFT;
    const HWND w = CreateChild(parent, WC_STATICW, kChildStyle | align | SS_NOPREFIX, 0, TGroupKind::Other);
    return Keep(std::make_unique<TWin32Label>(w, name, fonts_, sizing));
}

IEdit& TWin32Controls::CreateEdit(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, WC_EDITW, kChildStyle | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                               TGroupKind::Other);
    return Keep(std::make_unique<TWin32Edit>(w, name, fonts_, [this] { return PressDefaultButton(); }));
}

IUpDown& TWin32Controls::CreateUpDown(IContainer& parent, std::string_view name, IEdit& buddy) {
    const HWND w = CreateChild(parent, UPDOWN_CLASSW, kChildStyle | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                               0, TGroupKind::Other);
    return Keep(std::make_unique<TWin32UpDown>(w, name, fonts_, dynamic_cast<TWin32Edit&>(buddy)));
}

IComboBox& TWin32Controls::CreateComboBox(IContainer& parent, std::string_view name, TComboStyle style) {
    const DWORD kind = style == TComboStyle::Editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    const HWND w = CreateChild(parent, WC_COMBOBOXW, kChildStyle | WS_TABSTOP | WS_VSCROLL | kind, 0,
                               TGroupKind::Other);
    return Keep(std::make_unique<TWin32ComboBox>(w, name, fonts_, style, [this] { return PressDefaultButton(); }));
}

IRadioButton& TWin32Controls::CreateRadioButton(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, WC_BUTTONW, kChildStyle | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, TGroupKind::Radio);
    return Keep(std::make_unique<TWin32RadioButton>(w, name, fonts_));
}

ICheckBox& TWin32Controls::CreateCheckBox(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, WC_BUTTONW, kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX, 0, TGroupKind::Other);
    return Keep(std::make_unique<TWin32CheckBox>(w, name, fonts_));
}

ICheckListBox& TWin32Controls::CreateCheckListBox(IContainer& parent, std::string_view name) {
    const DWORD style = kChildStyle | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                        LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
    const HWND w = CreateChild(parent, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, TGroupKind::Other);
    return Keep(std::make_unique<TWin32CheckListBox>(w, name, fonts_));
}

IColorBox& TWin32Controls::CreateColorBox(IContainer& parent, std::string_view name) {
    const DWORD style =
        kChildStyle | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    const HWND w = CreateChild(parent, WC_COMBOBOXW, style, 0, TGroupKind::Other);
    return Keep(std::make_unique<TWin32ColorBox>(w, name, fonts_));
}

ITrackBar& TWin32Controls::CreateTrackBar(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, TRACKBAR_CLASSW, kChildStyle | WS_TABSTOP | TBS_HORZ | TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH,
                               0, TGroupKind::Other);
    return Keep(std::make_unique<TWin32TrackBar>(w, name, fonts_));
}

IButton& TWin32Controls::CreateButton(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, WC_BUTTONW, kChildStyle | WS_TABSTOP | BS_PUSHBUTTON, 0, TGroupKind::Other);
    return Keep(std::make_unique<TWin32Button>(
        w, name, fonts_, [this](TWin32Button* b, bool isDefault) { SetDefaultButton(b, isDefault); }));
}

IPicture& TWin32Controls::CreatePicture(IContainer& parent, std::string_view name) {
    const HWND w = CreateChild(parent, WC_STATICW, kChildStyle | SS_OWNERDRAW, 0, TGroupKind::Other);
    return Keep(std::make_unique<TWin32Picture>(w, name, fonts_));
}

TWin32ControlToolkit::TWin32ControlToolkit() {
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof init;
    init.dwICC = ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&init);
}

TWin32ControlToolkit::~TWin32ControlToolkit() {
    for (HWND w : orphanHosts_)
        if (IsWindow(w)) DestroyWindow(w);
}

std::unique_ptr<IControls> TWin32ControlToolkit::CreateControls(IControlHost& host) {
    if (auto* win32 = dynamic_cast<IWin32ControlHost*>(&host); win32 && win32->ControlParent())
        return std::make_unique<TWin32Controls>(win32->ControlParent());
    const HWND orphan = CreateWindowExW(0, ContainerWindowClass(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    orphanHosts_.push_back(orphan);
    return std::make_unique<TWin32Controls>(orphan);
}

}  // namespace ratiscope
