// Drop-down lists and the check list on Win32.
#include "platform/win32/Win32ListControls.h"

#include <algorithm>

#include "platform/win32/Win32Keys.h"
#include "platform/win32/Win32Unicode.h"

namespace ratiscope {

namespace {

// Entries the open list shows unless the program says otherwise.
constexpr std::int32_t kDefaultDropDownRows = 8;
// The state image index of a checked entry (1 is the empty box).
constexpr UINT kCheckedStateImage = 2;
// What a list view adds below the taller of its icons and its text in every row.
constexpr std::int32_t kRowPadding = 1;
// An open list's entry text keeps this much room to its row's edges, and the
// list's border takes one pixel on each side.
constexpr int kListTextMargin = 3;
constexpr int kListFrame = 2;

bool WantsReturn(LPARAM lp) {
    const auto* m = reinterpret_cast<const MSG*>(lp);
    return m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN;
}

HWND ComboField(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

}  // namespace

bool TComboPicks::Notify(int code) {
    switch (code) {
    case CBN_DROPDOWN:
        dropped_ = true;
        return false;
    case CBN_CLOSEUP:
        dropped_ = false;
        return false;
    case CBN_SELCHANGE:
        return !dropped_;
    case CBN_SELENDOK:
        return dropped_;
    default:
        return false;
    }
}

std::string ComboItemText(HWND combo, std::int32_t index) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == CB_ERR || length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return Utf8FromWide(text);
}

void FitDroppedWidth(HWND combo, int textLeft) {
    const auto count = std::max<LRESULT>(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    int widest = 0;
    for (LRESULT i = 0; i < count; ++i)
        widest = std::max(widest, TextWidthIn(combo, WideFromUtf8(ComboItemText(combo, static_cast<std::int32_t>(i)))));
    const bool scrolls = count > SendMessageW(combo, CB_GETMINVISIBLE, 0, 0);
    const int need = textLeft + widest + kListTextMargin + kListFrame + (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    RECT box{};
    GetWindowRect(combo, &box);
    SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max<int>(need, box.right - box.left)), 0);
}

TWin32ComboBox::TWin32ComboBox(HWND window, std::string_view name, TWin32Fonts& fonts, TComboStyle style,
                               std::function<bool()> pressDefault)
    : TWin32Control(window, name, fonts),
      editable_(style == TComboStyle::Editable),
      pressDefault_(std::move(pressDefault)) {
    // Keys go to the field of an editable box, to the box itself otherwise.
    const HWND field = editable_ ? ComboField(Handle()) : nullptr;
    Subclass(field ? field : Handle());
    SendMessageW(Handle(), CB_SETMINVISIBLE, kDefaultDropDownRows, 0);
}

std::int32_t TWin32ComboBox::ItemCount() const {
    return static_cast<std::int32_t>(std::max<LRESULT>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0), 0));
}

std::string TWin32ComboBox::ItemText(std::int32_t index) const { return ComboItemText(Handle(), index); }

void TWin32ComboBox::SetItemText(std::int32_t index, std::string_view text) {
    const std::int32_t count = ItemCount();
    if (index < 0 || index > count) return;
    const std::wstring wide = WideFromUtf8(text);
    quiet_ = true;
    if (index == count) {
        SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    } else {
        // Renaming drops the selection; the field keeps what it shows.
        const std::string shown = WindowTextUtf8(Handle());
        SendMessageW(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendMessageW(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        if (editable_) SetWindowTextUtf8(Handle(), shown);
        deselected_ = false;
    }
    quiet_ = false;
    FitDroppedWidth(Handle(), kListTextMargin);
}

void TWin32ComboBox::Clear() {
    quiet_ = true;
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    quiet_ = false;
    deselected_ = false;
    FitDroppedWidth(Handle(), kListTextMargin);
}

void TWin32ComboBox::SetFont(const TFont& font) {
    TWin32Control::SetFont(font);
    FitDroppedWidth(Handle(), kListTextMargin);
}

std::int32_t TWin32ComboBox::ItemIndex() const {
    if (deselected_) return -1;
    const auto index = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<std::int32_t>(index);
}

void TWin32ComboBox::SetItemIndex(std::int32_t index) {
    quiet_ = true;
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < ItemCount() ? index : -1), 0);
    quiet_ = false;
    deselected_ = false;
}

std::string TWin32ComboBox::Text() const {
    if (editable_) return WindowTextUtf8(Handle());
    const auto index = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? std::string() : ComboItemText(Handle(), static_cast<std::int32_t>(index));
}

void TWin32ComboBox::SetText(std::string_view text) {
    if (!editable_) return;
    quiet_ = true;
    SetWindowTextUtf8(Handle(), text);
    quiet_ = false;
    deselected_ = true;
}

void TWin32ComboBox::SetDropDownCount(std::int32_t rows) {
    SendMessageW(Handle(), CB_SETMINVISIBLE, static_cast<WPARAM>(std::max(rows, 1)), 0);
    if (placed_) SetBounds(*placed_);  // the window's height holds the open list
    FitDroppedWidth(Handle(), kListTextMargin);  // a list that now scrolls needs room for its bar
}

void TWin32ComboBox::SetBounds(TRect b) {
    placed_ = b;
    // A combo box's window height is the field and its open list together;
    // the box sets the field's height itself from its font.
    const auto rows = std::max<LRESULT>(SendMessageW(Handle(), CB_GETMINVISIBLE, 0, 0), 1);
    const auto row = std::max<LRESULT>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0), 1);
    SetWindowPos(Handle(), nullptr, b.left, b.top, b.Width(), b.Height() + static_cast<int>(rows * row) + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitDroppedWidth(Handle(), kListTextMargin);
}

bool TWin32ComboBox::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND) return false;
    result = 0;
    const int code = HIWORD(wp);
    if (code == CBN_EDITCHANGE && !quiet_) deselected_ = true;
    if (picks_.Notify(code) && !quiet_) {
        deselected_ = false;
        if (OnSelect) OnSelect();
    }
    return true;
}

bool TWin32ComboBox::OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_GETDLGCODE:
        // The box hears Enter before the dialog manager gives it to the default button.
        if (!WantsReturn(lp)) return false;
        result = DefSubclassProc(window, msg, wp, lp) | DLGC_WANTALLKEYS;
        return true;
    case WM_KEYDOWN:
        if (OnKeyDown) OnKeyDown(KeyOfWin32Code(wp));
        if (wp != VK_RETURN) return false;
        // An open list closes on Enter, picking its entry, as the box itself does it.
        if (!editable_ && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0)) return false;
        if (!editable_ && pressDefault_) pressDefault_();
        result = 0;
        return true;
    case WM_CHAR:
        if (!editable_ || (wp != L'\r' && wp != L'\n')) return false;
        result = 0;
        return true;
    default:
        return false;
    }
}

TWin32CheckListBox::TWin32CheckListBox(HWND window, std::string_view name, TWin32Fonts& fonts)
    : TWin32Control(window, name, fonts) {
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 0;
    SendMessageW(Handle(), LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    Subclass(Handle());
}

TWin32CheckListBox::~TWin32CheckListBox() {
    SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    if (rowHeight_) ImageList_Destroy(rowHeight_);
}

std::int32_t TWin32CheckListBox::ItemCount() const {
    return static_cast<std::int32_t>(SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::string TWin32CheckListBox::ItemText(std::int32_t index) const {
    if (index < 0 || index >= ItemCount()) return {};
    std::wstring text(1024, L'\0');
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto got = SendMessageW(Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return Utf8FromWide(text);
}

void TWin32CheckListBox::SetItemText(std::int32_t index, std::string_view text) {
    const std::int32_t count = ItemCount();
    if (index < 0 || index > count) return;
    std::wstring wide = WideFromUtf8(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = wide.data();
    quiet_ = true;
    if (index == count) {
        SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMW unchecked{};
        unchecked.stateMask = LVIS_STATEIMAGEMASK;
        unchecked.state = INDEXTOSTATEIMAGEMASK(1);
        SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&unchecked));
    } else {
        SendMessageW(Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    quiet_ = false;
}

bool TWin32CheckListBox::Checked(std::int32_t index) const {
    if (index < 0 || index >= ItemCount()) return false;
    const auto state = static_cast<UINT>(SendMessageW(Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
    return (state >> 12) == kCheckedStateImage;
}

void TWin32CheckListBox::SetChecked(std::int32_t index, bool checked) {
    if (index < 0 || index >= ItemCount()) return;
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? kCheckedStateImage : 1);
    quiet_ = true;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    quiet_ = false;
}

std::int32_t TWin32CheckListBox::ItemIndex() const {
    return static_cast<std::int32_t>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TWin32CheckListBox::SetItemIndex(std::int32_t index) {
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (index < 0 || index >= ItemCount()) return;
    LVITEMW chosen{};
    chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&chosen));
}

void TWin32CheckListBox::SetItemHeight(std::int32_t pixels) {
    // A list view's rows are as high as its small icons (or its text, if
    // higher) and one padding pixel: an empty icon list one pixel wide sets the height.
    const HIMAGELIST list = ImageList_Create(1, std::max(pixels - kRowPadding, 1), ILC_COLOR32, 0, 1);
    SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(list));
    if (rowHeight_) ImageList_Destroy(rowHeight_);
    rowHeight_ = list;
}

void TWin32CheckListBox::SetHorizontalExtent(std::int32_t pixels) {
    extent_ = pixels;
    SizeColumn();
}

void TWin32CheckListBox::SetBounds(TRect b) {
    TWin32Control::SetBounds(b);
    SizeColumn();
}

void TWin32CheckListBox::SizeColumn() {
    // The one column is as wide as the extent; wider than the list gives the scroll bar.
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = extent_ > 0 ? extent_ : client.right;
    SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(std::max(width, 0), 0));
}

bool TWin32CheckListBox::OnParentNotify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->code != LVN_ITEMCHANGED) return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
    result = 0;
    const UINT oldImage = (change->uOldState & LVIS_STATEIMAGEMASK) >> 12;
    const UINT newImage = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
    // Image 0 is an entry getting its first check box, not a click.
    if (!quiet_ && (change->uChanged & LVIF_STATE) && oldImage != 0 && oldImage != newImage && OnClickCheck)
        OnClickCheck();
    return true;
}

bool TWin32CheckListBox::OnOwnMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_MOUSEMOVE && OnMouseMove) OnMouseMove();
    return false;
}

}  // namespace ratiscope
