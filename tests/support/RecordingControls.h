// Controls that keep their state in memory and act for the user the way the
// real widgets do, so the panel's logic is tested without a window system.
#pragma once

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Controls.h"
#include "platform/Image.h"
#include "platform/Keys.h"

namespace ratiscope::testing {

class RecordingControls;

// Bounds, font and focus: what every recorded control shares.
template <class Interface>
class RecordingControl : public Interface {
public:
    RecordingControl(RecordingControls& owner, std::string name) : owner_(owner), name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    // Runs inside SetBounds, for tests that need something to happen mid-layout.
    std::function<void()> onSetBounds;

    void SetBounds(TRect bounds) override {
        bounds_ = bounds;
        if (onSetBounds) onSetBounds();
    }
    TRect Bounds() const override { return bounds_; }
    void SetFont(const TFont& font) override { font_ = font; }
    TFont Font() const override { return font_; }
    void SetFocus() override;
    bool Focused() const override;

protected:
    RecordingControls& owner_;

private:
    std::string name_;
    TRect bounds_;
    TFont font_;
};

class RecordingContainer : public RecordingControl<IContainer> {
public:
    using RecordingControl::RecordingControl;
};

class RecordingGroupBox : public RecordingControl<IGroupBox> {
public:
    using RecordingControl::RecordingControl;
    void SetCaption(std::string_view text) override { caption_ = text; }
    std::string Caption() const override { return caption_; }

private:
    std::string caption_;
};

class RecordingLabel : public RecordingControl<ILabel> {
public:
    RecordingLabel(RecordingControls& owner, std::string name, TLabelSizing sizing)
        : RecordingControl(owner, std::move(name)), sizing_(sizing) {}
    void SetCaption(std::string_view text) override { caption_ = text; }
    std::string Caption() const override { return caption_; }
    TLabelSizing Sizing() const { return sizing_; }

private:
    TLabelSizing sizing_;
    std::string caption_;
};

class RecordingEdit : public RecordingControl<IEdit> {
public:
    using RecordingControl::RecordingControl;
    std::string Text() const override { return text_; }
    void SetText(std::string_view text) override {
        if (text == text_) return;
        text_ = text;
        if (OnChange) OnChange();
    }

    // The user focuses the field, selects all and types `text` key by key.
    void UserTypes(std::string_view text) {
        SetFocus();
        std::string typed;
        for (char c : text) {
            const TKey key = c >= 'a' && c <= 'z' ? KeyOfLetter(static_cast<char>(c - 'a' + 'A'))
                                                  : KeyFromNumber(static_cast<unsigned char>(c));
            if (OnKeyDown) OnKeyDown(key);
            typed += c;
            SetText(typed);
        }
    }
    // A key that types nothing: Enter, or Up and Down, which step the bound
    // spin buttons as in the real field.
    void UserPresses(TKey key) {
        SetFocus();
        if (OnKeyDown) OnKeyDown(key);
        if (boundUpDown && (key == TKey::Up || key == TKey::Down))
            boundUpDown->SetPosition(boundUpDown->Position() + (key == TKey::Up ? 1 : -1));
    }
    IUpDown* boundUpDown = nullptr;

private:
    std::string text_;
};

class RecordingUpDown : public RecordingControl<IUpDown> {
public:
    RecordingUpDown(RecordingControls& owner, std::string name, IEdit& buddy)
        : RecordingControl(owner, std::move(name)), buddy_(buddy) {}
    void SetRange(std::int32_t min, std::int32_t max) override {
        min_ = std::clamp(min, -32768, 32767);
        max_ = std::clamp(max, -32768, 32767);
    }
    std::int32_t Min() const override { return min_; }
    std::int32_t Max() const override { return max_; }
    std::int32_t Position() const override {
        std::string t = buddy_.Text();
        long long v = 0;
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec != std::errc() || end != t.data() + t.size() || t.empty()) return position_;
        return static_cast<std::int32_t>(std::clamp<long long>(v, min_, max_));
    }
    void SetPosition(std::int32_t value) override {
        position_ = std::clamp(value, min_, max_);
        buddy_.SetText(std::to_string(position_));
    }
    // A click on the upper (+1) or lower (-1) button; the focus stays where it is.
    void UserClicks(int step) { SetPosition(Position() + step); }

private:
    IEdit& buddy_;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t position_ = 0;
};

class RecordingComboBox : public RecordingControl<IComboBox> {
public:
    RecordingComboBox(RecordingControls& owner, std::string name, TComboStyle style)
        : RecordingControl(owner, std::move(name)), style_(style) {}
    TComboStyle Style() const { return style_; }
    std::int32_t ItemCount() const override { return static_cast<std::int32_t>(items_.size()); }
    std::string ItemText(std::int32_t index) const override { return items_.at(static_cast<std::size_t>(index)); }
    void SetItemText(std::int32_t index, std::string_view text) override {
        if (index < 0 || index > ItemCount()) throw std::out_of_range("combo entry");
        if (index == ItemCount()) {
            items_.emplace_back(text);
            return;
        }
        items_[static_cast<std::size_t>(index)] = text;
        index_ = -1;
    }
    void Clear() override {
        items_.clear();
        index_ = -1;
        text_.clear();
    }
    std::int32_t ItemIndex() const override { return index_; }
    void SetItemIndex(std::int32_t index) override {
        index_ = index >= 0 && index < ItemCount() ? index : -1;
        if (style_ == TComboStyle::Editable && index_ >= 0) text_ = items_[static_cast<std::size_t>(index_)];
    }
    std::string Text() const override {
        if (style_ == TComboStyle::Editable) return text_;
        return index_ >= 0 ? items_[static_cast<std::size_t>(index_)] : std::string();
    }
    void SetText(std::string_view text) override {
        if (style_ != TComboStyle::Editable) return;
        text_ = text;
        index_ = -1;
    }
    void SetDropDownCount(std::int32_t rows) override { dropDownCount = rows; }

    // The user opens the list and picks an entry.
    void UserPicks(std::int32_t index) {
        SetFocus();
        SetItemIndex(index);
        if (OnSelect) OnSelect();
    }
    // The user types into the field of an editable box; the selection goes.
    void UserTypes(std::string_view text) {
        SetFocus();
        std::string typed;
        for (char c : text) {
            if (OnKeyDown) OnKeyDown(KeyFromNumber(static_cast<unsigned char>(c)));
            typed += c;
            text_ = typed;
            index_ = -1;
        }
    }
    void UserPresses(TKey key) {
        SetFocus();
        if (OnKeyDown) OnKeyDown(key);
    }

    std::int32_t dropDownCount = 8;

private:
    TComboStyle style_;
    std::vector<std::string> items_;
    std::int32_t index_ = -1;
    std::string text_;
};

template <class Interface>
class RecordingCheckable : public RecordingControl<Interface> {
public:
    using RecordingControl<Interface>::RecordingControl;
    void SetCaption(std::string_view text) override { caption_ = text; }
    std::string Caption() const override { return caption_; }
    bool Checked() const override { return checked_; }
    void SetChecked(bool checked) override { checked_ = checked; }

protected:
    std::string caption_;
    bool checked_ = false;
};

class RecordingCheckBox : public RecordingCheckable<ICheckBox> {
public:
    using RecordingCheckable::RecordingCheckable;
    void UserClicks() {
        SetFocus();
        checked_ = !checked_;
        if (OnClick) OnClick();
    }
};

class RecordingRadioButton : public RecordingCheckable<IRadioButton> {
public:
    using RecordingCheckable::RecordingCheckable;
    // Checking one radio button unchecks the others of its container.
    std::vector<RecordingRadioButton*>* group = nullptr;
    void UserClicks() {
        SetFocus();
        if (group)
            for (auto* r : *group) r->checked_ = false;
        checked_ = true;
        if (OnClick) OnClick();
    }
};

class RecordingCheckListBox : public RecordingControl<ICheckListBox> {
public:
    using RecordingControl::RecordingControl;
    std::int32_t ItemCount() const override { return static_cast<std::int32_t>(items_.size()); }
    std::string ItemText(std::int32_t index) const override { return items_.at(static_cast<std::size_t>(index)).text; }
    void SetItemText(std::int32_t index, std::string_view text) override {
        if (index < 0 || index > ItemCount()) throw std::out_of_range("check list entry");
        if (index == ItemCount())
            items_.push_back({std::string(text), false});
        else
            items_[static_cast<std::size_t>(index)].text = text;
    }
    bool Checked(std::int32_t index) const override { return items_.at(static_cast<std::size_t>(index)).checked; }
    void SetChecked(std::int32_t index, bool checked) override { items_.at(static_cast<std::size_t>(index)).checked = checked; }
    std::int32_t ItemIndex() const override { return index_; }
    void SetItemIndex(std::int32_t index) override { index_ = index >= 0 && index < ItemCount() ? index : -1; }
    void SetItemHeight(std::int32_t pixels) override { itemHeight = pixels; }
    void SetHorizontalExtent(std::int32_t pixels) override { horizontalExtent = pixels; }
    void Repaint() override { ++repaints; }

    void UserToggles(std::int32_t index) {
        SetFocus();
        index_ = index;
        auto& item = items_.at(static_cast<std::size_t>(index));
        item.checked = !item.checked;
        if (OnClickCheck) OnClickCheck();
    }
    void UserHovers() {
        if (OnMouseMove) OnMouseMove();
    }

    std::int32_t itemHeight = 0;
    std::int32_t horizontalExtent = 0;
    int repaints = 0;

private:
    struct Item {
        std::string text;
        bool checked;
    };
    std::vector<Item> items_;
    std::int32_t index_ = -1;
};

class RecordingColorBox : public RecordingControl<IColorBox> {
public:
    using RecordingControl::RecordingControl;
    void SetSelected(TColor color) override {
        for (std::size_t i = 0; i < kNamedColors.size(); ++i)
            if (kNamedColors[i].color == color) {
                index_ = static_cast<std::int32_t>(i) + 1;
                return;
            }
        custom_ = color;
        index_ = 0;
    }
    TColor Selected() const override { return ItemColor(index_); }
    std::int32_t ItemIndex() const override { return index_; }
    std::int32_t ItemCount() const override { return 1 + static_cast<std::int32_t>(kNamedColors.size()); }
    std::string ItemText(std::int32_t index) const override {
        if (const auto named = names_.find(index); named != names_.end()) return named->second;
        return std::string(index == 0 ? kCustomColorName : kNamedColors.at(static_cast<std::size_t>(index - 1)).name);
    }
    void SetItemText(std::int32_t index, std::string_view text) override {
        if (index >= 0 && index < ItemCount()) names_[index] = std::string(text);
    }
    TColor ItemColor(std::int32_t index) const override {
        return index == 0 ? custom_ : kNamedColors.at(static_cast<std::size_t>(index - 1)).color;
    }
    void SetItemHeight(std::int32_t pixels) override { itemHeight = pixels; }

    // The user picks a named entry.
    void UserPicks(std::int32_t index) {
        SetFocus();
        index_ = index;
        if (OnChange) OnChange();
    }
    // The user picks "Custom..." and accepts `color` in the dialog.
    void UserChoosesCustom(TColor color) {
        SetFocus();
        custom_ = color;
        index_ = 0;
        if (OnChange) OnChange();
    }

    std::int32_t itemHeight = 0;

private:
    std::int32_t index_ = 0;
    TColor custom_ = 0;
    std::map<std::int32_t, std::string> names_;  // entries renamed by the program
};

class RecordingTrackBar : public RecordingControl<ITrackBar> {
public:
    using RecordingControl::RecordingControl;
    void SetRange(std::int32_t min, std::int32_t max) override {
        min_ = min;
        max_ = max;
        position_ = std::clamp(position_, min_, max_);
    }
    void SetPageSize(std::int32_t step) override { pageSize = step; }
    void SetTickFrequency(std::int32_t step) override { tickFrequency = step; }
    std::int32_t Position() const override { return position_; }
    void SetPosition(std::int32_t value) override { position_ = std::clamp(value, min_, max_); }
    void UserDrags(std::int32_t value) {
        SetFocus();
        std::int32_t v = std::clamp(value, min_, max_);
        if (v == position_) return;
        position_ = v;
        if (OnChange) OnChange();
    }
    std::int32_t pageSize = 0;
    std::int32_t tickFrequency = 0;

private:
    std::int32_t min_ = 0;
    std::int32_t max_ = 10;
    std::int32_t position_ = 0;
};

class RecordingButton : public RecordingControl<IButton> {
public:
    using RecordingControl::RecordingControl;
    void SetCaption(std::string_view text) override { caption_ = text; }
    std::string Caption() const override { return caption_; }
    void SetDefault(bool value) override { isDefault = value; }
    void UserClicks() {
        SetFocus();
        if (OnClick) OnClick();
    }
    bool isDefault = false;

private:
    std::string caption_;
};

class RecordingPicture : public RecordingControl<IPicture> {
public:
    using RecordingControl::RecordingControl;
    void SetPicture(const TIcon& icon) override { picture = icon; }
    TIcon picture;
};

class RecordingTabControl : public RecordingControl<ITabControl> {
public:
    using RecordingControl::RecordingControl;
    IContainer& AddPage(std::string_view name);
    std::int32_t PageCount() const override { return static_cast<std::int32_t>(captions_.size()); }
    void SetTabCaption(std::int32_t page, std::string_view text) override { captions_.at(static_cast<std::size_t>(page)) = text; }
    std::string TabCaption(std::int32_t page) const override { return captions_.at(static_cast<std::size_t>(page)); }
    std::int32_t ActivePage() const override { return active_; }
    void SetActivePage(std::int32_t page) override { active_ = page >= 0 && page < PageCount() ? page : -1; }
    // Tabs of a fixed height side by side; tests set the height to see the layout follow it.
    // With `emptyUntilSized`, nothing is reported while the control has no
    // size, as Windows' tab control does.
    TRect TabRect(std::int32_t page) const override {
        if (emptyUntilSized && (Bounds().Width() <= 0 || Bounds().Height() <= 0)) return {};
        return {page * 40, 2, page * 40 + 40, 2 + tabHeight};
    }
    void UserChoosesPage(std::int32_t page) {
        SetActivePage(page);
        if (OnChange) OnChange();
    }
    std::int32_t tabHeight = 18;
    bool emptyUntilSized = false;

private:
    std::vector<std::string> captions_;
    std::int32_t active_ = -1;
};

// The control set: owns every control, tracks the focus, finds controls by name.
class RecordingControls : public IControls {
public:
    RecordingControls() : client_(*this, "Client") {}

    IContainer& Client() override { return client_; }
    IContainer& CreatePanel(IContainer&, std::string_view name) override { return Add<RecordingContainer>(name); }
    ITabControl& CreateTabControl(IContainer&, std::string_view name) override {
        auto& tabs = Add<RecordingTabControl>(name);
        tabs.tabHeight = tabHeight;
        tabs.emptyUntilSized = tabsEmptyUntilSized;
        return tabs;
    }
    // What the next tab control reports: its tab height, and nothing until sized.
    std::int32_t tabHeight = 18;
    bool tabsEmptyUntilSized = false;
    IGroupBox& CreateGroupBox(IContainer&, std::string_view name) override { return Add<RecordingGroupBox>(name); }
    ILabel& CreateLabel(IContainer&, std::string_view name, TLabelSizing sizing) override {
        return Add<RecordingLabel>(name, sizing);
    }
    IEdit& CreateEdit(IContainer&, std::string_view name) override { return Add<RecordingEdit>(name); }
    IUpDown& CreateUpDown(IContainer&, std::string_view name, IEdit& buddy) override {
        auto& u = Add<RecordingUpDown>(name, buddy);
        static_cast<RecordingEdit&>(buddy).boundUpDown = &u;
        return u;
    }
    IComboBox& CreateComboBox(IContainer&, std::string_view name, TComboStyle style) override {
        return Add<RecordingComboBox>(name, style);
    }
    IRadioButton& CreateRadioButton(IContainer& parent, std::string_view name) override {
        auto& r = Add<RecordingRadioButton>(name);
        auto& group = radioGroups_[&parent];
        group.push_back(&r);
        r.group = &group;
        return r;
    }
    ICheckBox& CreateCheckBox(IContainer&, std::string_view name) override { return Add<RecordingCheckBox>(name); }
    ICheckListBox& CreateCheckListBox(IContainer&, std::string_view name) override {
        return Add<RecordingCheckListBox>(name);
    }
    IColorBox& CreateColorBox(IContainer&, std::string_view name) override { return Add<RecordingColorBox>(name); }
    ITrackBar& CreateTrackBar(IContainer&, std::string_view name) override { return Add<RecordingTrackBar>(name); }
    IButton& CreateButton(IContainer&, std::string_view name) override { return Add<RecordingButton>(name); }
    IPicture& CreatePicture(IContainer&, std::string_view name) override { return Add<RecordingPicture>(name); }

    // The control of that name and kind; a test that asks for a missing one fails loudly.
    template <class T>
    T& Get(std::string_view name) {
        auto it = byName_.find(std::string(name));
        if (it == byName_.end()) throw std::out_of_range("no control named " + std::string(name));
        auto* c = dynamic_cast<T*>(it->second);
        if (!c) throw std::out_of_range("control " + std::string(name) + " is of another kind");
        return *c;
    }
    // Names in creation order, which is the keyboard order within each container.
    const std::vector<std::string>& CreationOrder() const { return order_; }

    // Moves the focus, telling an edit that loses it.
    void MoveFocus(IControl* to) {
        if (focused_ == to) return;
        IControl* from = focused_;
        focused_ = to;
        if (auto* e = dynamic_cast<IEdit*>(from); e && e->OnExit) e->OnExit();
    }
    IControl* FocusedControl() const { return focused_; }

    // A tab page: a plain container made by its tab control.
    IContainer& AddPageContainer(std::string_view name) { return Add<RecordingContainer>(name); }

private:
    template <class T, class... Args>
    T& Add(std::string_view name, Args&&... args) {
        if (byName_.count(std::string(name))) throw std::logic_error("two controls named " + std::string(name));
        auto c = std::make_unique<T>(*this, std::string(name), std::forward<Args>(args)...);
        T& ref = *c;
        byName_[std::string(name)] = c.get();
        order_.emplace_back(name);
        owned_.push_back(std::move(c));
        return ref;
    }

    RecordingContainer client_;
    std::vector<std::unique_ptr<IControl>> owned_;
    std::map<std::string, IControl*> byName_;
    std::vector<std::string> order_;
    std::map<IContainer*, std::vector<RecordingRadioButton*>> radioGroups_;
    IControl* focused_ = nullptr;
};

template <class Interface>
void RecordingControl<Interface>::SetFocus() {
    owner_.MoveFocus(this);
}

template <class Interface>
bool RecordingControl<Interface>::Focused() const {
    return owner_.FocusedControl() == this;
}

inline IContainer& RecordingTabControl::AddPage(std::string_view name) {
    captions_.emplace_back();
    return owner_.AddPageContainer(name);
}

// A toolkit that hands out one recording control set and keeps a pointer to it.
class RecordingToolkit : public IControlToolkit {
public:
    std::unique_ptr<IControls> CreateControls(IControlHost&) override {
        auto c = std::make_unique<RecordingControls>();
        c->tabHeight = tabHeight;
        c->tabsEmptyUntilSized = tabsEmptyUntilSized;
        last = c.get();
        return c;
    }
    RecordingControls* last = nullptr;
    // What the tab controls of new control sets report.
    std::int32_t tabHeight = 18;
    bool tabsEmptyUntilSized = false;
};

}  // namespace ratiscope::testing
