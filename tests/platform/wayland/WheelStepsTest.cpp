// The wheel deltas the program gets from the compositor's axis events: whole
// notches from wheels with them, smooth scrolls in 120ths with the rest kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wayland/WheelSteps.h"

namespace ratiscope {
namespace {

// One pointer frame: the axis lengths and the notches in it.
struct TFrame {
    std::vector<double> axes;
    std::vector<std::int32_t> notches;
};

struct TWheelCase {
    const char* name;
    std::vector<TFrame> frames;
    std::vector<std::int32_t> deltas;  // per frame
};

void PrintTo(const TWheelCase& c, std::ostream* os) { *os << c.name; }

class WheelSteps : public testing::TestWithParam<TWheelCase> {};

TEST_P(WheelSteps, GiveTheProgramsDeltas) {
    const TWheelCase& c = GetParam();
    TWheelSteps wheel;
    std::vector<std::int32_t> deltas;
    for (const TFrame& f : c.frames) {
        for (const double a : f.axes) wheel.Axis(a);
        for (const std::int32_t n : f.notches) wheel.Notches(n);
        deltas.push_back(wheel.EndFrame());
    }
    EXPECT_EQ(deltas, c.deltas);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, WheelSteps,
    testing::Values(TWheelCase{"OneNotchTowardsTheUser", {{{15.0}, {1}}}, {-120}},
                    TWheelCase{"OneNotchAway", {{{-15.0}, {-1}}}, {120}},
                    TWheelCase{"NotchesCountOverTheLength", {{{40.0}, {1}}}, {-120}},
                    TWheelCase{"TwoNotchesInAFrame", {{{15.0, 15.0}, {1, 1}}}, {-240}},
                    TWheelCase{"SmoothHalfNotch", {{{7.5}, {}}}, {-60}},
                    TWheelCase{"SmoothRestCarriesOver", {{{0.1}, {}}, {{0.1}, {}}}, {0, -1}},
                    TWheelCase{"NotchesDropTheSmoothRest", {{{0.1}, {}}, {{15.0}, {1}}, {{0.1}, {}}}, {0, -120, 0}},
                    TWheelCase{"AnEmptyFrameIsNoMove", {{{}, {}}}, {0}}),
    [](const testing::TestParamInfo<TWheelCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ratiscope
