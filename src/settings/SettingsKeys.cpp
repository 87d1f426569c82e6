// The field table itself: one row per field, in the order the file is written.
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <array>
#include <limits>

#include "settings/Settings.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsValues.h"

namespace ratiscope {

namespace {

constexpr TKeyValue Int(std::int32_t v) { return {v, 0, {}}; }
constexpr TKeyValue Real(double v) { return {0, v, {}}; }
constexpr TKeyValue Text(std::string_view v) { return {0, 0, v}; }

constexpr std::int32_t kNoMax = std::numeric_limits<std::int32_t>::max();

constexpr TLimit kAnyValue{};
constexpr TLimit kSizeRule{TLimitRule::SizeRule, kMinWidth, kMaxSide};
constexpr TLimit kRatioRule{TLimitRule::RatioRule, 0, 0};

constexpr TRefreshSet kSizeRefresh = kUpdateSize | kShowSize;
constexpr TRefreshSet kColorRefresh = kUpdateLook | kShowColors;
constexpr TRefreshSet kOptionRefresh = kUpdateOptions | kShowAdvanced;

using F = TSettingsField;
using K = TKeyKind;
using I = TInitial;
using A = TApply;
using S = TSettings;

// Columns: field, key, kind, member, initial kind, value at creation, default
// when missing, read step, how loading applies it, the setter's limit, what a
// change refreshes.
const std::array<TSettingsKey, kSettingsFieldCount> kKeys = {{
    {F::Border, "Border", K::Integer, &S::Border, I::Restored, Int(kDefaultBorder), Int(kDefaultBorder), 1, A::Setter,
     {TLimitRule::Clamp, kMinBorder, kMaxBorder}, kRefreshNone},
    {F::Height, "Height", K::Integer, &S::Height, I::Derived, Int(kDefaultHeight), Int(301), 20, A::Setter, kSizeRule,
     kSizeRefresh},
    {F::Width, "Width", K::Integer, &S::Width, I::Restored, Int(kDefaultWidth), Int(401), 21, A::Setter, kSizeRule,
     kSizeRefresh},
    {F::LockWidth, "LockWidth", K::Boolean, &S::LockWidth, I::Restored, Int(1), Int(1), 2, A::Setter, kAnyValue,
     kShowSnapAndLock},
    {F::Lock, "Lock", K::Boolean, &S::Lock, I::Restored, Int(1), Int(1), 3, A::Setter, kAnyValue, kShowSnapAndLock},
    {F::Ratio, "Ratio", K::Float, &S::Ratio, I::Restored, Real(kDefaultRatio), Real(kDefaultRatio), 4, A::Setter,
     kRatioRule, kUpdateSize | kShowRatio},
    {F::LinesColor, "LinesColor", K::Integer, &S::LinesColor, I::Restored, Int(static_cast<std::int32_t>(kDefaultLinesColor)),
     Int(static_cast<std::int32_t>(kDefaultLinesColor)), 5,
     A::Setter, kAnyValue, kColorRefresh},
    {F::ValuesColor, "ValuesColor", K::Integer, &S::ValuesColor, I::Restored, Int(static_cast<std::int32_t>(kDefaultValuesColor)),
     Int(static_cast<std::int32_t>(kDefaultValuesColor)),
     6, A::Setter, kAnyValue, kColorRefresh},
    {F::MouseResizeAllowed, "MouseResizeAllowed", K::Boolean, &S::MouseResizeAllowed, I::Restored, Int(1), Int(1), 7,
     A::Setter, kAnyValue, kOptionRefresh},
    {F::Opacity, "Opacity", K::Integer, &S::Opacity, I::Restored, Int(kDefaultOpacity), Int(kDefaultOpacity), 8, A::Setter,
     {TLimitRule::Refuse, kMinOpacity, kMaxOpacity}, kUpdateOpacity | kApplyOpacity},
    {F::MouseWheelAllowed, "MouseWheelAllowed", K::Boolean, &S::MouseWheelAllowed, I::Restored, Int(1), Int(1), 9,
     A::Setter, kAnyValue, kOptionRefresh},
    {F::OrientMode, "OrientMode", K::Integer, &S::OrientMode, I::Restored, Int(OrientationNumber(kDefaultOrientMode)), Int(OrientationNumber(kDefaultOrientMode)), 10,
     A::Setter, kAnyValue, kUpdateLook | kShowOrientation},
    {F::ShowHints, "ShowHints", K::Boolean, &S::ShowHints, I::Restored, Int(1), Int(1), 11, A::Setter, kAnyValue,
     kOptionRefresh},
    {F::ShowValues, "ShowValues", K::Boolean, &S::ShowValues, I::Restored, Int(1), Int(1), 12, A::Setter, kAnyValue,
     kOptionRefresh},
    {F::LookMode, "LookMode", K::Integer, &S::LookMode, I::Restored, Int(LookNumber(kDefaultLookMode)), Int(LookNumber(kDefaultLookMode)), 13, A::Setter, kAnyValue, kUpdateLook | kShowLook},
    {F::GridSize, "GridSize", K::Integer, &S::GridSize, I::Restored, Int(kDefaultGridSize), Int(kDefaultGridSize), 14, A::Setter,
     {TLimitRule::Clamp, kMinGridSize, kNoMax}, kUpdateLook | kShowGridSize},
    {F::SettingsOpacity, "SettingsOpacity", K::Boolean, &S::SettingsOpacity, I::Restored, Int(0), Int(0), 15,
     A::Setter, kAnyValue, kOptionRefresh},
    {F::MoveUsingGrid, "MoveUsingGrid", K::Boolean, &S::MoveUsingGrid, I::Restored, Int(1), Int(1), 16, A::Setter,
     kAnyValue, kOptionRefresh},
    {F::Lang, "Lang", K::Text, &S::Lang, I::Created, Text(kDefaultLang), Text(kDefaultLang), 17, A::Setter, kAnyValue,
     kReloadLanguage | kUpdateLanguage},
    {F::X, "X", K::Integer, &S::X, I::Created, Int(kFirstOverlayLeft), Int(200), 18, A::Direct, kAnyValue,
     kRefreshNone},
    {F::Y, "Y", K::Integer, &S::Y, I::Created, Int(kFirstOverlayTop), Int(200), 19, A::Direct, kAnyValue,
     kRefreshNone},
    {F::SX, "SX", K::Integer, &S::SX, I::Derived, Int(0), Int(600), 22, A::Direct, kAnyValue, kRefreshNone},
    {F::SY, "SY", K::Integer, &S::SY, I::Created, Int(kFirstPanelTop), Int(kFirstPanelTop), 23, A::Direct, kAnyValue,
     kRefreshNone},
    {F::SVisible, "SVisible", K::Boolean, &S::SVisible, I::Created, Int(1), Int(0), 24, A::Direct, kAnyValue,
     kRefreshNone},
    {F::SPage, "SPage", K::Integer, &S::SPage, I::Created, Int(0), Int(1), 25, A::Direct, kAnyValue, kRefreshNone},
    {F::SFrame, "SFrame", K::Boolean, &S::SFrame, I::Restored, Int(1), Int(1), 26, A::Direct, kAnyValue,
     kOptionRefresh},
    // Beyond the original 26: written last, so older files keep their order.
    {F::Hotkey, "Hotkey", K::Text, &S::Hotkey, I::Created, Text(kDefaultHotkey), Text(kDefaultHotkey), 27, A::Setter,
     kAnyValue, kRefreshNone},
    // A figure file's name; empty, or a name no figure file has, draws LookMode.
    {F::Figure, "Figure", K::Text, &S::Figure, I::Restored, Text(""), Text(""), 28, A::Setter, kAnyValue,
     kUpdateLook | kShowLook},
}};

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

TSettingValue ValueOfKind(TKeyKind kind, const TKeyValue& cell) {
    switch (kind) {
    case TKeyKind::Integer: return cell.integer;
    case TKeyKind::Boolean: return cell.integer != 0;
    case TKeyKind::Float: return cell.real;
    case TKeyKind::Text: return std::string(cell.text);
    }
    return cell.integer;
}

template <class... Fs>
struct TOverloaded : Fs... {
    using Fs::operator()...;
};
template <class... Fs>
TOverloaded(Fs...) -> TOverloaded<Fs...>;

}  // namespace

TSettingValue TSettingsKey::Default() const { return ValueOfKind(kind, missing); }

TSettingValue TSettingsKey::Initial() const { return ValueOfKind(kind, initial); }

void TSettingsKey::apply(TSettings& s, const TSettingValue& v) const {
    if (applyBy == TApply::Direct)
        Store(s, v);
    else
        s.SetField(field, v);
}

TSettingValue TSettingsKey::value(const TSettings& s) const {
    return std::visit(TOverloaded{
                          [&](std::int32_t S::*m) -> TSettingValue { return s.*m; },
                          // A colour is its 32 bits as a signed integer.
                          [&](TColor S::*m) -> TSettingValue { return static_cast<std::int32_t>(s.*m); },
                          [&](TLook S::*m) -> TSettingValue { return LookNumber(s.*m); },
                          [&](TOrientation S::*m) -> TSettingValue { return OrientationNumber(s.*m); },
                          [&](bool S::*m) -> TSettingValue { return s.*m; },
                          [&](double S::*m) -> TSettingValue { return s.*m; },
                          [&](std::string S::*m) -> TSettingValue { return s.*m; },
                      },
                      member);
}

void TSettingsKey::Store(TSettings& s, const TSettingValue& v) const {
    std::visit(TOverloaded{
                   [&](std::int32_t S::*m) { s.*m = std::get<std::int32_t>(v); },
                   [&](TColor S::*m) { s.*m = static_cast<TColor>(std::get<std::int32_t>(v)); },
                   [&](TLook S::*m) { s.*m = TLook{std::get<std::int32_t>(v)}; },
                   [&](TOrientation S::*m) { s.*m = TOrientation{std::get<std::int32_t>(v)}; },
                   [&](bool S::*m) { s.*m = std::get<bool>(v); },
                   [&](double S::*m) { s.*m = std::get<double>(v); },
                   [&](std::string S::*m) { s.*m = std::get<std::string>(v); },
               },
               member);
}

std::span<const TSettingsKey> SettingsKeys() { return kKeys; }

const TSettingsKey& SettingsKey(TSettingsField field) { return kKeys[static_cast<std::size_t>(field)]; }

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
