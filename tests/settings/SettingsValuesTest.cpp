// How integers, booleans and the ratio are spelled, and the key table's order.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsValues.h"

namespace ratiscope {
namespace {

TEST(SettingsValues, IntegersInDecimalOrHex) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0}, {"12", 12}, {"-7", -7}, {"+7", 7}, {"$FF", 255}, {"0x10", 16}, {"0X1f", 31},
        {"$FFFFFFFF", -1}, {"4210943", 4210943}, {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()}, {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt},
        {"$", std::nullopt}, {"0x", std::nullopt}, {"12a", std::nullopt}, {"true", std::nullopt},
        {"1.5", std::nullopt}, {" 1", std::nullopt}, {"$123456789", std::nullopt}, {"$G", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(SettingsValues, BooleansAreIntegers) {
    EXPECT_EQ(ParseIniBoolean("2"), true);
    EXPECT_EQ(ParseIniBoolean("0"), false);
    EXPECT_EQ(ParseIniBoolean("-1"), true);
    EXPECT_EQ(ParseIniBoolean("yes"), std::nullopt);
    EXPECT_EQ(ParseIniBoolean(""), std::nullopt);
}

TEST(SettingsValues, RatioWrittenWithFifteenDigitsAndReadBack) {
    EXPECT_EQ(FormatRatio(0.6180339887498949), "0.618033988749895");
    EXPECT_EQ(FormatRatio(0.5), "0.5");
    EXPECT_EQ(FormatRatio(2.0), "2");
    EXPECT_EQ(FormatRatio(1.6180339887498947, ','), "1,61803398874989");
    EXPECT_EQ(FormatRatio(1e-20), "1e-20");
    EXPECT_EQ(ParseRatioText("0.618033988749895"), 0.618033988749895);
    EXPECT_EQ(ParseRatioText("0,5", ','), 0.5);
    EXPECT_EQ(ParseRatioText("0.5", ','), 0.5);  // a dot is always understood
    EXPECT_EQ(ParseRatioText("1e3"), 1000.0);
    EXPECT_EQ(ParseRatioText("+2"), 2.0);
    for (const char* bad : {"", "abc", "0.5x", "inf", "nan", "1e999", ".", "+", ",", "1,234.5", "1.234,5", "0,5,"})
        EXPECT_EQ(ParseRatioText(bad), std::nullopt) << bad;
}

TEST(SettingsValues, RatioReadsEitherSeparatorUnderAnyLocale) {
    struct Case {
        const char* text;
        char localeSeparator;
        double expected;
    };
    const Case cases[] = {
        {"0,618033988749895", '.', 0.618033988749895},  // written under a comma locale, read under C
        {"0.618033988749895", ',', 0.618033988749895},  // the other way round
        {"0,5", '.', 0.5},
        {"1,5e-1", '.', 0.15},
        {"0'5", '\'', 0.5},  // a locale with yet another separator
        {"0,25", '\'', 0.25},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseRatioText(c.text, c.localeSeparator), c.expected) << c.text;
}

TEST(SettingsKeys, WrittenAndReadOrdersFollowTheFile) {
    std::string written, read;
    for (const auto& k : SettingsKeys()) written += std::string(k.name) + ' ';
    for (const auto* k : SettingsKeysInReadOrder()) read += std::string(k->name) + ' ';
    EXPECT_EQ(written,
              "Border Height Width LockWidth Lock Ratio LinesColor ValuesColor MouseResizeAllowed Opacity "
              "MouseWheelAllowed OrientMode ShowHints ShowValues LookMode GridSize SettingsOpacity "
              "MoveUsingGrid Lang X Y SX SY SVisible SPage SFrame Hotkey Figure ");
    EXPECT_EQ(read,
              "Border LockWidth Lock Ratio LinesColor ValuesColor MouseResizeAllowed Opacity "
              "MouseWheelAllowed OrientMode ShowHints ShowValues LookMode GridSize SettingsOpacity "
              "MoveUsingGrid Lang X Y Height Width SX SY SVisible SPage SFrame Hotkey Figure ");
}

TEST(SettingsKeys, EveryKeyReadsBackWhatItWrites) {
    // Applying each key's own value to a second record must reproduce it.
    TSettings a(1000), b(1000);
    a.SetLock(false);
    a.SetWidth(640);
    a.SetHeight(480);
    a.SetOpacity(55);
    a.SetLinesColor(0x00FFFFFF);
    a.SetLang("Deutsch");
    a.X = -40;
    a.SVisible = false;
    a.SFrame = false;
    a.SetHotkey("Super+F9");
    a.ChooseFigure("Phi grid.figure");
    for (const auto* k : SettingsKeysInReadOrder()) {
        const std::string text = FormatSettingValue(k->value(a));
        auto v = ParseSettingValue(*k, text);
        ASSERT_TRUE(v) << k->name << " = " << text;
        k->apply(b, *v);
    }
    for (const auto& k : SettingsKeys())
        if (k.kind != TKeyKind::Float) {
            EXPECT_EQ(FormatSettingValue(k.value(a)), FormatSettingValue(k.value(b))) << k.name;
        }
}

TEST(SettingsKeys, FoundWithoutRegardToCase) {
    ASSERT_NE(FindSettingsKey("gridsize"), nullptr);
    EXPECT_EQ(FindSettingsKey("GRIDSIZE")->name, "GridSize");
    EXPECT_EQ(FindSettingsKey("Grid"), nullptr);
    EXPECT_EQ(FindSettingsKey(""), nullptr);
    EXPECT_EQ(std::get<bool>(FindSettingsKey("SVisible")->Default()), false);
    EXPECT_EQ(std::get<std::int32_t>(FindSettingsKey("SPage")->Default()), 1);
    EXPECT_EQ(std::get<std::string>(FindSettingsKey("Lang")->Default()), "English");
    EXPECT_EQ(std::get<std::string>(FindSettingsKey("hotkey")->Default()), "Ctrl+Alt+G");
}

}  // namespace
}  // namespace ratiscope
