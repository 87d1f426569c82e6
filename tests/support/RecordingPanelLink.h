// A stand-in for the settings panel as the overlay window sees it: it keeps
// its place, page and visibility and writes every request into a shared log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "overlay/PanelLink.h"

namespace ratiscope::testing {

class TRecordingPanelLink final : public IPanelLink {
public:
    explicit TRecordingPanelLink(std::vector<std::string>& log) : log_(log) {}
    bool shown = true;
    std::int32_t left = 1739;
    std::int32_t top = 10;
    std::int32_t page = 2;
    void RequestRepaint() override { log_.push_back("panel.RequestRepaint"); }
    void ToggleVisible() override {
        shown = !shown;
        log_.push_back(shown ? "panel.Show+BringToFront" : "panel.Hide");
    }
    void SetShown(bool s) override {
        shown = s;
        log_.push_back(shown ? "panel.Show" : "panel.Hide");
    }
    std::int32_t Left() const override { return left; }
    std::int32_t Top() const override { return top; }
    bool IsShown() const override { return shown; }
    std::int32_t ActivePage() const override { return page; }

private:
    std::vector<std::string>& log_;
};

}  // namespace ratiscope::testing
