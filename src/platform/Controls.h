// The standard controls the settings panel is built from, kept to what the
// panel asks of them so its logic runs on real widgets and on a test double alike.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Geometry.h"
#include "platform/Keys.h"

namespace ratiscope {

class IControlHost;
class TIcon;

// A control's typeface. The height is the character height in screen pixels,
// already scaled by the caller.
struct TFont {
    std::string face = "Tahoma";
    std::int32_t height = 9;
    bool bold = false;
    friend bool operator==(const TFont&, const TFont&) = default;
};

// Handlers the controls call. Key handlers get the virtual key code of the key.
using TNotifyEvent = std::function<void()>;
using TKeyEvent = std::function<void(TKey key)>;

// What every control offers. Rectangles are pixels relative to the parent's
// client area, right and bottom exclusive.
class IControl {
public:
    virtual ~IControl() = default;
    // Places and sizes the control; a label that sizes itself to its text
    // takes only the left and top.
    virtual void SetBounds(TRect bounds) = 0;
    // Where the control is now.
    virtual TRect Bounds() const = 0;
    // The typeface of the control's own texts.
    virtual void SetFont(const TFont& font) = 0;
    virtual TFont Font() const = 0;
    // Gives the control the keyboard focus.
    virtual void SetFocus() = 0;
    // Whether the control holds the keyboard focus.
    virtual bool Focused() const = 0;
};

// A control that holds others: the window's client area, a plain panel, a tab page, a group box.
class IContainer : public IControl {};

// A framed container with a caption on its top edge.
class IGroupBox : public IContainer {
public:
    virtual void SetCaption(std::string_view text) = 0;
    virtual std::string Caption() const = 0;
};

enum class TLabelSizing {
    AutoSize,   // one line that grows and shrinks to the right from its left edge
    FixedWrap,  // keeps its box and wraps its text inside it
};

class ILabel : public IControl {
public:
    // The text; a line feed starts a new line.
    virtual void SetCaption(std::string_view text) = 0;
    virtual std::string Caption() const = 0;
};

// A one-line text field.
class IEdit : public IControl {
public:
    virtual std::string Text() const = 0;
    // Replaces the text; OnChange follows when it differs, as after typing.
    virtual void SetText(std::string_view text) = 0;

    // The text changed: typed, set by bound spin buttons or by SetText.
    TNotifyEvent OnChange;
    // A key went down in the field, before the field acts on it.
    TKeyEvent OnKeyDown;
    // The field lost the keyboard focus.
    TNotifyEvent OnExit;
};

// Spin buttons bound to an edit. The position is a signed 16-bit integer that
// the field shows; the arrow keys in the field and the two buttons step it by one.
class IUpDown : public IControl {
public:
    // The position stays within min..max; both are cut to the signed 16-bit range.
    virtual void SetRange(std::int32_t min, std::int32_t max) = 0;
    virtual std::int32_t Min() const = 0;
    virtual std::int32_t Max() const = 0;
    // The field's text when it reads as a whole number (kept within the range);
    // otherwise the position last shown.
    virtual std::int32_t Position() const = 0;
    // Keeps the value within the range and shows it in the field, whose OnChange follows.
    virtual void SetPosition(std::int32_t value) = 0;
};

enum class TComboStyle {
    Editable,  // a text field with a list of entries to pick from
    List,      // only the entries can be picked; no typing
};

// A drop-down list of text entries.
class IComboBox : public IControl {
public:
    virtual std::int32_t ItemCount() const = 0;
    virtual std::string ItemText(std::int32_t index) const = 0;
    // Replaces entry `index`, or appends one when `index` equals the count.
    // Replacing an entry drops the selection.
    virtual void SetItemText(std::int32_t index, std::string_view text) = 0;
    virtual void Clear() = 0;
    // The selected entry; -1 for none, also once the user has typed into the field.
    virtual std::int32_t ItemIndex() const = 0;
    // Selects the entry (-1: none) and, for an editable box, shows its text in the field. No handler runs.
    virtual void SetItemIndex(std::int32_t index) = 0;
    // The text of the field (editable) or of the selected entry (list).
    virtual std::string Text() const = 0;
    // Puts the text into the field of an editable box and drops the selection.
    virtual void SetText(std::string_view text) = 0;
    // How many entries the open list shows before it scrolls.
    virtual void SetDropDownCount(std::int32_t rows) = 0;

    // The user picked an entry, with the mouse or the keyboard.
    TNotifyEvent OnSelect;
    // A key went down in the box (in its field, when editable), before the box acts on it.
    TKeyEvent OnKeyDown;
};

// A two-state button with a caption: a radio button (one checked per
// container) or a check box.
class ICheckable : public IControl {
public:
    virtual void SetCaption(std::string_view text) = 0;
    virtual std::string Caption() const = 0;
    virtual bool Checked() const = 0;
    // Sets the state without running OnClick.
    virtual void SetChecked(bool checked) = 0;

    // The user clicked it (or pressed Space on it); Checked already shows the new state.
    TNotifyEvent OnClick;
};

class IRadioButton : public ICheckable {};
class ICheckBox : public ICheckable {};

// A list whose every entry has its own check mark.
class ICheckListBox : public IControl {
public:
    virtual std::int32_t ItemCount() const = 0;
    virtual std::string ItemText(std::int32_t index) const = 0;
    // Replaces entry `index` (keeping its check mark and the selection), or
    // appends an unchecked one when `index` equals the count.
    virtual void SetItemText(std::int32_t index, std::string_view text) = 0;
    virtual bool Checked(std::int32_t index) const = 0;
    // Sets a check mark without running OnClickCheck.
    virtual void SetChecked(std::int32_t index, bool checked) = 0;
    // The highlighted entry; -1 for none.
    virtual std::int32_t ItemIndex() const = 0;
    virtual void SetItemIndex(std::int32_t index) = 0;
    // Height of one entry in pixels.
    virtual void SetItemHeight(std::int32_t pixels) = 0;
    // Width in pixels the entries can be scrolled across; wider than the list gives a scroll bar.
    virtual void SetHorizontalExtent(std::int32_t pixels) = 0;
    // Draws the list again.
    virtual void Repaint() = 0;

    // The user toggled a check mark; Checked already shows the new state.
    TNotifyEvent OnClickCheck;
    // The pointer moved over the list.
    TNotifyEvent OnMouseMove;
};

// The colours a colour list offers after its first entry, "Custom...": the
// sixteen standard colours and four further ones, with the names a list shows
// until the program gives it the names of the user's language.
struct TNamedColor {
    std::string_view name;
    TColor color;
};

inline constexpr std::string_view kCustomColorName = "Custom...";

inline constexpr std::array<TNamedColor, 20> kNamedColors{{
    {"Black", 0x000000},   {"Maroon", 0x000080},  {"Green", 0x008000},   {"Olive", 0x008080},
    {"Navy", 0x800000},    {"Purple", 0x800080},  {"Teal", 0x808000},    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},  {"Red", 0x0000FF},     {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},    {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},    {"White", 0xFFFFFF},
    {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xF0CAA6}, {"Cream", 0xF0FBFF}, {"Medium Gray", 0xA4A0A0},
}};

// A drop-down list of colours, each entry a swatch and a name: "Custom..."
// first (it opens the platform's colour dialog), then kNamedColors.
class IColorBox : public IControl {
public:
    // Selects the named entry of the colour; any other colour becomes the
    // colour of the "Custom..." entry, which is then selected. No handler runs.
    virtual void SetSelected(TColor color) = 0;
    virtual TColor Selected() const = 0;
    // Entry 0 is "Custom...".
    virtual std::int32_t ItemIndex() const = 0;
    virtual std::int32_t ItemCount() const = 0;
    virtual std::string ItemText(std::int32_t index) const = 0;
    virtual TColor ItemColor(std::int32_t index) const = 0;
    // Renames entry `index` (0 is "Custom..."); its colour and the selection stay.
    virtual void SetItemText(std::int32_t index, std::string_view text) = 0;
    // Height of one entry in pixels.
    virtual void SetItemHeight(std::int32_t pixels) = 0;

    // The user chose a colour: a named entry, or "Custom..." and a colour in
    // the dialog. Cancelling the dialog leaves the earlier choice and runs nothing.
    TNotifyEvent OnChange;
};

// A horizontal slider with tick marks on both sides.
class ITrackBar : public IControl {
public:
    virtual void SetRange(std::int32_t min, std::int32_t max) = 0;
    // The step of Page Up, Page Down and a click beside the thumb.
    virtual void SetPageSize(std::int32_t step) = 0;
    // One tick mark every `step` positions.
    virtual void SetTickFrequency(std::int32_t step) = 0;
    virtual std::int32_t Position() const = 0;
    // Moves the thumb, kept within the range, without running OnChange.
    virtual void SetPosition(std::int32_t value) = 0;

    // The user moved the thumb (mouse, wheel or keys); Position is the new place.
    TNotifyEvent OnChange;
};

class IButton : public IControl {
public:
    virtual void SetCaption(std::string_view text) = 0;
    virtual std::string Caption() const = 0;
    // The default button is pressed by Enter while it is shown and the focus
    // is on no other button.
    virtual void SetDefault(bool isDefault) = 0;

    TNotifyEvent OnClick;
};

// A picture in a box, scaled down proportionally when it does not fit; the
// icon's masked-out pixels show the background.
class IPicture : public IControl {
public:
    virtual void SetPicture(const TIcon& icon) = 0;
};

// Pages behind tabs; the tabs wrap into further rows when one row is too narrow.
class ITabControl : public IControl {
public:
    // Adds a page and its tab at the end; the page holds the page's controls.
    virtual IContainer& AddPage(std::string_view name) = 0;
    virtual std::int32_t PageCount() const = 0;
    virtual void SetTabCaption(std::int32_t page, std::string_view text) = 0;
    virtual std::string TabCaption(std::int32_t page) const = 0;
    // The page on display; -1 for none.
    virtual std::int32_t ActivePage() const = 0;
    // Shows the page; -1 (or any number that is no page) leaves the page area
    // empty until the user clicks a tab. No handler runs.
    virtual void SetActivePage(std::int32_t page) = 0;
    // Where the page's tab is drawn, relative to the tab control.
    virtual TRect TabRect(std::int32_t page) const = 0;

    // The user chose another page.
    TNotifyEvent OnChange;
    // The pointer moved over the tabs.
    TNotifyEvent OnMouseMove;
};

// The controls of one window: creates them in its client area or in a
// container, and owns them for the window's lifetime. Creation order is
// keyboard (Tab) order within a container.
class IControls {
public:
    virtual ~IControls() = default;
    // The window's client area.
    virtual IContainer& Client() = 0;
    // Every control gets a name, unique within the window, for finding it in tests and tools.
    // A plain container in the platform's dialog face colour.
    virtual IContainer& CreatePanel(IContainer& parent, std::string_view name) = 0;
    virtual ITabControl& CreateTabControl(IContainer& parent, std::string_view name) = 0;
    virtual IGroupBox& CreateGroupBox(IContainer& parent, std::string_view name) = 0;
    virtual ILabel& CreateLabel(IContainer& parent, std::string_view name, TLabelSizing sizing) = 0;
    virtual IEdit& CreateEdit(IContainer& parent, std::string_view name) = 0;
    // Spin buttons that step the position shown in `buddy`.
    virtual IUpDown& CreateUpDown(IContainer& parent, std::string_view name, IEdit& buddy) = 0;
    virtual IComboBox& CreateComboBox(IContainer& parent, std::string_view name, TComboStyle style) = 0;
    virtual IRadioButton& CreateRadioButton(IContainer& parent, std::string_view name) = 0;
    virtual ICheckBox& CreateCheckBox(IContainer& parent, std::string_view name) = 0;
    virtual ICheckListBox& CreateCheckListBox(IContainer& parent, std::string_view name) = 0;
    virtual IColorBox& CreateColorBox(IContainer& parent, std::string_view name) = 0;
    virtual ITrackBar& CreateTrackBar(IContainer& parent, std::string_view name) = 0;
    virtual IButton& CreateButton(IContainer& parent, std::string_view name) = 0;
    virtual IPicture& CreatePicture(IContainer& parent, std::string_view name) = 0;
};

// The platform's controls: a control set for a window of its window system.
class IControlToolkit {
public:
    virtual ~IControlToolkit() = default;
    // The control set that places its controls in `host` (IWindow::ControlHost).
    virtual std::unique_ptr<IControls> CreateControls(IControlHost& host) = 0;
};

}  // namespace ratiscope
