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
#include "support/RecordingPanelLink.h"
#include "support/RecordingWindowSystem.h"

namespace ratiscope::testing {

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
            [this] { return icons; },
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
    // What the form loads as its icons.
    TOverlayIcons icons = SizedIcons();
    TRecordingPanelLink panel{ws.log};
    std::unique_ptr<TMainForm> form;
    TRecordingWindow* window = nullptr;
};

}  // namespace ratiscope::testing
