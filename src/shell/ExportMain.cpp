// Entry of ratiscope-export: the overlay's figure for any settings, without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "shell/ExportOptions.h"
#include "shell/FigureJson.h"

int main(int argc, char** argv) {
    using namespace ratiscope;
    const std::vector<std::string> args(argv + 1, argv + argc);
    TExportParse parsed = ParseExportArguments(args);
    if (!parsed.options) {
        std::fprintf(stderr, "ratiscope-export: %s\n", parsed.error.c_str());
        return 2;
    }
    const TExportOptions& o = *parsed.options;
    if (o.help) {
        std::fputs(kExportUsage, stdout);
        return 0;
    }
    // No screen is asked for: the panel position is computed as for a 1920-pixel screen.
    TSettings settings(1920);
    if (std::string err = ApplyExportSets(settings, o.sets); !err.empty()) {
        std::fprintf(stderr, "ratiscope-export: %s\n", err.c_str());
        return 2;
    }
    const std::string json = FigureJson(settings);
    if (o.output.empty()) {
        std::fputs(json.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (std::string err = WriteFileAtomically(o.output, json); !err.empty()) {
        std::fprintf(stderr, "ratiscope-export: %s\n", err.c_str());
        return 1;
    }
    return 0;
}
