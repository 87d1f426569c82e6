// The language a first start speaks: the shipped language whose file names
// the user's locale, found without any settings file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ratiscope {

class IFiles;

// Reads one environment variable; empty when it is not set.
using TEnvironmentReader = std::function<std::optional<std::string>(const char* name)>;

// The locale messages are shown in, as the C library chooses it: the first
// of LC_ALL, LC_MESSAGES and LANG that is set and not empty; empty when none is.
std::string MessagesLocale(const TEnvironmentReader& environment);

// A locale name's language and territory: "de_AT.UTF-8@euro" gives "de" and
// "AT". The language is lower-cased and the territory upper-cased; both are
// empty for "C", "POSIX" and an empty name.
struct TLocaleName {
    std::string language;
    std::string territory;
    bool operator==(const TLocaleName&) const = default;
};
TLocaleName ParseLocaleName(std::string_view locale);

// The name of the language file (without ".lng") whose "Locale" key fits
// `locale` best: one naming the same language and territory wins over one
// naming the language alone; among equals the first of the language folders,
// and in a folder the first name in byte order. The base language when no
// file fits. A file naming a territory never fits a locale of another one.
std::string LanguageForLocale(IFiles& files, std::string_view locale);

}  // namespace ratiscope
