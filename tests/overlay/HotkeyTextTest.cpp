// The show-and-hide key's text: what parses, how it is spelt back, and the
// claim at start-up that says once why the key stays off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "overlay/HotkeyText.h"
#include "platform/Keys.h"
#include "settings/LangTable.h"

namespace ratiscope {
namespace {

struct TParseCase {
    const char* text;
    bool valid;
    std::uint32_t modifiers;
    int key;
    const char* canonical;
};

const TParseCase kParses[] = {
    {"Ctrl+Alt+G", true, hmCtrl | hmAlt, 'G', "Ctrl+Alt+G"},
    {"  alt + ctrl + g ", true, hmCtrl | hmAlt, 'G', "Ctrl+Alt+G"},
    {"Control+Shift+F12", true, hmCtrl | hmShift, vk::F1 + 11, "Ctrl+Shift+F12"},
    {"Win+Space", true, hmSuper, vk::Space, "Super+Space"},
    {"Meta+num5", true, hmSuper, vk::Numpad0 + 5, "Super+Num5"},
    {"Ctrl+NumAdd", true, hmCtrl, vk::Add, "Ctrl+NumAdd"},
    {"Alt+PgDn", true, hmAlt, vk::Next, "Alt+PageDown"},
    {"Ctrl+Alt+7", true, hmCtrl | hmAlt, '7', "Ctrl+Alt+7"},
    {"F9", true, 0, vk::F1 + 8, "F9"},
    {"Shift+F24", true, hmShift, vk::F1 + 23, "Shift+F24"},
    {"G", false, 0, 0, ""},                 // would take a letter from typing everywhere
    {"Shift+G", false, 0, 0, ""},
    {"Ctrl+Alt", false, 0, 0, ""},          // no key
    {"Ctrl+G+H", false, 0, 0, ""},          // two keys
    {"Ctrl+Ctrl+G", false, 0, 0, ""},       // a modifier twice
    {"Ctrl++G", false, 0, 0, ""},           // an empty part
    {"Ctrl+Alt+", false, 0, 0, ""},
    {"Ctrl+F25", false, 0, 0, ""},
    {"Ctrl+F0", false, 0, 0, ""},
    {"Ctrl+Alt+Gee", false, 0, 0, ""},
    {"Ctrl+Alt+é", false, 0, 0, ""},
    {"Hyper+G", false, 0, 0, ""},
};

TEST(HotkeyText, ParsesModifiersAndOneKeyAndSpellsThemCanonically) {
    for (const TParseCase& c : kParses) {
        const std::optional<THotkey> h = ParseHotkey(c.text);
        ASSERT_EQ(h.has_value(), c.valid) << c.text;
        if (!h) continue;
        EXPECT_EQ(h->modifiers, c.modifiers) << c.text;
        EXPECT_EQ(h->key, c.key) << c.text;
        EXPECT_EQ(FormatHotkey(*h), c.canonical) << c.text;
        EXPECT_EQ(ParseHotkey(FormatHotkey(*h)), h) << c.text;
    }
}

TEST(HotkeyText, BlanksSwitchItOff) {
    EXPECT_TRUE(HotkeySwitchedOff(""));
    EXPECT_TRUE(HotkeySwitchedOff(" \t "));
    EXPECT_FALSE(HotkeySwitchedOff("x"));
}

// Claims what it is told to grant and remembers the action.
class TFakeHotkey final : public IGlobalHotkey {
public:
    THotkeyResult answer = THotkeyResult::Registered;
    std::vector<THotkey> claims;
    std::function<void()> action;
    THotkeyResult Register(const THotkey& h, std::function<void()> pressed) override {
        claims.push_back(h);
        if (answer == THotkeyResult::Registered) action = std::move(pressed);
        return answer;
    }
    void Unregister() override { action = nullptr; }
};

class StartHotkeyTest : public ::testing::Test {
protected:
    StartHotkeyTest() {
        LanguageTable().MergeLangPair("MHotkeyInvalid", "Not a key: %s.");
        LanguageTable().MergeLangPair("MHotkeyTaken", "Taken: %s.");
    }
    ~StartHotkeyTest() override { ClearLanguageTable(); }

    bool Start(const std::string& text) {
        return StartHotkey(text, fake, [this] { ++toggles; }, [this](const std::string& m) { told.push_back(m); });
    }

    TFakeHotkey fake;
    int toggles = 0;
    std::vector<std::string> told;
};

TEST_F(StartHotkeyTest, AClaimedKeyRunsTheToggleAndSaysNothing) {
    EXPECT_TRUE(Start("Ctrl+Alt+G"));
    ASSERT_EQ(fake.claims.size(), 1u);
    EXPECT_EQ(fake.claims[0], (THotkey{hmCtrl | hmAlt, 'G'}));
    ASSERT_TRUE(fake.action);
    fake.action();
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(told.empty());
}

TEST_F(StartHotkeyTest, AnInvalidTextClaimsNothingAndSaysSoOnce) {
    EXPECT_FALSE(Start(" Ctrl+Q+Q "));
    EXPECT_TRUE(fake.claims.empty());
    EXPECT_EQ(told, (std::vector<std::string>{"Not a key: Ctrl+Q+Q."}));
}

TEST_F(StartHotkeyTest, ATakenKeyStaysOffAndSaysSoOnce) {
    fake.answer = THotkeyResult::Taken;
    EXPECT_FALSE(Start("Ctrl+Alt+G"));
    EXPECT_FALSE(fake.action);
    EXPECT_EQ(told, (std::vector<std::string>{"Taken: Ctrl+Alt+G."}));
}

TEST_F(StartHotkeyTest, AKeyThisKeyboardLacksCountsAsInvalid) {
    fake.answer = THotkeyResult::Unusable;
    EXPECT_FALSE(Start("Super+F20"));
    EXPECT_EQ(told, (std::vector<std::string>{"Not a key: Super+F20."}));
}

TEST_F(StartHotkeyTest, AnEmptyTextIsOffWithoutAWord) {
    EXPECT_FALSE(Start("  "));
    EXPECT_TRUE(fake.claims.empty());
    EXPECT_TRUE(told.empty());
}

TEST_F(StartHotkeyTest, ATemplateThatDoesNotFitStillNamesTheKey) {
    LanguageTable().MergeLangPair("MHotkeyTaken", "Taken: %d.");
    fake.answer = THotkeyResult::Taken;
    Start("Ctrl+Alt+G");
    EXPECT_EQ(told, (std::vector<std::string>{"Ctrl+Alt+G"}));
}

}  // namespace
}  // namespace ratiscope
