// Exact (a * b + c) / d where the product needs more than 64 bits: the line
// rule's clipping depends on it for far-off lines.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/raster/WideDivision.h"

namespace ratiscope {
namespace {

TEST(WideDivision, QuotientAndRemainderAreExact) {
    struct Case {
        const char* what;
        std::uint64_t a, b, c, d, quotient, remainder;
    };
    // Expected values worked out with arbitrary-precision integers.
    const Case cases[] = {
        {"small", 7, 6, 5, 4, 11, 3},
        {"zero product", 0, 123, 0, 7, 0, 0},
        {"line start of a full-range line", 4294967295u, 8589934591u, 4294967294u, 8589934590u, 4294967295u,
         8589934589u},
        {"66-bit product, halved", 4294967295u, 8589934591u, 0, 2, 18446744067267100672u, 1},
        {"product past 2^64 by a small factor", 9223372036854775808u, 4, 3, 4611686018427387905u, 7,
         4611686018427387900u},
        {"largest operands", 18446744073709551615u, 18446744073709551615u, 0, 18446744073709551615u,
         18446744073709551615u, 0},
        {"carry from the addend", 18446744073709551615u, 9223372036854775808u, 18446744073709551615u,
         9223372036854775809u, 18446744073709551615u, 0},
        {"square over one more", 3000000000u, 3000000000u, 1, 3000000001u, 2999999999u, 2},
        {"mixed widths", 12345678901u, 98765432109u, 55555, 123456789012345u, 9876543, 26013876364429u},
    };
    for (const Case& c : cases) {
        const TWideQuotient q = MulAddDivide(c.a, c.b, c.c, c.d);
        EXPECT_EQ(q.quotient, c.quotient) << c.what;
        EXPECT_EQ(q.remainder, c.remainder) << c.what;
    }
}

TEST(WideDivision, AgreesWithPlainArithmeticWhereThatSuffices) {
    for (std::uint64_t a = 0; a < 200; a += 7)
        for (std::uint64_t b = 1; b < 5000; b += 331)
            for (std::uint64_t d = 1; d < 900; d += 97) {
                const TWideQuotient q = MulAddDivide(a, b, a + b, d);
                ASSERT_EQ(q.quotient, (a * b + a + b) / d);
                ASSERT_EQ(q.remainder, (a * b + a + b) % d);
            }
}

}  // namespace
}  // namespace ratiscope
