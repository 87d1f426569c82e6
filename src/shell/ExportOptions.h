// Command line of the figure export tool, parsed without touching any setting.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ratiscope {

struct TExportOptions {
    std::string format = "json";  // "json", "png" or "svg"
    std::string output;           // empty: standard output (json only)
    // KEY=VALUE pairs in the order given; applied through the setters later.
    std::vector<std::pair<std::string, std::string>> sets;
    // --values / --no-values and --frame / --no-frame, applied after the sets.
    std::optional<bool> showValues;
    std::optional<bool> frame;
    // The caption text's colour: the overlay window active or not.
    bool active = true;
    // --settings: a settings file read before any --set.
    std::string settingsFile;
    // --figure: a figure file drawn instead of the settings' look.
    std::string figureFile;
    // --language: the texts of this language, laid over English.
    std::string language;
    // --texts: every text the program asks for, instead of a figure.
    bool texts = false;
    // --check-language: the language file to measure against the key list.
    std::string checkLanguage;
    bool help = false;
    bool version = false;
};

struct TExportParse {
    std::optional<TExportOptions> options;
    std::string error;  // one line, set when options is empty
};

TExportParse ParseExportArguments(const std::vector<std::string>& args);

extern const char* const kExportUsage;

}  // namespace ratiscope

namespace ratiscope {

class TSettings;

// Applies the --set pairs through the key table in the order given; returns
// an error line for an unknown key or a value that does not parse.
std::string ApplyExportSets(TSettings& s, const std::vector<std::pair<std::string, std::string>>& sets);

// The --set pairs, then --values and --frame, all through the setters.
std::string ApplyExportOptions(TSettings& s, const TExportOptions& o);

// The English look names and the size and grid templates, merged into the
// language table only where it lacks them, so a picture made without
// language files still reads well.
void MergeFallbackTexts();

// The output name that means standard output.
inline constexpr std::string_view kStandardOutputName = "-";

}  // namespace ratiscope
