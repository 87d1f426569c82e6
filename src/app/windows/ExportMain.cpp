// Entry of ratiscope-export.exe: the command line read as UTF-16, GDI glyphs,
// our own PNG writer, and output bytes exactly as on Linux (no CR added).
#include "platform/win32/Win32Api.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/raster/PngWriter.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32TextEngine.h"
#include "platform/win32/Win32Unicode.h"
#include "shell/ExportProgram.h"

int main() {
    using namespace ratiscope;
    // JSON and texts on stdout are the same bytes as the Linux tool's.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::vector<std::string> arguments = ArgumentsFromCommandLine(GetCommandLineW());
    TWin32Files files;
    const TExportPlatform platform{
        files,
        []() -> std::unique_ptr<ITextEngine> { return std::make_unique<TWin32TextEngine>(); },
        [](const TImage& picture, TColor key) { return WritePng(picture, key); },
        [&files](const std::string& path, std::string_view content) -> std::string {
            if (files.ReplaceFile(path, content)) return {};
            return "cannot write " + path;
        },
    };
    return RunExport(arguments, platform);
}
