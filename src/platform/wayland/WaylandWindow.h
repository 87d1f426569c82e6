// The overlay as a layer surface on the compositor's overlay layer: anchored
// top-left with its position as margins, shown from shared-memory buffers with
// key pixels at alpha 0, and taking input only over its non-key pixels.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/Offscreen.h"
#include "platform/Termination.h"
#include "platform/Window.h"
#include "platform/wayland/InputRegion.h"
#include "platform/wayland/KeyRepeat.h"
#include "platform/wayland/OutputPlacement.h"
#include "platform/wayland/OverlayRules.h"
#include "platform/wayland/PointerPlace.h"
#include "platform/wayland/WaylandCursor.h"
#include "platform/wayland/WaylandKeymap.h"
#include "platform/wayland/WaylandRegionSender.h"
#include "platform/wayland/WaylandSeatDevices.h"
#include "platform/wayland/WaylandShmPool.h"
#include "platform/wayland/WheelSteps.h"

struct wl_callback;
struct wl_surface;
struct zwlr_layer_surface_v1;

namespace ratiscope {

class TWaylandConnection;

class TWaylandWindow final : public IWindow, private IControlHost {
public:
    // `quit` ends the message loop when the main window closes; `loop` runs
    // the window's deferred work and key repeat, and must outlive it.
    TWaylandWindow(TWaylandConnection& connection, IEventLoop& loop, IWindowEvents& events, const TWindowOptions& options,
                   std::unique_ptr<IOffscreen> surface, std::function<void(int)> quit);
    ~TWaylandWindow() override;
    // Held while the window lives: what ties it to the program's termination.
    void KeepLink(TTerminationLink link) { link_ = std::move(link); }

    std::int32_t Left() const override { return left_; }
    std::int32_t Top() const override { return top_; }
    void Move(std::int32_t left, std::int32_t top) override;
    TSize ClientSize() const override { return size_; }
    void SetClientSize(TSize size) override;
    void Show() override;
    void Hide() override;
    bool IsVisible() const override { return layer_ != nullptr; }
    bool IsActive() const override { return keyboardFocus_; }
    // The overlay layer is above every window already: nothing to raise.
    void BringToFront() override {}
    void ReassertTopmost() override {}
    void Close() override;
    void SetAlpha(bool blending, std::uint8_t alpha) override;
    void Invalidate() override;
    ICanvas& NewPicture() override;
    ICanvas& Surface() override;
    void FlushSurface() override;
    void SetCursor(TCursor cursor) override;
    // Layer surfaces have no tooltips of their own; the texts are kept, not shown.
    void SetHint(std::string_view) override {}
    void CancelHint() override {}
    void SetHintsEnabled(bool) override {}
    // The compositor keeps the pointer with the surface a button went down on.
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    int Dpi() const override { return 96; }
    IControlHost& ControlHost() override { return *this; }
    // The input region last sent to the compositor, for measuring its cost.
    const TInputRegion& SentInputRegion() const { return region_.Shown(); }

    // From the listeners.
    void Configured(std::uint32_t serial);
    void ClosedByCompositor();
    void MoveApplied(wl_callback* callback);
    void SeatCapabilities(std::uint32_t caps);
    void PointerEnter(wl_surface* surface, std::uint32_t serial, double x, double y);
    void PointerLeave(wl_surface* surface);
    void PointerMotion(double x, double y);
    void PointerButton(std::uint32_t button, bool pressed);
    void PointerAxis(std::uint32_t axis, double value);
    void PointerAxisDiscrete(std::uint32_t axis, std::int32_t steps);
    void PointerFrame();
    void KeyboardKeymap(std::uint32_t format, int fd, std::uint32_t size);
    void KeyboardEnter(wl_surface* surface);
    void KeyboardLeave(wl_surface* surface);
    void KeyboardKey(std::uint32_t key, bool pressed);
    void KeyboardModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group);
    void KeyboardRepeat(std::int32_t rate, std::int32_t delay);

private:
    // `replacing` another surface of the window: it keeps the keyboard state.
    void CreateSurface(bool replacing = false);
    void DestroySurface();
    // The layer surface again on the output under the window's centre, showing
    // and taking input as before.
    void MoveToOutput();
    void QueueOutputCheck();
    void CheckOutput();
    void SendMargins();
    void SendInteractivity(bool exclusive);
    void Paint();
    void Commit();
    void ListenToSeat();
    void StopListeningToSeat();
    // The seat's devices, their events sent to `window`.
    static TSeatDevices SeatDevicesFor(TWaylandWindow& window);
    void UpdateKeyboardClaim();
    void HandBackKeyboard();
    void ApplyCursor();
    TShiftState State() const;
    std::int32_t LocalX() const;
    std::int32_t LocalY() const;
    void RepeatKey(std::uint32_t key);

    TWaylandConnection& connection_;
    IWindowEvents& events_;
    TPixel keyPixel_;
    bool main_;
    std::unique_ptr<IOffscreen> surface_;
    std::function<void(int)> quit_;
    IEventLoop& loop_;
    // Work deferred to the loop, dropped with the window; each is active
    // from its post until it runs, so it is never queued twice.
    TLoopHandle queuedPaint_;
    TLoopHandle queuedOutputCheck_;
    TLoopHandle queuedHandBack_;
    TLoopHandle queuedReshow_;

    wl_surface* wlSurface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    bool configured_ = false;
    std::uint32_t configureSerial_ = 0;
    bool ackPending_ = false;
    TShmPool buffers_;
    TRegionSender region_;
    TSize committedSize_;
    // The output the surface is on, and its corner the margins count from.
    std::uint32_t output_ = kNoOutput;
    std::int32_t cornerLeft_ = 0;
    std::int32_t cornerTop_ = 0;

    std::int32_t left_ = 0;
    std::int32_t top_ = 0;
    TSize size_;
    bool blending_ = false;
    std::uint8_t alpha_ = 255;
    bool stale_ = true;
    bool inPaint_ = false;
    bool closed_ = false;

    // Moves the compositor has not answered yet: pointer positions it sends
    // meanwhile may count from an older place.
    struct TPendingMove {
        wl_callback* done;
        std::uint64_t ticket;
    };
    std::deque<TPendingMove> pendingMoves_;
    std::uint64_t moveTicket_ = 0;
    TSurfacePlace place_;

    TSeatDevices devices_;
    bool pointerInside_ = false;
    std::uint32_t enterSerial_ = 0;
    TLayoutPoint pointerAt_;  // in the layout
    TShiftState buttons_ = 0;
    TWheelSteps wheel_;
    std::optional<TWaylandCursor> cursor_;  // goes before the window's last flush

    TKeyboardClaim claim_;
    bool claimed_ = false;
    bool keyboardFocus_ = false;
    bool quietFocus_ = false;  // a replaced surface taking the focus back is no new activation
    TWaylandKeymap keymap_;
    TKeyRepeat repeat_;
    TTerminationLink link_;
};

}  // namespace ratiscope
