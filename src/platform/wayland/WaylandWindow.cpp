// The layer-surface overlay: the surface's life, its place, and its pictures.
#include "platform/wayland/WaylandWindow.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include <wayland-client.h>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/wayland/WaylandConnection.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace ratiscope {

namespace {

// The name compositors show for the overlay's layer in their tools and rules.
constexpr const char* kLayerNamespace = "ratiscope-overlay";

TWaylandWindow& Window(void* data) { return *static_cast<TWaylandWindow*>(data); }

void OnConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t, std::uint32_t) {
    Window(data).Configured(serial);
}
void OnClosed(void* data, zwlr_layer_surface_v1*) { Window(data).ClosedByCompositor(); }
constexpr zwlr_layer_surface_v1_listener kLayerListener{OnConfigure, OnClosed};

void OnMoveDone(void* data, wl_callback* callback, std::uint32_t) { Window(data).MoveApplied(callback); }
constexpr wl_callback_listener kMoveListener{OnMoveDone};

// A straight colour channel times alpha, rounded, as premultiplied ARGB wants it.
constexpr std::uint32_t Premultiply(std::uint32_t channel, std::uint32_t alpha) { return (channel * alpha + 127) / 255; }

}  // namespace

TWaylandWindow::TWaylandWindow(TWaylandConnection& connection, IEventLoop& loop, IWindowEvents& events,
                               const TWindowOptions& options, std::unique_ptr<IOffscreen> surface, std::function<void(int)> quit)
    : connection_(connection),
      events_(events),
      keyPixel_(PixelFromColor(options.keyColor)),
      main_(options.mainWindow),
      surface_(std::move(surface)),
      quit_(std::move(quit)),
      loop_(loop),
      buffers_(connection.Shm()),
      region_(connection),
      place_(connection.HeldPointerOrigin()),
      devices_(SeatDevicesFor(*this)),
      repeat_(loop, [this](std::uint32_t key) { RepeatKey(key); }) {
    // A compositor that drops us ends the program the way closing the overlay
    // does, so the settings are still saved.
    connection_.Watch([this] { Close(); });
    ListenToSeat();
    cursor_.emplace(connection_.Compositor(), connection_.Shm());
    // A new output, one gone, or one moved in the layout may change where the surface belongs.
    connection_.Outputs().OnChanged([this] { QueueOutputCheck(); });
    connection_.Roundtrip();  // the seat's capabilities, the outputs' places
}

TWaylandWindow::~TWaylandWindow() {
    connection_.Unwatch();
    connection_.Outputs().OnChanged(nullptr);
    queuedPaint_.Reset();
    queuedOutputCheck_.Reset();
    queuedHandBack_.Reset();
    queuedReshow_.Reset();
    repeat_.Stop();
    StopListeningToSeat();
    DestroySurface();
    devices_.Release();
    cursor_.reset();
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
    region_.NewSurface();
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
    queuedReshow_ = loop_.Post([this] {
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
    if (queuedPaint_.Active()) return;
    queuedPaint_ = loop_.Post([this] {
        queuedPaint_.Reset();
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

void TWaylandWindow::Commit() {
    if (!layer_ || !configured_ || !surface_ || !connection_.Alive()) return;
    const TImage& picture = surface_->Picture();
    const TSize size = picture.Size();
    if (size.width <= 0 || size.height <= 0) return;
    TShmBuffer* buffer = buffers_.Free(size);
    if (!buffer) return;

    // Key pixels fully transparent, the rest at the window's alpha, premultiplied.
    const std::uint32_t a = blending_ ? alpha_ : 255u;
    std::uint32_t* out = buffer->Pixels().data();
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

    region_.Send(wlSurface_, BuildInputRegion(picture, keyPixel_));
    if (size != committedSize_) {
        zwlr_layer_surface_v1_set_size(layer_, static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height));
        committedSize_ = size;
    }
    if (ackPending_) {
        zwlr_layer_surface_v1_ack_configure(layer_, configureSerial_);
        ackPending_ = false;
    }
    wl_surface_attach(wlSurface_, buffer->Buffer(), 0, 0);
    wl_surface_damage_buffer(wlSurface_, 0, 0, size.width, size.height);
    wl_surface_commit(wlSurface_);
    buffers_.Sent(*buffer);
    connection_.Flush();
}

}  // namespace ratiscope
