// The window system of a layer-shell Wayland desktop: the overlay (the main
// window) is a native layer surface, everything else stays with the window
// system beside it (Qt on XWayland).
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/EventLoop.h"
#include "platform/Offscreen.h"
#include "platform/Termination.h"
#include "platform/Window.h"

namespace ratiscope {

class TWaylandConnection;

class TWaylandWindowSystem final : public IWindowSystem {
public:
    // `others` serves every window but the main one and all application-wide
    // services, and runs the loop; `termination` closes the main window when
    // the program is asked to end; `loop` is the loop `others` runs;
    // `connection` must offer the layer shell. None is owned.
    TWaylandWindowSystem(IWindowSystem& others, ITermination& termination, IEventLoop& loop, TWaylandConnection& connection,
                         std::function<std::unique_ptr<IOffscreen>()> surfaces);

    std::unique_ptr<IWindow> CreateWindow(IWindowEvents& events, const TWindowOptions& options) override;
    void SetApplicationTitle(std::string_view title) override { others_.SetApplicationTitle(title); }
    void SetApplicationEvents(IApplicationEvents* events) override { others_.SetApplicationEvents(events); }
    void SetOverrideCursor(TCursor cursor) override { others_.SetOverrideCursor(cursor); }
    void ResetOverrideCursor() override { others_.ResetOverrideCursor(); }
    void SetHintColor(TColor color) override { others_.SetHintColor(color); }
    // XWayland's screens are the compositor's outputs in its layout.
    TRect WorkAreaNear(const IWindow& window) const override { return others_.WorkAreaNear(window); }
    TRect Desktop() const override { return others_.Desktop(); }
    std::int32_t PrimaryScreenWidth() const override { return others_.PrimaryScreenWidth(); }
    int ColorDepth() const override { return others_.ColorDepth(); }
    // Wayland tells no client where other clients' windows are, so only
    // XWayland windows are found, through the compositor's X window manager;
    // over a native window the answer is empty and the fit does nothing.
    std::optional<TRect> ClientAreaBeneath(std::int32_t x, std::int32_t y) const override
    {
        return others_.ClientAreaBeneath(x, y);
    }
    // A layer surface has no task-bar entry to come back from: only the Qt windows go.
    void MinimizeApplication() override { others_.MinimizeApplication(); }
    void ShowMessage(TMessageKind kind, std::string_view caption, std::string_view text) override
    {
        others_.ShowMessage(kind, caption, text);
    }
    int Run() override { return others_.Run(); }
    void Quit(int exitCode) override { others_.Quit(exitCode); }

private:
    IWindowSystem& others_;
    ITermination& termination_;
    IEventLoop& loop_;
    TWaylandConnection& connection_;
    std::function<std::unique_ptr<IOffscreen>()> surfaces_;
};

}  // namespace ratiscope
