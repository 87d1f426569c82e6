// Named set-ups: the size, ratio, look, orientation, colours, opacity and grid
// step saved under a name and brought back at once, kept in a section of the
// settings file of their own that the settings themselves never touch.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/SettingsKeys.h"

namespace ratiscope {

class TIniFile;
class TSettings;

inline constexpr std::string_view kSetupsSection = "Setups";
// Ctrl+1 to Ctrl+9 reach the first nine; the panel lists them all.
inline constexpr std::size_t kMaxSetups = 20;
inline constexpr std::size_t kMaxSetupNameBytes = 100;

// What a set-up holds. The lock and the leading side come with the size, so
// a set-up brings back the very size it was saved with.
inline constexpr std::array kSetupFields = {
    TSettingsField::LockWidth, TSettingsField::Lock,       TSettingsField::Ratio,       TSettingsField::Width,
    TSettingsField::Height,    TSettingsField::LookMode,   TSettingsField::Figure,      TSettingsField::OrientMode,
    TSettingsField::LinesColor, TSettingsField::ValuesColor, TSettingsField::Opacity, TSettingsField::GridSize,
};

struct TSetup {
    std::string name;
    // The fields of kSetupFields the set-up has a readable value for.
    std::vector<std::pair<TSettingsField, TSettingValue>> values;
    friend bool operator==(const TSetup&, const TSetup&) = default;
};

// The settings' current values under `name`.
TSetup CaptureSetup(const TSettings& settings, std::string name);

// Applies the set-up through the setters, in the order the settings file is
// read, so the same limits and the aspect lock apply; the windows are told once.
void RestoreSetup(TSettings& settings, const TSetup& setup);

// A name as a set-up keeps it: blanks at either end dropped, line breaks and
// other control characters as blanks, at most kMaxSetupNameBytes bytes
// (whole UTF-8 characters).
std::string SetupName(std::string_view typed);

// Replaces the set-up of the same name (compared exactly) or appends it;
// false, with the list unchanged, when it is new and the list is full.
bool StoreSetup(std::vector<TSetup>& setups, TSetup setup);

// The set-up of that name, or -1.
int FindSetup(const std::vector<TSetup>& setups, std::string_view name);

// The settings' own list (TSettings::Setups): saving under a name (blank
// gives "Set-up N"), restoring by place, deleting by name. Each changes the
// list the settings file's set-ups section is written from; false when
// nothing was done (a full list, no such set-up).
bool SaveSetup(TSettings& settings, std::string_view typedName);
bool RestoreSetupAt(TSettings& settings, std::size_t index);
bool DeleteSetup(TSettings& settings, std::string_view name);

// Keys "1.Name", "1.Width", ... of the set-ups section: numbers 1 to
// kMaxSetups, any missing; one without a name is skipped, a value that does
// not parse is left out.
std::vector<TSetup> ReadSetups(const TIniFile& ini, char decimalSeparator);

// Writes the section anew, numbered from 1 in the list's order.
void WriteSetups(TIniFile& ini, const std::vector<TSetup>& setups, char decimalSeparator);

}  // namespace ratiscope
