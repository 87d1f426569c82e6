// Set-ups reuse the field table's parsing, formatting and setters, so a
// set-up can hold nothing a settings file could not.
#include "settings/Setups.h"

#include <algorithm>

#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace ratiscope {

namespace {

std::string NumberedKey(std::size_t number, std::string_view name) {
    return std::to_string(number) + "." + std::string(name);
}

// The length of `s` cut to at most `limit` bytes without splitting a UTF-8 character.
std::size_t WholeCharacters(std::string_view s, std::size_t limit) {
    if (s.size() <= limit) return s.size();
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return n;
}

}  // namespace

TSetup CaptureSetup(const TSettings& settings, std::string name) {
    TSetup setup{std::move(name), {}};
    for (const TSettingsField field : kSetupFields) setup.values.emplace_back(field, SettingsKey(field).value(settings));
    return setup;
}

void RestoreSetup(TSettings& settings, const TSetup& setup) {
    const TSettingsChange change(settings);
    for (const TSettingsKey* key : SettingsKeysInReadOrder()) {
        const auto it = std::find_if(setup.values.begin(), setup.values.end(),
                                     [&](const auto& v) { return v.first == key->field; });
        if (it != setup.values.end()) key->apply(settings, it->second);
    }
}

std::string SetupName(std::string_view typed) {
    std::string name(typed);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    name = name.substr(first, name.find_last_not_of(' ') + 1 - first);
    name.resize(WholeCharacters(name, kMaxSetupNameBytes));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

int FindSetup(const std::vector<TSetup>& setups, std::string_view name) {
    for (std::size_t i = 0; i < setups.size(); ++i)
        if (setups[i].name == name) return static_cast<int>(i);
    return -1;
}

bool StoreSetup(std::vector<TSetup>& setups, TSetup setup) {
    if (const int at = FindSetup(setups, setup.name); at >= 0) {
        setups[static_cast<std::size_t>(at)] = std::move(setup);
        return true;
    }
    if (setups.size() >= kMaxSetups) return false;
    setups.push_back(std::move(setup));
    return true;
}

bool SaveSetup(TSettings& settings, std::string_view typedName) {
    std::string name = SetupName(typedName);
    for (std::size_t n = settings.Setups.size() + 1; name.empty(); ++n)
        if (FindSetup(settings.Setups, "Set-up " + std::to_string(n)) < 0) name = "Set-up " + std::to_string(n);
    if (!StoreSetup(settings.Setups, CaptureSetup(settings, std::move(name)))) return false;
    settings.SetupsChanged = true;
    return true;
}

bool RestoreSetupAt(TSettings& settings, std::size_t index) {
    if (index >= settings.Setups.size()) return false;
    // A copy: the windows the restore tells may change the list before it ends.
    const TSetup setup = settings.Setups[index];
    RestoreSetup(settings, setup);
    return true;
}

bool DeleteSetup(TSettings& settings, std::string_view name) {
    const int at = FindSetup(settings.Setups, name);
    if (at < 0) return false;
    settings.Setups.erase(settings.Setups.begin() + at);
    settings.SetupsChanged = true;
    return true;
}

std::vector<TSetup> ReadSetups(const TIniFile& ini, char decimalSeparator) {
    std::vector<TSetup> setups;
    for (std::size_t n = 1; n <= kMaxSetups; ++n) {
        const auto name = ini.ReadString(kSetupsSection, NumberedKey(n, "Name"));
        if (!name) continue;
        TSetup setup{SetupName(*name), {}};
        if (setup.name.empty()) continue;
        for (const TSettingsField field : kSetupFields) {
            const TSettingsKey& key = SettingsKey(field);
            if (const auto text = ini.ReadString(kSetupsSection, NumberedKey(n, key.name)))
                if (auto value = ParseSettingValue(key, *text, decimalSeparator))
                    setup.values.emplace_back(field, std::move(*value));
        }
        // A hand-edited file may give one name twice: the first one counts.
        if (FindSetup(setups, setup.name) < 0) setups.push_back(std::move(setup));
    }
    return setups;
}

void WriteSetups(TIniFile& ini, const std::vector<TSetup>& setups, char decimalSeparator) {
    ini.RemoveKeys(kSetupsSection);
    std::size_t n = 0;
    for (const TSetup& setup : setups) {
        if (++n > kMaxSetups) break;
        ini.WriteString(kSetupsSection, NumberedKey(n, "Name"), setup.name);
        for (const auto& [field, value] : setup.values)
            ini.WriteString(kSetupsSection, NumberedKey(n, SettingsKey(field).name),
                            FormatSettingValue(value, decimalSeparator));
    }
}

}  // namespace ratiscope
