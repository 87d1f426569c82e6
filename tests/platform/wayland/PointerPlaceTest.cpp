// Drags follow the pointer to the pixel whichever way the compositor counts
// pointer positions while a button is held, however late it applies the
// moves and answers, also when the surface is replaced halfway.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <string>

#include "platform/wayland/PointerPlace.h"

namespace ratiscope {
namespace {

// A model of the compositor's side: the surface's place as applied, the
// pointer in the layout, and the surface-local positions it sends. Each turn
// it applies and answers the commits that are due, then sends the pointer's
// new position.
class TModelCompositor {
public:
    TModelCompositor(THeldPointerOrigin rule, TLayoutPoint place, int lag) : rule_(rule), surface_(place), lag_(lag) {}

    // A commit with a new place, answered `lag` turns later.
    void Commit(std::uint64_t ticket, TLayoutPoint place) { queue_.push_back({ticket, place, lag_}); }
    // A new surface in place of the old one, at `place` at once: the grab of
    // the old one ends with it, though the button stays down.
    void Replace(TLayoutPoint place) {
        surface_ = place;
        held_ = false;
        queue_.clear();
    }
    void Press() { pressPlace_ = surface_, held_ = true; }
    void Release() { held_ = false; }
    void Turn(TLayoutPoint pointer, TSurfacePlace& client) {
        while (!queue_.empty() && queue_.front().wait-- <= 0) {
            surface_ = queue_.front().place;
            client.MoveApplied(queue_.front().ticket);
            queue_.pop_front();
        }
        pointer_ = pointer;
    }
    // Every commit applied and answered.
    void Settle(TSurfacePlace& client) {
        for (auto& c : queue_) c.wait = 0;
        Turn(pointer_, client);
    }
    double LocalX() const { return pointer_.x - Base().x + kSubpixel; }
    double LocalY() const { return pointer_.y - Base().y + kSubpixel; }
    TLayoutPoint Surface() const { return surface_; }

private:
    // Compositors send positions at pixel centres.
    static constexpr double kSubpixel = 0.5;
    TLayoutPoint Base() const { return held_ && rule_ == THeldPointerOrigin::PressPlace ? pressPlace_ : surface_; }
    struct TCommit {
        std::uint64_t ticket;
        TLayoutPoint place;
        int wait;
    };
    THeldPointerOrigin rule_;
    TLayoutPoint surface_;
    TLayoutPoint pressPlace_;
    TLayoutPoint pointer_;
    bool held_ = false;
    int lag_;
    std::deque<TCommit> queue_;
};

// What the overlay does with its window while dragging: with the caption the
// window's corner keeps the anchor under the pointer; with the top-left grip
// the corner follows and the opposite corner stays.
enum class TDrag { Caption, TopLeftGrip };

struct TDragCase {
    const char* name;
    THeldPointerOrigin rule;
    TDrag drag;
    int motions;
    int lag;         // turns the compositor's answers come behind the commits
    int replaceAt;   // the motion after which the surface is made anew (another output), 0 for none
};

void PrintTo(const TDragCase& c, std::ostream* os) { *os << c.name; }

constexpr TLayoutPoint kStart{340, 200};
constexpr TLayoutPoint kGrab{150, 7};  // on the caption strip, in the window
constexpr TLayoutPoint kTotal{60, 40};
constexpr std::int32_t kWidth = 420;

class Drags : public testing::TestWithParam<TDragCase> {};

// Two drags one after the other: the second starts where the first left the
// pointer, with no motion between them (the surface moved, the pointer did
// not, and some compositors then send nothing).
TEST_P(Drags, TheWindowEndsWhereThePointerTookIt) {
    const TDragCase& c = GetParam();
    TModelCompositor compositor(c.rule, kStart, c.lag);
    TSurfacePlace place(c.rule);
    place.NewSurface(kStart);
    TLayoutPoint window = kStart;
    std::int32_t width = kWidth;
    std::uint64_t ticket = 0;
    TLayoutPoint pointerAt;  // as the client learnt it from the last position sent
    const auto turn = [&](TLayoutPoint pointer) {
        compositor.Turn(pointer, place);
        pointerAt = place.Layout(compositor.LocalX(), compositor.LocalY());
    };
    const auto local = [&] { return TLayoutPoint{pointerAt.x - window.x, pointerAt.y - window.y}; };

    TLayoutPoint pressAt{kStart.x + kGrab.x, kStart.y + kGrab.y};
    turn(pressAt);
    for (int drag = 1; drag <= 2; ++drag) {
        compositor.Press();
        place.ButtonsDown();
        const TLayoutPoint anchor = local();
        ASSERT_EQ(anchor, kGrab) << "drag " << drag;
        for (int i = 1; i <= c.motions; ++i) {
            turn({pressAt.x + kTotal.x * i / c.motions, pressAt.y + kTotal.y * i / c.motions});
            const TLayoutPoint at = local();
            const TLayoutPoint moved{window.x + at.x - anchor.x, window.y + at.y - anchor.y};
            if (c.drag == TDrag::TopLeftGrip) width += window.x - moved.x;
            if (moved != window) {
                window = moved;
                compositor.Commit(++ticket, window);
                place.MoveSent(ticket, window);
            }
            if (i == c.replaceAt) {
                compositor.Replace(window);
                place.NewSurface(window);
            }
        }
        compositor.Release();
        place.ButtonsUp();
        compositor.Settle(place);

        const TLayoutPoint wanted{kStart.x + drag * kTotal.x, kStart.y + drag * kTotal.y};
        EXPECT_EQ(window, wanted) << "drag " << drag;
        EXPECT_EQ(compositor.Surface(), wanted) << "drag " << drag;
        EXPECT_EQ(place.Applied(), wanted) << "drag " << drag;
        if (c.drag == TDrag::TopLeftGrip) {
            EXPECT_EQ(width, kWidth - drag * kTotal.x) << "drag " << drag;
        }
        pressAt = {pressAt.x + kTotal.x, pressAt.y + kTotal.y};
    }
}

constexpr auto kPress = THeldPointerOrigin::PressPlace;
constexpr auto kCurrent = THeldPointerOrigin::CurrentPlace;

INSTANTIATE_TEST_SUITE_P(
    Tables, Drags,
    testing::Values(TDragCase{"PressPlaceOneMotion", kPress, TDrag::Caption, 1, 0, 0},
                    TDragCase{"PressPlaceTwoMotions", kPress, TDrag::Caption, 2, 0, 0},
                    TDragCase{"PressPlaceThreeMotions", kPress, TDrag::Caption, 3, 0, 0},
                    TDragCase{"PressPlaceTenMotions", kPress, TDrag::Caption, 10, 0, 0},
                    TDragCase{"PressPlaceThirtyMotions", kPress, TDrag::Caption, 30, 0, 0},
                    TDragCase{"PressPlaceThirtyMotionsLate", kPress, TDrag::Caption, 30, 1, 0},
                    TDragCase{"PressPlaceTenMotionsVeryLate", kPress, TDrag::Caption, 10, 3, 0},
                    TDragCase{"CurrentPlaceOneMotion", kCurrent, TDrag::Caption, 1, 0, 0},
                    TDragCase{"CurrentPlaceTwoMotions", kCurrent, TDrag::Caption, 2, 0, 0},
                    TDragCase{"CurrentPlaceThreeMotions", kCurrent, TDrag::Caption, 3, 0, 0},
                    TDragCase{"CurrentPlaceTenMotions", kCurrent, TDrag::Caption, 10, 0, 0},
                    TDragCase{"CurrentPlaceThirtyMotions", kCurrent, TDrag::Caption, 30, 0, 0},
                    TDragCase{"CurrentPlaceThirtyMotionsLate", kCurrent, TDrag::Caption, 30, 1, 0},
                    TDragCase{"CurrentPlaceTenMotionsVeryLate", kCurrent, TDrag::Caption, 10, 3, 0},
                    TDragCase{"PressPlaceGrip", kPress, TDrag::TopLeftGrip, 10, 0, 0},
                    TDragCase{"PressPlaceGripLate", kPress, TDrag::TopLeftGrip, 10, 1, 0},
                    TDragCase{"CurrentPlaceGrip", kCurrent, TDrag::TopLeftGrip, 10, 0, 0},
                    TDragCase{"CurrentPlaceGripLate", kCurrent, TDrag::TopLeftGrip, 10, 1, 0},
                    TDragCase{"PressPlaceOntoAnotherOutput", kPress, TDrag::Caption, 10, 0, 4},
                    TDragCase{"PressPlaceOntoAnotherOutputLate", kPress, TDrag::Caption, 10, 1, 4},
                    TDragCase{"CurrentPlaceOntoAnotherOutput", kCurrent, TDrag::Caption, 10, 0, 4},
                    TDragCase{"CurrentPlaceOntoAnotherOutputLate", kCurrent, TDrag::Caption, 10, 1, 4}),
    [](const testing::TestParamInfo<TDragCase>& info) { return std::string(info.param.name); });

// What a confused compositor may send gives a place in range, never a crash.
struct TOddCase {
    const char* name;
    double x;
    double y;
    TLayoutPoint base;
    TLayoutPoint expected;
};

void PrintTo(const TOddCase& c, std::ostream* os) { *os << c.name; }

class OddPositions : public testing::TestWithParam<TOddCase> {};

TEST_P(OddPositions, GiveAPlaceInRange) {
    const TOddCase& c = GetParam();
    TSurfacePlace place;
    place.NewSurface(c.base);
    EXPECT_EQ(place.Layout(c.x, c.y), c.expected);
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Tables, OddPositions,
    testing::Values(TOddCase{"Plain", 10.5, 20.25, {100, 200}, {110, 220}},
                    TOddCase{"Negative", -0.5, -1.0, {100, 200}, {99, 199}},
                    TOddCase{"NotANumber", std::nan(""), std::nan(""), {5, 6}, {5, 6}},
                    TOddCase{"Infinite", INFINITY, -INFINITY, {0, 0}, {1 << 28, -(1 << 28)}},
                    TOddCase{"PastTheRange", 1e300, -1e300, {kMax, kMin}, {kMax, kMin}}),
    [](const testing::TestParamInfo<TOddCase>& info) { return std::string(info.param.name); });

// Answers for moves of a surface that is gone change nothing.
TEST(SurfacePlace, AnswersForAnOldSurfaceAreIgnored) {
    TSurfacePlace place;
    place.NewSurface({0, 0});
    place.MoveSent(1, {10, 10});
    place.NewSurface({50, 50});
    place.MoveApplied(1);
    EXPECT_EQ(place.Applied(), (TLayoutPoint{50, 50}));
}

struct TGlobalCase {
    const char* global;
    bool current;
};

class RuleOfCompositor : public testing::TestWithParam<TGlobalCase> {};

TEST_P(RuleOfCompositor, IsToldByItsGlobals) {
    EXPECT_EQ(CountsFromCurrentPlace(GetParam().global), GetParam().current) << GetParam().global;
}

INSTANTIATE_TEST_SUITE_P(Tables, RuleOfCompositor,
                         testing::Values(TGlobalCase{"org_kde_plasma_shell", true},
                                         // sway offers it as well
                                         TGlobalCase{"org_kde_kwin_server_decoration_manager", false},
                                         TGlobalCase{"zwlr_layer_shell_v1", false},
                                         TGlobalCase{"wl_seat", false}, TGlobalCase{"", false},
                                         TGlobalCase{"org_kde_plasma_shellx", false}));

}  // namespace
}  // namespace ratiscope
