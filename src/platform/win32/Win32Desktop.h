// The desktop's handlers on Windows: the shell's "open" verb and plain process creation.
#pragma once

#include "platform/Desktop.h"

namespace ratiscope {

class TWin32Desktop final : public IDesktop {
public:
    // ShellExecuteW with "open"; a file path may use either separator.
    bool OpenWithDefaultHandler(std::string_view target) override;
    // CreateProcessW with a command line quoted so the program reads back exactly `arguments`.
    bool Run(std::string_view program, std::span<const std::string> arguments) override;
};

}  // namespace ratiscope
