// Opening documents and starting programs without waiting for them.
#include "platform/win32/Win32Desktop.h"

#include "platform/win32/Win32Api.h"

#include <shellapi.h>

#include <vector>

#include "platform/win32/Win32Unicode.h"

namespace ratiscope {
namespace {

// Web and mail addresses go to the shell as they are; only file paths get the system's separator.
bool IsAddress(std::string_view target) {
    const std::size_t colon = target.find(':');
    return colon != std::string_view::npos && colon > 1 && target.substr(colon).starts_with("://");
}

}  // namespace

bool TWin32Desktop::OpenWithDefaultHandler(std::string_view target) {
    if (target.empty()) return false;
    const std::wstring wide = IsAddress(target) ? WideFromUtf8(target) : WidePath(target);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Values above 32 mean success.
    return result > 32;
}

bool TWin32Desktop::Run(std::string_view program, std::span<const std::string> arguments) {
    if (program.empty()) return false;
    std::wstring line = CommandLineFromArguments(program, std::vector<std::string>(arguments.begin(), arguments.end()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // A name without a folder is searched on the PATH, as a user typing it would expect.
    const bool bare = program.find_first_of("/\\") == std::string_view::npos;
    const std::wstring application = WidePath(program);
    if (!CreateProcessW(bare ? nullptr : application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace ratiscope
