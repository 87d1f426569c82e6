// The Qt 6 backend of the window system (X11): frameless topmost windows with
// a key colour, application activation, cursors, tooltips, screens.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>

#include "platform/Offscreen.h"
#include "platform/Termination.h"
#include "platform/Window.h"

class QWidget;

namespace ratiscope {

class TQtTermination;
class TQtWindow;

// What a Qt window offers to the Qt controls placed inside it.
class IQtControlHost : public IControlHost {
public:
    // The widget the controls are parented to; it shows the window's surface behind them.
    virtual QWidget* Container() = 0;
};

class TQtWindowSystem final : public IWindowSystem, public ITermination {
public:
    // `surfaces` makes the drawing surface of each new window (a raster canvas
    // with its picture). A QApplication must exist first.
    // From now on a termination signal (SIGTERM, SIGINT, SIGHUP) or the end of
    // the session closes the main window, as its close button would.
    explicit TQtWindowSystem(std::function<std::unique_ptr<IOffscreen>()> surfaces);
    ~TQtWindowSystem() override;

    std::unique_ptr<IWindow> CreateWindow(IWindowEvents& events, const TWindowOptions& options) override;
    void AfterFirstPaint(IWindow& window, std::function<void()> task) override;
    void SetApplicationTitle(std::string_view title) override;
    void SetApplicationEvents(IApplicationEvents* events) override;
    void SetOverrideCursor(TCursor cursor) override;
    void ResetOverrideCursor() override;
    void SetHintColor(TColor color) override;
    TRect WorkAreaNear(const IWindow& window) const override;
    TRect Desktop() const override;
    std::int32_t PrimaryScreenWidth() const override;
    int ColorDepth() const override;
    std::optional<TRect> ClientAreaBeneath(std::int32_t x, std::int32_t y) const override;
    void MinimizeApplication() override;
    void ShowMessage(TMessageKind kind, std::string_view caption, std::string_view text) override;
    int Run() override;
    void Quit(int exitCode) override;

    // A main window made elsewhere (the native Wayland overlay): a termination
    // signal or the end of the session runs `close`, as it closes a Qt main
    // window, for as long as the link lives. A later link replaces this one.
    [[nodiscard]] TTerminationLink OnTermination(std::function<void()> close) override;

    // Called by the windows.
    void Forget(TQtWindow* window);
    // A window came back from the task bar: the others minimised with it follow.
    void Restored(TQtWindow* window);

private:
    // Closes the main window unless there is none or it already closed.
    bool CloseMainWindow();
    void Unlink(std::uint64_t id);

    std::function<std::unique_ptr<IOffscreen>()> surfaces_;
    TQtWindow* main_ = nullptr;
    std::function<void()> closeLinkedMain_;
    std::uint64_t linkId_ = 0;
    bool quitting_ = false;
    std::unique_ptr<TQtTermination> termination_;
    std::vector<TQtWindow*> windows_;
    std::vector<TQtWindow*> minimised_;
    IApplicationEvents* appEvents_ = nullptr;
    std::string applicationTitle_;
    std::unique_ptr<QObject> context_;  // ends the application-state connection with us
};

}  // namespace ratiscope
