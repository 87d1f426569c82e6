// The one list of every language key the program asks for, with the values
// its templates are filled with; the translators' listing and check walk it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Format.h"

namespace ratiscope {

class TLangTable;

// What a text is filled with before it is shown.
enum class TTemplateArgs {
    None,         // shown as it stands
    TwoIntegers,  // Width, then Height
    Integer,      // GridSize
    Number,       // a ratio
    Text,         // the notice line; the show-and-hide key's text
};

struct TLanguageKey {
    std::string_view key;
    TTemplateArgs args;
};

// In the order of the catalogue: overlay hints and labels, look names, then
// the panel's caption and its four pages.
std::span<const TLanguageKey> LanguageKeys();

const TLanguageKey* FindLanguageKey(std::string_view key);

// Values of the kind a template receives, as the program passes them for the
// default settings; the check fills every template with these.
std::vector<TFormatArg> SampleArguments(const TLanguageKey& key);

// One line per text: a backslash becomes "\\", a carriage return "\r", a
// line feed "\n".
std::string EscapeLanguageText(std::string_view text);

// "key=text" lines for every key the program asks for, with the text the
// table gives (the key itself when none), templates unfilled.
std::string LanguageTextsListing(const TLangTable& table);

struct TLanguageCheck {
    std::vector<std::string> missing;       // asked for, not defined
    std::vector<std::string> unused;        // defined, never asked for
    std::vector<std::string> badTemplates;  // templates that do not fit their values
    bool Complete() const { return missing.empty() && badTemplates.empty(); }
};

// Measures the entries of one language file, on their own, against the list
// and the file's "Locale" key, which is missing when the file lacks it.
TLanguageCheck CheckLanguage(const TLangTable& languageOnly);

// The check as lines for a translator, ending with a summary line.
std::string LanguageCheckReport(std::string_view name, const TLanguageCheck& check);

}  // namespace ratiscope
