// The plain Win32 controls.
#include "platform/win32/Win32SimpleControls.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "platform/win32/Win32Unicode.h"
#include "platform/win32/Win32WindowSystem.h"

namespace ratiscope {

namespace {

constexpr std::uint32_t kOpaqueAlpha = 0xFF000000u;
// The resolution the system's control metrics are given at.
constexpr int kScreenDesignDpi = 96;
// A pixel more than the text measures, for the focus rectangle around it.
constexpr int kCaptionSlack = 2;
// Room a track bar keeps above and below its thumb for the tick marks.
constexpr std::int32_t kTickBand = 7;
// The thumb stays long enough to grab and no longer than the system's own.
constexpr std::int32_t kShortestThumb = 8;
constexpr std::int32_t kLongestThumb = 23;

bool IsRadioButton(HWND w) {
    wchar_t cls[16]{};
    GetClassNameW(w, cls, 16);
    const auto type = GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK;
    return lstrcmpiW(cls, WC_BUTTONW) == 0 && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON);
}

}  // namespace

TWin32Label::TWin32Label(HWND window, std::string_view name, TWin32Fonts& fonts, TLabelSizing sizing)
    : TWin32Control(window, name, fonts), sizing_(sizing) {}

void TWin32Label::Fit() {
    if (sizing_ != TLabelSizing::AutoSize) return;
    const std::wstring text = WideFromUtf8(Caption());
    RECT r{0, 0, 0, 0};
    if (!text.empty()) {
        const HDC dc = GetDC(Handle());
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, old);
        ReleaseDC(Handle(), dc);
        // The advance widths end short of a last glyph that reaches past its
        // own ("y", "f"): the label takes the ink too, so none of it is cut.
        r.right = std::max<LONG>(r.right, TextWidthIn(Handle(), text));
    }
    SetWindowPos(Handle(), nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Label::SetBounds(TRect b) {
    if (sizing_ == TLabelSizing::AutoSize) {
        SetWindowPos(Handle(), nullptr, b.left, b.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Fit();
    } else {
        TWin32Control::SetBounds(b);
    }
}

void TWin32Label::SetFont(const TFont& font) {
    TWin32Control::SetFont(font);
    Fit();
}

void TWin32Label::SetCaption(std::string_view text) {
    SetWindowTextUtf8(Handle(), text);
    Fit();
}

void SetButtonChecked(HWND button, bool checked) {
    if (checked && IsRadioButton(button))
        for (HWND w = GetWindow(GetParent(button), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (w != button && IsRadioButton(w)) SendMessageW(w, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FitCheckableCaption(HWND button, TRect designed) {
    if (designed.Width() <= 0) return;
    // The box is 13 pixels at 96 dpi; half a digit separates it from the text.
    constexpr int kBoxSide = 13;
    const int box = MulDiv(kBoxSide, WindowDpi(button), kScreenDesignDpi);
    const int need = box + TextWidthIn(button, L"0") / 2 + TextWidthIn(button, WideFromUtf8(WindowTextUtf8(button))) +
                     kCaptionSlack;
    const int width = std::max(designed.Width(), std::min(need, RoomRightOf(button)));
    if (width != ChildBounds(button).Width())
        SetWindowPos(button, nullptr, 0, 0, width, designed.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TWin32Button::TWin32Button(HWND window, std::string_view name, TWin32Fonts& fonts,
                           std::function<void(TWin32Button*, bool)> setDefault)
    : TWin32Control(window, name, fonts), setDefault_(std::move(setDefault)) {}

void TWin32Button::SetDefault(bool isDefault) {
    SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    if (setDefault_) setDefault_(this, isDefault);
}

bool TWin32Button::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
    result = 0;
    if (OnClick) OnClick();
    return true;
}

bool TWin32Button::PressIfShown() {
    if (!IsWindowVisible(Handle()) || !IsWindowEnabled(Handle())) return false;
    if (OnClick) OnClick();
    return true;
}

void TWin32TrackBar::SetBounds(TRect b) {
    TWin32Control::SetBounds(b);
    // Left to itself the track bar keeps a thumb so long that in a low bar the
    // marks below the channel fall outside it.
    SendMessageW(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(TrackBarThumbLength(b.Height())), 0);
}

void TWin32TrackBar::SetRange(std::int32_t min, std::int32_t max) {
    SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, std::max(min, max));
    reported_ = Position();  // a thumb pushed back into the range is no move of the user's
}

void TWin32TrackBar::SetPageSize(std::int32_t step) { SendMessageW(Handle(), TBM_SETPAGESIZE, 0, step); }

void TWin32TrackBar::SetTickFrequency(std::int32_t step) { SendMessageW(Handle(), TBM_SETTICFREQ, step, 0); }

std::int32_t TWin32TrackBar::Position() const {
    return static_cast<std::int32_t>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
}

void TWin32TrackBar::SetPosition(std::int32_t value) {
    SendMessageW(Handle(), TBM_SETPOS, TRUE, value);
    reported_ = Position();
}

bool TWin32TrackBar::OnParentNotify(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_HSCROLL && msg != WM_VSCROLL) return false;
    result = 0;
    // Every step and the end of a drag both report; only a new place is a change.
    const std::int32_t now = Position();
    if (now == reported_) return true;
    reported_ = now;
    if (OnChange) OnChange();
    return true;
}

std::int32_t TrackBarThumbLength(std::int32_t height) {
    return std::clamp(height - 2 * kTickBand, kShortestThumb, kLongestThumb);
}

TSize FitPicture(TSize picture, TSize box) {
    if (picture.width <= 0 || picture.height <= 0) return {0, 0};
    if (picture.width <= box.width && picture.height <= box.height) return picture;
    const double scale = std::min(static_cast<double>(std::max(box.width, 1)) / picture.width,
                                  static_cast<double>(std::max(box.height, 1)) / picture.height);
    return {std::max(1, static_cast<std::int32_t>(std::lround(picture.width * scale))),
            std::max(1, static_cast<std::int32_t>(std::lround(picture.height * scale)))};
}

void TWin32Picture::SetPicture(const TIcon& icon) {
    pixels_.clear();
    size_ = {icon.Width(), icon.Height()};
    if (icon.Empty()) size_ = {0, 0};
    pixels_.reserve(static_cast<std::size_t>(size_.width) * static_cast<std::size_t>(size_.height));
    for (std::int32_t y = 0; y < size_.height; ++y)
        for (std::int32_t x = 0; x < size_.width; ++x)
            pixels_.push_back(icon.Opaque(x, y) ? (icon.Image().At(x, y) | kOpaqueAlpha) : 0u);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TWin32Picture::SetBounds(TRect b) {
    TWin32Control::SetBounds(b);
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TWin32Picture::OnParentNotify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    Draw(item->hDC, item->rcItem);
    result = TRUE;
    return true;
}

void TWin32Picture::Draw(HDC dc, const RECT& box) const {
    // The container's background first, so masked-out pixels show it.
    const HWND parent = GetParent(Handle());
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Handle())));
    FillRect(dc, &box, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (pixels_.empty()) return;
    const TSize shown = FitPicture(size_, {box.right - box.left, box.bottom - box.top});
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size_.width;
    info.bmiHeader.biHeight = -size_.height;  // top-down, as the pixels are stored
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!memory || !bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
        return;
    }
    std::copy(pixels_.begin(), pixels_.end(), static_cast<std::uint32_t*>(bits));
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, box.left, box.top, shown.width, shown.height, memory, 0, 0, size_.width, size_.height, blend);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

}  // namespace ratiscope
