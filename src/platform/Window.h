// The window system as both windows see it: borderless topmost windows with a
// key colour, their input events, and the few application-wide services.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/Color.h"
#include "base/Geometry.h"
#include "platform/Keys.h"

namespace ratiscope {

class ICanvas;

enum class TMouseButton { Left, Right, Middle };

// Held modifier keys and mouse buttons at the time of an event, combinable.
enum TShiftFlag : std::uint32_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};
using TShiftState = std::uint32_t;

// The icon of a message box: a warning lets the program carry on as asked; an
// error says something the user asked for did not happen.
enum class TMessageKind { Warning, Error };

enum class TCursor {
    Default,    // the platform's arrow
    HandPoint,  // pointing hand, over buttons
    SizeNWSE,   // diagonal resize, north-west to south-east
};

// What the window system tells a window. Every default does nothing, so a
// window overrides only what it handles. Coordinates are client pixels,
// origin top-left, x to the right, y downwards.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    // The platform needs the whole client area again: draw it on NewPicture().
    virtual void OnPaint() {}
    // A mouse button went down; `state` already holds that button.
    virtual void OnMouseDown(TMouseButton, TShiftState, std::int32_t /*x*/, std::int32_t /*y*/) {}
    // The pointer moved over the window, or anywhere while a button is held after a press in it.
    virtual void OnMouseMove(TShiftState, std::int32_t /*x*/, std::int32_t /*y*/) {}
    // A mouse button came up; `state` no longer holds it.
    virtual void OnMouseUp(TMouseButton, TShiftState, std::int32_t /*x*/, std::int32_t /*y*/) {}
    // The wheel turned: 120 per standard notch, positive away from the user.
    virtual void OnMouseWheel(TShiftState, std::int32_t /*delta*/, std::int32_t /*x*/, std::int32_t /*y*/) {}
    // A key went down (auto-repeat repeats this); `key` is its virtual key code, never TKey::None.
    virtual void OnKeyDown(TKey /*key*/, TShiftState) {}
    // A key came up for real; auto-repeat releases are not reported.
    virtual void OnKeyUp(TKey /*key*/, TShiftState) {}
    // This window became the active window.
    virtual void OnActivate() {}
    // This window stopped being the active window.
    virtual void OnDeactivate() {}
    // The window is closing; this cannot refuse. Closing the main window ends Run.
    virtual void OnClose() {}
    // The screen's dots per inch under the window changed (96 is unscaled).
    virtual void OnDpiChanged(int /*dpi*/) {}
};

// What the window system tells the program when the user switches to or from it.
class IApplicationEvents {
public:
    virtual ~IApplicationEvents() = default;
    virtual void OnApplicationActivate() = 0;
    virtual void OnApplicationDeactivate() = 0;
};

// Where a backend's controls find their parent inside a window. Opaque here:
// each backend narrows it to its own type.
class IWindow;

class IControlHost {
public:
    virtual ~IControlHost() = default;
};

// How a window is made; each window names its own key colour.
struct TWindowOptions {
    explicit TWindowOptions(TColor key, bool main = false, std::string windowTitle = {}, IWindow* ownerWindow = nullptr)
        : keyColor(key), mainWindow(main), title(std::move(windowTitle)), owner(ownerWindow) {}

    // Pixels of exactly this colour are not shown and let the mouse through.
    TColor keyColor;
    // Closing the main window ends the message loop.
    bool mainWindow;
    // The title the task bar and window lists show, exactly as given.
    std::string title;
    // The window this one belongs to: kept above it and not listed in the
    // task bar on its own; null for a window of its own. Must outlive it.
    IWindow* owner;
};

// One borderless window that stays on top of all normal windows. Positions are
// screen pixels of the whole desktop; sizes are pixels of the client area,
// which for these windows is the whole window. Nothing is scaled.
class IWindow {
public:
    virtual ~IWindow() = default;

    // The window's left and top edges on the desktop.
    virtual std::int32_t Left() const = 0;
    virtual std::int32_t Top() const = 0;
    // Moves the window's top-left corner to (left, top).
    virtual void Move(std::int32_t left, std::int32_t top) = 0;
    // The client size in pixels.
    virtual TSize ClientSize() const = 0;
    // Resizes the client area; the top-left corner stays.
    virtual void SetClientSize(TSize size) = 0;

    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    // Whether this window is the active window of the desktop.
    virtual bool IsActive() const = 0;
    // Shows the window in front of all others and activates it.
    virtual void BringToFront() = 0;
    // Puts the window back on top of the z-order without moving, sizing or activating it.
    virtual void ReassertTopmost() = 0;
    // Closes the window: OnClose runs, then the window is gone from the screen.
    virtual void Close() = 0;

    // Window alpha 0 (invisible) to 255; with blending off the window is opaque
    // whatever the alpha. Key-coloured pixels stay invisible either way.
    virtual void SetAlpha(bool blending, std::uint8_t alpha) = 0;

    // Asks for a repaint: OnPaint follows from the message loop.
    virtual void Invalidate() = 0;
    // Readies the surface for a whole new picture and returns its canvas (the
    // one Surface() returns): the surface takes the current client size in
    // pixels, origin at the client origin, and every pixel becomes the key
    // colour, so all earlier surface drawing is gone and whatever the new
    // picture leaves out stays see-through. Draw at the client size; the
    // drawing shows from the next FlushSurface (or the paint in progress).
    virtual ICanvas& NewPicture() = 0;
    // Draws straight onto what the window shows (hover feedback, small marks)
    // on top of the current picture; the next NewPicture wipes it.
    virtual ICanvas& Surface() = 0;
    // Puts the surface on screen before returning; the shown and the
    // click-through pixels follow the surface's key-coloured pixels.
    virtual void FlushSurface() = 0;

    // The cursor over this window while no application-wide override is set.
    virtual void SetCursor(TCursor cursor) = 0;
    // The tooltip text of this window; empty for none. Shown only while hints are enabled.
    virtual void SetHint(std::string_view text) = 0;
    // Takes down a tooltip on display.
    virtual void CancelHint() = 0;
    virtual void SetHintsEnabled(bool enabled) = 0;

    // Keeps mouse moves and the release coming to this window while the pointer is outside it.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;

    // Dots per inch of the screen the window is on; 96 is unscaled.
    virtual int Dpi() const = 0;

    // Where a backend's controls may be placed inside this window.
    virtual IControlHost& ControlHost() = 0;
};

// The platform's window system: creates windows and offers what is shared by
// all of them. Rectangles are desktop pixels, right and bottom exclusive.
class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    // A new window, hidden, 0 x 0, fully opaque, reporting to `events` (which
    // must outlive it).
    virtual std::unique_ptr<IWindow> CreateWindow(IWindowEvents& events, const TWindowOptions& options) = 0;

    // The name of the program in task lists and message boxes.
    virtual void SetApplicationTitle(std::string_view title) = 0;
    // Receives the program's activation changes; null for none. Not owned.
    virtual void SetApplicationEvents(IApplicationEvents* events) = 0;

    // The application-wide cursor, over every window, until reset.
    virtual void SetOverrideCursor(TCursor cursor) = 0;
    // Back to each window's own cursor, however many overrides were set.
    virtual void ResetOverrideCursor() = 0;
    // Background colour of every tooltip.
    virtual void SetHintColor(TColor color) = 0;

    // The work area (without task bars and docks) of the monitor nearest to the window.
    virtual TRect WorkAreaNear(const IWindow& window) const = 0;
    // The bounding rectangle of all monitors.
    virtual TRect Desktop() const = 0;
    virtual std::int32_t PrimaryScreenWidth() const = 0;
    // Bits per pixel of the primary screen (24 or 32 is true colour).
    virtual int ColorDepth() const = 0;

    // The client area (desktop pixels, right and bottom exclusive; without the
    // window manager's frame) of the topmost top-level window whose outer
    // frame holds the desktop point (x, y), in the window manager's stacking
    // order. The program's own windows never count. Empty over the bare
    // desktop or when the platform cannot tell. X11 reads the manager's
    // _NET_CLIENT_LIST_STACKING and _NET_FRAME_EXTENTS; Windows walks the
    // top-level windows in z-order (skipping this process's) and takes the
    // first visible one whose window rectangle holds the point, then its
    // GetClientRect mapped to screen coordinates.
    virtual std::optional<TRect> ClientAreaBeneath(std::int32_t x, std::int32_t y) const = 0;

    // Takes every window of the program off the screen; the task bar brings them back.
    virtual void MinimizeApplication() = 0;
    // A modal box with one OK button and the icon of `kind`.
    virtual void ShowMessage(TMessageKind kind, std::string_view caption, std::string_view text) = 0;

    // Runs `task` once from the message loop, after `window` has shown its
    // first picture on the screen, so that work the first picture does not
    // need (another window) does not hold it up. The task is dropped when the
    // window goes first. A backend that cannot tell runs it at once.
    virtual void AfterFirstPaint(IWindow& window, std::function<void()> task) {
        static_cast<void>(window);
        task();
    }

    // Runs the message loop until the main window closes or Quit is called; the
    // exit code. A request from the system to end the program (a termination
    // signal, the end of the desktop session) closes the main window as its
    // close button does, so the program ends by the same path.
    virtual int Run() = 0;
    virtual void Quit(int exitCode) = 0;
};

}  // namespace ratiscope
