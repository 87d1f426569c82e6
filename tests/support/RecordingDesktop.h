// A desktop whose default handler can be told to fail, and which writes down
// every target and program it was asked to open.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Desktop.h"

namespace ratiscope::testing {

class TRecordingDesktop final : public IDesktop {
public:
    bool handlerWorks = true;
    std::vector<std::string> opened;                  // targets given to the default handler
    std::vector<std::vector<std::string>> programs;  // program, then each argument

    bool OpenWithDefaultHandler(std::string_view target) override {
        opened.emplace_back(target);
        return handlerWorks;
    }
    bool Run(std::string_view program, std::span<const std::string> arguments) override {
        std::vector<std::string> call{std::string(program)};
        call.insert(call.end(), arguments.begin(), arguments.end());
        programs.push_back(std::move(call));
        return true;
    }
};

}  // namespace ratiscope::testing
