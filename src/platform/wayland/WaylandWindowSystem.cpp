// Routes the main window to the compositor and the rest to the other window system.
#include "platform/wayland/WaylandWindowSystem.h"

#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandWindow.h"

namespace ratiscope {

TWaylandWindowSystem::TWaylandWindowSystem(IWindowSystem& others, ITermination& termination, IEventLoop& loop,
                                           TWaylandConnection& connection, std::function<std::unique_ptr<IOffscreen>()> surfaces)
    : others_(others), termination_(termination), loop_(loop), connection_(connection), surfaces_(std::move(surfaces)) {}

std::unique_ptr<IWindow> TWaylandWindowSystem::CreateWindow(IWindowEvents& events, const TWindowOptions& options) {
    if (!options.mainWindow) return others_.CreateWindow(events, options);
    auto window = std::make_unique<TWaylandWindow>(connection_, loop_, events, options, surfaces_ ? surfaces_() : nullptr,
                                                   [this](int code) { others_.Quit(code); });
    // Termination signals close the overlay as its close button does.
    window->KeepLink(termination_.OnTermination([w = window.get()] { w->Close(); }));
    return window;
}

}  // namespace ratiscope
