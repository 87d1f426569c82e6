// Drop-down lists and the check list on Win32: the native combo box and a
// report list view with a check box per entry.
#pragma once

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32ControlBase.h"

#include <commctrl.h>

#include <functional>
#include <optional>

namespace ratiscope {

// Which combo box notifications are a pick of the user's: a change while the
// list is closed (arrow keys, wheel), or the list closing on an entry; the
// changes while the open list is browsed are not.
class TComboPicks {
public:
    // Feeds one notification code (CBN_*); true when it is a pick.
    bool Notify(int code);

private:
    bool dropped_ = false;
};

class TWin32ComboBox final : public TWin32Control<IComboBox> {
public:
    // Enter in an editable box stays in its field; in a closed fixed list it
    // is reported and then presses the window's default button (`pressDefault`).
    TWin32ComboBox(HWND window, std::string_view name, TWin32Fonts& fonts, TComboStyle style,
                   std::function<bool()> pressDefault);
    std::int32_t ItemCount() const override;
    std::string ItemText(std::int32_t index) const override;
    void SetItemText(std::int32_t index, std::string_view text) override;
    void Clear() override;
    std::int32_t ItemIndex() const override;
    void SetItemIndex(std::int32_t index) override;
    std::string Text() const override;
    void SetText(std::string_view text) override;
    void SetDropDownCount(std::int32_t rows) override;
    void SetBounds(TRect bounds) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void SetFont(const TFont& font) override;

private:
    bool editable_;
    std::function<bool()> pressDefault_;
    bool deselected_ = false;  // the user typed since the last pick
    bool quiet_ = false;       // set while the program changes the field
    TComboPicks picks_;
    std::optional<TRect> placed_;  // the field's place as last set
};

// The text of entry `index` of a combo box; empty when there is no such entry.
std::string ComboItemText(HWND combo, std::int32_t index);

// Makes the open list of `combo` wide enough for its widest entry, whose text
// starts `textLeft` pixels into its row, with a scroll bar when the list
// holds more entries than it shows; never narrower than the box itself.
void FitDroppedWidth(HWND combo, int textLeft);

class TWin32CheckListBox final : public TWin32Control<ICheckListBox> {
public:
    TWin32CheckListBox(HWND window, std::string_view name, TWin32Fonts& fonts);
    ~TWin32CheckListBox() override;
    std::int32_t ItemCount() const override;
    std::string ItemText(std::int32_t index) const override;
    void SetItemText(std::int32_t index, std::string_view text) override;
    bool Checked(std::int32_t index) const override;
    void SetChecked(std::int32_t index, bool checked) override;
    std::int32_t ItemIndex() const override;
    void SetItemIndex(std::int32_t index) override;
    void SetItemHeight(std::int32_t pixels) override;
    void SetHorizontalExtent(std::int32_t pixels) override;
    void Repaint() override { InvalidateRect(Handle(), nullptr, TRUE); }
    void SetBounds(TRect bounds) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void SizeColumn();
    HIMAGELIST rowHeight_ = nullptr;  // an empty small-icon list whose height sets the rows'
    std::int32_t extent_ = 0;
    bool quiet_ = false;  // set while the program changes check marks
};

}  // namespace ratiscope
