// The look table: the numbers its rows give the looks, the keys of their
// names, the Enter cycle, and the count the build reads from it.
#include <gtest/gtest.h>

#include <string>

#include "settings/Looks.h"
#include "settings/Settings.h"

namespace ratiscope {
namespace {

TEST(Looks, EachRowIsTheLookOfItsPlaceNamedByItsNumber) {
    for (std::int32_t i = 0; i < kBuiltInLookCount; ++i) {
        const TLookName& row = kBuiltInLooks[static_cast<std::size_t>(i)];
        EXPECT_EQ(LookNumber(row.look), i) << row.english;
        EXPECT_EQ(row.key, "MSLook" + std::to_string(i)) << row.english;
        EXPECT_FALSE(row.english.empty()) << row.key;
    }
}

TEST(Looks, TheBuildCountsTheSameRows) {
    // The manual's pictures and the Windows packages take the count from the build.
    EXPECT_EQ(kBuiltInLookCount, RATISCOPE_BUILD_LOOK_COUNT);
}

TEST(Looks, NumbersStoredBeforeStayTheirLooks) {
    // Settings files written by earlier versions keep these numbers.
    struct Case {
        TLook look;
        std::int32_t stored;
    };
    const Case cases[] = {{TLook::Grid, 0}, {TLook::RatioSequence, 1}, {TLook::SingleGoldenLines, 13},
                          {TLook::GoldenTriangles, 14}, {TLook::DiagonalMethod, 15}};
    for (const Case& c : cases) EXPECT_EQ(LookNumber(c.look), c.stored);
}

TEST(Looks, EnterGoesRoundTheCycledRowsOnly) {
    TSettings s{1920};
    s.SetLookMode(TLook::Grid);
    std::int32_t steps = 0;
    do {
        EXPECT_EQ(BuiltInLook(s.LookMode).cycle, TLookCycle::InCycle) << BuiltInLook(s.LookMode).english;
        s.NextLook();
        ++steps;
    } while (s.LookMode != TLook::Grid && steps <= kBuiltInLookCount);
    EXPECT_EQ(steps, kCycledLookCount);
    for (const TLookName& row : kBuiltInLooks) {
        if (row.cycle == TLookCycle::InCycle) continue;
        s.SetLookMode(row.look);
        s.NextLook();
        EXPECT_EQ(s.LookMode, TLook::Grid) << row.english << " leads back to the first look";
    }
}

}  // namespace
}  // namespace ratiscope
