// The seat's pointer and keyboard as the overlay holds them: made when the
// seat gains them, dropped when it loses them, their events sent to the
// listeners given.
#pragma once

#include <cstdint>

struct wl_keyboard;
struct wl_keyboard_listener;
struct wl_pointer;
struct wl_pointer_listener;
struct wl_seat;

namespace ratiscope {

class TSeatDevices {
public:
    // The listeners get `data` with every event; all three must outlive this.
    TSeatDevices(const wl_pointer_listener& pointer, const wl_keyboard_listener& keyboard, void* data)
        : pointerListener_(pointer), keyboardListener_(keyboard), data_(data) {}
    ~TSeatDevices() { Release(); }
    TSeatDevices(const TSeatDevices&) = delete;
    TSeatDevices& operator=(const TSeatDevices&) = delete;

    // Makes or drops the devices of `seat` as its capabilities (wl_seat's
    // capability bits) say. True when the pointer went.
    bool Update(wl_seat* seat, std::uint32_t capabilities);
    // Drops both devices.
    void Release();

    wl_pointer* Pointer() const { return pointer_; }
    wl_keyboard* Keyboard() const { return keyboard_; }

private:
    const wl_pointer_listener& pointerListener_;
    const wl_keyboard_listener& keyboardListener_;
    void* data_;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
};

}  // namespace ratiscope
