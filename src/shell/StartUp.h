// The program's entry and exit without any window: the command line, the
// settings and language texts before the windows, and the one save at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/Product.h"
#include "platform/Window.h"
#include "settings/Settings.h"

namespace ratiscope {

class IFiles;
class TLangTable;

inline constexpr std::string_view kUninstallSwitch = "/uninstall";
inline constexpr std::string_view kTrueColorMessage = "True color screen mode is required";
// Bits per pixel below which the figure's colours cannot be shown faithfully.
inline constexpr int kTrueColorDepth = 24;

// What the command line asks for before anything else happens.
enum class TCommand { Run, Help, Version };

// "--help" or "--version" anywhere end the program before any window and any
// settings file; every other argument is left to StartUp, which reads only the first.
TCommand CommandOf(std::span<const std::string> arguments);
// The short usage "--help" prints, naming the program as it was started.
std::string UsageText(std::string_view programName);
// The line "--version" prints.
std::string VersionText();

// What StartUp and ShutDown need from the platform. Each is called at most once.
struct TStartUpServices {
    IFiles& files;
    TLangTable& languages;
    // Opens a vendor page address with the web query behind it.
    std::function<void(std::string_view address)> openWebPage;
    // Bits per pixel of the primary screen.
    std::function<int()> colorDepth;
    // A modal box with one OK button, the icon of `kind` and no owner window.
    std::function<void(TMessageKind kind, std::string_view caption, std::string_view text)> showMessage;
    // The user's locale for messages ("de_DE.UTF-8"); empty or missing: none.
    std::function<std::string()> userLocale = {};
};

// Creates `settings` with its defaults for a primary screen `screenWidth`
// pixels wide, reads the settings file into it (on a first start, without
// one, the language is the one that fits the user's locale), loads English
// and then the chosen language, and handles the uninstall switch (first argument only,
// exactly as written) and the true-colour check. False: end at once, without
// windows and without saving.
bool StartUp(std::optional<TSettings>& settings, std::int32_t screenWidth,
             std::span<const std::string> arguments, const TStartUpServices& services);

// Writes `settings` to the settings file, whether or not anything changed,
// and releases it; the process's exit code. A save that fails is shown in a
// box with the error's message and gives 1, and the settings stay as they
// were, so nothing of them is lost before the process ends.
int ShutDown(std::optional<TSettings>& settings, const TStartUpServices& services);

}  // namespace ratiscope
