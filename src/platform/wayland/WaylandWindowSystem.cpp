// Routes the main window to the compositor and the rest to Qt.
#include "platform/wayland/WaylandWindowSystem.h"

#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandWindow.h"

namespace ratiscope {

TWaylandWindowSystem::TWaylandWindowSystem(IWindowSystem& qt, TWaylandConnection& connection,
                                           std::function<std::unique_ptr<IOffscreen>()> surfaces)
    : qt_(qt), connection_(connection), surfaces_(std::move(surfaces)) {}

std::unique_ptr<IWindow> TWaylandWindowSystem::CreateWindow(IWindowEvents& events, const TWindowOptions& options) {
    if (!options.mainWindow) return qt_.CreateWindow(events, options);
    return std::make_unique<TWaylandWindow>(connection_, events, options, surfaces_ ? surfaces_() : nullptr,
                                            [this](int code) { qt_.Quit(code); });
}

}  // namespace ratiscope
