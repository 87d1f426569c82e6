// The multi-row tab control on Win32.
#include "platform/win32/Win32TabControl.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "platform/win32/Win32Unicode.h"

namespace ratiscope {

namespace {

// Longest tab caption read back.
constexpr int kCaptionCapacity = 256;

}  // namespace

HBRUSH ThemedPageBrush(HWND tab, TSize size) {
    if (!IsAppThemed() || size.width <= 0 || size.height <= 0) return nullptr;
    const HTHEME theme = OpenThemeData(tab, L"TAB");
    if (!theme) return nullptr;
    HBRUSH brush = nullptr;
    const HDC screen = GetDC(tab);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, size.width, size.height);
    if (memory && bitmap) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        const RECT r{0, 0, size.width, size.height};
        if (SUCCEEDED(DrawThemeBackground(theme, memory, TABP_BODY, 0, &r, nullptr))) {
            SelectObject(memory, old);
            brush = CreatePatternBrush(bitmap);
        } else {
            SelectObject(memory, old);
        }
    }
    if (bitmap) DeleteObject(bitmap);  // the pattern brush keeps its own copy
    if (memory) DeleteDC(memory);
    ReleaseDC(tab, screen);
    CloseThemeData(theme);
    return brush;
}

TWin32TabControl::TWin32TabControl(HWND window, std::string_view name, TWin32Fonts& fonts, TPageFactory makePage)
    : TWin32Control(window, name, fonts), makePage_(std::move(makePage)) {
    Subclass(Handle());
}

TWin32TabControl::~TWin32TabControl() {
    // The pages go first, while the tab control they live in still exists.
    while (!pages_.empty()) pages_.pop_back();
}

IContainer& TWin32TabControl::AddPage(std::string_view name) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    wchar_t empty[] = L"";
    item.pszText = empty;
    SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(pages_.size()), reinterpret_cast<LPARAM>(&item));
    pages_.push_back(makePage_(Handle(), name));
    brushSize_ = {0, 0};
    Layout();
    return *pages_.back();
}

void TWin32TabControl::SetTabCaption(std::int32_t page, std::string_view text) {
    if (page < 0 || page >= PageCount()) return;
    std::wstring wide = WideFromUtf8(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
    Layout();  // longer captions may wrap into another row
}

std::string TWin32TabControl::TabCaption(std::int32_t page) const {
    if (page < 0 || page >= PageCount()) return {};
    std::wstring text(kCaptionCapacity, L'\0');
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    item.cchTextMax = kCaptionCapacity;
    if (!SendMessageW(Handle(), TCM_GETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item))) return {};
    return Utf8FromWide(item.pszText);
}

std::int32_t TWin32TabControl::ActivePage() const {
    return static_cast<std::int32_t>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

void TWin32TabControl::SetActivePage(std::int32_t page) {
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(page >= 0 && page < PageCount() ? page : -1), 0);
    Layout();
}

TRect TWin32TabControl::TabRect(std::int32_t page) const {
    RECT r{};
    if (page < 0 || page >= PageCount() ||
        !SendMessageW(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&r)))
        return {};
    return FromRect(r);
}

TRect TWin32TabControl::PageArea() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return FromRect(r);
}

void TWin32TabControl::Layout() {
    const TRect area = PageArea();
    const TSize size{area.Width(), area.Height()};
    const bool repaintBrush = !(size == brushSize_);
    const std::int32_t active = ActivePage();
    for (std::int32_t i = 0; i < PageCount(); ++i) {
        TWin32Container& page = *pages_[static_cast<std::size_t>(i)];
        if (repaintBrush) page.SetBackground(ThemedPageBrush(Handle(), size));
        SetWindowPos(page.Handle(), HWND_TOP, area.left, area.top, size.width, size.height,
                     SWP_NOACTIVATE | (i == active ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    brushSize_ = size;
}

void TWin32TabControl::SetBounds(TRect b) {
    TWin32Control::SetBounds(b);
    Layout();
}

void TWin32TabControl::SetFont(const TFont& font) {
    TWin32Control::SetFont(font);
    Layout();
}

bool TWin32TabControl::OnParentNotify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lp)->code != TCN_SELCHANGE) return false;
    Layout();
    result = 0;
    if (OnChange) OnChange();
    return true;
}

bool TWin32TabControl::OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove();
        return false;
    case WM_SIZE:
        result = DefSubclassProc(window, msg, wp, lp);
        Layout();
        return true;
    case WM_THEMECHANGED:
        brushSize_ = {0, 0};
        result = DefSubclassProc(window, msg, wp, lp);
        Layout();
        return true;
    default:
        return false;
    }
}

}  // namespace ratiscope
