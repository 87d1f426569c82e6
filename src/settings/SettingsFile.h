// The settings file "Ratiscope.user.settings": read once at start-up into the
// settings record, written once at the end, through the one key table.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ratiscope {

class IFiles;
class TSettings;

inline constexpr std::string_view kSettingsSection = "Settings";

// A settings file larger than this is not read; it cannot be one we wrote.
inline constexpr std::size_t kMaxSettingsFileBytes = 16 * 1024 * 1024;

// Raised when the settings file cannot be written; the message is
// "Unable to write to " and the file's path, and on a second line the
// system's reason where it gave one.
class EWriteError : public std::runtime_error {
public:
    explicit EWriteError(std::string_view path, std::string_view reason = {});
};

// The decimal separator of the C library's current locale (set by the program
// entry from the environment); "." when it is not a single byte.
char LocaleDecimalSeparator();

// The decimal separator of the locale the environment names (LC_ALL,
// LC_NUMERIC, LANG), for tools that keep the C locale for their own output;
// "." when that locale is unknown or its separator is not a single byte.
char EnvironmentDecimalSeparator();

// Reads the settings file of the folder rules into `settings`, key by key in
// the reading order, each value through its setter. No file: the record keeps
// its values. A file that cannot be read or lacks keys: each missing or
// unreadable key takes its default from the key table.
void LoadSettings(TSettings& settings, IFiles& files, char decimalSeparator = LocaleDecimalSeparator());

// Applies the section "Settings" of INI text as LoadSettings does.
void ApplySettingsText(TSettings& settings, std::string_view content, char decimalSeparator = '.');

// Reads one named settings file; false, with nothing changed, when it cannot be read.
bool LoadSettingsFile(TSettings& settings, IFiles& files, std::string_view path,
                      char decimalSeparator = LocaleDecimalSeparator());

// Writes all 26 keys into the settings file of the folder rules, creating its
// folders first when the file does not exist yet. The file is replaced as a
// whole: other sections, keys and lines stay as they were, and a failure
// leaves the previous file untouched. Throws EWriteError.
void SaveSettings(const TSettings& settings, IFiles& files, char decimalSeparator = LocaleDecimalSeparator());

// The new content of a settings file: `previous` with the 26 keys rewritten.
std::string SettingsFileContent(const TSettings& settings, std::string_view previous, char decimalSeparator,
                                std::string_view newLine = "\n");

}  // namespace ratiscope
