// Window handles of the controls, their fonts, and the routing of parent
// notifications back to the control that sent them.
#include "platform/win32/Win32ControlBase.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Unicode.h"

namespace ratiscope {

namespace {

constexpr wchar_t kControlProperty[] = L"Ratiscope.Control";
constexpr UINT_PTR kOwnSubclass = 1;
constexpr UINT_PTR kRouteSubclass = 2;

// The background of `window` (a container, or a child of `from`): the brush of
// the nearest container from `from` upwards that decides one, aligned to that
// container so patterned brushes line up across its children.
HBRUSH AlignedBackground(HWND from, HDC dc, HWND window) {
    for (HWND w = from; w; w = (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
        const TWin32Handle* owner = TWin32Handle::FromHandle(w);
        const HBRUSH brush = owner ? owner->Background() : nullptr;
        if (!brush) continue;
        POINT origin{0, 0};
        MapWindowPoints(window, w, &origin, 1);
        SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        return brush;
    }
    return nullptr;
}

HWND NotifyingChild(UINT msg, WPARAM, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lp);
    case WM_NOTIFY:
        return lp ? reinterpret_cast<const NMHDR*>(lp)->hwndFrom : nullptr;
    case WM_DRAWITEM:
        return lp ? reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem : nullptr;
    default:
        return nullptr;
    }
}

LRESULT CALLBACK RouteProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    auto& controls = *reinterpret_cast<TWin32Controls*>(ref);
    switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Labels, check boxes and radio buttons show the container's own
        // background (a tab page's texture too), never a box of their own.
        const auto dc = reinterpret_cast<HDC>(wp);
        if (const HBRUSH brush = AlignedBackground(hwnd, dc, reinterpret_cast<HWND>(lp))) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(brush);
        }
        break;
    }
    case WM_ERASEBKGND:
        // A group box draws only its frame; it and the set's containers are
        // filled with the background of the container they stand in.
        if (const HBRUSH brush = AlignedBackground(hwnd, reinterpret_cast<HDC>(wp), hwnd)) {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wp), &r, brush);
            return 1;
        }
        break;
    case DM_GETDEFID:
        if (const int def = controls.DefaultButtonId(); def != 0) return MAKELRESULT(def, DC_HASDEFID);
        break;
    case WM_COMMAND:
        // Enter from the dialog manager names the default button by its id alone.
        if (lp == 0 && HIWORD(wp) == BN_CLICKED && LOWORD(wp) != 0 && LOWORD(wp) == controls.DefaultButtonId() &&
            controls.PressDefaultButton())
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, RouteProc, id);
        break;
    default:
        break;
    }
    if (const HWND child = NotifyingChild(msg, wp, lp))
        if (TWin32Handle* control = TWin32Handle::FromHandle(child)) {
            LRESULT result = 0;
            if (control->OnParentNotify(msg, wp, lp, result)) return result;
        }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

TWin32Fonts::~TWin32Fonts() {
    for (auto& [font, handle] : fonts_) DeleteObject(handle);
}

HFONT TWin32Fonts::Get(const TFont& font) {
    for (auto& [f, handle] : fonts_)
        if (f == font) return handle;
    const std::wstring face = WideFromUtf8(font.face).substr(0, LF_FACESIZE - 1);
    // A negative height asks for the character height, without the internal leading.
    // The system's own quality: no control stands on the key colour, so there is
    // no fringe to fear, and Wine's X11 driver draws unsmoothed glyphs wider
    // than GDI measures them, which cut the last letter off labels fitted to
    // their measured text.
    const HFONT handle =
        CreateFontW(-std::max(font.height, 1), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    if (!handle) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace_back(font, handle);
    return handle;
}

std::string WindowTextUtf8(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return Utf8FromWide(text);
}

void SetWindowTextUtf8(HWND window, std::string_view text) { SetWindowTextW(window, WideFromUtf8(text).c_str()); }

int TextWidthIn(HWND control, std::wstring_view text) {
    if (text.empty()) return 0;
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    // A last glyph that reaches past its advance (an italic, a wide "n" at
    // some sizes) still has to show whole.
    ABC abc{};
    const auto last = static_cast<UINT>(text.back());
    const int overhang = GetCharABCWidthsW(dc, last, last, &abc) && abc.abcC < 0 ? -abc.abcC : 0;
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return static_cast<int>(size.cx) + overhang;
}

int RoomRightOf(HWND control) {
    const HWND parent = GetParent(control);
    RECT client{};
    GetClientRect(parent, &client);
    const TRect me = ChildBounds(control);
    int right = client.right;
    // Style, not IsWindowVisible: the page may itself be hidden while its texts are set.
    for (HWND o = GetWindow(parent, GW_CHILD); o; o = GetWindow(o, GW_HWNDNEXT)) {
        if (o == control || !(GetWindowLongPtrW(o, GWL_STYLE) & WS_VISIBLE)) continue;
        const TRect other = ChildBounds(o);
        if (other.left > me.left && other.top < me.bottom && me.top < other.bottom) right = std::min(right, other.left);
    }
    return right - me.left;
}

RECT ToRect(TRect r) { return {r.left, r.top, r.right, r.bottom}; }

TRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TRect ChildBounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return FromRect(r);
}

TWin32Handle::TWin32Handle(HWND window, std::string_view name) : hwnd_(window), name_(name) {
    if (hwnd_) SetPropW(hwnd_, kControlProperty, this);
}

TWin32Handle::~TWin32Handle() {
    for (HWND w : subclassed_)
        if (IsWindow(w)) RemoveWindowSubclass(w, OwnProc, kOwnSubclass);
    if (hwnd_ && IsWindow(hwnd_)) {
        RemovePropW(hwnd_, kControlProperty);
        DestroyWindow(hwnd_);
    }
}

TWin32Handle* TWin32Handle::FromHandle(HWND window) {
    return window ? static_cast<TWin32Handle*>(GetPropW(window, kControlProperty)) : nullptr;
}

void TWin32Handle::Subclass(HWND window) {
    if (!window) return;
    RemoveWindowSubclass(window, OwnProc, kOwnSubclass);
    SetWindowSubclass(window, OwnProc, kOwnSubclass, reinterpret_cast<DWORD_PTR>(this));
    if (std::find(subclassed_.begin(), subclassed_.end(), window) == subclassed_.end()) subclassed_.push_back(window);
}

LRESULT CALLBACK TWin32Handle::OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, OwnProc, id);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (reinterpret_cast<TWin32Handle*>(ref)->OnOwnMessage(hwnd, msg, wp, lp, result)) return result;
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void RouteChildNotifications(HWND window, TWin32Controls& controls) {
    SetWindowSubclass(window, RouteProc, kRouteSubclass, reinterpret_cast<DWORD_PTR>(&controls));
}

void StopRouting(HWND window) {
    if (IsWindow(window)) RemoveWindowSubclass(window, RouteProc, kRouteSubclass);
}

}  // namespace ratiscope
