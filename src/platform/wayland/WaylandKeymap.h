// The keyboard as the compositor describes it: its keymap, the state of its
// modifiers, and the program's key codes of the evdev keys it sends.
#pragma once

#include <cstdint>

#include "platform/Window.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace ratiscope {

class TWaylandKeymap {
public:
    TWaylandKeymap();
    ~TWaylandKeymap();
    TWaylandKeymap(const TWaylandKeymap&) = delete;
    TWaylandKeymap& operator=(const TWaylandKeymap&) = delete;

    // A keymap as the compositor sends it: `size` bytes of text, ending with a
    // zero byte, in the file `fd` (closed here) in the format `format`
    // (wl_keyboard's keymap format). One that cannot be read keeps the last.
    void Load(std::uint32_t format, int fd, std::uint32_t size);
    bool Loaded() const { return state_ != nullptr; }
    // The modifier masks and layout group of wl_keyboard's modifiers event.
    void SetModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked, std::uint32_t group);
    // Shift, Ctrl and Alt as they are in effect now.
    TShiftState Modifiers() const;
    // The program's key code of the evdev key `key` in the keymap's current
    // layout and level; TKey::None for a key the program has no code for.
    TKey VirtualKey(std::uint32_t key) const;
    // Whether the keymap repeats `key` while it is held.
    bool Repeats(std::uint32_t key) const;

private:
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
};

}  // namespace ratiscope
