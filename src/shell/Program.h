// The program between its entry and its end, the same on every platform:
// settings and texts, the overlay window and the panel, the message loop and
// the save at exit. Each platform's entry makes the services and calls it.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace ratiscope {

class IControlToolkit;
class IDesktop;
class IFiles;
class IGlobalHotkey;
class IWindowSystem;

struct TProgramPlatform {
    IFiles& files;
    IWindowSystem& windows;
    IDesktop& desktop;
    IControlToolkit& controls;
    // The user's locale for messages ("de_DE.UTF-8"), which picks the
    // language of a first start; empty for none.
    std::function<std::string()> userLocale;
    // The show-and-hide key from any program; null where the platform has
    // none, which leaves the `Hotkey` setting unused without a word.
    IGlobalHotkey* hotkey = nullptr;
};

// Runs the program with the arguments after its name ("/uninstall" first
// ends it at once); the process's exit code.
int RunProgram(std::span<const std::string> arguments, const TProgramPlatform& platform);

}  // namespace ratiscope
