// Which output the native overlay's layer surface belongs on, and its margins there.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/wayland/OutputPlacement.h"

namespace ratiscope {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr TSize kOverlay{420, 285};

// Two outputs side by side, a third below the left one.
const std::vector<TOutputArea> kRow{{7, {0, 0, 1280, 800}}, {9, {1280, 0, 2560, 800}}, {12, {0, 800, 1280, 1600}}};
// Two outputs with a gap of 101 columns between them, column 1050 in its middle.
const std::vector<TOutputArea> kGap{{1, {0, 0, 1000, 800}}, {2, {1101, 0, 2101, 800}}};
// One output left of and above the layout's origin, one at it.
const std::vector<TOutputArea> kNegative{{4, {-1920, -200, 0, 880}}, {5, {0, 0, 1280, 800}}};
// Two outputs showing the same part of the layout.
const std::vector<TOutputArea> kMirrored{{3, {0, 0, 1280, 800}}, {6, {0, 0, 1280, 800}}};
// Outputs whose size is not known yet.
const std::vector<TOutputArea> kSizeless{{8, {0, 0, 0, 800}}, {10, {100, 100, 1380, 100}}};

struct TPlaceCase {
    const char* name;
    const std::vector<TOutputArea>* outputs;
    std::int32_t left, top;
    TSize size;
    std::uint32_t current;
    TOutputPlacement expected;
};

class OutputPlacement : public testing::TestWithParam<TPlaceCase> {};

TEST_P(OutputPlacement, PicksTheOutputUnderTheCentre) {
    const TPlaceCase& c = GetParam();
    const TOutputPlacement got = PlaceOnOutputs(*c.outputs, c.left, c.top, c.size, c.current);
    EXPECT_EQ(got, c.expected) << c.name << ": got output " << got.output << " corner " << got.cornerLeft << ","
                               << got.cornerTop << " margins " << got.marginLeft << "," << got.marginTop;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, OutputPlacement,
    testing::Values(
        TPlaceCase{"on_the_first", &kRow, 300, 240, kOverlay, 7, {7, 0, 0, 300, 240}},
        TPlaceCase{"wholly_on_the_second", &kRow, 1300, 100, kOverlay, 7, {9, 1280, 0, 20, 100}},
        // Most of it still on the first, the centre (1310) past the edge.
        TPlaceCase{"centre_just_across", &kRow, 1100, 100, kOverlay, 7, {9, 1280, 0, -180, 100}},
        TPlaceCase{"centre_just_before", &kRow, 1069, 100, kOverlay, 9, {7, 0, 0, 1069, 100}},
        TPlaceCase{"centre_on_the_edge_column", &kRow, 1070, 100, kOverlay, 7, {9, 1280, 0, -210, 100}},
        TPlaceCase{"below_the_left_one", &kRow, 500, 1000, kOverlay, 7, {12, 0, 800, 500, 200}},
        // The centre (1710, 992) below the second output, where no output is:
        // the second is 193 away, the third 431.
        TPlaceCase{"off_the_layout_nearest", &kRow, 1500, 850, kOverlay, 12, {9, 1280, 0, 220, 850}},
        TPlaceCase{"far_off_to_the_left", &kRow, -5000, 300, kOverlay, 9, {7, 0, 0, -5000, 300}},
        // The centre (1050, 400) in the gap, 51 from either output.
        TPlaceCase{"gap_the_current_on_a_tie", &kGap, 840, 258, kOverlay, 2, {2, 1101, 0, -261, 258}},
        TPlaceCase{"gap_the_current_on_a_tie_other", &kGap, 840, 258, kOverlay, 1, {1, 0, 0, 840, 258}},
        TPlaceCase{"gap_the_first_without_a_current", &kGap, 840, 258, kOverlay, kNoOutput, {1, 0, 0, 840, 258}},
        TPlaceCase{"gap_nearer_wins_over_the_current", &kGap, 850, 258, kOverlay, 1, {2, 1101, 0, -251, 258}},
        TPlaceCase{"left_of_the_origin", &kNegative, -900, -100, kOverlay, 5, {4, -1920, -200, 1020, 100}},
        TPlaceCase{"mirrored_the_current_kept", &kMirrored, 10, 10, kOverlay, 6, {6, 0, 0, 10, 10}},
        TPlaceCase{"mirrored_the_first", &kMirrored, 10, 10, kOverlay, kNoOutput, {3, 0, 0, 10, 10}},
        TPlaceCase{"no_outputs_the_layout_place", &kSizeless, 300, 240, kOverlay, kNoOutput, {kNoOutput, 0, 0, 300, 240}},
        TPlaceCase{"a_window_of_no_size", &kRow, 1280, 0, TSize{0, 0}, 7, {9, 1280, 0, 0, 0}},
        TPlaceCase{"a_size_below_zero_counts_as_none", &kRow, 1280, 0, TSize{-500, -500}, 7, {9, 1280, 0, 0, 0}},
        // Places at the ends of the range: no overflow, margins held in range.
        TPlaceCase{"the_largest_place", &kNegative, kMax, kMax, kOverlay, 4, {5, 0, 0, kMax, kMax}},
        TPlaceCase{"the_smallest_place", &kNegative, kMin, kMin, kOverlay, 5, {4, -1920, -200, kMin + 1920, kMin + 200}}),
    [](const testing::TestParamInfo<TPlaceCase>& info) { return std::string(info.param.name); });

TEST(OutputMargin, StaysInRange) {
    struct TCase {
        std::int32_t place, corner, expected;
    };
    for (const TCase c : {TCase{300, 1280, -980}, TCase{kMax, -1, kMax}, TCase{kMin, 1, kMin}, TCase{kMin, kMin, 0}})
        EXPECT_EQ(MarginFrom(c.place, c.corner), c.expected) << c.place << " from " << c.corner;
}

}  // namespace
}  // namespace ratiscope
