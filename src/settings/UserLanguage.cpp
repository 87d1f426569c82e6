// Each language file says which locale it is written for, so a translation
// added later (or a user's own) is found without the program knowing it.
#include "settings/UserLanguage.h"

#include <array>

#include "base/Files.h"
#include "settings/LanguageFiles.h"

namespace ratiscope {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Transformed(std::string_view s, char (*change)(char)) {
    std::string out(s);
    for (char& c : out) c = change(c);
    return out;
}

// How well a file's locale fits the user's: 0 not at all, 1 the language,
// 2 the language and the territory.
int Fit(const TLocaleName& file, const TLocaleName& user) {
    if (file.language.empty() || file.language != user.language) return 0;
    if (file.territory.empty()) return 1;
    return file.territory == user.territory ? 2 : 0;
}

// The last "Locale" entry of one file, as the table would keep it.
std::optional<std::string> LocaleOfFile(IFiles& files, const std::string& path) {
    const auto bytes = files.ReadFile(path, kMaxLanguageFileBytes);
    if (!bytes) return std::nullopt;
    TLangReader reader(*bytes);
    std::optional<std::string> locale;
    std::string key, text;
    for (std::size_t n = 0; n < kMaxLanguageEntries && reader.ReadLangPair(key, text); ++n)
        if (key == kLocaleKey) locale = text;
    return locale;
}

}  // namespace

std::string MessagesLocale(const TEnvironmentReader& environment) {
    if (!environment) return {};
    for (const char* name : std::array{"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::optional<std::string> value = environment(name);
        if (value && !value->empty()) return *value;
    }
    return {};
}

TLocaleName ParseLocaleName(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const std::size_t end = locale.find_first_of(".@");
    if (end != std::string_view::npos) locale = locale.substr(0, end);
    // Blanks around a value typed into a file are not part of it.
    while (!locale.empty() && (locale.front() == ' ' || locale.front() == '\t')) locale.remove_prefix(1);
    while (!locale.empty() && (locale.back() == ' ' || locale.back() == '\t' || locale.back() == '\r'))
        locale.remove_suffix(1);
    if (locale == "C" || locale == "POSIX") return {};
    const std::size_t underscore = locale.find('_');
    TLocaleName name;
    name.language = Transformed(locale.substr(0, underscore), LowerAscii);
    if (underscore != std::string_view::npos) name.territory = Transformed(locale.substr(underscore + 1), UpperAscii);
    return name;
}

std::string LanguageForLocale(IFiles& files, std::string_view locale) {
    const TLocaleName user = ParseLocaleName(locale);
    if (user.language.empty()) return std::string(kBaseLanguage);
    std::string best(kBaseLanguage);
    int bestFit = 0;
    const std::string pattern = "*" + std::string(kLanguageFileExtension);
    for (const std::string& folder : LanguageFolders(files)) {
        for (const std::string& fileName : files.ListFolder(folder, pattern)) {
            const std::optional<std::string> fileLocale = LocaleOfFile(files, folder + fileName);
            if (!fileLocale) continue;
            const int fit = Fit(ParseLocaleName(*fileLocale), user);
            if (fit <= bestFit) continue;
            bestFit = fit;
            best = fileName.substr(0, fileName.size() - kLanguageFileExtension.size());
        }
    }
    return best;
}

}  // namespace ratiscope
