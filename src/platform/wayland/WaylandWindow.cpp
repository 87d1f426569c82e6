// The layer-surface overlay: surface life, buffers, input region, pointer and keyboard.
#include "platform/wayland/WaylandWindow.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QObject>
#include <QTimer>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <utility>

#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeys.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace ratiscope {

namespace {

// The name compositors show for the overlay's layer in their tools and rules.
constexpr const char* kLayerNamespace = "ratiscope-overlay";
// Region rectangles sent before the socket is emptied: about half the library's buffer.
constexpr std::size_t kRectanglesPerSend = 64;
// A wheel notch in the compositor's axis units, and in the program's.
constexpr double kAxisPerNotch = 15.0;
constexpr std::int32_t kWheelDeltaPerNotch = 120;
constexpr int kCursorSize = 24;
// Buffers kept while the compositor still reads older ones; more are made on demand.
constexpr std::size_t kSpareBuffers = 2;

TWaylandWindow& Window(void* data) { return *static_cast<TWaylandWindow*>(data); }

void OnConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t, std::uint32_t) {
    Window(data).Configured(serial);
}
void OnClosed(void* data, zwlr_layer_surface_v1*) { Window(data).ClosedByCompositor(); }
constexpr zwlr_layer_surface_v1_listener kLayerListener{OnConfigure, OnClosed};

void OnBufferRelease(void* data, wl_buffer* buffer) { Window(data).BufferReleased(buffer); }
constexpr wl_buffer_listener kBufferListener{OnBufferRelease};

void OnMoveDone(void* data, wl_callback* callback, std::uint32_t) { Window(data).MoveApplied(callback); }
constexpr wl_callback_listener kMoveListener{OnMoveDone};

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

// A file in memory the compositor can map: the shared pixels of one buffer.
int SharedMemoryFile(std::size_t bytes) {
    const int fd = memfd_create("ratiscope-overlay", MFD_CLOEXEC);
    if (fd < 0) return -1;
    if (ftruncate(fd, static_cast<off_t>(bytes)) < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// place − origin, held within range however far apart the two are.
std::int32_t Offset(std::int32_t place, std::int32_t origin) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{place} - origin, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// A straight colour channel times alpha, rounded, as premultiplied ARGB wants it.
constexpr std::uint32_t Premultiply(std::uint32_t channel, std::uint32_t alpha) { return (channel * alpha + 127) / 255; }

}  // namespace

TShmBuffer::~TShmBuffer() {
    if (buffer) wl_buffer_destroy(buffer);
    if (data) munmap(data, bytes);
}

TWaylandWindow::TWaylandWindow(TWaylandConnection& connection, IWindowEvents& events, const TWindowOptions& options,
                               std::unique_ptr<IOffscreen> surface, std::function<void(int)> quit)
    : connection_(connection),
      events_(events),
      keyPixel_(PixelFromColor(options.keyColor)),
      main_(options.mainWindow),
      surface_(std::move(surface)),
      quit_(std::move(quit)),
      context_(std::make_unique<QObject>()),
      place_(connection.HeldPointerOrigin()) {
    // A compositor that drops us ends the program the way closing the overlay
    // does, so the settings are still saved.
    connection_.Watch([this] { Close(); });
    xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    repeatTimer_ = new QTimer(context_.get());
    QObject::connect(repeatTimer_, &QTimer::timeout, context_.get(), [this] { RepeatKey(); });
    if (connection_.Seat()) wl_seat_add_listener(connection_.Seat(), &kSeatListener, this);
    if (connection_.Shm()) cursorTheme_ = wl_cursor_theme_load(nullptr, kCursorSize, connection_.Shm());
    if (connection_.Compositor()) cursorSurface_ = wl_compositor_create_surface(connection_.Compositor());
    // A new output, one gone, or one moved in the layout may change where the surface belongs.
    connection_.Outputs().OnChanged([this] { QueueOutputCheck(); });
    connection_.Roundtrip();  // the seat's capabilities, the outputs' places
}

TWaylandWindow::~TWaylandWindow() {
    connection_.Unwatch();
    connection_.Outputs().OnChanged(nullptr);
    context_.reset();
    if (connection_.Seat()) wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(connection_.Seat()), nullptr);
    DestroySurface();
    if (pointer_) wl_pointer_destroy(pointer_);
    if (keyboard_) wl_keyboard_destroy(keyboard_);
    if (cursorSurface_) wl_surface_destroy(cursorSurface_);
    if (cursorTheme_) wl_cursor_theme_destroy(cursorTheme_);
    if (keyState_) xkb_state_unref(keyState_);
    if (keymap_) xkb_keymap_unref(keymap_);
    if (xkb_) xkb_context_unref(xkb_);
    connection_.Flush();
}

// --- the surface -------------------------------------------------------------

void TWaylandWindow::CreateSurface(bool replacing) {
    if (layer_ || closed_ || !connection_.HasLayerShell()) return;
    const TOutputPlacement place = PlaceOnOutputs(connection_.Outputs().Areas(), left_, top_, size_, output_);
    output_ = place.output;
    cornerLeft_ = place.cornerLeft;
    cornerTop_ = place.cornerTop;
    wlSurface_ = wl_compositor_create_surface(connection_.Compositor());
    // Without a known output the compositor picks one.
    layer_ = zwlr_layer_shell_v1_get_layer_surface(connection_.LayerShell(), wlSurface_, connection_.Outputs().Proxy(output_),
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kLayerNamespace);
    zwlr_layer_surface_v1_add_listener(layer_, &kLayerListener, this);
    zwlr_layer_surface_v1_set_anchor(layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    // Bars and docks do not push the overlay aside: its position is the user's.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    SendMargins();
    // A size of 0 would ask the compositor to choose it, which needs opposite anchors.
    const TSize size{std::max(size_.width, 1), std::max(size_.height, 1)};
    zwlr_layer_surface_v1_set_size(layer_, static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height));
    committedSize_ = size;
    // A new surface asks for no keyboard until the user works with it; one
    // that replaces a surface with the keyboard takes it at once, and keeps it
    // when it asks for it only on demand next.
    claimed_ = replacing && claim_.Wanted();
    SendInteractivity(claimed_ && quietFocus_);
    wl_surface_commit(wlSurface_);
    regionSent_ = false;
    configured_ = false;
    while (!configured_ && layer_ && connection_.Roundtrip()) {
    }
    // Moves made while waiting go with the first picture.
    if (layer_) SendMargins();
    place_.NewSurface({left_, top_});
}

void TWaylandWindow::SendInteractivity(bool exclusive) {
    const std::uint32_t mode = exclusive || (claimed_ && connection_.LayerShellVersion() <
                                                             ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND_SINCE_VERSION)
                                   ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                               : claimed_ ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND
                                          : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE;
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, mode);
}

void TWaylandWindow::DestroySurface() {
    // Moves of this surface: a new one starts where the window is.
    for (const TPendingMove& move : pendingMoves_) wl_callback_destroy(move.done);
    pendingMoves_.clear();
    if (layer_) zwlr_layer_surface_v1_destroy(layer_);
    if (wlSurface_) wl_surface_destroy(wlSurface_);
    layer_ = nullptr;
    wlSurface_ = nullptr;
    configured_ = false;
    pointerInside_ = false;
    connection_.Flush();
}

void TWaylandWindow::Configured(std::uint32_t serial) {
    configureSerial_ = serial;
    ackPending_ = true;
    const bool first = !configured_;
    configured_ = true;
    // The first configure comes inside CreateSurface, which paints next; later
    // ones (an output change) only need an acknowledged commit.
    if (!first) Commit();
}

void TWaylandWindow::ClosedByCompositor() {
    // The output went away: show the overlay again wherever the compositor puts new surfaces.
    DestroySurface();
    QTimer::singleShot(0, context_.get(), [this] {
        CreateSurface();
        stale_ = true;
        Paint();
    });
}

void TWaylandWindow::Show() {
    if (layer_) return;
    CreateSurface();
    stale_ = true;
    Paint();
}

void TWaylandWindow::Hide() { DestroySurface(); }

void TWaylandWindow::Close() {
    if (closed_) return;
    closed_ = true;
    events_.OnClose();
    DestroySurface();
    if (main_ && quit_) quit_(0);
}

void TWaylandWindow::Move(std::int32_t left, std::int32_t top) {
    if (left == left_ && top == top_) return;
    left_ = left;
    top_ = top;
    QueueOutputCheck();
    if (!layer_ || !configured_) return;
    SendMargins();
    wl_surface_commit(wlSurface_);
    wl_callback* done = wl_display_sync(connection_.Display());
    wl_callback_add_listener(done, &kMoveListener, this);
    pendingMoves_.push_back({done, ++moveTicket_});
    place_.MoveSent(moveTicket_, {left_, top_});
    connection_.Flush();
}

void TWaylandWindow::MoveApplied(wl_callback* callback) {
    const auto it = std::find_if(pendingMoves_.begin(), pendingMoves_.end(), [callback](const TPendingMove& m) { return m.done == callback; });
    wl_callback_destroy(callback);
    if (it == pendingMoves_.end()) return;
    place_.MoveApplied(it->ticket);
    pendingMoves_.erase(it);
}

void TWaylandWindow::SetClientSize(TSize size) {
    size_ = {std::max(size.width, 0), std::max(size.height, 0)};
    QueueOutputCheck();  // the centre moves with the size
}

void TWaylandWindow::SetAlpha(bool blending, std::uint8_t alpha) {
    if (blending == blending_ && alpha == alpha_) return;
    blending_ = blending;
    alpha_ = alpha;
    Commit();
}

// --- painting ----------------------------------------------------------------

void TWaylandWindow::Invalidate() {
    stale_ = true;
    if (paintQueued_) return;
    paintQueued_ = true;
    QTimer::singleShot(0, context_.get(), [this] {
        paintQueued_ = false;
        Paint();
    });
}

void TWaylandWindow::Paint() {
    if (stale_) {
        inPaint_ = true;
        events_.OnPaint();
        inPaint_ = false;
    }
    Commit();
}

ICanvas& TWaylandWindow::NewPicture() {
    stale_ = false;
    return NewPictureOn(*surface_, size_, ColorFromPixel(keyPixel_));
}

ICanvas& TWaylandWindow::Surface() { return surface_->Canvas(); }

void TWaylandWindow::FlushSurface() {
    if (!inPaint_) Commit();
}

TShmBuffer* TWaylandWindow::FreeBuffer(TSize size) {
    // Buffers of another size are of no more use once the compositor let go of them.
    std::erase_if(buffers_, [size](const std::unique_ptr<TShmBuffer>& b) { return !b->busy && b->size != size; });
    for (const auto& b : buffers_)
        if (!b->busy) return b.get();
    const std::size_t stride = static_cast<std::size_t>(size.width) * 4;
    const std::size_t bytes = stride * static_cast<std::size_t>(size.height);
    const int fd = SharedMemoryFile(bytes);
    if (fd < 0) return nullptr;
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    auto b = std::make_unique<TShmBuffer>();
    b->data = data;
    b->bytes = bytes;
    b->size = size;
    wl_shm_pool* pool = wl_shm_create_pool(connection_.Shm(), fd, static_cast<std::int32_t>(bytes));
    b->buffer = wl_shm_pool_create_buffer(pool, 0, size.width, size.height, static_cast<std::int32_t>(stride), WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(b->buffer, &kBufferListener, this);
    buffers_.push_back(std::move(b));
    return buffers_.back().get();
}

void TWaylandWindow::BufferReleased(wl_buffer* buffer) {
    for (const auto& b : buffers_)
        if (b->buffer == buffer) b->busy = false;
    // A burst of resizes may have made more than double buffering needs.
    std::size_t spare = 0;
    std::erase_if(buffers_, [&spare](const std::unique_ptr<TShmBuffer>& b) { return !b->busy && ++spare > kSpareBuffers; });
}

void TWaylandWindow::Commit() {
    if (!layer_ || !configured_ || !surface_ || !connection_.Alive()) return;
    const TImage& picture = surface_->Picture();
    const TSize size = picture.Size();
    if (size.width <= 0 || size.height <= 0) return;
    TShmBuffer* buffer = FreeBuffer(size);
    if (!buffer) return;

    // Key pixels fully transparent, the rest at the window's alpha, premultiplied.
    const std::uint32_t a = blending_ ? alpha_ : 255u;
    auto* out = static_cast<std::uint32_t*>(buffer->data);
    for (std::int32_t y = 0; y < size.height; ++y) {
        const auto row = picture.Row(y);
        assert(row.size() >= static_cast<std::size_t>(size.width));
        std::uint32_t* line = out + static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width);
        for (std::int32_t x = 0; x < size.width; ++x) {
            const TPixel p = row[static_cast<std::size_t>(x)];
            line[x] = p == keyPixel_ ? 0u
                                     : a << 24 | Premultiply(p >> 16 & 0xFFu, a) << 16 | Premultiply(p >> 8 & 0xFFu, a) << 8 |
                                           Premultiply(p & 0xFFu, a);
        }
    }

    SendInputRegion(BuildInputRegion(picture, keyPixel_));
    if (size != committedSize_) {
        zwlr_layer_surface_v1_set_size(layer_, static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height));
        committedSize_ = size;
    }
    if (ackPending_) {
        zwlr_layer_surface_v1_ack_configure(layer_, configureSerial_);
        ackPending_ = false;
    }
    wl_surface_attach(wlSurface_, buffer->buffer, 0, 0);
    wl_surface_damage_buffer(wlSurface_, 0, 0, size.width, size.height);
    wl_surface_commit(wlSurface_);
    buffer->busy = true;
    connection_.Flush();
}

void TWaylandWindow::SendInputRegion(const TInputRegion& region) {
    // The compositor's cost grows with the rectangles: send only a changed region.
    if (regionSent_ && region == shownRegion_) return;
    wl_region* input = wl_compositor_create_region(connection_.Compositor());
    std::size_t queued = 0;
    for (const TRect& r : region.rectangles) {
        wl_region_add(input, r.left, r.top, r.Width(), r.Height());
        connection_.FlushEvery(queued, kRectanglesPerSend);
    }
    wl_surface_set_input_region(wlSurface_, input);
    wl_region_destroy(input);
    shownRegion_ = region;
    regionSent_ = true;
}

// --- pointer -----------------------------------------------------------------

void TWaylandWindow::SeatCapabilities(std::uint32_t caps) {
    wl_seat* seat = connection_.Seat();
    const bool hasPointer = caps & WL_SEAT_CAPABILITY_POINTER;
    const bool hasKeyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
    if (hasPointer && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(pointer_, &kPointerListener, this);
    } else if (!hasPointer && pointer_) {
        wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
        pointerInside_ = false;
    }
    if (hasKeyboard && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
    } else if (!hasKeyboard && keyboard_) {
        wl_keyboard_destroy(keyboard_);
        keyboard_ = nullptr;
    }
}

// The window's own coordinates of the pointer's place in the layout. The
// place is learnt when the compositor sends it: a surface that moved since
// does not move the pointer, and some compositors send nothing then.
std::int32_t TWaylandWindow::LocalX() const { return Offset(pointerAt_.x, left_); }

std::int32_t TWaylandWindow::LocalY() const { return Offset(pointerAt_.y, top_); }

TShiftState TWaylandWindow::State() const {
    TShiftState s = buttons_;
    if (keyState_) {
        if (xkb_state_mod_name_is_active(keyState_, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssShift;
        if (xkb_state_mod_name_is_active(keyState_, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssCtrl;
        if (xkb_state_mod_name_is_active(keyState_, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssAlt;
    }
    return s;
}

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
    wheelRest_ += value;
    // Seats older than pointer frames deliver each axis event on its own.
    if (connection_.SeatVersion() < WL_POINTER_FRAME_SINCE_VERSION) PointerFrame();
}

void TWaylandWindow::PointerAxisDiscrete(std::uint32_t axis, std::int32_t steps) {
    if (axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
    wheelDiscrete_ = true;
    wheelSteps_ += steps;
}

void TWaylandWindow::PointerFrame() {
    // The compositor counts down (towards the user) as positive; the program the other way.
    std::int32_t delta = 0;
    if (wheelDiscrete_) {
        delta = -wheelSteps_ * kWheelDeltaPerNotch;
        wheelRest_ = 0;
    } else {
        const double notches = std::trunc(wheelRest_ / kAxisPerNotch * kWheelDeltaPerNotch) / kWheelDeltaPerNotch;
        delta = -static_cast<std::int32_t>(std::lround(notches * kWheelDeltaPerNotch));
        wheelRest_ -= notches * kAxisPerNotch;
    }
    wheelDiscrete_ = false;
    wheelSteps_ = 0;
    if (delta != 0 && (pointerInside_ || buttons_ != 0)) events_.OnMouseWheel(State(), delta, LocalX(), LocalY());
}

void TWaylandWindow::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    ApplyCursor();
}

void TWaylandWindow::ApplyCursor() {
    if (!pointer_ || !pointerInside_ || !cursorTheme_ || !cursorSurface_) return;
    // Themes name their cursors in one of two traditions.
    const char* names[2] = {"left_ptr", "default"};
    if (cursor_ == TCursor::HandPoint) names[0] = "hand2", names[1] = "pointer";
    if (cursor_ == TCursor::SizeNWSE) names[0] = "bottom_right_corner", names[1] = "nwse-resize";
    wl_cursor* found = wl_cursor_theme_get_cursor(cursorTheme_, names[0]);
    if (!found) found = wl_cursor_theme_get_cursor(cursorTheme_, names[1]);
    if (!found || found->image_count == 0) return;
    wl_cursor_image* image = found->images[0];
    wl_buffer* buffer = wl_cursor_image_get_buffer(image);
    if (!buffer) return;
    wl_pointer_set_cursor(pointer_, enterSerial_, cursorSurface_, static_cast<std::int32_t>(image->hotspot_x),
                          static_cast<std::int32_t>(image->hotspot_y));
    wl_surface_attach(cursorSurface_, buffer, 0, 0);
    wl_surface_damage_buffer(cursorSurface_, 0, 0, static_cast<std::int32_t>(image->width), static_cast<std::int32_t>(image->height));
    wl_surface_commit(cursorSurface_);
    connection_.Flush();
}

// --- keyboard ----------------------------------------------------------------

void TWaylandWindow::UpdateKeyboardClaim() {
    const bool wanted = claim_.Wanted();
    if (wanted == claimed_ || !layer_) return;
    claimed_ = wanted;
    SendInteractivity(false);
    wl_surface_commit(wlSurface_);
    connection_.Flush();
    if (!wanted && keyboardFocus_ && !handBackQueued_) {
        // Not from inside the pointer event that let go: the check waits for the compositor's answer.
        handBackQueued_ = true;
        QTimer::singleShot(0, context_.get(), [this] {
            handBackQueued_ = false;
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
    repeatTimer_->stop();
    CreateSurface();
    Paint();
    events_.OnDeactivate();
}

void TWaylandWindow::KeyboardKeymap(std::uint32_t format, int fd, std::uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !xkb_ || size == 0) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap =
        xkb_keymap_new_from_buffer(xkb_, static_cast<const char*>(text), size - 1, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap) return;
    if (keyState_) xkb_state_unref(keyState_);
    if (keymap_) xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    keyState_ = xkb_state_new(keymap_);
}

void TWaylandWindow::KeyboardEnter(wl_surface* surface) {
    if (!surface || surface != wlSurface_ || keyboardFocus_) return;
    keyboardFocus_ = true;
    if (!quietFocus_) events_.OnActivate();
}

void TWaylandWindow::KeyboardLeave(wl_surface* surface) {
    if (!surface || surface != wlSurface_ || !keyboardFocus_) return;
    keyboardFocus_ = false;
    repeatTimer_->stop();
    events_.OnDeactivate();
}

void TWaylandWindow::KeyboardKey(std::uint32_t key, bool pressed) {
    if (!keyState_ || !keyboardFocus_) return;
    // Evdev codes are eight below the codes of X keyboard maps.
    const xkb_keycode_t code = key + 8;
    const int vkey = VirtualKeyFromKeysym(xkb_state_key_get_one_sym(keyState_, code));
    if (pressed) {
        if (xkb_keymap_key_repeats(keymap_, code) && repeatRate_ > 0) {
            repeatKey_ = key;
            repeatTimer_->start(repeatDelay_);
        }
        if (vkey != 0) events_.OnKeyDown(vkey, State());
    } else {
        if (key == repeatKey_) repeatTimer_->stop();
        if (vkey != 0) events_.OnKeyUp(vkey, State());
    }
}

void TWaylandWindow::RepeatKey() {
    if (!keyState_ || !keyboardFocus_) return;
    repeatTimer_->setInterval(1000 / std::max(repeatRate_, 1));
    const int vkey = VirtualKeyFromKeysym(xkb_state_key_get_one_sym(keyState_, repeatKey_ + 8));
    if (vkey != 0) events_.OnKeyDown(vkey, State());
}

void TWaylandWindow::KeyboardModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
    if (keyState_) xkb_state_update_mask(keyState_, depressed, latched, locked, 0, 0, group);
}

void TWaylandWindow::KeyboardRepeat(std::int32_t rate, std::int32_t delay) {
    repeatRate_ = rate;
    repeatDelay_ = delay;
}

}  // namespace ratiscope
