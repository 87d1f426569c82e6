// A layered topmost popup that shows a raster surface with its key colour
// see-through and click-through, and turns window messages into the
// platform's events. No exception leaves a handler into the system's frames.
#include "platform/win32/Win32Window.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Keys.h"
#include "platform/win32/Win32Unicode.h"

namespace ratiscope {
namespace {

constexpr std::int32_t kWheelNotch = WHEEL_DELTA;
constexpr int kHintMaxWidth = 400;  // tooltips wrap their lines beyond this many pixels

bool AltDown() { return (GetKeyState(VK_MENU) & 0x8000) != 0; }

// Runs a handler; an exception becomes the program's error box and the loop goes on.
template <class F>
void Guarded(TWin32WindowSystem& system, F&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        system.ReportHandlerError(e.what());
    } catch (...) {
        system.ReportHandlerError("Unknown error");
    }
}

}  // namespace

TWin32Window::TWin32Window(TWin32WindowSystem& system, IWindowEvents& events, const TWindowOptions& options,
                           std::unique_ptr<IOffscreen> surface)
    : system_(system),
      events_(events),
      main_(options.mainWindow),
      key_(static_cast<COLORREF>(options.keyColor & 0xFFFFFFu)),
      surface_(std::move(surface)) {
    // An owned window has no task-bar button of its own, stays above its
    // owner and leaves and comes back with it. The system menu and the
    // minimise box (never drawn on a popup) let the task-bar button minimise
    // and restore.
    const auto* ownerWindow = dynamic_cast<const TWin32Window*>(options.owner);
    HWND owner = ownerWindow ? ownerWindow->Handle() : nullptr;
    handle_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST, kWindowClassName, WideFromUtf8(options.title).c_str(),
                              WS_POPUP | WS_CLIPCHILDREN | (main_ ? WS_SYSMENU | WS_MINIMIZEBOX : 0), 0, 0, 0, 0, owner, nullptr,
                              system_.Instance(), this);
    if (!handle_) return;
    ApplyLayering();
    dpi_ = WindowDpi(handle_);
    CreateTooltip();
}

TWin32Window::~TWin32Window() {
    system_.Forget(this);
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);  // no message reaches this object any more
        DestroyWindow(handle_);
    }
}

LRESULT CALLBACK TWin32Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<TWin32Window*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->handle_ = hwnd;
    }
    auto* self = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        self->tooltip_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT TWin32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // every pixel comes from the surface: no flicker
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: MouseButton(message, wParam, lParam); return 0;
    case WM_MOUSEMOVE: {
        const auto x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        Guarded(system_, [&] { events_.OnMouseMove(ShiftStateFromMouseFlags(wParam, AltDown()), x, y); });
        return 0;
    }
    case WM_MOUSEWHEEL: Wheel(wParam, lParam); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        if (const TKey key = VirtualKeyFromWin32(wParam); key != TKey::None)
            Guarded(system_, [&] { events_.OnKeyDown(key, CurrentShiftState()); });
        // Alt+F4 and the other system keys keep working.
        return message == WM_SYSKEYDOWN ? DefWindowProcW(handle_, message, wParam, lParam) : 0;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        // Auto-repeat sends no releases on Windows: every release is a real one.
        if (const TKey key = VirtualKeyFromWin32(wParam); key != TKey::None)
            Guarded(system_, [&] { events_.OnKeyUp(key, CurrentShiftState()); });
        return message == WM_SYSKEYUP ? DefWindowProcW(handle_, message, wParam, lParam) : 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && (reinterpret_cast<HWND>(wParam) == handle_ || system_.OverrideCursorSet())) {
            ::SetCursor(system_.CursorFor(cursor_));
            return TRUE;
        }
        break;
    case WM_ACTIVATE: {
        const bool active = LOWORD(wParam) != WA_INACTIVE;
        if (!active) {
            // The focused control gets the focus back when the window is active again.
            HWND focus = GetFocus();
            savedFocus_ = focus && IsChild(handle_, focus) ? focus : nullptr;
        }
        Guarded(system_, [&] {
            if (active)
                events_.OnActivate();
            else
                events_.OnDeactivate();
        });
        if (active && handle_ && !HIWORD(wParam) && savedFocus_ && IsWindow(savedFocus_) && IsChild(handle_, savedFocus_)) {
            SetFocus(savedFocus_);
            return 0;
        }
        break;
    }
    case WM_ACTIVATEAPP:
        Guarded(system_, [&] { system_.ApplicationActivated(wParam != FALSE); });
        return 0;
    case WM_CLOSE: Closing(); return 0;
    case WM_QUERYENDSESSION:
        // The end of the session (or an installer's restart manager) closes the
        // program as its close button does, so the loop ends and the settings
        // are saved before Windows ends the process after WM_ENDSESSION.
        if (IsMain()) Closing();
        return TRUE;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED && minimisedByUs_) {
            minimisedByUs_ = false;
            system_.Restored(this);
        }
        break;
    case WM_DPICHANGED: {
        // The suggested rectangle is not taken: the overlay is never scaled, the panel lays itself out.
        const int dpi = LOWORD(wParam);
        if (dpi > 0 && dpi != dpi_) {
            dpi_ = dpi;
            Guarded(system_, [&] { events_.OnDpiChanged(dpi); });
        }
        return 0;
    }
    case WM_GETMINMAXINFO: {
        // A popup may be smaller than a captioned window: 0 x 0 while it is being set up.
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{0, 0};
        return 0;
    }
    default: break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void TWin32Window::MouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    TMouseButton button = TMouseButton::Left;
    bool down = false;
    switch (message) {
    case WM_LBUTTONDOWN: down = true; [[fallthrough]];
    case WM_LBUTTONUP: button = TMouseButton::Left; break;
    case WM_RBUTTONDOWN: down = true; [[fallthrough]];
    case WM_RBUTTONUP: button = TMouseButton::Right; break;
    case WM_MBUTTONDOWN: down = true; [[fallthrough]];
    case WM_MBUTTONUP: button = TMouseButton::Middle; break;
    default: return;
    }
    const auto x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const TShiftState state = ShiftStateFromMouseFlags(wParam, AltDown());
    // A press takes the keyboard focus from a control, as clicking a form does.
    if (down && GetFocus() != handle_ && !IsChild(handle_, GetFocus())) SetFocus(handle_);
    Guarded(system_, [&] {
        if (down)
            events_.OnMouseDown(button, state, x, y);
        else
            events_.OnMouseUp(button, state, x, y);
    });
}

void TWin32Window::Wheel(WPARAM wParam, LPARAM lParam) {
    const std::int32_t d = GET_WHEEL_DELTA_WPARAM(wParam);
    if (d == 0) return;
    // Fine-grained wheels and touchpads send parts of a notch; every rule counts whole notches.
    if ((d > 0) != (wheelRest_ > 0)) wheelRest_ = 0;
    wheelRest_ += d;
    const std::int32_t notches = wheelRest_ / kWheelNotch;
    if (notches == 0) return;
    wheelRest_ -= notches * kWheelNotch;
    // The wheel message carries screen coordinates.
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(handle_, &p);
    const TShiftState state = ShiftStateFromMouseFlags(GET_KEYSTATE_WPARAM(wParam), AltDown());
    Guarded(system_, [&] { events_.OnMouseWheel(state, notches * kWheelNotch, p.x, p.y); });
}

void TWin32Window::PreviewKey(const MSG& message) {
    const TKey key = VirtualKeyFromWin32(message.wParam);
    if (key == TKey::None) return;
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)
        Guarded(system_, [&] { events_.OnKeyDown(key, CurrentShiftState()); });
    else if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP)
        Guarded(system_, [&] { events_.OnKeyUp(key, CurrentShiftState()); });
}

void TWin32Window::Paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(handle_, &ps);
    // Only a stale surface is composed anew; a current one (with any hover
    // feedback drawn on it since) is shown as it stands.
    if (stale_) {
        inPaint_ = true;
        Guarded(system_, [&] { events_.OnPaint(); });
        inPaint_ = false;
    }
    Blit(dc);
    EndPaint(handle_, &ps);
}

void TWin32Window::Blit(HDC dc) {
    if (!surface_ || !dc) return;
    CopyToDevice(dc, surface_->Picture(), size_.width, size_.height);
}

const TImage* TWin32Window::Shown() const { return surface_ ? &surface_->Picture() : nullptr; }

std::int32_t TWin32Window::Left() const {
    RECT r{};
    return handle_ && GetWindowRect(handle_, &r) ? r.left : 0;
}

std::int32_t TWin32Window::Top() const {
    RECT r{};
    return handle_ && GetWindowRect(handle_, &r) ? r.top : 0;
}

void TWin32Window::Move(std::int32_t left, std::int32_t top) {
    if (handle_) SetWindowPos(handle_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Window::SetClientSize(TSize size) {
    const TSize wanted{std::max(0, size.width), std::max(0, size.height)};
    if (!(wanted == size_)) stale_ = true;
    size_ = wanted;
    // A popup without a frame: the client area is the whole window.
    if (handle_) SetWindowPos(handle_, nullptr, 0, 0, size_.width, size_.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Window::Show() {
    if (!handle_) return;
    closed_ = false;
    ShowWindow(handle_, SW_SHOW);
}

void TWin32Window::Hide() {
    if (handle_) ShowWindow(handle_, SW_HIDE);
}

bool TWin32Window::IsVisible() const { return handle_ && IsWindowVisible(handle_) && !IsIconic(handle_); }

bool TWin32Window::IsActive() const { return handle_ && GetActiveWindow() == handle_; }

void TWin32Window::BringToFront() {
    if (!handle_) return;
    closed_ = false;
    ShowWindow(handle_, IsIconic(handle_) ? SW_RESTORE : SW_SHOW);
    SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(handle_);
}

void TWin32Window::ReassertTopmost() {
    if (handle_) SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWin32Window::Close() {
    if (handle_) SendMessageW(handle_, WM_CLOSE, 0, 0);
}

void TWin32Window::Closing() {
    // The system and Close may both ask; the handler runs once.
    if (closed_) return;
    closed_ = true;
    Guarded(system_, [&] { events_.OnClose(); });
    if (handle_) ShowWindow(handle_, SW_HIDE);
    if (main_) system_.Quit(0);
}

void TWin32Window::MinimiseWithApplication() {
    if (!handle_) return;
    if (main_) {
        minimisedByUs_ = true;
        ShowWindow(handle_, SW_MINIMIZE);
    } else {
        ShowWindow(handle_, SW_HIDE);
    }
}

void TWin32Window::RestoreWithApplication() {
    if (handle_) ShowWindow(handle_, SW_SHOWNOACTIVATE);
}

void TWin32Window::ApplyLayering() {
    // The key colour always; the alpha only below full opacity, so an opaque
    // window costs the compositor nothing more than the key.
    SetLayeredWindowAttributes(handle_, key_, blending_ ? alpha_ : 255, LWA_COLORKEY | (blending_ ? LWA_ALPHA : 0));
}

void TWin32Window::SetAlpha(bool blending, std::uint8_t alpha) {
    if (blending == blending_ && alpha == alpha_) return;
    blending_ = blending;
    alpha_ = alpha;
    if (handle_) ApplyLayering();
}

void TWin32Window::Invalidate() {
    stale_ = true;
    if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

ICanvas& TWin32Window::NewPicture() {
    stale_ = false;
    return NewPictureOn(*surface_, size_, static_cast<TColor>(key_));
}

ICanvas& TWin32Window::Surface() { return surface_->Canvas(); }

void TWin32Window::FlushSurface() {
    // Inside WM_PAINT the paint itself copies the surface once it is composed.
    if (inPaint_ || !handle_) return;
    HDC dc = GetDC(handle_);
    Blit(dc);
    ReleaseDC(handle_, dc);
    // What was just copied is what the window should show.
    ValidateRect(handle_, nullptr);
}

bool TWin32Window::PointerOver() const {
    POINT p{};
    if (!handle_ || !GetCursorPos(&p)) return false;
    const HWND under = WindowFromPoint(p);
    return under == handle_;
}

void TWin32Window::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    if (PointerOver() || GetCapture() == handle_) ::SetCursor(system_.CursorFor(cursor_));
}

void TWin32Window::CreateTooltip() {
    // Topmost like the windows it explains; owned by the window, so it goes with it.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                               system_.Instance(), nullptr);
    if (!tooltip_) return;
    // A themed tooltip ignores its background colour.
    SetWindowTheme(tooltip_, L"", L"");
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kHintMaxWidth);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle_;
    tool.uId = reinterpret_cast<UINT_PTR>(handle_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
}

void TWin32Window::UpdateTooltip() {
    if (!tooltip_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = handle_;
    tool.uId = reinterpret_cast<UINT_PTR>(handle_);
    tool.lpszText = const_cast<wchar_t*>(hint_.c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    const bool show = hintsEnabled_ && !hint_.empty();
    SendMessageW(tooltip_, TTM_ACTIVATE, show ? TRUE : FALSE, 0);
}

void TWin32Window::SetHint(std::string_view text) {
    std::wstring wide = WideFromUtf8(text);
    if (wide == hint_) return;
    hint_ = std::move(wide);
    UpdateTooltip();
}

void TWin32Window::CancelHint() {
    if (tooltip_) SendMessageW(tooltip_, TTM_POP, 0, 0);
}

void TWin32Window::SetHintsEnabled(bool enabled) {
    hintsEnabled_ = enabled;
    if (!enabled) CancelHint();
    UpdateTooltip();
}

void TWin32Window::ApplyHintColor(COLORREF color) {
    if (tooltip_) SendMessageW(tooltip_, TTM_SETTIPBKCOLOR, color, 0);
}

void TWin32Window::CaptureMouse() {
    if (handle_) SetCapture(handle_);
}

void TWin32Window::ReleaseMouse() {
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
}

int TWin32Window::Dpi() const { return handle_ ? WindowDpi(handle_) : 96; }

}  // namespace ratiscope
