// The paint pass's figure and chrome as canvas calls: the caption, its colour and the marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "overlay/Renderer.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"
#include "support/RecordingCanvas.h"

namespace ratiscope {
namespace {

using Calls = std::vector<std::string>;

// Icons of the right sizes; the recording canvas writes down only the size.
TOverlayIcons SizedIcons() {
    TOverlayIcons icons;
    icons.TLCorner = TIcon(TImage(16, 16), std::vector<std::uint8_t>(16 * 16, 1));
    icons.Caption = TIcon(TImage(32, 16), std::vector<std::uint8_t>(32 * 16, 1));
    icons.TRCorner = TIcon(TImage(64, 16), std::vector<std::uint8_t>(64 * 16, 1));
    icons.BRCorner = TIcon(TImage(24, 24), std::vector<std::uint8_t>(24 * 24, 1));
    return icons;
}

// The language table is program-wide; each test starts and ends with it empty.
class Renderer : public ::testing::Test {
protected:
    void SetUp() override { ClearLanguageTable(); }
    void TearDown() override { ClearLanguageTable(); }
    TSettings s{1920};  // 396 x 245, border 12, look 1, values and frame on
};

// The calls from the first DrawIcon on: the chrome.
Calls Chrome(const Calls& calls) {
    const auto first = std::find_if(calls.begin(), calls.end(), [](const std::string& c) {
        return c.rfind("DrawIcon", 0) == 0;
    });
    return Calls(first, calls.end());
}

TEST_F(Renderer, ExecutesPolylinesAndCirclesAsListed) {
    s.SetLookMode(TLook::Circles);
    s.SetShowValues(false);
    s.SetSFrame(false);
    TRecordingCanvas c;
    ComposeImage(c, s, SizedIcons(), true);
    EXPECT_EQ(Calls(c.calls.begin() + 4, c.calls.begin() + 9), (Calls{
                                                                   "MoveTo 12,28",
                                                                   "LineTo 408,28",
                                                                   "LineTo 408,273",
                                                                   "LineTo 12,273",
                                                                   "LineTo 12,28",
                                                               }));
    const Calls circles = c.CallsOf("Ellipse");
    ASSERT_FALSE(circles.empty());
    EXPECT_EQ(circles.front(), "Ellipse 12,-48,409,349");  // as wide as the section, about (210, 150)
    EXPECT_EQ(c.CallsOf("MoveTo").size(), 3u);            // frame and the two halves
}

TEST_F(Renderer, CaptionColourFollowsActivation) {
    for (bool active : {true, false}) {
        TRecordingCanvas c;
        ComposeImage(c, s, SizedIcons(), active);
        const Calls chrome = Chrome(c.calls);
        EXPECT_NE(std::find(chrome.begin(), chrome.end(), active ? "SetTextColor 8421504" : "SetTextColor 12632256"),
                  chrome.end());
    }
}

TEST_F(Renderer, CaptionNamesTheLookFromTheLanguageTable) {
    struct Case {
        int look;
        const char* caption;
    };
    MergeLangPair("MSLook0", "Grid");
    MergeLangPair("MSLook13", "Single golden lines");
    MergeLangPair("MSLook14", "Golden triangles");
    MergeLangPair("MSLook15", "Diagonal method");
    MergeLangPair("MSLook" + std::to_string(kBuiltInLookCount), "never shown");
    const Case cases[] = {
        {0, "Vendrel Ratiscope - Grid"},
        {13, "Vendrel Ratiscope - Single golden lines"},
        {5, "Vendrel Ratiscope - MSLook5"},  // a key nobody defined shows as itself
        {14, "Vendrel Ratiscope - Golden triangles"},
        {15, "Vendrel Ratiscope - Diagonal method"},
        {kBuiltInLookCount, "Vendrel Ratiscope - "},
        {-1, "Vendrel Ratiscope - "},
        {1000000, "Vendrel Ratiscope - "},
    };
    for (const Case& k : cases) {
        s.SetLookMode(TLook{k.look});
        TRecordingCanvas c;
        ComposeImage(c, s, SizedIcons(), true);
        EXPECT_EQ(c.calls.back(), std::string("DrawTextInBox \"") + k.caption + "\" 14,1,356,15 10") << k.look;
    }
}

TEST_F(Renderer, OutsideTheLooksOnlyKeyAndChrome) {
    for (int look : {kBuiltInLookCount, -1}) {
        s.SetLookMode(TLook{look});
        TRecordingCanvas c;
        ComposeImage(c, s, SizedIcons(), true);
        EXPECT_TRUE(c.CallsOf("LineTo").empty());
        EXPECT_TRUE(c.CallsOf("Ellipse").empty());
        EXPECT_TRUE(c.CallsOf("TextOut").empty());
        EXPECT_EQ(c.CallsOf("DrawTextInBox").size(), 1u);  // the caption
    }
}

TEST_F(Renderer, WithoutValuesNoTextButTheCaption) {
    s.SetShowValues(false);
    s.SetLock(false);
    for (int look = 0; look <= 13; ++look)
        for (int orient = 0; orient < 4; ++orient) {
            s.SetLookMode(TLook{look});
            s.SetOrientMode(TOrientation{orient});
            TRecordingCanvas c;
            ComposeImage(c, s, SizedIcons(), true);
            EXPECT_TRUE(c.CallsOf("TextOut").empty()) << look << "/" << orient;
            EXPECT_EQ(c.CallsOf("DrawTextInBox").size(), 1u) << look << "/" << orient;
            EXPECT_FALSE(c.CallsOf("LineTo").empty() && c.CallsOf("Ellipse").empty()) << look << "/" << orient;
        }
}

TEST_F(Renderer, WithoutFrameNoChrome) {
    s.SetSFrame(false);
    TRecordingCanvas c;
    ComposeImage(c, s, SizedIcons(), true);
    EXPECT_TRUE(c.CallsOf("DrawIcon").empty());
    EXPECT_TRUE(c.CallsOf("SetTextColor 8421504").empty());
    for (const auto& t : c.CallsOf("DrawTextInBox")) EXPECT_EQ(t.find("Vendrel"), std::string::npos);
    TRecordingCanvas mark;
    DrawOrientMark(mark, s, 420);
    EXPECT_TRUE(mark.calls.empty());
}

TEST_F(Renderer, NarrowWindowStillDrawsTheFirstCaptionTile) {
    s.SetLock(false);
    s.SetBorder(0);
    s.SetWidth(58);  // window 58 wide: the strip starts at -6
    TRecordingCanvas c;
    ComposeImage(c, s, SizedIcons(), true);
    EXPECT_EQ(c.CallsOf("DrawIcon"), (Calls{"DrawIcon 16x16 0,0", "DrawIcon 32x16 16,0", "DrawIcon 64x16 -6,0",
                                            "DrawIcon 24x24 34," + std::to_string(s.Height + 16 - 24)}));
    EXPECT_EQ(c.CallsOf("DrawTextInBox").back(), "DrawTextInBox \"Vendrel Ratiscope - MSLook1\" 14,1,-6,15 10");
}

TEST_F(Renderer, OrientationMarkShowsTheOriginCorner) {
    struct Case {
        int orient;
        Calls calls;
    };
    const Case cases[] = {
        {0, {"SetPenColor 8421504", "MoveTo 361,10", "LineTo 361,5", "LineTo 366,5"}},
        {1, {"SetPenColor 8421504", "MoveTo 361,5", "LineTo 366,5", "LineTo 366,11"}},
        {2, {"SetPenColor 8421504", "MoveTo 366,5", "LineTo 366,10", "LineTo 361,10"}},
        {3, {"SetPenColor 8421504", "MoveTo 366,10", "LineTo 361,10", "LineTo 361,4"}},
        {7, {"SetPenColor 8421504", "MoveTo 366,10", "LineTo 361,10", "LineTo 361,4"}},
        {-1, {"SetPenColor 8421504", "MoveTo 366,10", "LineTo 361,10", "LineTo 361,4"}},
    };
    for (const Case& k : cases) {
        s.SetOrientMode(TOrientation{k.orient});
        TRecordingCanvas c;
        DrawOrientMark(c, s, 420);
        EXPECT_EQ(c.calls, k.calls) << k.orient;
    }
}

}  // namespace
}  // namespace ratiscope
