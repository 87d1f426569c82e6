// The window system of a layer-shell Wayland desktop: the overlay (the main
// window) is a native layer surface, everything else stays with Qt on XWayland.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/Offscreen.h"
#include "platform/Window.h"
#include "platform/qt/QtWindowSystem.h"

namespace ratiscope {

class TWaylandConnection;

class TWaylandWindowSystem final : public IWindowSystem {
public:
    // `qt` serves every window but the main one and all application-wide
    // services, and closes the main window when asked to end the program;
    // `connection` must offer the layer shell. Neither is owned.
    TWaylandWindowSystem(TQtWindowSystem& qt, TWaylandConnection& connection, std::function<std::unique_ptr<IOffscreen>()> surfaces);

    std::unique_ptr<IWindow> CreateWindow(IWindowEvents& events, const TWindowOptions& options) override;
    void SetApplicationTitle(std::string_view title) override { qt_.SetApplicationTitle(title); }
    void SetApplicationEvents(IApplicationEvents* events) override { qt_.SetApplicationEvents(events); }
    void SetOverrideCursor(TCursor cursor) override { qt_.SetOverrideCursor(cursor); }
    void ResetOverrideCursor() override { qt_.ResetOverrideCursor(); }
    void SetHintColor(TColor color) override { qt_.SetHintColor(color); }
    // XWayland's screens are the compositor's outputs in its layout.
    TRect WorkAreaNear(const IWindow& window) const override { return qt_.WorkAreaNear(window); }
    TRect Desktop() const override { return qt_.Desktop(); }
    std::int32_t PrimaryScreenWidth() const override { return qt_.PrimaryScreenWidth(); }
    int ColorDepth() const override { return qt_.ColorDepth(); }
    // Wayland tells no client where other clients' windows are, so only
    // XWayland windows are found, through the compositor's X window manager;
    // over a native window the answer is empty and the fit does nothing.
    std::optional<TRect> ClientAreaBeneath(std::int32_t x, std::int32_t y) const override
    {
        return qt_.ClientAreaBeneath(x, y);
    }
    // A layer surface has no task-bar entry to come back from: only the Qt windows go.
    void MinimizeApplication() override { qt_.MinimizeApplication(); }
    void ShowMessage(TMessageKind kind, std::string_view caption, std::string_view text) override
    {
        qt_.ShowMessage(kind, caption, text);
    }
    int Run() override { return qt_.Run(); }
    void Quit(int exitCode) override { qt_.Quit(exitCode); }

private:
    TQtWindowSystem& qt_;
    TWaylandConnection& connection_;
    std::function<std::unique_ptr<IOffscreen>()> surfaces_;
};

}  // namespace ratiscope
