// Routes the main window to the compositor and the rest to Qt.
#include "platform/wayland/WaylandWindowSystem.h"

#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandWindow.h"

namespace ratiscope {

TWaylandWindowSystem::TWaylandWindowSystem(TQtWindowSystem& qt, TWaylandConnection& connection,
                                           std::function<std::unique_ptr<IOffscreen>()> surfaces)
    : qt_(qt), connection_(connection), surfaces_(std::move(surfaces)) {}

std::unique_ptr<IWindow> TWaylandWindowSystem::CreateWindow(IWindowEvents& events, const TWindowOptions& options) {
    if (!options.mainWindow) return qt_.CreateWindow(events, options);
    auto window = std::make_unique<TWaylandWindow>(connection_, events, options, surfaces_ ? surfaces_() : nullptr,
                                                   [this](int code) { qt_.Quit(code); });
    // Termination signals close the overlay as its close button does.
    window->KeepLink(qt_.LinkMainWindow([w = window.get()] { w->Close(); }));
    return window;
}

}  // namespace ratiscope
