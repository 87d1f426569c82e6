// The Win32 window backend with real windows (under Wine on a virtual X
// screen in the test run), driven by the messages the system would send.
#include <gtest/gtest.h>

#include "platform/win32/Win32Api.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/Keys.h"
#include "platform/RasterOffscreen.h"
#include "platform/win32/Win32TextEngine.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/Win32WindowSystem.h"

namespace ratiscope {
namespace {

class TEventLog final : public IWindowEvents {
public:
    std::vector<std::string> log;
    void OnPaint() override { log.push_back("Paint"); }
    void OnMouseDown(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override {
        log.push_back("Down " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s) + " " + std::to_string(x) +
                      "," + std::to_string(y));
    }
    void OnMouseMove(TShiftState s, std::int32_t x, std::int32_t y) override {
        log.push_back("Move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnMouseUp(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override {
        log.push_back("Up " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s) + " " + std::to_string(x) +
                      "," + std::to_string(y));
    }
    void OnMouseWheel(TShiftState, std::int32_t delta, std::int32_t x, std::int32_t y) override {
        log.push_back("Wheel " + std::to_string(delta) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnKeyDown(TKey key, TShiftState) override { log.push_back("KeyDown " + std::to_string(KeyNumber(key))); }
    void OnKeyUp(TKey key, TShiftState) override { log.push_back("KeyUp " + std::to_string(KeyNumber(key))); }
    void OnClose() override { log.push_back("Close"); }
    void OnDpiChanged(int dpi) override { log.push_back("Dpi " + std::to_string(dpi)); }
};

class Win32Window : public ::testing::Test {
protected:
    TWin32TextEngine text;
    TWin32WindowSystem system{[this] { return std::make_unique<TRasterOffscreen>(text); }, GetModuleHandleW(nullptr)};
    TEventLog events;

    std::unique_ptr<TWin32Window> Make(bool main, TColor key = kOverlayKeyColor, IWindow* owner = nullptr) {
        const TWindowOptions options(key, main, "Vendrel Ratiscope", owner);
        auto window = system.CreateWindow(events, options);
        return std::unique_ptr<TWin32Window>(static_cast<TWin32Window*>(window.release()));
    }
    // Handles whatever is queued, as the message loop would.
    void Pump() {
        MSG m{};
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                quit = static_cast<int>(m.wParam);
                continue;
            }
            system.Dispatch(m);
        }
    }
    int quit = -1;
};

TEST_F(Win32Window, ALayeredTopmostPopupWithTheKeyColourAndAlphaOnlyBelowFullOpacity) {
    auto w = Make(true);
    HWND h = w->Handle();
    ASSERT_TRUE(h);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION);
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(254, 0, 254));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
    w->SetAlpha(true, 128);
    ASSERT_TRUE(GetLayeredWindowAttributes(h, &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(key, RGB(254, 0, 254));
    w->SetAlpha(false, 255);
    ASSERT_TRUE(GetLayeredWindowAttributes(h, &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
    // The panel's key colour.
    auto panel = Make(false, kPanelKeyColor);
    ASSERT_TRUE(GetLayeredWindowAttributes(panel->Handle(), &key, &alpha, &flags));
    EXPECT_EQ(key, static_cast<COLORREF>(kPanelKeyColor));
}

TEST_F(Win32Window, PlaceAndSizeAreTheWholeWindow) {
    auto w = Make(true);
    w->Move(300, 240);
    w->SetClientSize({420, 285});
    RECT r{};
    ASSERT_TRUE(GetWindowRect(w->Handle(), &r));
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 240);
    EXPECT_EQ(r.right - r.left, 420);
    EXPECT_EQ(r.bottom - r.top, 285);
    EXPECT_EQ(w->Left(), 300);
    EXPECT_EQ(w->Top(), 240);
    EXPECT_EQ(w->ClientSize(), (TSize{420, 285}));
    RECT client{};
    GetClientRect(w->Handle(), &client);
    EXPECT_EQ(client.right, 420);
    EXPECT_EQ(client.bottom, 285);
    w->SetClientSize({0, 0});  // nothing shows before the real geometry is applied
    GetWindowRect(w->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 0);
}

TEST_F(Win32Window, AWindowWithAnOwnerBelongsToIt) {
    auto main = Make(true);
    auto panel = Make(false, kPanelKeyColor, main.get());
    auto alone = Make(false, kPanelKeyColor);
    EXPECT_EQ(GetWindow(panel->Handle(), GW_OWNER), main->Handle());
    EXPECT_EQ(GetWindow(main->Handle(), GW_OWNER), nullptr);
    EXPECT_EQ(GetWindow(alone->Handle(), GW_OWNER), nullptr);
}

TEST_F(Win32Window, MouseMessagesBecomeEventsInClientPixels) {
    auto w = Make(true);
    w->Move(100, 50);
    w->SetClientSize({200, 100});
    HWND h = w->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-3, 250));  // outside, while captured
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(1, 2));
    SendMessageW(h, WM_MBUTTONUP, 0, MAKELPARAM(3, 4));
    EXPECT_EQ(events.log, (std::vector<std::string>{
                              "Down 0 9 5,6",  // Left, ssShift | ssLeft
                              "Move 8 -3,250",
                              "Up 0 0 7,8",
                              "Down 1 20 1,2",  // Right, ssCtrl | ssRight
                              "Up 2 0 3,4",
                          }));
}

TEST_F(Win32Window, TheWheelCountsWholeNotchesAtClientPlaces) {
    auto w = Make(true);
    w->Move(100, 50);
    w->SetClientSize({200, 100});
    HWND h = w->Handle();
    const LPARAM at = MAKELPARAM(110, 60);  // screen coordinates
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), at);
    EXPECT_TRUE(events.log.empty());
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), at);
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), at);
    EXPECT_EQ(events.log, (std::vector<std::string>{"Wheel 120 10,10", "Wheel -240 10,10"}));
}

TEST_F(Win32Window, TheWindowHearsKeysBeforeItsControlsAndOnlyOnce) {
    auto w = Make(true);
    w->SetClientSize({200, 100});
    w->Show();
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 80, 20, w->Handle(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edit);
    Pump();
    events.log.clear();
    PostMessageW(edit, WM_KEYDOWN, VK_F2, 0);
    PostMessageW(edit, WM_KEYUP, VK_F2, 0xC0000001);
    PostMessageW(w->Handle(), WM_KEYDOWN, VK_F3, 0);  // straight to the window: once as well
    Pump();
    std::vector<std::string> keys;
    for (const std::string& line : events.log)
        if (line.starts_with("Key")) keys.push_back(line);
    EXPECT_EQ(keys, (std::vector<std::string>{"KeyDown " + std::to_string(KeyNumber(TKey::F2)), "KeyUp " + std::to_string(KeyNumber(TKey::F2)),
                                              "KeyDown " + std::to_string(KeyNumber(TKey::F3))}));
}

TEST_F(Win32Window, ClosingTheMainWindowRunsTheHandlerOnceAndEndsTheLoop) {
    auto w = Make(true);
    w->Close();
    SendMessageW(w->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(events.log, std::vector<std::string>{"Close"});
    EXPECT_EQ(quit, 0);
    EXPECT_FALSE(w->IsVisible());
}

TEST_F(Win32Window, TheEndOfTheSessionClosesTheMainWindowAsItsCloseButtonDoes) {
    auto main = Make(true);
    auto panel = Make(false, kPanelKeyColor);
    // The panel agrees and stays; the main window closes, so the loop ends and the settings get saved.
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    Pump();
    EXPECT_TRUE(events.log.empty());
    EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    Pump();
    EXPECT_EQ(events.log, std::vector<std::string>{"Close"});
    EXPECT_EQ(quit, 0);
}

TEST_F(Win32Window, ClosingAnotherWindowLeavesTheLoopRunning) {
    auto main = Make(true);
    auto panel = Make(false, kPanelKeyColor);
    panel->Close();
    Pump();
    EXPECT_EQ(events.log, std::vector<std::string>{"Close"});
    EXPECT_EQ(quit, -1);
}

TEST_F(Win32Window, ADpiChangeIsReportedOncePerNewValue) {
    auto w = Make(true);
    const int dpi = w->Dpi();
    EXPECT_GE(dpi, 96);
    RECT suggested{0, 0, 10, 10};
    SendMessageW(w->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    SendMessageW(w->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(events.log, std::vector<std::string>{"Dpi 144"});
    EXPECT_NE(w->ClientSize(), (TSize{10, 10}));  // the suggested rectangle is not taken
}

TEST_F(Win32Window, ANewPictureShowsWhatIsDrawnAndTheKeyElsewhere) {
    constexpr TPixel kDrawn = 0xFF112233u;
    constexpr TPixel kFeedback = 0xFF00FF00u;
    auto w = Make(true);
    w->SetClientSize({6, 4});
    w->NewPicture().FillRect({0, 0, 6, 4}, ColorFromPixel(kDrawn));
    w->Surface().FillRect({4, 0, 6, 4}, ColorFromPixel(kFeedback));  // hover feedback
    // A picture composed for a smaller size, on a surface that had more.
    ICanvas& picture = w->NewPicture();
    EXPECT_EQ(&picture, &w->Surface());
    picture.FillRect({0, 0, 4, 3}, ColorFromPixel(kDrawn));
    w->FlushSurface();
    const TImage* shown = w->Shown();
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->Size(), (TSize{6, 4}));
    const TPixel key = PixelFromColor(kOverlayKeyColor) | 0xFF000000u;
    EXPECT_EQ(shown->At(3, 2), kDrawn);
    EXPECT_EQ(shown->At(4, 0), key);
    EXPECT_EQ(shown->At(5, 3), key);
    EXPECT_EQ(shown->At(0, 3), key);
}

TEST_F(Win32Window, AnInvalidatedWindowPaintsFromTheLoop) {
    auto w = Make(true);
    w->SetClientSize({50, 30});
    w->Show();
    Pump();
    events.log.clear();
    w->Invalidate();
    Pump();
    EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "Paint"), 1);
}

TEST_F(Win32Window, MinimisingTakesBothWindowsAwayAndRestoringBringsBothBack) {
    auto main = Make(true);
    auto panel = Make(false, kPanelKeyColor, main.get());
    main->SetClientSize({100, 50});
    panel->SetClientSize({100, 50});
    main->Show();
    panel->Show();
    Pump();
    system.MinimizeApplication();
    Pump();
    EXPECT_FALSE(main->IsVisible());
    EXPECT_FALSE(panel->IsVisible());
    EXPECT_TRUE(IsIconic(main->Handle()));
    ShowWindow(main->Handle(), SW_RESTORE);  // what the task-bar button does
    Pump();
    EXPECT_TRUE(main->IsVisible());
    EXPECT_TRUE(panel->IsVisible());
}

TEST_F(Win32Window, ScreensAnswerWithSaneValues) {
    auto w = Make(true);
    w->Move(10, 10);
    w->SetClientSize({100, 100});
    const TRect work = system.WorkAreaNear(*w);
    EXPECT_LT(work.left, work.right);
    EXPECT_LT(work.top, work.bottom);
    const TRect desktop = system.Desktop();
    EXPECT_LE(desktop.left, work.left);
    EXPECT_GE(desktop.right, work.right);
    EXPECT_EQ(system.PrimaryScreenWidth(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(system.ColorDepth(), 24);
}

TEST(Win32MessageBox, ErrorsGetTheErrorIconAndNoticesTheWarningIcon) {
    EXPECT_EQ(MessageBoxStyle(TMessageKind::Error) & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(MessageBoxStyle(TMessageKind::Warning) & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    // Above the program's own topmost windows, with one OK button.
    EXPECT_TRUE(MessageBoxStyle(TMessageKind::Error) & MB_TOPMOST);
    EXPECT_EQ(MessageBoxStyle(TMessageKind::Error) & MB_TYPEMASK, static_cast<UINT>(MB_OK));
}

}  // namespace
}  // namespace ratiscope
