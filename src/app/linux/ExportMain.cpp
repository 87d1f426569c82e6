// Entry of ratiscope-export on Linux: Qt's glyphs and PNG codec, without a display.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/PosixFiles.h"
#include "platform/qt/QtGuiSession.h"
#include "platform/qt/QtImageIO.h"
#include "platform/qt/QtTextEngine.h"
#include "shell/ExportProgram.h"

int main(int argc, char** argv) {
    using namespace ratiscope;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    TPosixFiles files;
    std::optional<TQtGuiSession> session;
    const TExportPlatform platform{
        files,
        [&session]() -> std::unique_ptr<ITextEngine> {
            // Export never opens a window, so it needs no display.
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            session.emplace(TQtMessages::Quiet);
            return std::make_unique<TQtTextEngine>();
        },
        [](const TImage& picture, TColor key) { return EncodePng(picture, key); },
        [](const std::string& path, std::string_view content) -> std::string {
            if (const int error = WriteOutputFile(path, content); error != 0)
                return "cannot write " + path + ": " + std::strerror(error);
            return {};
        },
    };
    return RunExport(arguments, platform);
}
