// The overlay's input: the seat's pointer and keyboard, the cursor, and the
// keyboard's claim, which a layer surface must ask the compositor for.
#include <linux/input-event-codes.h>

#include <algorithm>
#include <limits>

#include <wayland-client.h>

#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandWindow.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace ratiscope {

namespace {

TWaylandWindow& Window(void* data) { return *static_cast<TWaylandWindow*>(data); }

// The seat outlives the window, which unhooks itself by clearing the data.
void OnCapabilities(void* data, wl_seat*, std::uint32_t caps) {
    if (data) Window(data).SeatCapabilities(caps);
}
void OnSeatName(void*, wl_seat*, const char*) {}
constexpr wl_seat_listener kSeatListener{OnCapabilities, OnSeatName};

void OnPointerEnter(void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    Window(data).PointerEnter(surface, serial, wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void OnPointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface* surface) { Window(data).PointerLeave(surface); }
void OnPointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    Window(data).PointerMotion(wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void OnPointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button, std::uint32_t state) {
    Window(data).PointerButton(button, state == WL_POINTER_BUTTON_STATE_PRESSED);
}
void OnPointerAxis(void* data, wl_pointer*, std::uint32_t, std::uint32_t axis, wl_fixed_t value) {
    Window(data).PointerAxis(axis, wl_fixed_to_double(value));
}
void OnPointerFrame(void* data, wl_pointer*) { Window(data).PointerFrame(); }
void OnPointerAxisSource(void*, wl_pointer*, std::uint32_t) {}
void OnPointerAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void OnPointerAxisDiscrete(void* data, wl_pointer*, std::uint32_t axis, std::int32_t steps) {
    Window(data).PointerAxisDiscrete(axis, steps);
}
#ifdef WL_POINTER_AXIS_VALUE120_SINCE_VERSION
void OnPointerAxisValue120(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
#endif
// Events of seat versions above the one bound never come.
constexpr wl_pointer_listener kPointerListener{
    .enter = OnPointerEnter,
    .leave = OnPointerLeave,
    .motion = OnPointerMotion,
    .button = OnPointerButton,
    .axis = OnPointerAxis,
    .frame = OnPointerFrame,
    .axis_source = OnPointerAxisSource,
    .axis_stop = OnPointerAxisStop,
    .axis_discrete = OnPointerAxisDiscrete,
#ifdef WL_POINTER_AXIS_VALUE120_SINCE_VERSION
    .axis_value120 = OnPointerAxisValue120,
#endif
};

void OnKeymap(void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
    Window(data).KeyboardKeymap(format, fd, size);
}
void OnKeyboardEnter(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
    Window(data).KeyboardEnter(surface);
}
void OnKeyboardLeave(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface) { Window(data).KeyboardLeave(surface); }
void OnKey(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key, std::uint32_t state) {
    Window(data).KeyboardKey(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
}
void OnModifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                 std::uint32_t group) {
    Window(data).KeyboardModifiers(depressed, latched, locked, group);
}
void OnRepeatInfo(void* data, wl_keyboard*, std::int32_t rate, std::int32_t delay) { Window(data).KeyboardRepeat(rate, delay); }
constexpr wl_keyboard_listener kKeyboardListener{OnKeymap, OnKeyboardEnter, OnKeyboardLeave, OnKey, OnModifiers, OnRepeatInfo};

// place − origin, held within range however far apart the two are.
std::int32_t Offset(std::int32_t place, std::int32_t origin) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{place} - origin, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TSeatDevices TWaylandWindow::SeatDevicesFor(TWaylandWindow& window) {
    return TSeatDevices(kPointerListener, kKeyboardListener, &window);
}

void TWaylandWindow::ListenToSeat() {
    if (connection_.Seat()) wl_seat_add_listener(connection_.Seat(), &kSeatListener, this);
}

void TWaylandWindow::StopListeningToSeat() {
    if (connection_.Seat()) wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(connection_.Seat()), nullptr);
}

// --- pointer -----------------------------------------------------------------

void TWaylandWindow::SeatCapabilities(std::uint32_t caps) {
    if (devices_.Update(connection_.Seat(), caps)) pointerInside_ = false;
}

// The window's own coordinates of the pointer's place in the layout. The
// place is learnt when the compositor sends it: a surface that moved since
// does not move the pointer, and some compositors send nothing then.
std::int32_t TWaylandWindow::LocalX() const { return Offset(pointerAt_.x, left_); }

std::int32_t TWaylandWindow::LocalY() const { return Offset(pointerAt_.y, top_); }

TShiftState TWaylandWindow::State() const { return buttons_ | keymap_.Modifiers(); }

void TWaylandWindow::PointerEnter(wl_surface* surface, std::uint32_t serial, double x, double y) {
    if (!surface || surface != wlSurface_) return;
    pointerInside_ = true;
    enterSerial_ = serial;
    pointerAt_ = place_.Layout(x, y);
    ApplyCursor();
    events_.OnMouseMove(State(), LocalX(), LocalY());
}

void TWaylandWindow::PointerLeave(wl_surface* surface) {
    if (!surface || surface != wlSurface_) return;
    pointerInside_ = false;
    claim_.Left(buttons_ != 0);
    UpdateKeyboardClaim();
}

void TWaylandWindow::PointerMotion(double x, double y) {
    if (!pointerInside_ && buttons_ == 0) return;
    pointerAt_ = place_.Layout(x, y);
    events_.OnMouseMove(State(), LocalX(), LocalY());
}

void TWaylandWindow::PointerButton(std::uint32_t button, bool pressed) {
    TMouseButton which = TMouseButton::Left;
    TShiftFlag flag = ssLeft;
    switch (button) {
    case BTN_LEFT: break;
    case BTN_RIGHT: which = TMouseButton::Right, flag = ssRight; break;
    case BTN_MIDDLE: which = TMouseButton::Middle, flag = ssMiddle; break;
    default: return;
    }
    if (pressed) {
        if (buttons_ == 0) place_.ButtonsDown();
        buttons_ |= flag;
        claim_.Pressed();
        UpdateKeyboardClaim();
        events_.OnMouseDown(which, State(), LocalX(), LocalY());
    } else {
        if (!(buttons_ & flag)) return;
        const std::int32_t x = LocalX();
        const std::int32_t y = LocalY();
        buttons_ &= ~static_cast<TShiftState>(flag);
        if (buttons_ == 0) place_.ButtonsUp();
        events_.OnMouseUp(which, State(), x, y);
        if (buttons_ == 0 && !pointerInside_) {
            claim_.Left(false);
            UpdateKeyboardClaim();
        }
    }
}

void TWaylandWindow::PointerAxis(std::uint32_t axis, double value) {
    if (axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
    wheel_.Axis(value);
    // Seats older than pointer frames deliver each axis event on its own.
    if (connection_.SeatVersion() < WL_POINTER_FRAME_SINCE_VERSION) PointerFrame();
}

void TWaylandWindow::PointerAxisDiscrete(std::uint32_t axis, std::int32_t steps) {
    if (axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
    wheel_.Notches(steps);
}

void TWaylandWindow::PointerFrame() {
    const std::int32_t delta = wheel_.EndFrame();
    if (delta != 0 && (pointerInside_ || buttons_ != 0)) events_.OnMouseWheel(State(), delta, LocalX(), LocalY());
}

void TWaylandWindow::SetCursor(TCursor cursor) {
    if (cursor_ && cursor_->SetShape(cursor)) ApplyCursor();
}

void TWaylandWindow::ApplyCursor() {
    if (!pointerInside_ || !cursor_) return;
    if (cursor_->Apply(devices_.Pointer(), enterSerial_)) connection_.Flush();
}

// --- keyboard ----------------------------------------------------------------

void TWaylandWindow::UpdateKeyboardClaim() {
    const bool wanted = claim_.Wanted();
    if (wanted == claimed_ || !layer_) return;
    claimed_ = wanted;
    SendInteractivity(false);
    wl_surface_commit(wlSurface_);
    connection_.Flush();
    if (!wanted && keyboardFocus_ && !queuedHandBack_.Active()) {
        // Not from inside the pointer event that let go: the check waits for the compositor's answer.
        queuedHandBack_ = loop_.Post([this] {
            queuedHandBack_.Reset();
            HandBackKeyboard();
        });
    }
}

// Some compositors (KWin 5.27) leave the keyboard with a surface that no
// longer asks for it, so keys meant for the window beneath would still move
// the overlay; the keyboard leaves only with the surface itself, so the
// overlay is made anew in place, with the same picture and input region.
void TWaylandWindow::HandBackKeyboard() {
    if (!layer_ || !configured_ || claim_.Wanted() || !keyboardFocus_) return;
    // A compositor that hands the keyboard back says so before this answer.
    if (!connection_.Roundtrip() || !layer_ || claim_.Wanted() || !keyboardFocus_) return;
    DestroySurface();
    keyboardFocus_ = false;
    repeat_.Stop();
    CreateSurface();
    Paint();
    events_.OnDeactivate();
}

void TWaylandWindow::KeyboardKeymap(std::uint32_t format, int fd, std::uint32_t size) { keymap_.Load(format, fd, size); }

void TWaylandWindow::KeyboardEnter(wl_surface* surface) {
    if (!surface || surface != wlSurface_ || keyboardFocus_) return;
    keyboardFocus_ = true;
    if (!quietFocus_) events_.OnActivate();
}

void TWaylandWindow::KeyboardLeave(wl_surface* surface) {
    if (!surface || surface != wlSurface_ || !keyboardFocus_) return;
    keyboardFocus_ = false;
    repeat_.Stop();
    events_.OnDeactivate();
}

void TWaylandWindow::KeyboardKey(std::uint32_t key, bool pressed) {
    if (!keymap_.Loaded() || !keyboardFocus_) return;
    const TKey vkey = keymap_.VirtualKey(key);
    if (pressed) {
        repeat_.Pressed(key, keymap_.Repeats(key));
        if (vkey != TKey::None) events_.OnKeyDown(vkey, State());
    } else {
        repeat_.Released(key);
        if (vkey != TKey::None) events_.OnKeyUp(vkey, State());
    }
}

void TWaylandWindow::RepeatKey(std::uint32_t key) {
    if (!keymap_.Loaded() || !keyboardFocus_) return;
    const TKey vkey = keymap_.VirtualKey(key);
    if (vkey != TKey::None) events_.OnKeyDown(vkey, State());
}

void TWaylandWindow::KeyboardModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
    keymap_.SetModifiers(depressed, latched, locked, group);
}

void TWaylandWindow::KeyboardRepeat(std::int32_t rate, std::int32_t delay) { repeat_.SetRate(rate, delay); }

}  // namespace ratiscope
