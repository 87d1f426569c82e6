// The colour list on Win32: an owner-drawn drop-down list of swatches whose
// first entry, "Custom...", opens the system's colour dialog.
#pragma once

#include <functional>
#include <optional>

#include "platform/win32/Win32ControlBase.h"
#include "platform/win32/Win32ListControls.h"

namespace ratiscope {

// The entry of a colour in the list: 1 + its place in kNamedColors, or 0
// ("Custom...") for a colour that has no name.
std::int32_t ColorEntryOf(TColor color);

// Where an entry's swatch is drawn in its row: two by one, inset from the row's
// top, left and bottom; the name follows to its right.
TRect ColorSwatchRect(TRect row);

// Gathers the combo box notifications of one user action and tells whether
// they were a choice. Windows does not promise in which order a closing list
// reports CBN_SELENDOK, CBN_CLOSEUP and CBN_SELCHANGE (Wine sends the change
// after the close-up, so a change seen alone after it looks like a second
// pick), so the notifications are judged together once all of them are in.
class TColorChoice {
public:
    // Feeds one notification code (CBN_*); true when it opens a gathering,
    // which the caller ends with Settle after the action's notifications (a
    // posted message arrives after all of them).
    bool Notify(int code);
    // Ends the gathering: true when its notifications were a choice: the list
    // closing on an entry, or a change while the list was closed (arrow
    // keys, wheel); never after a cancel, nor for browsing the open list.
    bool Settle();

private:
    bool dropped_ = false;
    bool gathering_ = false;
    bool accepted_ = false;
    bool cancelled_ = false;
    bool changedClosed_ = false;
};

// Asks the user for a colour, starting from `initial`; nothing when cancelled.
using TColorDialog = std::function<std::optional<TColor>(HWND owner, TColor initial)>;
// The system's colour dialog (ChooseColorW), with custom colours kept for the process.
std::optional<TColor> ChooseSystemColor(HWND owner, TColor initial);

class TWin32ColorBox final : public TWin32Control<IColorBox> {
public:
    TWin32ColorBox(HWND window, std::string_view name, TWin32Fonts& fonts);
    void SetSelected(TColor color) override;
    TColor Selected() const override { return ItemColor(ItemIndex()); }
    std::int32_t ItemIndex() const override;
    std::int32_t ItemCount() const override;
    std::string ItemText(std::int32_t index) const override;
    TColor ItemColor(std::int32_t index) const override;
    void SetItemText(std::int32_t index, std::string_view text) override;
    void SetItemHeight(std::int32_t pixels) override;
    void SetBounds(TRect bounds) override;
    void SetFont(const TFont& font) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Replaces the dialog "Custom..." opens (tests answer it themselves).
    void SetColorDialog(TColorDialog dialog) { dialog_ = std::move(dialog); }

private:
    void Chosen(std::int32_t index);
    // The open list as wide as its longest name needs, after its swatch.
    void FitNames();
    void Draw(const DRAWITEMSTRUCT& item) const;

    TColorDialog dialog_ = ChooseSystemColor;
    TColor custom_ = 0;
    std::int32_t last_ = 0;  // the entry chosen before, restored when the dialog is cancelled
    TColorChoice choice_;
};

}  // namespace ratiscope
