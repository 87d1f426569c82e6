// The overlay window's parts against a compositor inside the test: what the
// compositor sees of the pictures, the input region and the cursor, and how
// the keyboard reads the keymap and modifiers it sends.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>
#include <wayland-client.h>

#include "platform/Keys.h"
#include "ManualLoop.h"
#include "TestCompositor.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandCursor.h"
#include "platform/wayland/WaylandKeymap.h"
#include "platform/wayland/WaylandRegionSender.h"
#include "platform/wayland/WaylandSeatDevices.h"
#include "platform/wayland/WaylandShmPool.h"

namespace ratiscope {
namespace {

using test::TTestCompositor;

std::uint32_t IdOf(void* proxy) { return wl_proxy_get_id(static_cast<wl_proxy*>(proxy)); }

// The compositor and a connection to it, with a surface to show things on.
class WaylandParts : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(compositor.Running());
        ASSERT_TRUE(connection.Connected() && connection.Compositor() && connection.Shm() && connection.Seat());
        surface = wl_compositor_create_surface(connection.Compositor());
        ASSERT_TRUE(connection.Roundtrip());
    }
    void TearDown() override {
        if (surface) wl_surface_destroy(surface);
        connection.Flush();
    }
    test::TCommitted Shown() const { return compositor.Surface(IdOf(surface)); }

    TTestCompositor compositor;
    test::TManualLoop loop;
    TWaylandConnection connection{loop};
    wl_surface* surface = nullptr;
};

// --- the shared-memory pictures ----------------------------------------------

enum class TPoolAct { Show, Release };

struct TPoolStep {
    TPoolAct act;
    TSize size{};  // Show: a picture of this size
    int shown = 0;  // Release: the buffer of this Show (counting Shows from 0)
};

struct TPoolCase {
    const char* name;
    std::vector<TPoolStep> steps;
    std::size_t buffers;  // kept at the end
    std::size_t busy;     // of them, still the compositor's
    int lastReuses;       // the Show whose buffer the last Show drew on again; -1 for none
};

void PrintTo(const TPoolCase& c, std::ostream* os) { *os << c.name; }

class ShmPool : public WaylandParts, public testing::WithParamInterface<TPoolCase> {};

constexpr TSize kSmall{10, 8};
constexpr TSize kWide{20, 8};
const TPoolStep kShowSmall{TPoolAct::Show, kSmall};
TPoolStep Release(int shown) { return {TPoolAct::Release, {}, shown}; }

TEST_P(ShmPool, ShowsEachPictureOnABufferTheCompositorLetGo) {
    const TPoolCase& c = GetParam();
    TShmPool pool(connection.Shm());
    std::vector<TShmBuffer*> shownOn;
    std::vector<std::uint32_t> ids;
    for (const TPoolStep& s : c.steps) {
        if (s.act == TPoolAct::Release) {
            compositor.ReleaseBuffer(ids[static_cast<std::size_t>(s.shown)]);
            ASSERT_TRUE(connection.Roundtrip());
            continue;
        }
        TShmBuffer* buffer = pool.Free(s.size);
        ASSERT_NE(buffer, nullptr);
        ASSERT_FALSE(buffer->Busy());
        ASSERT_EQ(buffer->Size(), s.size);
        ASSERT_EQ(buffer->Pixels().size(), static_cast<std::size_t>(s.size.width * s.size.height));
        // Each picture marked with its number, as the compositor must read it.
        const std::uint32_t mark = 0xFF000000u | static_cast<std::uint32_t>(shownOn.size() + 1);
        buffer->Pixels()[0] = mark;
        wl_surface_attach(surface, buffer->Buffer(), 0, 0);
        wl_surface_commit(surface);
        pool.Sent(*buffer);
        ASSERT_TRUE(connection.Roundtrip());
        EXPECT_EQ(Shown().firstPixel, mark);
        EXPECT_EQ(Shown().bufferSize, s.size);
        shownOn.push_back(buffer);
        ids.push_back(IdOf(buffer->Buffer()));
    }
    EXPECT_EQ(pool.Count(), c.buffers);
    EXPECT_EQ(pool.BusyCount(), c.busy);
    if (c.lastReuses >= 0) {
        EXPECT_EQ(shownOn.back(), shownOn[static_cast<std::size_t>(c.lastReuses)]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ShmPool,
    testing::Values(TPoolCase{"OneBufferPerPictureHeld", {kShowSmall, kShowSmall}, 2, 2, -1},
                    TPoolCase{"AReleasedBufferIsDrawnOnAgain", {kShowSmall, Release(0), kShowSmall}, 1, 1, 0},
                    TPoolCase{"DoubleBuffering", {kShowSmall, kShowSmall, Release(0), kShowSmall}, 2, 2, 0},
                    TPoolCase{"ANewSizeDropsFreeBuffersOfTheOld", {kShowSmall, Release(0), {TPoolAct::Show, kWide}}, 1, 1, -1},
                    TPoolCase{"ABusyBufferOfTheOldSizeStays", {kShowSmall, {TPoolAct::Show, kWide}}, 2, 2, -1},
                    TPoolCase{"SparesBeyondTwoGo",
                              {kShowSmall, kShowSmall, kShowSmall, kShowSmall, Release(0), Release(1), Release(2), Release(3)},
                              TShmPool::kSpareBuffers, 0, -1}),
    [](const testing::TestParamInfo<TPoolCase>& info) { return std::string(info.param.name); });

TEST_F(WaylandParts, APictureTooLargeToShareGetsNoBufferAndKeepsTheConnection) {
    TShmPool pool(connection.Shm());
    EXPECT_EQ(pool.Free({30000, 30000}), nullptr);  // 3.6 GB
    EXPECT_EQ(pool.Count(), 0u);
    ASSERT_TRUE(connection.Roundtrip());
    EXPECT_NE(pool.Free(kSmall), nullptr);
}

TEST_F(WaylandParts, NoSharedMemoryNoBuffers) {
    TShmPool pool(nullptr);
    EXPECT_EQ(pool.Free(kSmall), nullptr);
    EXPECT_EQ(pool.Count(), 0u);
}

// --- the input region ----------------------------------------------------------

TInputRegion Stripes(int count) {
    TInputRegion region;
    for (int i = 0; i < count; ++i) region.rectangles.push_back({0, 2 * i, 4 + i, 2 * i + 1});
    return region;
}

struct TRegionCase {
    const char* name;
    std::vector<TInputRegion> sent;  // in turn, each with a commit
    bool newSurfaceBeforeLast;
    int setsSeen;  // set_input_region requests the compositor got
};

void PrintTo(const TRegionCase& c, std::ostream* os) { *os << c.name; }

class RegionSender : public WaylandParts, public testing::WithParamInterface<TRegionCase> {};

TEST_P(RegionSender, TheCompositorHasTheLastRegion) {
    const TRegionCase& c = GetParam();
    TRegionSender sender(connection);
    for (std::size_t i = 0; i < c.sent.size(); ++i) {
        if (c.newSurfaceBeforeLast && i + 1 == c.sent.size()) sender.NewSurface();
        sender.Send(surface, c.sent[i]);
        wl_surface_commit(surface);
    }
    ASSERT_TRUE(connection.Roundtrip());
    EXPECT_EQ(Shown().inputRegion, c.sent.back().rectangles);
    EXPECT_EQ(Shown().inputRegionsSet, c.setsSeen);
    EXPECT_EQ(sender.Shown(), c.sent.back());
}

INSTANTIATE_TEST_SUITE_P(Tables, RegionSender,
                         testing::Values(TRegionCase{"One", {Stripes(3)}, false, 1},
                                         TRegionCase{"TheSameAgainIsNotSent", {Stripes(3), Stripes(3)}, false, 1},
                                         TRegionCase{"AChangedOneIs", {Stripes(3), Stripes(4)}, false, 2},
                                         TRegionCase{"ANewSurfaceGetsItAgain", {Stripes(3), Stripes(3)}, true, 2},
                                         TRegionCase{"Empty", {TInputRegion{}}, false, 1},
                                         // More rectangles than one send takes.
                                         TRegionCase{"ManyRectangles", {Stripes(5 * TRegionSender::kRectanglesPerSend)}, false, 1}),
                         [](const testing::TestParamInfo<TRegionCase>& info) { return std::string(info.param.name); });

// --- the cursor ------------------------------------------------------------------

// The cursors built into the cursor library, whatever themes the machine has.
class BuiltInCursors {
public:
    BuiltInCursors() : folder_(std::filesystem::temp_directory_path() / ("ratiscope-no-cursors-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_);
        setenv("XCURSOR_PATH", folder_.c_str(), 1);
    }
    ~BuiltInCursors() {
        unsetenv("XCURSOR_PATH");
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    std::filesystem::path folder_;
};

struct TCursorCase {
    const char* name;
    std::vector<TCursor> shapes;  // set in turn, each applied when it changed
    int setsSeen;                 // set_cursor requests the compositor got
};

void PrintTo(const TCursorCase& c, std::ostream* os) { *os << c.name; }

class Cursor : public WaylandParts, public testing::WithParamInterface<TCursorCase> {};

constexpr std::uint32_t kEnterSerial = 77;

TEST_P(Cursor, ShowsTheShapeOverTheSurface) {
    const TCursorCase& c = GetParam();
    const BuiltInCursors builtIn;
    wl_pointer* pointer = wl_seat_get_pointer(connection.Seat());
    TWaylandCursor cursor(connection.Compositor(), connection.Shm());
    ASSERT_TRUE(connection.Roundtrip());
    EXPECT_TRUE(cursor.Apply(pointer, kEnterSerial));  // the arrow, as the pointer enters
    for (const TCursor shape : c.shapes)
        if (cursor.SetShape(shape)) {
            EXPECT_TRUE(cursor.Apply(pointer, kEnterSerial));
        }
    ASSERT_TRUE(connection.Roundtrip());
    const test::TCursorSet set = compositor.Cursor();
    EXPECT_EQ(set.count, c.setsSeen);
    EXPECT_EQ(set.serial, kEnterSerial);
    ASSERT_NE(set.surface, 0u);
    const test::TCommitted image = compositor.Surface(set.surface);
    EXPECT_EQ(image.commits, c.setsSeen);
    EXPECT_GT(image.bufferSize.width, 0);
    EXPECT_GE(set.hotspotX, 0);
    EXPECT_LT(set.hotspotX, image.bufferSize.width);
    EXPECT_EQ(cursor.Shape(), c.shapes.empty() ? TCursor::Default : c.shapes.back());
    wl_pointer_destroy(pointer);
}

INSTANTIATE_TEST_SUITE_P(Tables, Cursor,
                         testing::Values(TCursorCase{"Arrow", {}, 1}, TCursorCase{"TheSameShapeIsNotSetAgain", {TCursor::Default}, 1},
                                         TCursorCase{"Resize", {TCursor::SizeNWSE}, 2},
                                         TCursorCase{"ResizeAndBack", {TCursor::SizeNWSE, TCursor::Default}, 3}),
                         [](const testing::TestParamInfo<TCursorCase>& info) { return std::string(info.param.name); });

TEST_F(WaylandParts, NoPointerNoCursor) {
    TWaylandCursor cursor(connection.Compositor(), connection.Shm());
    EXPECT_FALSE(cursor.Apply(nullptr, kEnterSerial));
    ASSERT_TRUE(connection.Roundtrip());
    EXPECT_EQ(compositor.Cursor().count, 0);
}

// --- the seat's devices ------------------------------------------------------------

struct TDevicesCase {
    const char* name;
    std::vector<std::uint32_t> capabilities;  // as the seat announces them, in turn
    bool pointer;                             // held at the end
    bool keyboard;
    bool pointerWentLast;        // what the last announcement said of the pointer
    std::size_t pointersMade;    // asked of the compositor in all
    std::size_t keyboardsMade;
};

void PrintTo(const TDevicesCase& c, std::ostream* os) { *os << c.name; }

class SeatDevices : public WaylandParts, public testing::WithParamInterface<TDevicesCase> {};

constexpr wl_pointer_listener kQuietPointer{};
constexpr wl_keyboard_listener kQuietKeyboard{};

constexpr std::uint32_t kBoth = WL_SEAT_CAPABILITY_POINTER | WL_SEAT_CAPABILITY_KEYBOARD;
constexpr std::uint32_t kKeyboardOnly = WL_SEAT_CAPABILITY_KEYBOARD;
constexpr std::uint32_t kPointerOnly = WL_SEAT_CAPABILITY_POINTER;

TEST_P(SeatDevices, FollowTheSeatsCapabilities) {
    const TDevicesCase& c = GetParam();
    TSeatDevices devices(kQuietPointer, kQuietKeyboard, nullptr);
    bool pointerWent = false;
    for (const std::uint32_t caps : c.capabilities) pointerWent = devices.Update(connection.Seat(), caps);
    ASSERT_TRUE(connection.Roundtrip());
    EXPECT_EQ(devices.Pointer() != nullptr, c.pointer);
    EXPECT_EQ(devices.Keyboard() != nullptr, c.keyboard);
    EXPECT_EQ(pointerWent, c.pointerWentLast);
    EXPECT_EQ(compositor.Pointers(), c.pointersMade);
    EXPECT_EQ(compositor.Keyboards(), c.keyboardsMade);
}

INSTANTIATE_TEST_SUITE_P(Tables, SeatDevices,
                         testing::Values(TDevicesCase{"Both", {kBoth}, true, true, false, 1, 1},
                                         TDevicesCase{"None", {0}, false, false, false, 0, 0},
                                         TDevicesCase{"TheSameAgainMakesNoMore", {kBoth, kBoth}, true, true, false, 1, 1},
                                         TDevicesCase{"ThePointerGoes", {kBoth, kKeyboardOnly}, false, true, true, 1, 1},
                                         TDevicesCase{"TheKeyboardGoes", {kBoth, kPointerOnly}, true, false, false, 1, 1},
                                         TDevicesCase{"ThePointerComesBack", {kBoth, kKeyboardOnly, kBoth}, true, true, false, 2, 1}),
                         [](const testing::TestParamInfo<TDevicesCase>& info) { return std::string(info.param.name); });

// --- the keymap ------------------------------------------------------------------

void OnKeymap(void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
    static_cast<TWaylandKeymap*>(data)->Load(format, fd, size);
}
void OnEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void OnLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void OnKey(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}
void OnModifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                 std::uint32_t group) {
    static_cast<TWaylandKeymap*>(data)->SetModifiers(depressed, latched, locked, group);
}
void OnRepeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
constexpr wl_keyboard_listener kKeyboardListener{OnKeymap, OnEnter, OnLeave, OnKey, OnModifiers, OnRepeatInfo};

// The real modifier masks of the US keymap (its order of modifiers).
constexpr std::uint32_t kShiftMask = 1u << 0;
constexpr std::uint32_t kCtrlMask = 1u << 2;
constexpr std::uint32_t kAltMask = 1u << 3;

struct TKeyCase {
    const char* name;
    std::uint32_t key;        // evdev code
    std::uint32_t depressed;  // modifier mask held
    TKey virtualKey;
    TShiftState modifiers;
    bool repeats;
};

void PrintTo(const TKeyCase& c, std::ostream* os) { *os << c.name; }

class Keymap : public WaylandParts, public testing::WithParamInterface<TKeyCase> {};

TEST_P(Keymap, ReadsTheKeysTheCompositorDescribes) {
    const TKeyCase& c = GetParam();
    const std::vector<char> text = test::UsKeymapText();
    ASSERT_FALSE(text.empty()) << "no xkb data (xkb-data)";
    TWaylandKeymap keymap;
    wl_keyboard* keyboard = wl_seat_get_keyboard(connection.Seat());
    wl_keyboard_add_listener(keyboard, &kKeyboardListener, &keymap);
    ASSERT_TRUE(connection.Roundtrip());
    EXPECT_FALSE(keymap.Loaded());
    compositor.SendKeymap(text);
    compositor.SendModifiers(c.depressed, 0, 0, 0);
    ASSERT_TRUE(connection.Roundtrip());
    ASSERT_TRUE(keymap.Loaded());
    EXPECT_EQ(keymap.VirtualKey(c.key), c.virtualKey);
    EXPECT_EQ(keymap.Modifiers(), c.modifiers);
    EXPECT_EQ(keymap.Repeats(c.key), c.repeats);
    wl_keyboard_destroy(keyboard);
}

INSTANTIATE_TEST_SUITE_P(Tables, Keymap,
                         testing::Values(TKeyCase{"Letter", KEY_A, 0, KeyOfLetter('A'), 0, true},
                                         TKeyCase{"LetterWithShift", KEY_A, kShiftMask, KeyOfLetter('A'), ssShift, true},
                                         TKeyCase{"ArrowWithCtrl", KEY_LEFT, kCtrlMask, TKey::Left, ssCtrl, true},
                                         TKeyCase{"EscapeWithAlt", KEY_ESC, kAltMask, TKey::Escape, ssAlt, true},
                                         TKeyCase{"ShiftItselfDoesNotRepeat", KEY_LEFTSHIFT, kShiftMask, TKey::Shift, ssShift, false}),
                         [](const testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.name); });

TEST(KeymapWithout, AKeymapKnowsNoKeys) {
    const TWaylandKeymap keymap;
    EXPECT_FALSE(keymap.Loaded());
    EXPECT_EQ(keymap.VirtualKey(KEY_A), TKey::None);
    EXPECT_EQ(keymap.Modifiers(), 0u);
    EXPECT_FALSE(keymap.Repeats(KEY_A));
}

}  // namespace
}  // namespace ratiscope
