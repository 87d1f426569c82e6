// The program on Windows: the command line read as UTF-16, the Win32 window
// system, GDI glyphs and common controls, and then the program itself.
#include "platform/win32/Win32Api.h"

#include <objbase.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/RasterOffscreen.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32GlobalHotkey.h"
#include "platform/win32/Win32TextEngine.h"
#include "platform/win32/Win32Unicode.h"
#include "platform/win32/Win32WindowSystem.h"
#include "shell/Program.h"
#include "shell/StartUp.h"

namespace {

// A window program has no console of its own: "--help" and "--version" go to
// the console it was started from, if any, else to whatever stdout is.
void PrintToParentConsole(const std::string& text) {
    if (!GetStdHandle(STD_OUTPUT_HANDLE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        FILE* ignored = nullptr;
        freopen_s(&ignored, "CONOUT$", "w", stdout);
    }
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

// The user's locale in the form the language choice reads ("de_DE"); Windows
// names it "de-DE".
std::string UserLocale() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const int n = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    if (n <= 1) return {};
    std::string locale = ratiscope::Utf8FromWide(std::wstring_view(name, static_cast<std::size_t>(n - 1)));
    std::replace(locale.begin(), locale.end(), '-', '_');
    return locale;
}

// COM for the shell's handlers (ShellExecuteW), for as long as the program runs.
class TComApartment {
public:
    TComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~TComApartment() {
        if (ok_) CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    bool ok_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace ratiscope;
    const std::wstring line = GetCommandLineW();
    const std::vector<std::string> arguments = ArgumentsFromCommandLine(line);
    switch (CommandOf(arguments)) {
    case TCommand::Help: PrintToParentConsole(UsageText("ratiscope.exe")); return 0;
    case TCommand::Version: PrintToParentConsole(VersionText()); return 0;
    case TCommand::Run: break;
    }
    std::setlocale(LC_NUMERIC, "");  // the settings file uses the user's decimal separator
    const TComApartment com;

    TWin32Files files;
    TWin32TextEngine text;
    TWin32WindowSystem windows([&text] { return std::make_unique<TRasterOffscreen>(text); }, instance);
    TWin32Desktop desktop;
    TWin32ControlToolkit controls;
    TWin32GlobalHotkey hotkey(instance);
    return RunProgram(arguments, TProgramPlatform{files, windows, desktop, controls, UserLocale, &hotkey});
}
