// Keymaps through xkbcommon, mapped from the file the compositor shares.
#include "platform/wayland/WaylandKeymap.h"

#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/WaylandKeys.h"

namespace ratiscope {

namespace {

// Evdev codes are eight below the codes of X keyboard maps.
constexpr xkb_keycode_t kEvdevToXkb = 8;

}  // namespace

TWaylandKeymap::TWaylandKeymap() : context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

TWaylandKeymap::~TWaylandKeymap() {
    if (state_) xkb_state_unref(state_);
    if (keymap_) xkb_keymap_unref(keymap_);
    if (context_) xkb_context_unref(context_);
}

void TWaylandKeymap::Load(std::uint32_t format, int fd, std::uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !context_ || size == 0) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap = xkb_keymap_new_from_buffer(context_, static_cast<const char*>(text), size - 1, XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap) return;
    if (state_) xkb_state_unref(state_);
    if (keymap_) xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    state_ = xkb_state_new(keymap_);
}

void TWaylandKeymap::SetModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
    if (state_) xkb_state_update_mask(state_, depressed, latched, locked, 0, 0, group);
}

TShiftState TWaylandKeymap::Modifiers() const {
    TShiftState s = 0;
    if (!state_) return s;
    if (xkb_state_mod_name_is_active(state_, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssShift;
    if (xkb_state_mod_name_is_active(state_, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssCtrl;
    if (xkb_state_mod_name_is_active(state_, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0) s |= ssAlt;
    return s;
}

TKey TWaylandKeymap::VirtualKey(std::uint32_t key) const {
    return state_ ? VirtualKeyFromKeysym(xkb_state_key_get_one_sym(state_, key + kEvdevToXkb)) : TKey::None;
}

bool TWaylandKeymap::Repeats(std::uint32_t key) const { return keymap_ && xkb_keymap_key_repeats(keymap_, key + kEvdevToXkb); }

}  // namespace ratiscope
