// The multi-row native tab control, its pages children of it laid over its
// display area.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/Win32Containers.h"

namespace ratiscope {

class TWin32TabControl final : public TWin32Control<ITabControl> {
public:
    // Makes the window of a page inside `tab`, hidden.
    using TPageFactory = std::function<std::unique_ptr<TWin32Container>(HWND tab, std::string_view name)>;

    TWin32TabControl(HWND window, std::string_view name, TWin32Fonts& fonts, TPageFactory makePage);
    ~TWin32TabControl() override;
    IContainer& AddPage(std::string_view name) override;
    std::int32_t PageCount() const override { return static_cast<std::int32_t>(pages_.size()); }
    void SetTabCaption(std::int32_t page, std::string_view text) override;
    std::string TabCaption(std::int32_t page) const override;
    std::int32_t ActivePage() const override;
    void SetActivePage(std::int32_t page) override;
    TRect TabRect(std::int32_t page) const override;
    void SetBounds(TRect bounds) override;
    void SetFont(const TFont& font) override;
    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    TWin32Container& Page(std::int32_t page) { return *pages_.at(static_cast<std::size_t>(page)); }
    // The area the pages cover, in the tab control's client pixels.
    TRect PageArea() const;

private:
    // Lays the pages over the display area (which moves when the rows of tabs
    // change) and shows the chosen one alone.
    void Layout();
    TPageFactory makePage_;
    std::vector<std::unique_ptr<TWin32Container>> pages_;
    TSize brushSize_{0, 0};  // the page size the themed page brush was painted for
};

// A pattern brush of the theme's tab page body at `size`; null when the
// application is not themed, and the pages keep the dialog face colour.
HBRUSH ThemedPageBrush(HWND tab, TSize size);

}  // namespace ratiscope
