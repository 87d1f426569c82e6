// A TMainForm on a recording window system with a stand-in panel, the way the
// program entry wires it, for the window, mouse and key tests.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "overlay/MainFrm.h"
#include "platform/RasterOffscreen.h"
#include "settings/Settings.h"
#include "support/FakeTextEngine.h"
#include "support/RecordingWindowSystem.h"

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
    std::int32_t Left() const override { return left; }
    std::int32_t Top() const override { return top; }
    bool IsShown() const override { return shown; }
    std::int32_t ActivePage() const override { return page; }

private:
    std::vector<std::string>& log_;
};

// Icons of the right sizes whose pixels are all opaque grey.
inline TIcon SolidIcon(std::int32_t w, std::int32_t h) {
    return TIcon(TImage(w, h, PixelFromColor(kChromeGrey)), std::vector<std::uint8_t>(static_cast<std::size_t>(w * h), 1));
}

inline TOverlayIcons SizedIcons() {
    TOverlayIcons icons;
    icons.Caption = SolidIcon(32, 16);
    icons.TLCorner = SolidIcon(16, 16);
    icons.TLCorners = SolidIcon(16, 16);
    icons.TRCorner = SolidIcon(64, 16);
    icons.TRCorner2 = SolidIcon(37, 16);
    icons.BRCorner = SolidIcon(24, 24);
    return icons;
}

class MainFormTest : public ::testing::Test {
protected:
    void Create() {
        TMainFormServices services{
            ws,
            [this](TSize size) { return std::make_unique<TRasterOffscreen>(text, size.width, size.height); },
            [] { return SizedIcons(); },
            [this] { ws.log.push_back("OpenManual"); },
        };
        form = std::make_unique<TMainForm>(settings, std::move(services));
        form->FormCreate();
        window = ws.windows.at(0);
        form->SetPanel(&panel);
    }

    // The window's client size.
    TSize Client() const { return window->size; }
    std::size_t Mark() const { return ws.log.size(); }
    bool Logged(std::size_t mark, const std::string& line) const {
        for (const auto& l : ws.Since(mark))
            if (l == line) return true;
        return false;
    }

    TRecordingWindowSystem ws;
    TSettings settings{1920};
    TFakeTextEngine text;
    TRecordingPanelLink panel{ws.log};
    std::unique_ptr<TMainForm> form;
    TRecordingWindow* window = nullptr;
};

}  // namespace ratiscope::testing
