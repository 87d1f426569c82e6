// The program's entry and exit without any window, kept apart from the Qt
// entry file so every step can be driven by test doubles.
#include "shell/StartUp.h"

#include <algorithm>

#include "base/Files.h"
#include "settings/Folders.h"
#include "settings/LanguageFiles.h"
#include "settings/UserLanguage.h"
#include "settings/SettingsFile.h"
#include "shell/Links.h"

namespace ratiscope {

TCommand CommandOf(std::span<const std::string> arguments) {
    // Help wins over version, as a user asking both wants to learn the options.
    const auto has = [&](std::string_view option) {
        return std::ranges::find(arguments, option) != arguments.end();
    };
    if (has("--help") || has("-h")) return TCommand::Help;
    if (has("--version")) return TCommand::Version;
    return TCommand::Run;
}

std::string UsageText(std::string_view programName) {
    std::string name(programName.empty() ? std::string_view("ratiscope") : programName);
    return "Usage: " + name + " [--help | --version | /uninstall]\n"
           "Shows the proportion overlay and its settings panel.\n"
           "  --help       print this help and end\n"
           "  --version    print the version and end\n"
           "  /uninstall   open the vendor's uninstall page and end\n";
}

std::string VersionText() { return std::string(kProductName) + " " + std::string(kProductVersion) + "\n"; }

bool StartUp(std::optional<TSettings>& settings, std::int32_t screenWidth,
             std::span<const std::string> arguments, const TStartUpServices& services) {
    settings.emplace(screenWidth);
    // Only a first start asks the locale: a stored language always wins.
    const bool firstStart = !services.files.FileExists(SettingsFilePath(services.files));
    LoadSettings(*settings, services.files);
    if (firstStart && services.userLocale)
        settings->SetLang(LanguageForLocale(services.files, services.userLocale()));
    SelectLanguageTexts(services.languages, services.files, settings->Lang);

    if (!arguments.empty() && arguments.front() == kUninstallSwitch) {
        if (services.openWebPage) services.openWebPage(VendorPage(kUninstallPage));
        return false;
    }

    const int depth = services.colorDepth ? services.colorDepth() : kTrueColorDepth;
    if (depth < kTrueColorDepth && services.showMessage)
        services.showMessage(TMessageKind::Warning, kProductName, kTrueColorMessage);
    return true;
}

int ShutDown(std::optional<TSettings>& settings, const TStartUpServices& services) {
    if (!settings) return 0;
    try {
        SaveSettings(*settings, services.files);
    } catch (const EWriteError& error) {
        if (services.showMessage) services.showMessage(TMessageKind::Error, kProductName, error.what());
        return 1;
    }
    settings.reset();
    return 0;
}

}  // namespace ratiscope
