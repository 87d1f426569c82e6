// The plain Win32 controls: labels, check boxes, radio buttons, push buttons,
// the track bar and the picture.
#pragma once

#include <functional>
#include <vector>

#include "platform/Image.h"
#include "platform/win32/Win32ControlBase.h"

namespace ratiscope {

class TWin32Label final : public TWin32Control<ILabel> {
public:
    TWin32Label(HWND window, std::string_view name, TWin32Fonts& fonts, TLabelSizing sizing);
    void SetBounds(TRect bounds) override;
    void SetFont(const TFont& font) override;
    void SetCaption(std::string_view text) override;
    std::string Caption() const override { return WindowTextUtf8(Handle()); }

private:
    void Fit();
    TLabelSizing sizing_;
};

// Checks or clears a button; checking a radio button clears the other radio
// buttons of its container, as a click would.
void SetButtonChecked(HWND button, bool checked);

// Gives a check box or radio button placed at `designed` the width its box and
// caption need, when that is more, as far as the room beside it allows.
void FitCheckableCaption(HWND button, TRect designed);

// A check box or a radio button: the native automatic button of that kind.
template <class Interface>
class TWin32Checkable final : public TWin32Control<Interface> {
public:
    using TWin32Control<Interface>::TWin32Control;
    // A caption that is longer than the designed width has room for widens
    // the button, so that it is never cut.
    void SetBounds(TRect bounds) override {
        designed_ = bounds;
        TWin32Control<Interface>::SetBounds(bounds);
        FitCheckableCaption(this->Handle(), designed_);
    }
    void SetFont(const TFont& font) override {
        TWin32Control<Interface>::SetFont(font);
        FitCheckableCaption(this->Handle(), designed_);
    }
    void SetCaption(std::string_view text) override {
        SetWindowTextUtf8(this->Handle(), text);
        FitCheckableCaption(this->Handle(), designed_);
    }
    std::string Caption() const override { return WindowTextUtf8(this->Handle()); }
    bool Checked() const override { return SendMessageW(this->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) override { SetButtonChecked(this->Handle(), checked); }
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
        result = 0;
        if (this->OnClick) this->OnClick();
        return true;
    }

private:
    TRect designed_{};
};

using TWin32CheckBox = TWin32Checkable<ICheckBox>;
using TWin32RadioButton = TWin32Checkable<IRadioButton>;

class TWin32Button final : public TWin32Control<IButton> {
public:
    TWin32Button(HWND window, std::string_view name, TWin32Fonts& fonts,
                 std::function<void(TWin32Button*, bool)> setDefault);
    void SetCaption(std::string_view text) override { SetWindowTextUtf8(Handle(), text); }
    std::string Caption() const override { return WindowTextUtf8(Handle()); }
    void SetDefault(bool isDefault) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Clicks it when it is shown and enabled; false otherwise.
    bool PressIfShown();

private:
    std::function<void(TWin32Button*, bool)> setDefault_;
};

class TWin32TrackBar final : public TWin32Control<ITrackBar> {
public:
    using TWin32Control::TWin32Control;
    // The thumb takes the height the tick marks on both sides leave it.
    void SetBounds(TRect bounds) override;
    void SetRange(std::int32_t min, std::int32_t max) override;
    void SetPageSize(std::int32_t step) override;
    void SetTickFrequency(std::int32_t step) override;
    std::int32_t Position() const override;
    void SetPosition(std::int32_t value) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::int32_t reported_ = 0;  // the position OnChange last told (or the program set)
};

// The thumb length of a track bar `height` pixels high with tick marks on both sides.
std::int32_t TrackBarThumbLength(std::int32_t height);

// The size a picture is shown at in a box: its own when it fits, else scaled
// down to fit, keeping its proportions (at least one pixel each way).
TSize FitPicture(TSize picture, TSize box);

// The icon drawn by its owner, its masked-out pixels showing the container's background.
class TWin32Picture final : public TWin32Control<IPicture> {
public:
    using TWin32Control::TWin32Control;
    void SetBounds(TRect bounds) override;
    void SetPicture(const TIcon& icon) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void Draw(HDC dc, const RECT& box) const;
    // Premultiplied 0xAARRGGBB, top-down: opaque pixels alpha 255, masked ones all 0.
    std::vector<std::uint32_t> pixels_;
    TSize size_{0, 0};
};

}  // namespace ratiscope
