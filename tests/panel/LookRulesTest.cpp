// The Look page's number rules: the size field's integers, the ratio table,
// which entry a ratio shows as, the ratio's text and the typed-ratio rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "panel/LookRules.h"

namespace ratiscope {
namespace {

TEST(StrToIntNoSpaces, ReadsSignedDecimalsWithSpacesAnywhere) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"396", 396},     {"1 200", 1200},   {" 1 2 0 0 ", 1200}, {"-5", -5},  {"+7", 7},
        {"0", 0},         {"007", 7},        {"2147483647", 2147483647},   {"-2147483648", -2147483647 - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(StrToIntNoSpaces(c.text), c.value) << c.text;
}

TEST(StrToIntNoSpaces, AnythingElseRaisesTheConversionErrorNamingTheText) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"abc", "'abc' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
        {"   ", "'' is not a valid integer value"},
        {"1 2a", "'12a' is not a valid integer value"},
        {"12.5", "'12.5' is not a valid integer value"},
        {"1,200", "'1,200' is not a valid integer value"},
        {"\t12", "'\t12' is not a valid integer value"},
        {"+-3", "'+-3' is not a valid integer value"},
        {"-", "'-' is not a valid integer value"},
        {"0x10", "'0x10' is not a valid integer value"},
        {"2147483648", "'2147483648' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        try {
            StrToIntNoSpaces(c.text);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(RatioEntries, AreTheLiteralDoublesNotTheirComputations) {
    // 1 / sqrt 2 in double lies one unit in the last place below the entry,
    // and SetRatio compares exactly, so the literal must be what is stored.
    const double computed = 1.0 / std::sqrt(2.0);
    EXPECT_NE(kRatioEntries[10], computed);
    EXPECT_EQ(std::nextafter(computed, 1.0), kRatioEntries[10]);
    EXPECT_EQ(kRatioEntries[11], std::sqrt(2.0));
}

TEST(MatchingRatioEntry, TakesTheFirstEntryStrictlyWithinAThousandth) {
    struct Case {
        double ratio;
        int entry;  // -1: none
    };
    const Case cases[] = {
        {0.6180339887498949, 0}, {0.6185, 0},  {0.6171, 0},   {0.619033, 0}, {0.61903399, -1},
        {1.6180339887498947, 1}, {0.5, 2},     {2.0, 3},      {0.3334, 4},   {3.0, 5},
        {0.7071, 10},            {1.4142, 11}, {1.0, 12},     {1.0009, 12},  {0.5625, 13},
        {1.7777, 14},            {0.4184, 15}, {2.39, 16},    {1.25, -1},    {3.05, -1},
        {0.001, -1},             {std::numeric_limits<double>::quiet_NaN(), -1},
    };
    for (const Case& c : cases) {
        std::optional<int> got = MatchingRatioEntry(c.ratio);
        EXPECT_EQ(got.value_or(-1), c.entry) << c.ratio;
    }
}

TEST(RatioText, IsGeneralFormatWithFifteenSignificantDigits) {
    struct Case {
        double ratio;
        char separator;
        const char* text;
    };
    const Case cases[] = {
        {1.25, '.', "1.25"},
        {1.25, ',', "1,25"},
        {3.05, '.', "3.05"},
        {2.5, '.', "2.5"},
        {0.8, '.', "0.8"},
        {0.123456789012345678, '.', "0.123456789012346"},
        {1.0 / 3.0 * 2.9, '.', "0.966666666666667"},
        {0.00001, '.', "0.00001"},
        {0.000012345, '.', "0.000012345"},
        {0.000001, '.', "1E-6"},
        {0.0000015, ',', "1,5E-6"},
        {12345.5, '.', "12345.5"},
        {1e15, '.', "1E15"},
        {123456789012345.0, '.', "123456789012345"},
        {7.0, '.', "7"},
    };
    for (const Case& c : cases) EXPECT_EQ(RatioText(c.ratio, c.separator), c.text) << c.ratio;
}

TEST(TypedRatio, AppliesOnlyNumbersAboveZeroAwayFromOneAndBelowThreePointOne) {
    struct Case {
        const char* text;
        char separator;
        double value;  // 0: refused
    };
    const Case cases[] = {
        {"3.05", '.', 3.05},  {"1.25", '.', 1.25},  {" 0.8 ", '.', 0.8},   {"1,25", ',', 1.25},
        {".5", '.', 0.5},     {"2.", '.', 2.0},     {"2.5e-1", '.', 0.25}, {"+1.5", '.', 1.5},
        {"3.0999", '.', 3.0999},
        {"1.0005", '.', 0},   {"1", '.', 0},        {"0.9995", '.', 0},    {"1.0009", '.', 0},
        {"3.1", '.', 0},      {"4", '.', 0},        {"abc", '.', 0},       {"", '.', 0},
        {"1,25", '.', 0},     {"1.25", ',', 0},     {"0", '.', 0},         {"-0.5", '.', 0},
        {"-0", '.', 0},       {"nan", '.', 0},      {"inf", '.', 0},       {"1e999", '.', 0},
        {"1e-999", '.', 0},   {"0.5x", '.', 0},     {"e5", '.', 0},        {"1.2.3", '.', 0},
    };
    for (const Case& c : cases) {
        std::optional<double> got = TypedRatio(c.text, c.separator);
        if (c.value == 0)
            EXPECT_FALSE(got) << c.text;
        else
            EXPECT_EQ(got.value_or(0), c.value) << c.text;
    }
    // Just outside the band around 1 is a usable ratio.
    EXPECT_TRUE(TypedRatio("1.0011", '.'));
    EXPECT_TRUE(TypedRatio("0.9989", '.'));
}

}  // namespace
}  // namespace ratiscope
