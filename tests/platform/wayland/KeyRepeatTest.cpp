// Held keys repeat after the compositor's delay at its rate, and stop when
// they go up, when another key takes over, or when the keyboard leaves.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/wayland/KeyRepeat.h"
#include "ManualLoop.h"

namespace ratiscope {
namespace {

using test::TManualLoop;
using TMs = std::chrono::milliseconds;

constexpr std::uint32_t kKeyA = 30;
constexpr std::uint32_t kKeyB = 48;

enum class TAct { Press, PressNoRepeat, Release, Stop, Wait };

struct TStep {
    TAct act;
    std::uint32_t key = 0;
    int ms = 0;  // for Wait
};

struct TRepeatCase {
    const char* name;
    std::int32_t rate;   // presses per second
    std::int32_t delay;  // milliseconds
    std::vector<TStep> steps;
    std::vector<std::uint32_t> repeated;  // the keys repeated, in order
};

void PrintTo(const TRepeatCase& c, std::ostream* os) { *os << c.name; }

class KeyRepeat : public testing::TestWithParam<TRepeatCase> {};

TEST_P(KeyRepeat, RepeatsWhatIsHeld) {
    const TRepeatCase& c = GetParam();
    TManualLoop loop;
    std::vector<std::uint32_t> repeated;
    TKeyRepeat repeat(loop, [&](std::uint32_t key) { repeated.push_back(key); });
    repeat.SetRate(c.rate, c.delay);
    for (const TStep& s : c.steps) {
        switch (s.act) {
        case TAct::Press: repeat.Pressed(s.key, true); break;
        case TAct::PressNoRepeat: repeat.Pressed(s.key, false); break;
        case TAct::Release: repeat.Released(s.key); break;
        case TAct::Stop: repeat.Stop(); break;
        case TAct::Wait: loop.Advance(TMs(s.ms)); break;
        }
    }
    EXPECT_EQ(repeated, c.repeated);
}

const TStep kPressA{TAct::Press, kKeyA};
TStep Wait(int ms) { return {TAct::Wait, 0, ms}; }

INSTANTIATE_TEST_SUITE_P(
    Tables, KeyRepeat,
    testing::Values(
        // 25 per second: one every 40 ms after the 600 ms delay.
        TRepeatCase{"NothingBeforeTheDelay", 25, 600, {kPressA, Wait(599)}, {}},
        TRepeatCase{"FirstAtTheDelay", 25, 600, {kPressA, Wait(600)}, {kKeyA}},
        TRepeatCase{"ThenAtTheRate", 25, 600, {kPressA, Wait(600 + 3 * 40)}, {kKeyA, kKeyA, kKeyA, kKeyA}},
        TRepeatCase{"ReleaseStops", 25, 600, {kPressA, Wait(640), {TAct::Release, kKeyA}, Wait(1000)}, {kKeyA, kKeyA}},
        TRepeatCase{"ReleaseOfAnotherKeyGoesOn", 25, 600, {kPressA, {TAct::Release, kKeyB}, Wait(600)}, {kKeyA}},
        TRepeatCase{"ALaterKeyTakesOver", 25, 600, {kPressA, Wait(300), {TAct::Press, kKeyB}, Wait(600)}, {kKeyB}},
        TRepeatCase{"AKeyThatDoesNotRepeatLeavesTheHeldOne", 25, 600,
                    {kPressA, Wait(300), {TAct::PressNoRepeat, kKeyB}, Wait(300)}, {kKeyA}},
        TRepeatCase{"RateZeroRepeatsNothing", 0, 600, {kPressA, Wait(2000)}, {}},
        TRepeatCase{"StopEndsIt", 25, 600, {kPressA, Wait(600), {TAct::Stop}, Wait(1000)}, {kKeyA}},
        TRepeatCase{"OwnRateAndDelay", 10, 200, {kPressA, Wait(200 + 100)}, {kKeyA, kKeyA}}),
    [](const testing::TestParamInfo<TRepeatCase>& info) { return std::string(info.param.name); });

TEST(KeyRepeatDefaults, AreTheCompositorsUsualOnes) {
    TManualLoop loop;
    int repeats = 0;
    TKeyRepeat repeat(loop, [&](std::uint32_t) { ++repeats; });
    repeat.Pressed(kKeyA, true);
    loop.Advance(TMs(TKeyRepeat::kDefaultDelay - 1));
    EXPECT_EQ(repeats, 0);
    loop.Advance(TMs(1 + 1000 / TKeyRepeat::kDefaultRate));
    EXPECT_EQ(repeats, 2);
}

}  // namespace
}  // namespace ratiscope
