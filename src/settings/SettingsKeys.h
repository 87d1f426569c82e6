// The one table of the settings keys (the 26 of the original file and the
// show-and-hide key): kind, default when missing, read
// step and how a value reaches the record. Reading, writing and the export
// tool's --set all walk it, so they cannot drift apart.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace ratiscope {

class TSettings;

enum class TKeyKind { Integer, Boolean, Float, Text };

using TSettingValue = std::variant<std::int32_t, bool, double, std::string>;

struct TSettingsKey {
    std::string_view name;
    TKeyKind kind;
    // The value LoadSettings uses when the key is missing or unreadable.
    std::int32_t intDefault;
    double floatDefault;
    std::string_view textDefault;
    // Position in the reading order (1..27): lock and ratio come before the sizes.
    int readStep;
    // Hands the value to the field's setter, or stores it for the keys without one.
    void (*apply)(TSettings&, const TSettingValue&);
    TSettingValue (*value)(const TSettings&);

    TSettingValue Default() const;
};

// In the order the settings file is written.
std::span<const TSettingsKey> SettingsKeys();

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
