// Loading and saving walk the key table, so the read order, the written order
// and each key's default live in one place.
#include "settings/SettingsFile.h"

#include <clocale>
#include <locale>

#include "base/Files.h"
#include "settings/Folders.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "settings/Setups.h"

namespace ratiscope {

EWriteError::EWriteError(std::string_view path, std::string_view reason)
    : std::runtime_error("Unable to write to " + std::string(path) + (reason.empty() ? "" : "\n") + std::string(reason)) {}

char LocaleDecimalSeparator() {
    const std::lconv* conv = std::localeconv();
    if (!conv || !conv->decimal_point || !conv->decimal_point[0] || conv->decimal_point[1]) return '.';
    return conv->decimal_point[0];
}

char EnvironmentDecimalSeparator() {
    try {
        return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    } catch (const std::exception&) {
        return '.';
    }
}

void ApplySettingsText(TSettings& settings, std::string_view content, char decimalSeparator) {
    const TIniFile ini(content);
    for (const TSettingsKey* key : SettingsKeysInReadOrder()) {
        TSettingValue value = key->Default();
        if (const auto text = ini.ReadString(kSettingsSection, key->name))
            if (auto parsed = ParseSettingValue(*key, *text, decimalSeparator)) value = std::move(*parsed);
        key->apply(settings, value);
    }
    settings.Setups = ReadSetups(ini, decimalSeparator);
    settings.SetupsChanged = false;
}

bool LoadSettingsFile(TSettings& settings, IFiles& files, std::string_view path, char decimalSeparator) {
    const auto content = files.ReadFile(path, kMaxSettingsFileBytes);
    if (!content) return false;
    ApplySettingsText(settings, *content, decimalSeparator);
    return true;
}

void LoadSettings(TSettings& settings, IFiles& files, char decimalSeparator) {
    const std::string path = SettingsFilePath(files);
    if (!files.FileExists(path)) return;
    // A file that exists but cannot be read counts as one without keys.
    const auto content = files.ReadFile(path, kMaxSettingsFileBytes);
    ApplySettingsText(settings, content.value_or(std::string()), decimalSeparator);
}

std::string SettingsFileContent(const TSettings& settings, std::string_view previous, char decimalSeparator,
                                std::string_view newLine) {
    TIniFile ini(previous, newLine);
    for (const TSettingsKey& key : SettingsKeys())
        ini.WriteString(kSettingsSection, key.name, FormatSettingValue(key.value(settings), decimalSeparator));
    if (settings.SetupsChanged) WriteSetups(ini, settings.Setups, decimalSeparator);
    return ini.Content();
}

void SaveSettings(const TSettings& settings, IFiles& files, char decimalSeparator) {
    const std::string path = SettingsFilePath(files);
    std::string previous;
    if (files.FileExists(path)) {
        // Writing without the old content would lose the user's other
        // sections and keys, so an unreadable file is not replaced.
        auto content = files.ReadFile(path, kMaxSettingsFileBytes);
        if (!content) throw EWriteError(files.DisplayPath(path));
        previous = std::move(*content);
    } else {
        ForceFolders(files, FolderOfPath(path, files.FolderSeparators()));  // a failure shows when the file is written
    }
    if (!files.ReplaceFile(path, SettingsFileContent(settings, previous, decimalSeparator, files.TextLineEnd())))
        throw EWriteError(files.DisplayPath(path), files.ReplaceFailure());
}

}  // namespace ratiscope
