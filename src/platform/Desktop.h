// The desktop's handlers for documents and web addresses.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace ratiscope {

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // Opens a file path or a web address with the desktop's default handler for
    // its kind, without waiting for it; false when no handler took it.
    virtual bool OpenWithDefaultHandler(std::string_view target) = 0;
    // Starts a program with its arguments, each passed as it stands (no shell
    // reads them), without waiting for it; false when it could not be started.
    virtual bool Run(std::string_view program, std::span<const std::string> arguments) = 0;
};

}  // namespace ratiscope
