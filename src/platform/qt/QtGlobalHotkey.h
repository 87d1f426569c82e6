// The global show-and-hide key on X11: a passive grab of the combination on
// the root window, seen through Qt's native event filter.
#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/GlobalHotkey.h"

struct xcb_connection_t;

namespace ratiscope {

// The X keysym of a virtual key code (letters as their lower-case keysym);
// 0 for codes a global combination cannot use.
std::uint32_t KeysymFromVirtualKey(TKey key);

// The lock modifier sets a grab must also cover so the combination works
// whatever Num Lock and Caps Lock say: every subset of the two masks, each once.
std::vector<std::uint16_t> LockVariants(std::uint16_t numLockMask, std::uint16_t capsLockMask);

class TQtGlobalHotkey final : public IGlobalHotkey, private QAbstractNativeEventFilter {
public:
    // Uses the application's X connection; every Register is Unusable without one.
    TQtGlobalHotkey();
    // Releases the grab.
    ~TQtGlobalHotkey() override;
    TQtGlobalHotkey(const TQtGlobalHotkey&) = delete;
    TQtGlobalHotkey& operator=(const TQtGlobalHotkey&) = delete;

    THotkeyResult Register(const THotkey& hotkey, std::function<void()> pressed) override;
    void Unregister() override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // Grabs the combination on the keyboard map as it is now.
    THotkeyResult Grab(const THotkey& hotkey);
    void Ungrab();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint8_t keyboardEvent_ = 0;  // the keyboard extension's first event number, 0 without it
    THotkey hotkey_;                  // the claimed combination, grabbed anew when the keyboard map changes
    std::uint8_t keycode_ = 0;
    std::uint16_t modifiers_ = 0;     // the X modifier mask of the combination
    std::uint16_t relevant_ = 0;      // the masks that tell combinations apart
    std::vector<std::uint16_t> grabbed_;  // modifier sets grabbed with keycode_
    bool down_ = false;               // held: auto-repeat does not act again
    std::function<void()> pressed_;
    bool filtering_ = false;
};

}  // namespace ratiscope
