// The key table itself, with the setter each value goes through.
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <array>

#include "base/Numbers.h"
#include "settings/Looks.h"
#include "settings/Settings.h"
#include "settings/SettingsValues.h"

namespace ratiscope {

namespace {

std::int32_t AsInt(const TSettingValue& v) { return std::get<std::int32_t>(v); }
bool AsBool(const TSettingValue& v) { return std::get<bool>(v); }

// One entry per key; the lambdas keep each setter next to its key.
#define INT_KEY(Name, Default, Step, Apply) \
    {#Name, TKeyKind::Integer, Default, 0, {}, Step, \
     [](TSettings& s, const TSettingValue& v) { Apply; }, \
     [](const TSettings& s) -> TSettingValue { return static_cast<std::int32_t>(s.Name); }}
#define BOOL_KEY(Name, Default, Step, Apply) \
    {#Name, TKeyKind::Boolean, Default, 0, {}, Step, \
     [](TSettings& s, const TSettingValue& v) { Apply; }, \
     [](const TSettings& s) -> TSettingValue { return s.Name; }}

const std::array<TSettingsKey, 27> kKeys = {{
    INT_KEY(Border, 12, 1, s.SetBorder(AsInt(v))),
    INT_KEY(Height, 301, 20, s.SetHeight(AsInt(v))),
    INT_KEY(Width, 401, 21, s.SetWidth(AsInt(v))),
    BOOL_KEY(LockWidth, 1, 2, s.SetLockWidth(AsBool(v))),
    BOOL_KEY(Lock, 1, 3, s.SetLock(AsBool(v))),
    {"Ratio", TKeyKind::Float, 0, kGoldenFactor, {}, 4,
     [](TSettings& s, const TSettingValue& v) { s.SetRatio(std::get<double>(v)); },
     [](const TSettings& s) -> TSettingValue { return s.Ratio; }},
    INT_KEY(LinesColor, 4210943, 5, s.SetLinesColor(static_cast<TColor>(AsInt(v)))),
    INT_KEY(ValuesColor, 8618883, 6, s.SetValuesColor(static_cast<TColor>(AsInt(v)))),
    BOOL_KEY(MouseResizeAllowed, 1, 7, s.SetMouseResizeAllowed(AsBool(v))),
    INT_KEY(Opacity, 90, 8, s.SetOpacity(AsInt(v))),
    BOOL_KEY(MouseWheelAllowed, 1, 9, s.SetMouseWheelAllowed(AsBool(v))),
    INT_KEY(OrientMode, 0, 10, s.SetOrientMode(TOrientation{AsInt(v)})),
    BOOL_KEY(ShowHints, 1, 11, s.SetShowHints(AsBool(v))),
    BOOL_KEY(ShowValues, 1, 12, s.SetShowValues(AsBool(v))),
    INT_KEY(LookMode, LookNumber(TLook::RatioSequence), 13, s.SetLookMode(TLook{AsInt(v)})),
    INT_KEY(GridSize, 8, 14, s.SetGridSize(AsInt(v))),
    BOOL_KEY(SettingsOpacity, 0, 15, s.SetSettingsOpacity(AsBool(v))),
    BOOL_KEY(MoveUsingGrid, 1, 16, s.SetMoveUsingGrid(AsBool(v))),
    {"Lang", TKeyKind::Text, 0, 0, "English", 17,
     [](TSettings& s, const TSettingValue& v) { s.SetLang(std::get<std::string>(v)); },
     [](const TSettings& s) -> TSettingValue { return s.Lang; }},
    INT_KEY(X, 200, 18, s.X = AsInt(v)),
    INT_KEY(Y, 200, 19, s.Y = AsInt(v)),
    INT_KEY(SX, 600, 22, s.SX = AsInt(v)),
    INT_KEY(SY, 10, 23, s.SY = AsInt(v)),
    BOOL_KEY(SVisible, 0, 24, s.SVisible = AsBool(v)),
    INT_KEY(SPage, 1, 25, s.SPage = AsInt(v)),
    BOOL_KEY(SFrame, 1, 26, s.SFrame = AsBool(v)),
    // Beyond the original 26: written last, so older files keep their order.
    {"Hotkey", TKeyKind::Text, 0, 0, kDefaultHotkey, 27,
     [](TSettings& s, const TSettingValue& v) { s.SetHotkey(std::get<std::string>(v)); },
     [](const TSettings& s) -> TSettingValue { return s.Hotkey; }},
}};

#undef INT_KEY
#undef BOOL_KEY

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

template <class T, class U>
std::optional<TSettingValue> Parsed(U&& value) {
    return std::optional<TSettingValue>(std::in_place, std::in_place_type<T>, std::forward<U>(value));
}

}  // namespace

TSettingValue TSettingsKey::Default() const {
    switch (kind) {
    case TKeyKind::Integer: return intDefault;
    case TKeyKind::Boolean: return intDefault != 0;
    case TKeyKind::Float: return floatDefault;
    case TKeyKind::Text: return std::string(textDefault);
    }
    return intDefault;
}

std::span<const TSettingsKey> SettingsKeys() { return kKeys; }

std::span<const TSettingsKey* const> SettingsKeysInReadOrder() {
    static const auto order = [] {
        std::array<const TSettingsKey*, kKeys.size()> a{};
        for (std::size_t i = 0; i < kKeys.size(); ++i) a[i] = &kKeys[i];
        std::sort(a.begin(), a.end(), [](auto* x, auto* y) { return x->readStep < y->readStep; });
        return a;
    }();
    return order;
}

const TSettingsKey* FindSettingsKey(std::string_view name) {
    for (const auto& k : kKeys)
        if (EqualNoCase(k.name, name)) return &k;
    return nullptr;
}

std::optional<TSettingValue> ParseSettingValue(const TSettingsKey& key, std::string_view text,
                                               char decimalSeparator) {
    switch (key.kind) {
    case TKeyKind::Integer:
        // Built in place: moving a temporary variant into the optional trips a
        // false maybe-uninitialized warning in GCC 12.
        if (auto v = ParseIniInteger(text)) return Parsed<std::int32_t>(*v);
        return std::nullopt;
    case TKeyKind::Boolean:
        if (auto v = ParseIniBoolean(text)) return Parsed<bool>(*v);
        return std::nullopt;
    case TKeyKind::Float:
        if (auto v = ParseRatioText(text, decimalSeparator)) return Parsed<double>(*v);
        return std::nullopt;
    case TKeyKind::Text: return Parsed<std::string>(text);
    }
    return std::nullopt;
}

std::string FormatSettingValue(const TSettingValue& v, char decimalSeparator) {
    struct {
        char sep;
        std::string operator()(std::int32_t i) const { return std::to_string(i); }
        std::string operator()(bool b) const { return b ? "1" : "0"; }
        std::string operator()(double d) const { return FormatRatio(d, sep); }
        std::string operator()(const std::string& s) const { return s; }
    } visitor{decimalSeparator};
    return std::visit(visitor, v);
}

}  // namespace ratiscope
