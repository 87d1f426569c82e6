// The one-line edit and the up-down control bound to it.
#pragma once

#include <functional>
#include <optional>

#include "platform/win32/Win32ControlBase.h"

namespace ratiscope {

class TWin32Edit final : public TWin32Control<IEdit> {
public:
    // `pressDefault` clicks the window's default button; Enter in the field
    // reaches OnKeyDown first and then the default button.
    TWin32Edit(HWND window, std::string_view name, TWin32Fonts& fonts, std::function<bool()> pressDefault);
    std::string Text() const override { return WindowTextUtf8(Handle()); }
    void SetText(std::string_view text) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Puts the field's own key handling in front of the up-down's, which
    // subclasses the field when it is bound and would take Up and Down unseen.
    void TakeKeysFirst() { Subclass(Handle()); }

private:
    std::function<bool()> pressDefault_;
    std::string shown_;  // the text OnChange last saw, so an unchanged text reports nothing
};

// The spin buttons: a native up-down bound to the field, which sets the
// field's text and steps it with the arrow keys.
class TWin32UpDown final : public TWin32Control<IUpDown> {
public:
    TWin32UpDown(HWND window, std::string_view name, TWin32Fonts& fonts, TWin32Edit& buddy);
    void SetRange(std::int32_t min, std::int32_t max) override;
    std::int32_t Min() const override { return min_; }
    std::int32_t Max() const override { return max_; }
    std::int32_t Position() const override;
    void SetPosition(std::int32_t value) override;

private:
    TWin32Edit& buddy_;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
};

// The whole number a field shows, when all of its text is one.
std::optional<long long> ReadWholeNumber(std::string_view text);

}  // namespace ratiscope
