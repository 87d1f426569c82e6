// The X11 pieces of aiming at a window and of the global key that need no
// server: frames and shadows around a client area, the stacking walk, keysyms
// and the lock states a grab must cover.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Keys.h"
#include "platform/qt/QtGlobalHotkey.h"
#include "platform/qt/QtX11Windows.h"

namespace ratiscope {
namespace {

TEST(X11Windows, FrameExtentsWidenTheClientAreaSideBySide) {
    const TRect client{100, 130, 600, 430};
    const std::vector<std::uint32_t> extents{4, 5, 26, 7};  // left, right, top, bottom
    EXPECT_EQ(FrameAround(client, extents), (TRect{96, 104, 605, 437}));
    EXPECT_EQ(FrameAround(client, {}), client) << "no property: no frame";
    EXPECT_EQ(FrameAround(client, std::vector<std::uint32_t>{1, 2}), client) << "too short: ignored";
    EXPECT_EQ(FrameAround(client, std::vector<std::uint32_t>{0xFFFFFFFFu, 0, 0, 0}), client) << "nonsense: ignored";
}

TEST(X11Windows, AShadowOfAClientSideFrameIsNotPartOfTheClient) {
    const TRect window{50, 50, 750, 550};
    EXPECT_EQ(WithoutShadow(window, std::vector<std::uint32_t>{20, 20, 12, 28}), (TRect{70, 62, 730, 522}));
    EXPECT_EQ(WithoutShadow(window, {}), window);
    EXPECT_EQ(WithoutShadow(window, std::vector<std::uint32_t>{400, 400, 0, 0}), window) << "wider than the window";
}

TEST(X11Windows, TheTopmostFrameHoldingThePointWins) {
    const std::vector<TStackedWindow> topmostFirst{
        {{110, 130, 300, 300}, {100, 100, 310, 310}},
        {{10, 30, 500, 500}, {0, 0, 510, 510}},
    };
    EXPECT_EQ(ClientAreaAt(topmostFirst, 105, 105), (TRect{110, 130, 300, 300})) << "on the frame counts";
    EXPECT_EQ(ClientAreaAt(topmostFirst, 400, 400), (TRect{10, 30, 500, 500}));
    EXPECT_EQ(ClientAreaAt(topmostFirst, 310, 200), (TRect{10, 30, 500, 500})) << "right edge exclusive";
    EXPECT_FALSE(ClientAreaAt(topmostFirst, 600, 20)) << "the bare desktop";
}

TEST(X11GlobalKey, KeysymsOfTheKeysACombinationMayUse) {
    EXPECT_EQ(KeysymFromVirtualKey(KeyOfLetter('G')), 0x67u) << "letters as their lower-case keysym";
    EXPECT_EQ(KeysymFromVirtualKey(KeyOfDigit(0)), 0x30u);
    EXPECT_EQ(KeysymFromVirtualKey(TKey::F1), 0xffbeu);
    EXPECT_EQ(KeysymFromVirtualKey(FunctionKey(24)), 0xffd5u);
    EXPECT_EQ(KeysymFromVirtualKey(KeypadDigit(9)), 0xffb9u);
    EXPECT_EQ(KeysymFromVirtualKey(TKey::Divide), 0xffafu);
    EXPECT_EQ(KeysymFromVirtualKey(TKey::Space), 0x20u);
    EXPECT_EQ(KeysymFromVirtualKey(TKey::Next), 0xff56u);
    EXPECT_EQ(KeysymFromVirtualKey(TKey::Shift), 0u) << "a modifier is no key of its own here";
}

TEST(X11GlobalKey, EveryLockStateIsGrabbedOnce) {
    EXPECT_EQ(LockVariants(16, 2), (std::vector<std::uint16_t>{0, 16, 2, 18}));
    EXPECT_EQ(LockVariants(0, 2), (std::vector<std::uint16_t>{0, 2})) << "no Num Lock key on this keyboard";
}

}  // namespace
}  // namespace ratiscope
