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
    TKey key;
    const char* canonical;
};

const TParseCase kParses[] = {
    {"Ctrl+Alt+G", true, hmCtrl | hmAlt, KeyOfLetter('G'), "Ctrl+Alt+G"},
    {"  alt + ctrl + g ", true, hmCtrl | hmAlt, KeyOfLetter('G'), "Ctrl+Alt+G"},
    {"Control+Shift+F12", true, hmCtrl | hmShift, FunctionKey(12), "Ctrl+Shift+F12"},
    {"Win+Space", true, hmSuper, TKey::Space, "Super+Space"},
    {"Meta+num5", true, hmSuper, KeypadDigit(5), "Super+Num5"},
    {"Ctrl+NumAdd", true, hmCtrl, TKey::Add, "Ctrl+NumAdd"},
    {"Alt+PgDn", true, hmAlt, TKey::Next, "Alt+PageDown"},
    {"Ctrl+Alt+7", true, hmCtrl | hmAlt, KeyOfDigit(7), "Ctrl+Alt+7"},
    {"F9", true, 0, FunctionKey(9), "F9"},
    {"Shift+F24", true, hmShift, FunctionKey(24), "Shift+F24"},
    {"G", false, 0, TKey::None, ""},            // would take a letter from typing everywhere
    {"Shift+G", false, 0, TKey::None, ""},
    {"Ctrl+Alt", false, 0, TKey::None, ""},     // no key
    {"Ctrl+G+H", false, 0, TKey::None, ""},     // two keys
    {"Ctrl+Ctrl+G", false, 0, TKey::None, ""},  // a modifier twice
    {"Ctrl++G", false, 0, TKey::None, ""},      // an empty part
    {"Ctrl+Alt+", false, 0, TKey::None, ""},
    {"Ctrl+F25", false, 0, TKey::None, ""},
    {"Ctrl+F0", false, 0, TKey::None, ""},
    {"Ctrl+Alt+Gee", false, 0, TKey::None, ""},
    {"Ctrl+Alt+é", false, 0, TKey::None, ""},
    {"Hyper+G", false, 0, TKey::None, ""},
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
    EXPECT_EQ(fake.claims[0], (THotkey{hmCtrl | hmAlt, KeyOfLetter('G')}));
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
