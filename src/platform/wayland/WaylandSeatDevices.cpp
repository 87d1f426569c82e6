// One pointer and one keyboard at most, whatever the seat announces meanwhile.
#include "platform/wayland/WaylandSeatDevices.h"

#include <wayland-client.h>

namespace ratiscope {

bool TSeatDevices::Update(wl_seat* seat, std::uint32_t capabilities) {
    const bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    const bool hasKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    bool pointerGone = false;
    if (hasPointer && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(pointer_, &pointerListener_, data_);
    } else if (!hasPointer && pointer_) {
        wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
        pointerGone = true;
    }
    if (hasKeyboard && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(keyboard_, &keyboardListener_, data_);
    } else if (!hasKeyboard && keyboard_) {
        wl_keyboard_destroy(keyboard_);
        keyboard_ = nullptr;
    }
    return pointerGone;
}

void TSeatDevices::Release() {
    if (pointer_) wl_pointer_destroy(pointer_);
    if (keyboard_) wl_keyboard_destroy(keyboard_);
    pointer_ = nullptr;
    keyboard_ = nullptr;
}

}  // namespace ratiscope
