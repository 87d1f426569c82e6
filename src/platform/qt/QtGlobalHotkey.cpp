// Grabs one key combination on the X root window in every lock state and
// turns its presses into calls, on the connection Qt opened.
#include "platform/qt/QtGlobalHotkey.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/Keys.h"
#include "platform/qt/QtX11Shape.h"
#include "platform/qt/XcbReply.h"

namespace ratiscope {

namespace {

// Keysyms of the X protocol's keysym table.
constexpr std::uint32_t kXkF1 = 0xffbe;
constexpr std::uint32_t kXkKp0 = 0xffb0;
constexpr std::uint32_t kXkNumLock = 0xff7f;
constexpr std::uint32_t kXkAltL = 0xffe9;
constexpr std::uint32_t kXkSuperL = 0xffeb;
constexpr int kModifierCount = 8;  // Shift, Lock, Control, Mod1..Mod5

struct TKeysym {
    TKey key;
    std::uint32_t keysym;
};

constexpr TKeysym kNamedKeysyms[] = {
    {TKey::Space, 0x0020},    {TKey::Return, 0xff0d},   {TKey::Tab, 0xff09},      {TKey::Escape, 0xff1b},
    {TKey::Back, 0xff08},     {TKey::Insert, 0xff63},   {TKey::Delete, 0xffff},   {TKey::Home, 0xff50},
    {TKey::End, 0xff57},      {TKey::Prior, 0xff55},    {TKey::Next, 0xff56},     {TKey::Left, 0xff51},
    {TKey::Up, 0xff52},       {TKey::Right, 0xff53},    {TKey::Down, 0xff54},     {TKey::Multiply, 0xffaa},
    {TKey::Add, 0xffab},      {TKey::Subtract, 0xffad}, {TKey::Decimal, 0xffae},  {TKey::Divide, 0xffaf},
};

// Keycodes whose keysym list holds `keysym`, those with it unshifted first.
std::vector<std::uint8_t> KeycodesOf(xcb_connection_t* c, std::uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const std::uint8_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    TXcbReply<xcb_get_keyboard_mapping_reply_t> map(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, static_cast<std::uint8_t>(count)), nullptr));
    if (!map || map->keysyms_per_keycode == 0) return {};
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int per = map->keysyms_per_keycode;
    std::vector<std::uint8_t> unshifted;
    std::vector<std::uint8_t> other;
    for (int k = 0; k < count; ++k)
        for (int col = 0; col < per; ++col)
            if (syms[k * per + col] == keysym) {
                (col == 0 ? unshifted : other).push_back(static_cast<std::uint8_t>(first + k));
                break;
            }
    unshifted.insert(unshifted.end(), other.begin(), other.end());
    return unshifted;
}

// The modifier mask a key such as Num Lock or Alt is bound to; `fallback` when none is.
std::uint16_t ModifierMaskOf(xcb_connection_t* c, std::uint32_t keysym, std::uint16_t fallback) {
    const std::vector<std::uint8_t> codes = KeycodesOf(c, keysym);
    if (codes.empty()) return fallback;
    TXcbReply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    if (!map) return fallback;
    const xcb_keycode_t* table = xcb_get_modifier_mapping_keycodes(map.get());
    const int per = map->keycodes_per_modifier;
    for (int m = 0; m < kModifierCount; ++m)
        for (int i = 0; i < per; ++i)
            if (table[m * per + i] != 0 && std::find(codes.begin(), codes.end(), table[m * per + i]) != codes.end())
                return static_cast<std::uint16_t>(1u << m);
    return fallback;
}

// The number of the first event of the X keyboard extension; 0 without it.
std::uint8_t KeyboardExtensionEvent(xcb_connection_t* c) {
    constexpr std::string_view name = "XKEYBOARD";
    TXcbReply<xcb_query_extension_reply_t> r(
        xcb_query_extension_reply(c, xcb_query_extension(c, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return r && r->present ? r->first_event : 0;
}

// Whether the event says the keyboard map or the modifier map changed;
// `keyboardEvent` is the keyboard extension's first event number.
bool KeyboardMapChanged(const xcb_generic_event_t* event, std::uint8_t keyboardEvent) {
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY)
        return reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER;
    // Clients that use the keyboard extension, as Qt does, get its events
    // instead; the second byte tells which: a new keyboard (0) or a new map (1).
    constexpr std::uint8_t kNewKeyboardNotify = 0;
    constexpr std::uint8_t kMapNotify = 1;
    if (keyboardEvent == 0 || type != keyboardEvent) return false;
    const std::uint8_t kind = reinterpret_cast<const std::uint8_t*>(event)[1];
    return kind == kNewKeyboardNotify || kind == kMapNotify;
}

}  // namespace

std::uint32_t KeysymFromVirtualKey(TKey key) {
    if (IsLetterKey(key)) return static_cast<std::uint32_t>('a' + (KeyCharacter(key) - 'A'));
    if (IsDigitKey(key)) return static_cast<std::uint32_t>(KeyCharacter(key));
    if (IsFunctionKey(key)) return kXkF1 + static_cast<std::uint32_t>(FunctionKeyNumber(key) - 1);
    if (IsKeypadDigit(key)) return kXkKp0 + static_cast<std::uint32_t>(KeypadDigitOf(key));
    for (const TKeysym& k : kNamedKeysyms)
        if (k.key == key) return k.keysym;
    return 0;
}

std::vector<std::uint16_t> LockVariants(std::uint16_t numLockMask, std::uint16_t capsLockMask) {
    std::vector<std::uint16_t> sets;
    for (const std::uint16_t set : {std::uint16_t{0}, numLockMask, capsLockMask,
                                    static_cast<std::uint16_t>(numLockMask | capsLockMask)})
        if (std::find(sets.begin(), sets.end(), set) == sets.end()) sets.push_back(set);
    return sets;
}

TQtGlobalHotkey::TQtGlobalHotkey() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    connection_ = x11->connection();
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = X11ScreenNumber(); i > 0 && it.rem > 1; --i) xcb_screen_next(&it);
    root_ = it.rem > 0 ? it.data->root : 0;
    if (root_ == 0) connection_ = nullptr;
    if (connection_) keyboardEvent_ = KeyboardExtensionEvent(connection_);
}

TQtGlobalHotkey::~TQtGlobalHotkey() { Unregister(); }

THotkeyResult TQtGlobalHotkey::Register(const THotkey& hotkey, std::function<void()> pressed) {
    Unregister();
    if (!connection_) return THotkeyResult::Unusable;
    const THotkeyResult result = Grab(hotkey);
    if (result != THotkeyResult::Registered) return result;
    hotkey_ = hotkey;
    pressed_ = std::move(pressed);
    if (!filtering_) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        filtering_ = true;
    }
    return THotkeyResult::Registered;
}

THotkeyResult TQtGlobalHotkey::Grab(const THotkey& hotkey) {
    const std::uint32_t keysym = KeysymFromVirtualKey(hotkey.key);
    const std::vector<std::uint8_t> codes = keysym ? KeycodesOf(connection_, keysym) : std::vector<std::uint8_t>{};
    if (codes.empty()) return THotkeyResult::Unusable;

    const std::uint16_t alt = ModifierMaskOf(connection_, kXkAltL, XCB_MOD_MASK_1);
    const std::uint16_t super = ModifierMaskOf(connection_, kXkSuperL, XCB_MOD_MASK_4);
    const std::uint16_t numLock = ModifierMaskOf(connection_, kXkNumLock, 0);
    std::uint16_t mods = 0;
    if (hotkey.modifiers & hmShift) mods |= XCB_MOD_MASK_SHIFT;
    if (hotkey.modifiers & hmCtrl) mods |= XCB_MOD_MASK_CONTROL;
    if (hotkey.modifiers & hmAlt) mods |= alt;
    if (hotkey.modifiers & hmSuper) mods |= super;

    keycode_ = codes.front();
    modifiers_ = mods;
    relevant_ = static_cast<std::uint16_t>(XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | alt | super);
    down_ = false;
    // Every lock state is grabbed on its own; one refused grab means another
    // program holds the combination. Presses are reported on the root even
    // while one of our own windows has the focus.
    for (const std::uint16_t locks : LockVariants(numLock, XCB_MOD_MASK_LOCK)) {
        const std::uint16_t set = static_cast<std::uint16_t>(mods | locks);
        TXcbReply<xcb_generic_error_t> error(xcb_request_check(
            connection_, xcb_grab_key_checked(connection_, 0, root_, set, keycode_, XCB_GRAB_MODE_ASYNC,
                                              XCB_GRAB_MODE_ASYNC)));
        if (error) {
            Ungrab();
            return THotkeyResult::Taken;
        }
        grabbed_.push_back(set);
    }
    return THotkeyResult::Registered;
}

void TQtGlobalHotkey::Ungrab() {
    if (!connection_) return;
    for (const std::uint16_t set : grabbed_) xcb_ungrab_key(connection_, keycode_, root_, set);
    grabbed_.clear();
    xcb_flush(connection_);
}

void TQtGlobalHotkey::Unregister() {
    Ungrab();
    pressed_ = nullptr;
    hotkey_ = {};
    if (filtering_ && QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
    filtering_ = false;
}

bool TQtGlobalHotkey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!pressed_ || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    // A grab holds a keycode and modifier bits: a new keyboard layout or
    // modifier map (setxkbmap, another keyboard plugged in) can move the
    // combination elsewhere, so it is grabbed anew. Qt sees the event too.
    if (KeyboardMapChanged(event, keyboardEvent_)) {
        Ungrab();
        Grab(hotkey_);  // a combination no longer available stays off until the next change
        return false;
    }
    if (grabbed_.empty()) return false;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (key->event != root_ || key->detail != keycode_) return false;
    if (type == XCB_KEY_RELEASE) {
        down_ = false;
        return true;
    }
    if ((key->state & relevant_) != modifiers_ || down_) return true;
    down_ = true;
    if (pressed_) pressed_();
    return true;
}

}  // namespace ratiscope
