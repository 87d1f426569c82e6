// The compositor's globals with just enough behaviour for the client's parts:
// surfaces keep their last commit, regions their rectangles, the pointer its
// cursor; shared memory is libwayland-server's own.
#include "TestCompositor.h"

#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include <wayland-server.h>
#include <xkbcommon/xkbcommon.h>

namespace ratiscope::test {

namespace {

constexpr int kPollMs = 5;
constexpr int kCompositorVersion = 4;
constexpr int kSeatVersion = 5;

TTestCompositor& Of(wl_resource* resource) { return *static_cast<TTestCompositor*>(wl_resource_get_user_data(resource)); }

void Destroy(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }

// --- regions -----------------------------------------------------------------

struct TRegionState {
    std::vector<TRect> rectangles;
};

void RegionAdd(wl_client*, wl_resource* resource, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    static_cast<TRegionState*>(wl_resource_get_user_data(resource))->rectangles.push_back({x, y, x + w, y + h});
}
void RegionSubtract(wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
const struct wl_region_interface kRegion{Destroy, RegionAdd, RegionSubtract};

void RegionGone(wl_resource* resource) { delete static_cast<TRegionState*>(wl_resource_get_user_data(resource)); }

}  // namespace

// --- surfaces ----------------------------------------------------------------

struct TTestCompositor::TSurfaceState {
    TTestCompositor* compositor = nullptr;
    wl_resource* pendingBuffer = nullptr;
    std::optional<std::vector<TRect>> pendingRegion;
    TCommitted committed;
};

namespace {

TTestCompositor::TSurfaceState& SurfaceOf(wl_resource* resource) {
    return *static_cast<TTestCompositor::TSurfaceState*>(wl_resource_get_user_data(resource));
}

void SurfaceAttach(wl_client*, wl_resource* resource, wl_resource* buffer, std::int32_t, std::int32_t) {
    SurfaceOf(resource).pendingBuffer = buffer;
}
void SurfaceDamage(wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void SurfaceFrame(wl_client* client, wl_resource*, std::uint32_t callback) {
    wl_resource* done = wl_resource_create(client, &wl_callback_interface, 1, callback);
    wl_callback_send_done(done, 0);
    wl_resource_destroy(done);
}
void SurfaceOpaqueRegion(wl_client*, wl_resource*, wl_resource*) {}
void SurfaceInputRegion(wl_client*, wl_resource* resource, wl_resource* region) {
    auto& state = SurfaceOf(resource);
    state.pendingRegion = region ? static_cast<TRegionState*>(wl_resource_get_user_data(region))->rectangles : std::vector<TRect>{};
    ++state.committed.inputRegionsSet;
}
void SurfaceCommit(wl_client*, wl_resource* resource) { SurfaceOf(resource).compositor->Committed(resource); }
void SurfaceTransform(wl_client*, wl_resource*, std::int32_t) {}
void SurfaceScale(wl_client*, wl_resource*, std::int32_t) {}
#ifdef WL_SURFACE_OFFSET_SINCE_VERSION
void SurfaceOffset(wl_client*, wl_resource*, std::int32_t, std::int32_t) {}
#endif
const struct wl_surface_interface kSurface{
    .destroy = Destroy,
    .attach = SurfaceAttach,
    .damage = SurfaceDamage,
    .frame = SurfaceFrame,
    .set_opaque_region = SurfaceOpaqueRegion,
    .set_input_region = SurfaceInputRegion,
    .commit = SurfaceCommit,
    .set_buffer_transform = SurfaceTransform,
    .set_buffer_scale = SurfaceScale,
    .damage_buffer = SurfaceDamage,
#ifdef WL_SURFACE_OFFSET_SINCE_VERSION
    .offset = SurfaceOffset,
#endif
};

void SurfaceGone(wl_resource* resource) {
    auto* state = &SurfaceOf(resource);
    state->compositor->Forget(resource);
    delete state;
}

void CreateSurface(wl_client* client, wl_resource* resource, std::uint32_t id) {
    wl_resource* surface = wl_resource_create(client, &wl_surface_interface, wl_resource_get_version(resource), id);
    auto& state = Of(resource).NewSurface(surface);
    wl_resource_set_implementation(surface, &kSurface, &state, SurfaceGone);
}
void CreateRegion(wl_client* client, wl_resource* resource, std::uint32_t id) {
    wl_resource* region = wl_resource_create(client, &wl_region_interface, wl_resource_get_version(resource), id);
    wl_resource_set_implementation(region, &kRegion, new TRegionState, RegionGone);
}
const struct wl_compositor_interface kCompositor{CreateSurface, CreateRegion};

void BindCompositor(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    wl_resource* resource = wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &kCompositor, data, nullptr);
    static_cast<TTestCompositor*>(data)->ClientBound(client);
}

// --- the seat ----------------------------------------------------------------

void PointerSetCursor(wl_client*, wl_resource* resource, std::uint32_t serial, wl_resource* surface, std::int32_t x, std::int32_t y) {
    Of(resource).CursorSet(serial, surface, x, y);
}
const struct wl_pointer_interface kPointer{PointerSetCursor, Destroy};
const struct wl_keyboard_interface kKeyboard{Destroy};

void Unlist(wl_resource* resource) { Of(resource).Forget(resource); }

void SeatGetPointer(wl_client* client, wl_resource* resource, std::uint32_t id) {
    wl_resource* pointer = wl_resource_create(client, &wl_pointer_interface, wl_resource_get_version(resource), id);
    wl_resource_set_implementation(pointer, &kPointer, &Of(resource), Unlist);
    Of(resource).pointers.push_back(pointer);
}
void SeatGetKeyboard(wl_client* client, wl_resource* resource, std::uint32_t id) {
    wl_resource* keyboard = wl_resource_create(client, &wl_keyboard_interface, wl_resource_get_version(resource), id);
    wl_resource_set_implementation(keyboard, &kKeyboard, &Of(resource), Unlist);
    Of(resource).keyboards.push_back(keyboard);
}
void SeatGetTouch(wl_client*, wl_resource*, std::uint32_t) {}
const struct wl_seat_interface kSeat{SeatGetPointer, SeatGetKeyboard, SeatGetTouch, Destroy};

void BindSeat(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    wl_resource* resource = wl_resource_create(client, &wl_seat_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &kSeat, data, Unlist);
    static_cast<TTestCompositor*>(data)->seats.push_back(resource);
    wl_seat_send_capabilities(resource, WL_SEAT_CAPABILITY_POINTER | WL_SEAT_CAPABILITY_KEYBOARD);
}

int OnWake(int fd, std::uint32_t, void* data) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(fd, &count, sizeof count);
    static_cast<TTestCompositor*>(data)->RunQueued();
    return 0;
}

}  // namespace

TTestCompositor::TTestCompositor() {
    folder_ = std::filesystem::temp_directory_path() / ("ratiscope-wl-parts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    display_ = wl_display_create();
    const char* socket = display_ ? wl_display_add_socket_auto(display_) : nullptr;
    if (!socket) return;
    setenv("WAYLAND_DISPLAY", socket, 1);
    wl_global_create(display_, &wl_compositor_interface, kCompositorVersion, this, BindCompositor);
    wl_global_create(display_, &wl_seat_interface, kSeatVersion, this, BindSeat);
    wl_display_init_shm(display_);
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    wake_ = wl_event_loop_add_fd(wl_display_get_event_loop(display_), wakeFd_, WL_EVENT_READABLE, OnWake, this);
    thread_ = std::thread([this] {
        wl_event_loop* loop = wl_display_get_event_loop(display_);
        while (!stop_) {
            wl_event_loop_dispatch(loop, kPollMs);
            wl_display_flush_clients(display_);
        }
    });
}

TTestCompositor::~TTestCompositor() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (wake_) wl_event_source_remove(wake_);
    if (display_) {
        wl_display_destroy_clients(display_);
        wl_display_destroy(display_);
    }
    if (wakeFd_ >= 0) close(wakeFd_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void TTestCompositor::Run(const std::function<void()>& task) {
    std::condition_variable ran;
    bool done = false;
    {
        const std::lock_guard lock(mutex_);
        queued_.push_back([&] {
            task();
            const std::lock_guard inner(mutex_);
            done = true;
            ran.notify_all();
        });
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    std::unique_lock lock(mutex_);
    ran.wait(lock, [&] { return done; });
}

void TTestCompositor::RunQueued() {
    std::vector<std::function<void()>> tasks;
    {
        const std::lock_guard lock(mutex_);
        tasks.swap(queued_);
    }
    for (auto& task : tasks) task();
    wl_display_flush_clients(display_);
}

TTestCompositor::TSurfaceState& TTestCompositor::NewSurface(wl_resource* resource) {
    auto* state = new TSurfaceState;
    state->compositor = this;
    const std::lock_guard lock(mutex_);
    committed_.emplace_back(wl_resource_get_id(resource), TCommitted{});
    return *state;
}

void TTestCompositor::Committed(wl_resource* surface) {
    auto& state = SurfaceOf(surface);
    TCommitted& c = state.committed;
    ++c.commits;
    if (state.pendingRegion) c.inputRegion = *std::exchange(state.pendingRegion, std::nullopt);
    if (state.pendingBuffer) {
        c.buffer = wl_resource_get_id(state.pendingBuffer);
        if (wl_shm_buffer* shm = wl_shm_buffer_get(state.pendingBuffer)) {
            wl_shm_buffer_begin_access(shm);
            c.bufferSize = {wl_shm_buffer_get_width(shm), wl_shm_buffer_get_height(shm)};
            c.firstPixel = *static_cast<const std::uint32_t*>(wl_shm_buffer_get_data(shm));
            wl_shm_buffer_end_access(shm);
        }
        state.pendingBuffer = nullptr;
    }
    const std::lock_guard lock(mutex_);
    for (auto& [id, kept] : committed_)
        if (id == wl_resource_get_id(surface)) kept = c;
}

void TTestCompositor::CursorSet(std::uint32_t serial, wl_resource* surface, std::int32_t x, std::int32_t y) {
    const std::lock_guard lock(mutex_);
    cursor_ = {serial, surface ? wl_resource_get_id(surface) : 0, x, y, cursor_.count + 1};
}

void TTestCompositor::Forget(wl_resource* resource) {
    std::erase(seats, resource);
    std::erase(pointers, resource);
    std::erase(keyboards, resource);
}

TCommitted TTestCompositor::Surface(std::uint32_t surface) const {
    const std::lock_guard lock(mutex_);
    for (const auto& [id, kept] : committed_)
        if (id == surface) return kept;
    return {};
}

TCursorSet TTestCompositor::Cursor() const {
    const std::lock_guard lock(mutex_);
    return cursor_;
}

void TTestCompositor::ReleaseBuffer(std::uint32_t buffer) {
    Run([this, buffer] {
        if (wl_resource* resource = client_ ? wl_client_get_object(client_, buffer) : nullptr) wl_buffer_send_release(resource);
    });
}

void TTestCompositor::SendKeymap(const std::vector<char>& text) {
    Run([this, &text] {
        for (wl_resource* keyboard : keyboards) {
            const int fd = memfd_create("test-keymap", MFD_CLOEXEC);
            if (fd < 0) continue;
            if (ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
                close(fd);
                continue;
            }
            if (void* data = mmap(nullptr, text.size(), PROT_WRITE, MAP_SHARED, fd, 0); data != MAP_FAILED) {
                std::memcpy(data, text.data(), text.size());
                munmap(data, text.size());
            }
            wl_keyboard_send_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, static_cast<std::uint32_t>(text.size()));
            close(fd);
        }
    });
}

void TTestCompositor::SendModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
    Run([=, this] {
        for (wl_resource* keyboard : keyboards) wl_keyboard_send_modifiers(keyboard, 1, depressed, latched, locked, group);
    });
}

std::size_t TTestCompositor::Pointers() {
    std::size_t count = 0;
    Run([&] { count = pointers.size(); });
    return count;
}

std::size_t TTestCompositor::Keyboards() {
    std::size_t count = 0;
    Run([&] { count = keyboards.size(); });
    return count;
}

void TTestCompositor::SendPointerEnter(std::uint32_t surface, std::uint32_t serial) {
    Run([=, this] {
        wl_resource* target = client_ ? wl_client_get_object(client_, surface) : nullptr;
        if (!target) return;
        for (wl_resource* pointer : pointers) wl_pointer_send_enter(pointer, serial, target, 0, 0);
    });
}

std::vector<char> UsKeymapText() {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
    xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    std::vector<char> text;
    if (char* s = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr) {
        text.assign(s, s + std::strlen(s) + 1);
        std::free(s);
    }
    if (keymap) xkb_keymap_unref(keymap);
    if (context) xkb_context_unref(context);
    return text;
}

}  // namespace ratiscope::test
