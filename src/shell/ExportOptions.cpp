// Every malformed argument is reported as one line, never by throwing.
#include "shell/ExportOptions.h"

namespace ratiscope {

const char* const kExportUsage =
    "Usage: ratiscope-export [--format json] [--set KEY=VALUE ...] [-o FILE]\n"
    "\n"
    "Prints the proportion figure of the overlay for the given settings.\n"
    "\n"
    "  --format json     one JSON object: the settings, the window size and the\n"
    "                    figure's primitives in drawing order (the default)\n"
    "  --set KEY=VALUE   sets one settings key (as named in the settings file)\n"
    "                    through its setter, so limits and the aspect lock apply;\n"
    "                    repeat it, the values are applied in the order given\n"
    "  -o FILE           writes to FILE instead of standard output\n"
    "  --help            shows this text\n"
    "\n"
    "Coordinates are window client pixels; a circle's right and bottom are\n"
    "exclusive. Exit codes: 0 done, 1 the output could not be written,\n"
    "2 bad arguments.\n";

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
        } else if (a == "--format") {
            if (!next(o.format)) return {std::nullopt, "--format needs a value (json)"};
            if (o.format != "json") return {std::nullopt, "unknown format '" + o.format + "' (use json)"};
        } else if (a == "-o" || a == "--output") {
            if (!next(o.output) || o.output.empty()) return {std::nullopt, a + " needs a file name"};
        } else if (a == "--set") {
            std::string kv;
            if (!next(kv)) return {std::nullopt, "--set needs KEY=VALUE"};
            const auto eq = kv.find('=');
            if (eq == std::string::npos || eq == 0) return {std::nullopt, "--set needs KEY=VALUE, got '" + kv + "'"};
            o.sets.emplace_back(kv.substr(0, eq), kv.substr(eq + 1));
        } else {
            return {std::nullopt, "unknown option '" + a + "' (see --help)"};
        }
    }
    return {std::move(o), {}};
}

}  // namespace ratiscope

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

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

std::string WriteFileAtomically(const std::string& path, std::string_view content) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path temp = target;
    temp += ".tmp~";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return "cannot write " + path + ": " + std::strerror(errno);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            return "cannot write " + path;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return "cannot write " + path + ": " + ec.message();
    }
    return {};
}

}  // namespace ratiscope
