// Exact (a * b + c) / d in 64-bit words: the line rule multiplies two 33-bit
// distances, and a wider built-in integer is not there on every compiler.
#pragma once

#include <cassert>
#include <cstdint>

namespace ratiscope {

struct TWideQuotient {
    std::uint64_t quotient;
    std::uint64_t remainder;
};

// (a * b + c) divided by d, truncated, and its remainder. d must be positive
// and the quotient must fit in 64 bits (a * b + c < d * 2^64).
constexpr TWideQuotient MulAddDivide(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
    using u64 = std::uint64_t;
    constexpr u64 kLowHalf = 0xFFFFFFFFu;
    constexpr int kHalfBits = 32;
    assert(d != 0);
    // The 128-bit product high:low from four 32-bit partial products.
    const u64 aLow = a & kLowHalf, aHigh = a >> kHalfBits, bLow = b & kLowHalf, bHigh = b >> kHalfBits;
    const u64 lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
    const u64 middle = (lowLow >> kHalfBits) + (lowHigh & kLowHalf) + (highLow & kLowHalf);
    u64 low = (middle << kHalfBits) | (lowLow & kLowHalf);
    u64 high = aHigh * bHigh + (lowHigh >> kHalfBits) + (highLow >> kHalfBits) + (middle >> kHalfBits);
    low += c;
    if (low < c) ++high;
    if (high == 0) return {low / d, low % d};

    // Long division one bit at a time; the remainder stays below d, and a bit
    // shifted out of it means it has passed d.
    assert(high < d);
    u64 quotient = 0, remainder = high;
    for (int bit = 63; bit >= 0; --bit) {
        const bool overflow = (remainder >> 63) != 0;
        remainder = (remainder << 1) | ((low >> bit) & 1u);
        quotient <<= 1;
        if (overflow || remainder >= d) {
            remainder -= d;
            quotient |= 1u;
        }
    }
    return {quotient, remainder};
}

}  // namespace ratiscope
