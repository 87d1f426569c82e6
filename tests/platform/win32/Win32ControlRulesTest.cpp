// The rules of the Win32 controls that need no window: which colour entry a
// colour selects, where swatches go, how a picture fits its box, which combo
// box notifications are the user's picks, and what a field's text reads as.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/Win32ColorBox.h"
#include "platform/win32/Win32EditControls.h"
#include "platform/win32/Win32ListControls.h"
#include "platform/win32/Win32SimpleControls.h"

namespace ratiscope {
namespace {

TEST(ColorEntryOf, NamedColoursFindTheirEntryAndOthersTheCustomOne) {
    struct Case {
        TColor color;
        std::int32_t entry;
    };
    const std::vector<Case> cases = {
        {0x000000, 1},   // Black, right after "Custom..."
        {0x0000FF, 10},  // Red is red in the lowest byte
        {0xFF0000, 13},  // Blue
        {0xFFFFFF, 16},  // White
        {0xC0DCC0, 17},  // Money Green
        {0xA4A0A0, 20},  // Medium Gray, the last
        {0x010203, 0},
        {0x808081, 0},
        {0xFFFFFFFF, 0},  // not a colour value at all
    };
    for (const Case& c : cases) EXPECT_EQ(ColorEntryOf(c.color), c.entry) << std::hex << c.color;
}

TEST(ColorSwatchRect, TwoByOneInsideTheRow) {
    struct Case {
        TRect row;
        TRect swatch;
    };
    const std::vector<Case> cases = {
        {{0, 0, 120, 16}, {2, 2, 26, 14}},
        {{0, 32, 120, 48}, {2, 34, 26, 46}},  // third row of a list
        {{5, 0, 80, 24}, {7, 2, 47, 22}},     // scaled to 150 per cent
        {{0, 0, 50, 3}, {2, 2, 4, 3}},        // never thinner than one pixel
    };
    for (const Case& c : cases) {
        const TRect s = ColorSwatchRect(c.row);
        EXPECT_EQ(s.left, c.swatch.left);
        EXPECT_EQ(s.top, c.swatch.top);
        EXPECT_EQ(s.right, c.swatch.right);
        EXPECT_EQ(s.bottom, c.swatch.bottom);
    }
}

TEST(FitPicture, OnlyLargerPicturesShrinkKeepingTheirProportions) {
    struct Case {
        TSize picture, box, shown;
    };
    const std::vector<Case> cases = {
        {{32, 32}, {48, 48}, {32, 32}},  // fits: own size, never enlarged
        {{32, 32}, {32, 32}, {32, 32}},
        {{64, 32}, {32, 32}, {32, 16}},  // too wide
        {{32, 64}, {40, 32}, {16, 32}},  // too tall
        {{100, 50}, {30, 40}, {30, 15}},
        {{300, 1}, {30, 30}, {30, 1}},   // at least one pixel high
        {{0, 10}, {30, 30}, {0, 0}},     // no picture
        {{10, 10}, {0, 0}, {1, 1}},      // no box: one pixel
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitPicture(c.picture, c.box), c.shown) << c.picture.width << "x" << c.picture.height;
}

TEST(TrackBarThumbLength, LeavesRoomForTicksAboveAndBelow) {
    EXPECT_EQ(TrackBarThumbLength(33), 19);  // the panel's bar at 96 dots per inch
    EXPECT_EQ(TrackBarThumbLength(50), 23);  // never longer than the system's own thumb
    EXPECT_EQ(TrackBarThumbLength(20), 8);   // nor too short to grab
    EXPECT_EQ(TrackBarThumbLength(0), 8);
}

TEST(ComboPicks, ClosedChangesAndClosingOnAnEntryArePicksBrowsingIsNot) {
    struct Case {
        const char* what;
        std::vector<int> codes;
        int picks;
    };
    const std::vector<Case> cases = {
        {"arrow key on the closed box", {CBN_SELCHANGE}, 1},
        {"closed box reporting both", {CBN_SELENDOK, CBN_SELCHANGE}, 1},
        {"open, browse, click", {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}, 1},
        {"open, browse, cancel", {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}, 0},
        {"open and close, then arrow", {CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELCHANGE}, 1},
        {"typing", {CBN_EDITUPDATE, CBN_EDITCHANGE}, 0},
    };
    for (const Case& c : cases) {
        TComboPicks picks;
        int n = 0;
        for (int code : c.codes) n += picks.Notify(code) ? 1 : 0;
        EXPECT_EQ(n, c.picks) << c.what;
    }
}

TEST(ColorChoice, OneChoicePerUserActionWhateverTheOrderOfItsNotifications) {
    // Each action is the notifications one click or key brings, in an order
    // Windows or Wine may send them; the gathering ends after each action.
    struct Case {
        const char* what;
        std::vector<std::vector<int>> actions;
        int choices;
    };
    const std::vector<Case> cases = {
        {"arrow key on the closed box", {{CBN_SELCHANGE}}, 1},
        {"closed box reporting both", {{CBN_SELENDOK, CBN_SELCHANGE}}, 1},
        {"click: ok, close-up, change (Wine)", {{CBN_DROPDOWN}, {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}}, 1},
        {"click: ok, change, close-up", {{CBN_DROPDOWN}, {CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP}}, 1},
        {"click: change, ok, close-up", {{CBN_DROPDOWN}, {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}}, 1},
        {"click: change, close-up, ok", {{CBN_DROPDOWN}, {CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDOK}}, 1},
        {"click: close-up, ok, change", {{CBN_DROPDOWN}, {CBN_CLOSEUP, CBN_SELENDOK, CBN_SELCHANGE}}, 1},
        {"click: close-up, change, ok", {{CBN_DROPDOWN}, {CBN_CLOSEUP, CBN_SELCHANGE, CBN_SELENDOK}}, 1},
        {"click on the entry already chosen", {{CBN_DROPDOWN}, {CBN_SELENDOK, CBN_CLOSEUP}}, 1},
        {"browse with keys, then Enter", {{CBN_DROPDOWN}, {CBN_SELCHANGE}, {CBN_SELCHANGE}, {CBN_SELENDOK, CBN_CLOSEUP}}, 1},
        {"browse, then cancel (Wine)", {{CBN_DROPDOWN}, {CBN_SELCHANGE}, {CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_SELCHANGE}}, 0},
        {"browse, then cancel", {{CBN_DROPDOWN}, {CBN_SELCHANGE}, {CBN_CLOSEUP, CBN_SELENDCANCEL}}, 0},
        {"open and close, then arrow", {{CBN_DROPDOWN}, {CBN_SELENDCANCEL, CBN_CLOSEUP}, {CBN_SELCHANGE}}, 1},
        {"two clicks in a row", {{CBN_DROPDOWN}, {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE},
                                 {CBN_DROPDOWN}, {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}}, 2},
        {"three arrow keys", {{CBN_SELCHANGE}, {CBN_SELCHANGE}, {CBN_SELCHANGE}}, 3},
        {"focus and typing", {{CBN_SETFOCUS}, {CBN_EDITUPDATE, CBN_EDITCHANGE}, {CBN_KILLFOCUS}}, 0},
    };
    for (const Case& c : cases) {
        TColorChoice choice;
        int choices = 0;
        for (const std::vector<int>& action : c.actions) {
            int opened = 0;
            for (int code : action) opened += choice.Notify(code) ? 1 : 0;
            EXPECT_LE(opened, 1) << c.what << ": one message to settle an action";
            if (opened == 1) choices += choice.Settle() ? 1 : 0;
        }
        EXPECT_EQ(choices, c.choices) << c.what;
    }
}

TEST(ReadWholeNumber, OnlyATextThatIsAllOneNumber) {
    EXPECT_EQ(ReadWholeNumber("120"), 120);
    EXPECT_EQ(ReadWholeNumber("-7"), -7);
    EXPECT_EQ(ReadWholeNumber("0"), 0);
    EXPECT_EQ(ReadWholeNumber("99999999999"), 99999999999LL);
    EXPECT_EQ(ReadWholeNumber(""), std::nullopt);
    EXPECT_EQ(ReadWholeNumber("12a"), std::nullopt);
    EXPECT_EQ(ReadWholeNumber(" 12"), std::nullopt);
    EXPECT_EQ(ReadWholeNumber("+12"), std::nullopt);
    EXPECT_EQ(ReadWholeNumber("1,200"), std::nullopt);
    EXPECT_EQ(ReadWholeNumber("99999999999999999999999"), std::nullopt);
}

}  // namespace
}  // namespace ratiscope
