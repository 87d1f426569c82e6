// The Win32 backend of the window system: layered topmost popups with a key
// colour and alpha, application activation, cursors, tooltips, monitors,
// message boxes and the message loop with the panel's key preview.
#pragma once

#include "platform/win32/Win32Api.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Offscreen.h"
#include "platform/Window.h"

namespace ratiscope {

class TWin32Window;

// The window class every window of the program belongs to.
inline constexpr const wchar_t* kWindowClassName = L"VendrelRatiscopeWindow";
// The program icon in the resources.
inline constexpr const wchar_t* kProgramIconName = L"ZAPPICON";

// The MessageBoxW style of a box with one OK button above our topmost windows,
// with the icon of `kind`.
UINT MessageBoxStyle(TMessageKind kind);

// Dots per inch of a window's monitor (96 where the system cannot tell).
int WindowDpi(HWND window);

class TWin32WindowSystem final : public IWindowSystem {
public:
    // `surfaces` makes the drawing surface of each new window (a raster canvas
    // with its picture). `instance` holds the program's resources.
    TWin32WindowSystem(std::function<std::unique_ptr<IOffscreen>()> surfaces, HINSTANCE instance);
    ~TWin32WindowSystem() override;
    TWin32WindowSystem(const TWin32WindowSystem&) = delete;
    TWin32WindowSystem& operator=(const TWin32WindowSystem&) = delete;

    std::unique_ptr<IWindow> CreateWindow(IWindowEvents& events, const TWindowOptions& options) override;
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

    // Handles one queued message as Run does: the panel's key preview, then
    // Tab and the arrow keys between its controls, then the window. Tests
    // pump with it.
    void Dispatch(MSG& message);

    // Called by the windows.
    HINSTANCE Instance() const { return instance_; }
    const std::string& ApplicationTitle() const { return title_; }
    void Forget(TWin32Window* window);
    // The main window came back from the task bar: the others minimised with it follow.
    void Restored(TWin32Window* window);
    // WM_ACTIVATEAPP reaches every window; the program hears each change once.
    void ApplicationActivated(bool active);
    // The cursor a window shows now: the override while one is set, else its own.
    HCURSOR CursorFor(TCursor own) const;
    bool OverrideCursorSet() const { return overrideSet_; }
    COLORREF HintColor() const { return hintColor_; }
    // An error out of a handler, shown in the error box; the loop carries on.
    void ReportHandlerError(const char* what);

private:
    TWin32Window* WindowOf(HWND handle) const;
    void ApplyCursorNow();

    std::function<std::unique_ptr<IOffscreen>()> surfaces_;
    HINSTANCE instance_;
    ATOM windowClass_ = 0;
    std::vector<TWin32Window*> windows_;
    std::vector<TWin32Window*> minimised_;
    IApplicationEvents* appEvents_ = nullptr;
    bool appActive_ = false;
    std::string title_;
    bool overrideSet_ = false;
    HCURSOR overrideCursor_ = nullptr;
    COLORREF hintColor_ = RGB(255, 255, 225);
};

}  // namespace ratiscope
