// The desktop's opener through Qt, and detached programs for the fallback.
#pragma once

#include "platform/Desktop.h"

namespace ratiscope {

class TQtDesktop final : public IDesktop {
public:
    // Web addresses ("scheme://...") go as they are; anything else is a local file.
    bool OpenWithDefaultHandler(std::string_view target) override;
    bool Run(std::string_view program, std::span<const std::string> arguments) override;
};

}  // namespace ratiscope
