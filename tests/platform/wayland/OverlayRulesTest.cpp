// Which window system carries the overlay, and when the native overlay asks for the keyboard.
#include <gtest/gtest.h>

#include "platform/wayland/OverlayRules.h"

namespace ratiscope {
namespace {

struct TChoiceCase {
    const char* request;
    TOverlaySession session;
    TOverlayBackend expected;
};

class OverlayChoice : public testing::TestWithParam<TChoiceCase> {};

TEST_P(OverlayChoice, PicksTheBackend) {
    const TChoiceCase& c = GetParam();
    EXPECT_EQ(ChooseOverlayBackend(OverlayRequestFrom(c.request), c.session), c.expected)
        << "request '" << c.request << "' session " << c.session.waylandSession << c.session.waylandDisplay << c.session.layerShell;
}

constexpr TOverlaySession kLayerShellDesktop{true, true, true};  // sway, KDE Plasma, Hyprland
constexpr TOverlaySession kGnome{true, true, false};              // a Wayland session without the layer shell
constexpr TOverlaySession kX11Session{false, false, false};
constexpr TOverlaySession kNested{false, true, true};  // a compositor inside an X11 session

INSTANTIATE_TEST_SUITE_P(
    Tables, OverlayChoice,
    testing::Values(TChoiceCase{"", kLayerShellDesktop, TOverlayBackend::Wayland},
                    TChoiceCase{"", kGnome, TOverlayBackend::X11},
                    TChoiceCase{"", kX11Session, TOverlayBackend::X11},
                    TChoiceCase{"", kNested, TOverlayBackend::X11},
                    TChoiceCase{"x11", kLayerShellDesktop, TOverlayBackend::X11},
                    TChoiceCase{"wayland", kNested, TOverlayBackend::Wayland},
                    TChoiceCase{"wayland", kGnome, TOverlayBackend::X11},
                    TChoiceCase{"wayland", kX11Session, TOverlayBackend::X11},
                    TChoiceCase{"Wayland", kNested, TOverlayBackend::X11},  // values are lower case, as documented
                    TChoiceCase{"auto", kLayerShellDesktop, TOverlayBackend::Wayland}));

// Steps: 'p' press on the overlay, 'l' leave with no button held, 'd' leave
// during a drag, 'u' a button released outside after a drag.
struct TClaimCase {
    const char* steps;
    const char* wanted;  // after each step: '1' the overlay asks for the keyboard
};

class KeyboardClaim : public testing::TestWithParam<TClaimCase> {};

TEST_P(KeyboardClaim, FollowsTheUsersWork) {
    TKeyboardClaim claim;
    std::string got;
    for (const char* s = GetParam().steps; *s; ++s) {
        switch (*s) {
        case 'p': claim.Pressed(); break;
        case 'l': claim.Left(false); break;
        case 'd': claim.Left(true); break;
        case 'u': claim.Left(false); break;
        }
        got += claim.Wanted() ? '1' : '0';
    }
    EXPECT_EQ(got, GetParam().wanted) << GetParam().steps;
}

INSTANTIATE_TEST_SUITE_P(Tables, KeyboardClaim,
                         testing::Values(TClaimCase{"l", "0"},        // never taken without a press
                                         TClaimCase{"pl", "10"},      // given back when the pointer leaves
                                         TClaimCase{"pdu", "110"},    // kept through a drag, given back after it
                                         TClaimCase{"plp", "101"},    // taken again by the next press
                                         TClaimCase{"pp", "11"}));

}  // namespace
}  // namespace ratiscope
