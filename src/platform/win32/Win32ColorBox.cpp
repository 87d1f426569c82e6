// The owner-drawn colour list on Win32.
#include "platform/win32/Win32ColorBox.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>

#include "platform/win32/Win32ListControls.h"
#include "platform/win32/Win32Unicode.h"

namespace ratiscope {

namespace {

// The choice is acted on once the list has closed and every notification of
// the action is in: the colour dialog is modal and must not open while the
// combo box is still closing its list, nor open once per notification.
constexpr UINT kChooseLater = WM_APP + 0x52;
constexpr std::int32_t kDefaultItemHeight = 16;
constexpr std::int32_t kSwatchInset = 2;
constexpr std::int32_t kTextGap = 4;

}  // namespace

std::int32_t ColorEntryOf(TColor color) {
    for (std::size_t i = 0; i < kNamedColors.size(); ++i)
        if (kNamedColors[i].color == color) return static_cast<std::int32_t>(i) + 1;
    return 0;
}

TRect ColorSwatchRect(TRect row) {
    const std::int32_t height = std::max(row.Height() - 2 * kSwatchInset, 1);
    const std::int32_t left = row.left + kSwatchInset;
    const std::int32_t top = row.top + kSwatchInset;
    return {left, top, left + 2 * height, top + height};
}

bool TColorChoice::Notify(int code) {
    switch (code) {
    case CBN_DROPDOWN:
        dropped_ = true;
        return false;
    case CBN_CLOSEUP:
        dropped_ = false;
        return false;
    case CBN_SELENDOK:
        accepted_ = true;
        break;
    case CBN_SELENDCANCEL:
        cancelled_ = true;
        break;
    case CBN_SELCHANGE:
        if (dropped_) return false;  // browsing the open list
        changedClosed_ = true;
        break;
    default:
        return false;
    }
    const bool opens = !gathering_;
    gathering_ = true;
    return opens;
}

bool TColorChoice::Settle() {
    const bool chosen = gathering_ && (accepted_ || changedClosed_) && !cancelled_;
    gathering_ = accepted_ = cancelled_ = changedClosed_ = false;
    return chosen;
}

std::optional<TColor> ChooseSystemColor(HWND owner, TColor initial) {
    // The dialog's sixteen custom colours live as long as the program.
    static std::array<COLORREF, 16> custom = [] {
        std::array<COLORREF, 16> c{};
        c.fill(RGB(255, 255, 255));
        return c;
    }();
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    choose.rgbResult = initial;
    choose.lpCustColors = custom.data();
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorW(&choose)) return std::nullopt;
    return static_cast<TColor>(choose.rgbResult & 0xFFFFFFu);
}

TWin32ColorBox::TWin32ColorBox(HWND window, std::string_view name, TWin32Fonts& fonts)
    : TWin32Control(window, name, fonts) {
    const std::wstring custom = WideFromUtf8(kCustomColorName);
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(custom.c_str()));
    for (const TNamedColor& c : kNamedColors) {
        const std::wstring text = WideFromUtf8(c.name);
        SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(Handle(), CB_SETMINVISIBLE, static_cast<WPARAM>(ItemCount()), 0);
    SendMessageW(Handle(), CB_SETCURSEL, 0, 0);
    SetItemHeight(kDefaultItemHeight);
    Subclass(Handle());
}

std::int32_t TWin32ColorBox::ItemIndex() const {
    const auto index = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<std::int32_t>(index);
}

std::int32_t TWin32ColorBox::ItemCount() const {
    return static_cast<std::int32_t>(std::max<LRESULT>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0), 0));
}

std::string TWin32ColorBox::ItemText(std::int32_t index) const { return ComboItemText(Handle(), index); }

TColor TWin32ColorBox::ItemColor(std::int32_t index) const {
    if (index == 0) return custom_;
    if (index < 0 || index > static_cast<std::int32_t>(kNamedColors.size())) return 0;
    return kNamedColors[static_cast<std::size_t>(index) - 1].color;
}

void TWin32ColorBox::SetItemText(std::int32_t index, std::string_view text) {
    if (index < 0 || index >= ItemCount()) return;
    const auto selected = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
    const std::wstring wide = WideFromUtf8(text);
    SendMessageW(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    InvalidateRect(Handle(), nullptr, TRUE);
    FitNames();
}

void TWin32ColorBox::FitNames() {
    const auto row = static_cast<std::int32_t>(std::max<LRESULT>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0), 1));
    FitDroppedWidth(Handle(), ColorSwatchRect({0, 0, 0, row}).right + kTextGap);
}

void TWin32ColorBox::SetFont(const TFont& font) {
    TWin32Control::SetFont(font);
    FitNames();
}

void TWin32ColorBox::SetItemHeight(std::int32_t pixels) {
    const std::int32_t h = std::max(pixels, 1);
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, h);                         // the rows of the list
    SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), h);  // the closed box's field
    FitNames();  // the swatch grows with the row
}

void TWin32ColorBox::SetBounds(TRect b) {
    // The window's height includes the open list: room for every entry.
    const auto row = std::max<LRESULT>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0), 1);
    SetWindowPos(Handle(), nullptr, b.left, b.top, b.Width(), b.Height() + static_cast<int>(ItemCount() * row) + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitNames();
}

void TWin32ColorBox::SetSelected(TColor color) {
    const std::int32_t index = ColorEntryOf(color);
    if (index == 0) {
        custom_ = color;
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    last_ = index;
}

void TWin32ColorBox::Chosen(std::int32_t index) {
    if (index < 0) return;
    if (index == 0) {
        const std::optional<TColor> chosen = dialog_ ? dialog_(Handle(), custom_) : std::nullopt;
        if (!chosen) {
            SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(last_), 0);  // cancelled: the earlier choice stays
            return;
        }
        custom_ = *chosen;
        SendMessageW(Handle(), CB_SETCURSEL, 0, 0);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    last_ = index;
    if (OnChange) OnChange();
}

bool TWin32ColorBox::OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    if (msg != WM_COMMAND) return false;
    result = 0;
    if (choice_.Notify(HIWORD(wp))) PostMessageW(Handle(), kChooseLater, 0, 0);
    return true;
}

bool TWin32ColorBox::OnOwnMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kChooseLater) return false;
    result = 0;
    if (choice_.Settle()) {
        Chosen(ItemIndex());
    } else if (ItemIndex() != last_) {
        // A cancelled list may still show the entry browsed last.
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(last_), 0);
    }
    return true;
}

void TWin32ColorBox::Draw(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const auto index = static_cast<std::int32_t>(static_cast<int>(item.itemID));
    if (index >= 0) {
        const RECT swatch = ToRect(ColorSwatchRect(FromRect(item.rcItem)));
        const HBRUSH fill = CreateSolidBrush(ItemColor(index));
        FillRect(dc, &swatch, fill);
        DeleteObject(fill);
        FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT text = item.rcItem;
        text.left = swatch.right + kTextGap;
        const std::wstring name = WideFromUtf8(ItemText(index));
        const HGDIOBJ oldFont = SelectObject(dc, fonts_.Get(font_));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, oldFont);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &item.rcItem);
}

}  // namespace ratiscope
