// The one table of the settings fields (the 26 keys of the original file, the
// show-and-hide key and the figure of the user's own): per field its key, kind, value at creation, default
// when missing from the file, read step, the limit its setter keeps and what
// a change refreshes. The record's creation and setters, reading, writing
// and the export tool's --set all walk it, so they cannot drift apart.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "base/Color.h"
#include "settings/Looks.h"
#include "settings/Orientation.h"
#include "settings/WindowSlots.h"

namespace ratiscope {

class TSettings;

enum class TKeyKind { Integer, Boolean, Float, Text };

using TSettingValue = std::variant<std::int32_t, bool, double, std::string>;

// The fields, in the order the settings file is written.
enum class TSettingsField {
    Border,
    Height,
    Width,
    LockWidth,
    Lock,
    Ratio,
    LinesColor,
    ValuesColor,
    MouseResizeAllowed,
    Opacity,
    MouseWheelAllowed,
    OrientMode,
    ShowHints,
    ShowValues,
    LookMode,
    GridSize,
    SettingsOpacity,
    MoveUsingGrid,
    Lang,
    X,
    Y,
    SX,
    SY,
    SVisible,
    SPage,
    SFrame,
    Hotkey,
    Figure,
};

inline constexpr std::size_t kSettingsFieldCount = static_cast<std::size_t>(TSettingsField::Figure) + 1;

// How a setter treats the value it is given, after comparing it with the
// stored one.
enum class TLimitRule {
    None,         // any value is stored
    Clamp,        // raised or lowered into [min, max]
    Refuse,       // outside [min, max] ignored, before any comparison
    SizeRule,     // the lock rules of the size setters (SizeRules.h)
    RatioRule,    // refused unless finite and above zero; the following side follows
};

struct TLimit {
    TLimitRule rule = TLimitRule::None;
    std::int32_t min = 0;
    std::int32_t max = 0;
};

// A value of any kind, as a table cell.
struct TKeyValue {
    std::int32_t integer = 0;
    double real = 0;
    std::string_view text;
};

// Which values a new record and RestoreDefaults give a field.
enum class TInitial {
    Restored,  // a new record's value, brought back by RestoreDefaults
    Created,   // a new record's value, left alone by RestoreDefaults
    Derived,   // worked out by the record (the following side, the panel's left edge)
};

// How LoadSettings and --set hand a value over.
enum class TApply { Setter, Direct };

using TFieldMember = std::variant<std::int32_t TSettings::*, TColor TSettings::*, TLook TSettings::*,
                                  TOrientation TSettings::*, bool TSettings::*, double TSettings::*,
                                  std::string TSettings::*>;

struct TSettingsKey {
    TSettingsField field;
    std::string_view name;
    TKeyKind kind;
    TFieldMember member;
    TInitial initialKind;
    TKeyValue initial;
    // What LoadSettings uses when the key is missing or unreadable.
    TKeyValue missing;
    // Position in the reading order (1..28): lock and ratio come before the sizes.
    int readStep;
    TApply applyBy;
    TLimit limit;
    TRefreshSet refresh;

    // The default when missing from the file, and the value at creation.
    TSettingValue Default() const;
    TSettingValue Initial() const;
    // Hands the value to the field's setter, or stores it for the keys applied directly.
    void apply(TSettings& s, const TSettingValue& v) const;
    TSettingValue value(const TSettings& s) const;
    // Stores without limit or notification.
    void Store(TSettings& s, const TSettingValue& v) const;
};

// In the order the settings file is written, which is the order of TSettingsField.
std::span<const TSettingsKey> SettingsKeys();

const TSettingsKey& SettingsKey(TSettingsField field);

// The keys in the order the settings file is read.
std::span<const TSettingsKey* const> SettingsKeysInReadOrder();

// Finds a key without regard to case, as the settings file matches them.
const TSettingsKey* FindSettingsKey(std::string_view name);

// Parses text of the key's kind; empty when it does not parse.
std::optional<TSettingValue> ParseSettingValue(const TSettingsKey& key, std::string_view text,
                                               char decimalSeparator = '.');

// The value as the settings file spells it.
std::string FormatSettingValue(const TSettingValue& v, char decimalSeparator = '.');

}  // namespace ratiscope
