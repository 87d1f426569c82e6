// The export tool between its entry and its end, the same on every platform;
// each platform's entry hands in its files, glyphs, PNG encoder and writer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Color.h"
#include "platform/Image.h"

namespace ratiscope {

class IFiles;
class ITextEngine;

struct TExportPlatform {
    IFiles& files;
    // The glyphs a PNG is drawn with; made only when one is asked for (an
    // SVG is laid out with the label font's table, whatever the platform).
    std::function<std::unique_ptr<ITextEngine>()> createTextEngine;
    // PNG bytes of the picture with the key colour transparent; empty on failure.
    std::function<std::vector<std::uint8_t>(const TImage& picture, TColor key)> encodePng;
    // Writes the output file named on the command line (never "-", which is
    // standard output); an error message, empty on success.
    std::function<std::string(const std::string& path, std::string_view content)> writeFile;
};

// Runs the tool with the arguments after its name; the process's exit code
// (0 done, 1 a failure on the way, 2 bad arguments or settings).
int RunExport(std::span<const std::string> arguments, const TExportPlatform& platform);

}  // namespace ratiscope
