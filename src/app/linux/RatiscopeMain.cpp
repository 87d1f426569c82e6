// The program on Linux: Qt's application object, the Qt window system (or the
// native Wayland overlay) and controls, POSIX files, and then the program itself.
#include <QApplication>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RasterOffscreen.h"
#include "platform/posix/PosixFiles.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtDisplay.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtGlobalHotkey.h"
#include "platform/qt/QtTextEngine.h"
#include "platform/qt/QtWindowSystem.h"
#include "settings/UserLanguage.h"
#include "shell/Program.h"
#include "shell/StartUp.h"
#ifdef RATISCOPE_WAYLAND_OVERLAY
#include "platform/wayland/OverlayRules.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandWindowSystem.h"
#endif

#ifndef RATISCOPE_APPLICATION_ID
#define RATISCOPE_APPLICATION_ID "example.vendrel.Ratiscope"
#endif

namespace {

// The desktop matches windows to the menu entry by this one name: it is the
// menu entry's file name, and Qt makes it the class part of the windows'
// WM_CLASS, which the entry names as StartupWMClass.
constexpr const char* kApplicationId = RATISCOPE_APPLICATION_ID;

// Window placement, stacking and input shapes need X11; on a Wayland session
// the program runs through XWayland unless the user chose a platform (the
// overlay itself may still be a native layer surface, see OverlayWindows).
// Sizes are device pixels: the overlay is never scaled, the panel scales itself.
void PrepareQtEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

#ifdef RATISCOPE_WAYLAND_OVERLAY
std::string_view Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// On a Wayland desktop with the layer shell the overlay is a native layer
// surface, the only way there to stay on top and let clicks through to native
// windows; RATISCOPE_OVERLAY=x11 or =wayland forces the choice.
struct TOverlayWindows {
    std::unique_ptr<ratiscope::TWaylandConnection> connection;
    std::unique_ptr<ratiscope::TWaylandWindowSystem> system;
};

TOverlayWindows OverlayWindows(ratiscope::TQtWindowSystem& qt, ratiscope::IEventLoop& loop,
                               std::function<std::unique_ptr<ratiscope::IOffscreen>()> surfaces) {
    using namespace ratiscope;
    TOverlayWindows result;
    const TOverlayRequest request = OverlayRequestFrom(Environment("RATISCOPE_OVERLAY"));
    if (request == TOverlayRequest::X11 || Environment("WAYLAND_DISPLAY").empty()) return result;
    auto connection = std::make_unique<TWaylandConnection>(loop);
    const TOverlaySession session{Environment("XDG_SESSION_TYPE") == "wayland", connection->Connected() && connection->Alive(),
                                  connection->HasLayerShell()};
    if (ChooseOverlayBackend(request, session) != TOverlayBackend::Wayland) return result;
    result.system = std::make_unique<TWaylandWindowSystem>(qt, qt, loop, *connection, std::move(surfaces));
    result.connection = std::move(connection);
    return result;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    using namespace ratiscope;
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    // Help and version are answered before any window or settings file.
    switch (CommandOf(arguments)) {
    case TCommand::Help: std::fputs(UsageText(argc > 0 ? argv[0] : "").c_str(), stdout); return 0;
    case TCommand::Version: std::fputs(VersionText().c_str(), stdout); return 0;
    case TCommand::Run: break;
    }

    PrepareQtEnvironment();
    // Without an X server Qt would abort; one line and exit code 1 say it plainly.
    if (qgetenv("QT_QPA_PLATFORM") == "xcb" && !X11DisplayReachable()) {
        std::fputs(NoX11DisplayText(argc > 0 ? argv[0] : "").c_str(), stderr);
        return 1;
    }
    QApplication::setApplicationName(QString::fromLatin1(kApplicationId));
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
    std::setlocale(LC_NUMERIC, "");  // the settings file uses the user's decimal separator

    TPosixFiles files;
    TQtTextEngine text;
    TQtWindowSystem qtWindows([&text] { return std::make_unique<TRasterOffscreen>(text); });
#ifdef RATISCOPE_WAYLAND_OVERLAY
    TQtEventLoop loop;
    const TOverlayWindows overlayWindows =
        OverlayWindows(qtWindows, loop, [&text] { return std::make_unique<TRasterOffscreen>(text); });
    IWindowSystem& windows = overlayWindows.system ? static_cast<IWindowSystem&>(*overlayWindows.system) : qtWindows;
#else
    IWindowSystem& windows = qtWindows;
#endif
    TQtDesktop desktop;
    TQtControlToolkit controls;
    TQtGlobalHotkey hotkey;
    return RunProgram(arguments, TProgramPlatform{files, windows, desktop, controls,
                                                  [] { return MessagesLocale(ProcessEnvironment); }, &hotkey});
}
