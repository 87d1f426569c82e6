// Fitting the figure to the window beneath: the sizes through the setters by
// the lock rules, the place that centres the drawing rectangle, and the
// command on the overlay window with its key.
#include <gtest/gtest.h>

#include <cstdlib>

#include "overlay/FitToWindow.h"
#include "overlay/MainFrmFixture.h"
#include "platform/Keys.h"

namespace ratiscope::testing {
namespace {

struct TFitCase {
    const char* what;
    bool lock, lockWidth;
    TRect client;
    std::int32_t wantWidth, wantHeight, wantLeft, wantTop;
};

// Border 12, the caption strip 16, Ratio the golden factor; the record starts at 396 x 245.
const TFitCase kFits[] = {
    {"lock off: both sides exactly", false, true, {200, 150, 840, 630}, 640, 480, 188, 122},
    {"lock off, height leading: the same", false, false, {200, 150, 840, 630}, 640, 480, 188, 122},
    {"lock on, width leads: height follows, centred", true, true, {200, 150, 840, 630}, 640, 396, 188, 164},
    {"lock on, height leads: width follows, centred", true, false, {200, 150, 840, 630}, 777, 480, 120, 122},
    {"lock on, odd leftover: the half truncates", true, true, {0, 0, 101, 101}, 101, 62, -12, -9},
    {"lock on, width leads, taller figure: centred above the top",
     true, true, {100, 100, 500, 200}, 400, 247, 88, -1},
    {"lock off, too narrow: the minimum, centred", false, true, {500, 400, 530, 500}, 58, 100, 474, 372},
    {"lock off, too low: the setter's minimum height", false, true, {500, 400, 700, 410}, 200, 36, 488, 359},
    {"lock off, wider than any figure: the upper bound", false, true, {0, 0, 40000, 300}, kMaxSide, 300, 4988, -28},
};

TEST(FitDrawingRect, SizesByTheLockAndThePlaceThatCentres) {
    for (const TFitCase& c : kFits) {
        TSettings s(1920);
        s.SetLock(c.lock);
        s.SetLockWidth(c.lockWidth);
        const TWindowPlace place = FitDrawingRect(s, c.client);
        EXPECT_EQ(s.Width, c.wantWidth) << c.what;
        EXPECT_EQ(s.Height, c.wantHeight) << c.what;
        EXPECT_EQ(place, (TWindowPlace{c.wantLeft, c.wantTop})) << c.what;
        // The drawing rectangle's centre is the client's, to within the truncated half.
        const TWindowPlace centre = DrawingCentre(s, place.left, place.top);
        EXPECT_LE(std::abs(centre.left - (c.client.left + c.client.right) / 2), 1) << c.what;
        EXPECT_LE(std::abs(centre.top - (c.client.top + c.client.bottom) / 2), 1) << c.what;
    }
}

TEST(FitDrawingRect, EqualSizesCoverTheClientExactly) {
    TSettings s(1920);
    s.SetLock(false);
    const TRect client{333, 222, 333 + 517, 222 + 311};
    const TWindowPlace place = FitDrawingRect(s, client);
    const TRect drawing{place.left + s.Border, place.top + s.Border + 16, place.left + s.Border + s.Width,
                        place.top + s.Border + 16 + s.Height};
    EXPECT_EQ(drawing, client);
}

TEST_F(MainFormTest, FitCommandAimsAtTheWindowBeneathTheFiguresCentre) {
    settings.SetLock(false);
    Create();
    // The figure's centre: (300 + 12 + 198, 240 + 28 + 122) = (510, 390).
    ws.others = {{{600, 0, 900, 100}, {605, 20, 895, 95}},      // topmost, elsewhere
                 {{400, 300, 900, 700}, {404, 330, 896, 696}},  // under the centre, with its frame
                 {{0, 0, 1920, 1050}, {0, 0, 1920, 1050}}};     // lower in the stack
    form->FormKeyDown(TKey::F5, 0);
    EXPECT_EQ(settings.Width, 492);
    EXPECT_EQ(settings.Height, 366);
    EXPECT_EQ(window->left, 404 - 12);
    EXPECT_EQ(window->top, 330 - 28);
    EXPECT_EQ(Client(), (TSize{492 + 24, 366 + 40}));
}

TEST_F(MainFormTest, FitOverTheBareDesktopChangesNothing) {
    Create();
    const std::size_t mark = Mark();
    form->ActionFitExecute();
    EXPECT_EQ(settings.Width, 396);
    EXPECT_EQ((TWindowPlace{window->left, window->top}), (TWindowPlace{300, 240}));
    EXPECT_TRUE(ws.Since(mark).empty());
}

TEST_F(MainFormTest, FitSizesAndPaintsOnceAndStaysOnTheWorkArea) {
    settings.SetLock(false);
    Create();
    // A maximised window: its client area starts 20 below the work area's top.
    ws.others = {{{0, 0, 1920, 1050}, {0, 20, 1920, 1050}}};
    const std::size_t mark = Mark();
    form->ActionFitExecute();
    int sizes = 0, pictures = 0;
    for (const auto& line : ws.Since(mark)) {
        sizes += line.starts_with("SetClientSize");
        pictures += line.starts_with("NewPicture");
    }
    EXPECT_EQ(sizes, 1);
    EXPECT_EQ(pictures, 1);
    EXPECT_EQ(settings.Width, 1920);
    EXPECT_EQ(settings.Height, 1030);
    // The caption strip would lie above the work area; it is pulled back as after any move.
    EXPECT_EQ(window->top, 0);
}

TEST_F(MainFormTest, ShiftF5DoesNotFit) {
    settings.SetLock(false);
    Create();
    ws.others = {{{0, 0, 1920, 1050}, {100, 100, 1000, 900}}};
    form->FormKeyDown(TKey::F5, ssShift);
    EXPECT_EQ(settings.Width, 396);
    form->FormKeyDown(TKey::F5, ssCtrl);
    EXPECT_EQ(settings.Width, 900);
}

TEST_F(MainFormTest, ShowHideTakesBothWindowsAwayAndBringsThemBackAsTheyWere) {
    Create();
    ASSERT_TRUE(panel.shown);
    form->ActionShowHideExecute();
    EXPECT_FALSE(window->visible);
    EXPECT_FALSE(panel.shown);
    EXPECT_TRUE(form->HiddenAway());
    form->ActionShowHideExecute();
    EXPECT_TRUE(window->visible);
    EXPECT_TRUE(panel.shown);
    EXPECT_EQ((TWindowPlace{window->left, window->top}), (TWindowPlace{300, 240}));

    // A panel that was hidden stays hidden.
    panel.ToggleVisible();
    form->ActionShowHideExecute();
    form->ActionShowHideExecute();
    EXPECT_TRUE(window->visible);
    EXPECT_FALSE(panel.shown);
}

TEST_F(MainFormTest, ClosingWhileHiddenAwayStoresThePanelAsItWas) {
    Create();
    form->ActionShowHideExecute();
    form->FormClose();
    EXPECT_TRUE(settings.SVisible);
}

}  // namespace
}  // namespace ratiscope::testing
