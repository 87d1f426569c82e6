// Every malformed argument is reported as one line, never by throwing.
#include "shell/ExportOptions.h"

namespace ratiscope {

const char* const kExportUsage =
    "Usage: ratiscope-export [--format json|png|svg] [--settings FILE]\n"
    "                        [--set KEY=VALUE ...] [--language NAME]\n"
    "                        [--values|--no-values] [--frame|--no-frame]\n"
    "                        [--active|--inactive] [-o FILE]\n"
    "       ratiscope-export [--language NAME] --texts\n"
    "       ratiscope-export --check-language NAME\n"
    "       ratiscope-export --help | --version\n"
    "\n"
    "Exports the overlay of the given settings: its figure as data, or its whole\n"
    "picture as an image.\n"
    "\n"
    "  --format json     one JSON object: the settings, the window size and the\n"
    "                    figure's primitives in drawing order (the default)\n"
    "  --format png      the overlay window's picture at its size (Width + 2 Border\n"
    "                    by Height + 2 Border + 16): the key colour fully\n"
    "                    transparent, every other pixel opaque; needs -o\n"
    "                    (-o - for standard output)\n"
    "  --format svg      the same picture as vectors at the same coordinates:\n"
    "                    lines, polylines, ellipses, texts and the caption icons\n"
    "                    on a transparent background\n"
    "  --settings FILE   reads a settings file first, as the program does at start\n"
    "  --figure FILE     draws the figure file FILE, a figure of one's own, instead\n"
    "                    of the settings' look; a mistake in it is reported with\n"
    "                    its line and column\n"
    "  --set KEY=VALUE   sets one settings key (as named in the settings file)\n"
    "                    through its setter, so limits and the aspect lock apply;\n"
    "                    repeat it, the values are applied in the order given\n"
    "  --values          draws the pixel values beside the lines (ShowValues on)\n"
    "  --no-values       leaves them out (ShowValues off)\n"
    "  --frame           draws the caption strip and grips (SFrame on)\n"
    "  --no-frame        leaves them out (SFrame off)\n"
    "  --active          caption text as in an active window (the default)\n"
    "  --inactive        caption text as in an inactive window\n"
    "  -o FILE           writes to FILE instead of standard output (-o - is\n"
    "                    standard output); a file appears only when complete,\n"
    "                    a link is written through to its target, and a\n"
    "                    terminal, pipe or device is written to as it is\n"
    "  --language NAME   draws the texts of language NAME (its file NAME.lng, laid\n"
    "                    over English.lng)\n"
    "  --texts           prints every text the program asks for, one key=text line\n"
    "                    each, for --language NAME or else the settings' language;\n"
    "                    templates unfilled, a backslash written as \\\\, a carriage\n"
    "                    return as \\r and a line feed as \\n\n"
    "  --check-language NAME\n"
    "                    lists the keys NAME.lng lacks, those it has that the\n"
    "                    program never asks for, and templates that do not fit\n"
    "                    their values; exit code 1 for a missing key or a bad\n"
    "                    template\n"
    "  --help            shows this text\n"
    "  --version         prints the program's name and version\n"
    "\n"
    "--values, --no-values, --frame and --no-frame act after every --set; the\n"
    "last of each pair wins. Without language files the look names and the\n"
    "size and grid labels are English. Coordinates are window client pixels; a\n"
    "circle's right and bottom are exclusive. Exit codes: 0 done, 1 the output\n"
    "could not be written, 2 bad arguments.\n";

TExportParse ParseExportArguments(const std::vector<std::string>& args) {
    TExportOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto next = [&](std::string& into) -> bool {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--format") {
            if (!next(o.format)) return {std::nullopt, "--format needs a value (json, png or svg)"};
            if (o.format != "json" && o.format != "png" && o.format != "svg")
                return {std::nullopt, "unknown format '" + o.format + "' (use json, png or svg)"};
        } else if (a == "-o" || a == "--output") {
            if (!next(o.output) || o.output.empty()) return {std::nullopt, a + " needs a file name"};
        } else if (a == "--set") {
            std::string kv;
            if (!next(kv)) return {std::nullopt, "--set needs KEY=VALUE"};
            const auto eq = kv.find('=');
            if (eq == std::string::npos || eq == 0) return {std::nullopt, "--set needs KEY=VALUE, got '" + kv + "'"};
            o.sets.emplace_back(kv.substr(0, eq), kv.substr(eq + 1));
        } else if (a == "--values" || a == "--no-values") {
            o.showValues = a == "--values";
        } else if (a == "--frame" || a == "--no-frame") {
            o.frame = a == "--frame";
        } else if (a == "--active" || a == "--inactive") {
            o.active = a == "--active";
        } else if (a == "--settings") {
            if (!next(o.settingsFile) || o.settingsFile.empty()) return {std::nullopt, "--settings needs a file name"};
        } else if (a == "--figure") {
            if (!next(o.figureFile) || o.figureFile.empty()) return {std::nullopt, "--figure needs a file name"};
        } else if (a == "--language") {
            if (!next(o.language) || o.language.empty()) return {std::nullopt, "--language needs a language name"};
        } else if (a == "--texts") {
            o.texts = true;
        } else if (a == "--check-language") {
            if (!next(o.checkLanguage) || o.checkLanguage.empty())
                return {std::nullopt, "--check-language needs a language name"};
        } else {
            return {std::nullopt, "unknown option '" + a + "' (see --help)"};
        }
    }
    // A PNG is binary: it goes to standard output only when asked with "-o -".
    if (!o.help && !o.version && !o.texts && o.checkLanguage.empty() && o.format == "png" && o.output.empty())
        return {std::nullopt, "--format png needs -o FILE (or -o - for standard output)"};
    return {std::move(o), {}};
}

}  // namespace ratiscope

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "settings/LangTable.h"
#include "settings/Looks.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace ratiscope {

std::string ApplyExportSets(TSettings& s, const std::vector<std::pair<std::string, std::string>>& sets) {
    for (const auto& [name, text] : sets) {
        const TSettingsKey* key = FindSettingsKey(name);
        if (!key) return "unknown settings key '" + name + "'";
        auto value = ParseSettingValue(*key, text);
        if (!value) return "'" + text + "' is not a valid value for " + std::string(key->name);
        key->apply(s, *value);
    }
    return {};
}

std::string ApplyExportOptions(TSettings& s, const TExportOptions& o) {
    if (std::string err = ApplyExportSets(s, o.sets); !err.empty()) return err;
    if (o.showValues) s.SetShowValues(*o.showValues);
    if (o.frame) s.SetSFrame(*o.frame);
    return {};
}

void MergeFallbackTexts() {
    static constexpr std::pair<std::string_view, std::string_view> kLabelFallbacks[] = {
        {"MWidthHeight", "%d x %d"},
        {"MGridSize", "Grid %d px"},
    };
    TLangTable& table = LanguageTable();
    auto mergeUnlessPresent = [&](std::string_view key, std::string_view text) {
        const auto& entries = table.Entries();
        const bool present = std::any_of(entries.begin(), entries.end(), [&](const auto& e) { return e.first == key; });
        if (!present) table.MergeLangPair(key, text);
    };
    for (const TLookName& look : kBuiltInLooks) mergeUnlessPresent(look.key, look.english);
    for (const auto& [key, text] : kLabelFallbacks) mergeUnlessPresent(key, text);
}

}  // namespace ratiscope
