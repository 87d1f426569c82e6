// The template routine against printf's rules, and against templates that try
// to read memory, write memory or allocate without bound.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "settings/Format.h"

namespace ratiscope {
namespace {

struct Case {
    const char* templ;
    std::vector<TFormatArg> args;
    const char* expected;
};

TEST(Format, FillsDirectivesAsPrintfDoes) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        // Plain text and the templates the overlay and panel use.
        {"no directive", {}, "no directive"},
        {"", {}, ""},
        {"%d x %d", {396, 245}, "396 x 245"},
        {"Grid: %d px", {8}, "Grid: 8 px"},
        {"%.3f", {0.6180339887498949}, "0.618"},
        {"1 : %g", {1.0 / 0.6180339887498949}, "1 : 1.61803"},
        {"%s", {std::string_view("(c) 2024")}, "(c) 2024"},
        {"100%%", {}, "100%"},
        {"%%d", {1}, "%d"},
        // Whole numbers: sign, width, flags, precision.
        {"%i", {-42}, "-42"},
        {"%5d|%-5d|%05d", {42, 42, -42}, "   42|42   |-0042"},
        {"%+d % d %+d", {7, 7, -7}, "+7  7 -7"},
        {"%.4d|%8.4d|%-8.4d|", {42, 42, -42}, "0042|    0042|-0042   |"},
        {"%08.3d", {5}, "     005"},
        {"[%.0d]", {0}, "[]"},
        {"%d", {std::numeric_limits<std::int32_t>::min()}, "-2147483648"},
        {"%ld %lld %li", {1, 2, 3}, "1 2 3"},
        // Unsigned views take the 32 bits.
        {"%u", {-1}, "4294967295"},
        {"%x %X %#x %#X %#x", {255, 255, 255, 255, 0}, "ff FF 0xff 0XFF 0"},
        {"%08x|%#08x", {0xBEEF, 0xBEEF}, "0000beef|0x00beef"},
        {"%+u % x", {5, 5}, "5 5"},
        // Real numbers.
        {"%f", {1.5}, "1.500000"},
        {"%.0f|%#.0f", {2.5, 2.5}, "2|2."},
        {"%.2f", {-0.005}, "-0.01"},
        {"%f", {-0.0}, "-0.000000"},
        {"%10.3f|%-10.3f|%010.3f", {3.14159, 3.14159, -3.14159}, "     3.142|3.142     |-00003.142"},
        {"%+.1f % .1f", {1.25, 1.25}, "+1.2  1.2"},
        {"%e", {12345.678}, "1.234568e+04"},
        {"%E", {0.000123}, "1.230000E-04"},
        {"%.0e|%#.0e", {5.0, 5.0}, "5e+00|5.e+00"},
        {"%e", {1e300}, "1.000000e+300"},
        {"%g %g %g %g", {100000.0, 1000000.0, 0.0001, 0.00001}, "100000 1e+06 0.0001 1e-05"},
        {"%G", {1e-10}, "1E-10"},
        {"%.0g", {123.0}, "1e+02"},
        {"%#g|%#.3g|%#g", {1.5, 2.0, 1e-5}, "1.50000|2.00|1.00000e-05"},
        {"%lf", {0.25}, "0.250000"},
        {"%f|%E|%5f|%-5G|%+f", {inf, inf, -inf, nan, inf}, "inf|INF| -inf|NAN  |+inf"},
        {"%05f", {inf}, "  inf"},
        // Text.
        {"[%8s][%-8s][%.3s][%8.2s]", {std::string_view("abc"), std::string_view("abc"), std::string_view("abcdef"),
                                      std::string_view("xyz")},
         "[     abc][abc     ][abc][      xy]"},
        {"%s", {std::string_view("100%d")}, "100%d"},
        // Values beyond the directives are ignored.
        {"%d", {1, 2, 3}, "1"},
        {"just text", {1.0}, "just text"},
        // Fields up to the cap are honoured.
        {"%3d|", {1}, "  1|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.templ);
        std::string got;
        EXPECT_NO_THROW(got = Format(c.templ, c.args));
        EXPECT_EQ(got, c.expected);
    }
}

TEST(Format, LargestFieldIsHonoured) {
    EXPECT_EQ(Format("%512d", {7}).size(), 512u);
    EXPECT_EQ(Format("%.512d", {7}).size(), 512u);
    const std::string f = Format("%.512f", {1.0});
    EXPECT_EQ(f.size(), 514u);
    EXPECT_EQ(f.substr(0, 4), "1.00");
    // The widest fixed-point text there is: 309 integer digits and the largest precision.
    const std::string big = Format("%.512f", {-1.7976931348623157e308});
    EXPECT_EQ(big.size(), 1u + 309u + 1u + 512u);
    EXPECT_EQ(big.substr(0, 5), "-1797");
}

TEST(Format, RefusesWhatDoesNotFitAndNamesTheTemplate) {
    const Case cases[] = {
        // Conversions that read or write memory, or that we do not offer.
        {"%n", {1}, ""},
        {"%p", {1}, ""},
        {"%c", {65}, ""},
        {"%o", {8}, ""},
        {"%a", {1.0}, ""},
        {"%F", {1.0}, ""},
        {"%hd", {1}, ""},
        {"%hhd", {1}, ""},
        {"%Lf", {1.0}, ""},
        {"%zd", {1}, ""},
        {"%lllld", {1}, ""},
        {"%q", {1}, ""},
        // Wrong value for the directive.
        {"%s", {42}, ""},
        {"%s", {1.0}, ""},
        {"%d", {1.5}, ""},
        {"%f", {1}, ""},
        {"%x", {std::string_view("a")}, ""},
        {"%d x %d", {396, 2.5}, ""},
        // Too few values.
        {"%d", {}, ""},
        {"%d x %d", {396}, ""},
        // Malformed directives.
        {"50%", {1}, ""},
        {"%", {}, ""},
        {"%-", {1}, ""},
        {"%5", {1}, ""},
        {"%.", {1}, ""},
        {"%5%", {1}, ""},
        {"%1$d", {1}, ""},
        {"%0:d", {1}, ""},
        // Undefined combinations.
        {"%#d", {1}, ""},
        {"%#u", {1}, ""},
        {"%#s", {std::string_view("a")}, ""},
        {"%05s", {std::string_view("a")}, ""},
        // Field sizes taken from values, or beyond the cap.
        {"%*d", {5, 1}, ""},
        {"%.*f", {2, 1.0}, ""},
        {"%513d", {1}, ""},
        {"%.513f", {1.0}, ""},
        {"%999999999d", {1}, ""},
        {"%99999999999999999999999d", {1}, ""},
        {"%.99999999999999999999f", {1.0}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.templ);
        try {
            Format(c.templ, c.args);
            ADD_FAILURE() << "accepted";
        } catch (const EFormatError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Format '") + c.templ + "' invalid or incompatible with argument");
        }
        // On the overlay the template shows as it stands.
        EXPECT_EQ(FormatOrTemplate(c.templ, c.args), c.templ);
    }
}

TEST(Format, TemplateBytesPassThroughUntouched) {
    // Language files are 8-bit text; bytes above 127 and embedded NULs are plain text.
    const std::string templ("\xE9t\xE9 %d\0end", 11);
    const std::string expected("\xE9t\xE9 7\0end", 10);
    EXPECT_EQ(Format(templ, {7}), expected);
}

TEST(Format, ErrorIsAlsoARuntimeError) {
    EXPECT_THROW(Format("%s", {1}), std::runtime_error);
}

}  // namespace
}  // namespace ratiscope
