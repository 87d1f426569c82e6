// Application-wide window services on Win32: the window class, activation of
// the whole program, cursors, tooltips' colour, monitors, minimising, message
// boxes and the message loop.
#include "platform/win32/Win32WindowSystem.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "base/Product.h"
#include "platform/win32/Win32Unicode.h"
#include "platform/win32/Win32Window.h"

namespace ratiscope {
namespace {

constexpr int kUnscaledDpi = 96;
constexpr TRect kFallbackScreen{0, 0, 640, 480};

TRect RectFromWin32(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

LPCWSTR SystemCursorName(TCursor cursor) {
    switch (cursor) {
    case TCursor::HandPoint: return IDC_HAND;
    case TCursor::SizeNWSE: return IDC_SIZENWSE;
    case TCursor::Default: break;
    }
    return IDC_ARROW;
}

}  // namespace

UINT MessageBoxStyle(TMessageKind kind) {
    // No owner window, so the box is task-modal and kept above the program's topmost windows.
    UINT icon = MB_ICONWARNING;
    switch (kind) {
    case TMessageKind::Error: icon = MB_ICONERROR; break;
    case TMessageKind::Warning: icon = MB_ICONWARNING; break;
    }
    return MB_OK | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND | icon;
}

int WindowDpi(HWND window) {
    // GetDpiForWindow came with Windows 10 1607; older systems give the screen's DPI.
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kUnscaledDpi;
}

TWin32WindowSystem::TWin32WindowSystem(std::function<std::unique_ptr<IOffscreen>()> surfaces, HINSTANCE instance)
    : surfaces_(std::move(surfaces)), instance_(instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // No CS_DBLCLKS: a quick second click is a second press, as every handler expects.
    wc.lpfnWndProc = &TWin32Window::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, kProgramIconName);
    wc.hCursor = nullptr;  // WM_SETCURSOR chooses
    wc.hbrBackground = nullptr;  // never erased: every pixel comes from the surface
    wc.lpszClassName = kWindowClassName;
    windowClass_ = RegisterClassExW(&wc);
}

TWin32WindowSystem::~TWin32WindowSystem() {
    if (windowClass_) UnregisterClassW(kWindowClassName, instance_);
}

std::unique_ptr<IWindow> TWin32WindowSystem::CreateWindow(IWindowEvents& events, const TWindowOptions& options) {
    auto window = std::make_unique<TWin32Window>(*this, events, options, surfaces_ ? surfaces_() : nullptr);
    window->ApplyHintColor(hintColor_);
    windows_.push_back(window.get());
    return window;
}

TWin32Window* TWin32WindowSystem::WindowOf(HWND handle) const {
    for (TWin32Window* w : windows_)
        if (w->Handle() == handle) return w;
    return nullptr;
}

void TWin32WindowSystem::Forget(TWin32Window* window) {
    std::erase(windows_, window);
    std::erase(minimised_, window);
}

void TWin32WindowSystem::SetApplicationTitle(std::string_view title) { title_.assign(title); }

void TWin32WindowSystem::SetApplicationEvents(IApplicationEvents* events) { appEvents_ = events; }

void TWin32WindowSystem::ApplicationActivated(bool active) {
    if (active == appActive_) return;
    appActive_ = active;
    if (!appEvents_) return;
    if (active)
        appEvents_->OnApplicationActivate();
    else
        appEvents_->OnApplicationDeactivate();
}

HCURSOR TWin32WindowSystem::CursorFor(TCursor own) const {
    if (overrideSet_) return overrideCursor_;
    return LoadCursorW(nullptr, SystemCursorName(own));
}

void TWin32WindowSystem::ApplyCursorNow() {
    // WM_SETCURSOR comes only with the next movement (and never while the
    // mouse is captured), so a change shows at once over our own windows.
    POINT p{};
    if (!GetCursorPos(&p)) return;
    HWND under = WindowFromPoint(p);
    HWND root = under ? GetAncestor(under, GA_ROOT) : nullptr;
    const bool ours = root && WindowOf(root);
    if (overrideSet_ && (ours || GetCapture())) {
        ::SetCursor(overrideCursor_);
    } else if (ours) {
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
}

void TWin32WindowSystem::SetOverrideCursor(TCursor cursor) {
    overrideSet_ = true;
    overrideCursor_ = LoadCursorW(nullptr, SystemCursorName(cursor));
    ApplyCursorNow();
}

void TWin32WindowSystem::ResetOverrideCursor() {
    if (!overrideSet_) return;
    overrideSet_ = false;
    ApplyCursorNow();
}

void TWin32WindowSystem::SetHintColor(TColor color) {
    // Colours are 0x00BBGGRR, which is COLORREF's own layout.
    hintColor_ = static_cast<COLORREF>(color & 0xFFFFFFu);
    for (TWin32Window* w : windows_) w->ApplyHintColor(hintColor_);
}

TRect TWin32WindowSystem::WorkAreaNear(const IWindow& window) const {
    const TSize size = window.ClientSize();
    const RECT r{window.Left(), window.Top(), window.Left() + std::max(1, size.width), window.Top() + std::max(1, size.height)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return kFallbackScreen;
    return RectFromWin32(info.rcWork);
}

TRect TWin32WindowSystem::Desktop() const {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return kFallbackScreen;
    return {left, top, left + width, top + height};
}

std::int32_t TWin32WindowSystem::PrimaryScreenWidth() const {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    return width > 0 ? width : kFallbackScreen.right;
}

namespace {

// The shell's desktop windows lie under everything: over them the desktop is bare.
bool IsShellDesktop(HWND window) {
    wchar_t name[16] = {};
    const int n = GetClassNameW(window, name, 16);
    const std::wstring_view cls(name, n > 0 ? static_cast<std::size_t>(n) : 0);
    return cls == L"Progman" || cls == L"WorkerW";
}

}  // namespace

std::optional<TRect> TWin32WindowSystem::ClientAreaBeneath(std::int32_t x, std::int32_t y) const {
    // Top-level windows from the top of the z-order down; the program's own,
    // hidden and minimised ones are passed over.
    const DWORD self = GetCurrentProcessId();
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == self || !IsWindowVisible(w) || IsIconic(w)) continue;
        RECT frame{};
        if (!GetWindowRect(w, &frame) || x < frame.left || x >= frame.right || y < frame.top || y >= frame.bottom)
            continue;
        if (IsShellDesktop(w)) return std::nullopt;
        RECT client{};
        POINT origin{0, 0};
        if (!GetClientRect(w, &client) || !ClientToScreen(w, &origin)) return std::nullopt;
        return TRect{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    }
    return std::nullopt;
}

int TWin32WindowSystem::ColorDepth() const {
    HDC screen = GetDC(nullptr);
    if (!screen) return 24;
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return depth;
}

void TWin32WindowSystem::MinimizeApplication() {
    minimised_.clear();
    // Every other window leaves first; the main window's task-bar button then brings them all back.
    for (TWin32Window* w : windows_)
        if (!w->IsMain() && w->IsVisible()) minimised_.push_back(w);
    for (TWin32Window* w : minimised_) w->MinimiseWithApplication();
    for (TWin32Window* w : windows_)
        if (w->IsMain() && w->IsVisible()) {
            minimised_.push_back(w);
            w->MinimiseWithApplication();
        }
}

void TWin32WindowSystem::Restored(TWin32Window* window) {
    if (std::find(minimised_.begin(), minimised_.end(), window) == minimised_.end()) return;
    const std::vector<TWin32Window*> others = std::exchange(minimised_, {});
    for (TWin32Window* w : others)
        if (w != window) w->RestoreWithApplication();
}

void TWin32WindowSystem::ShowMessage(TMessageKind kind, std::string_view caption, std::string_view text) {
    const std::string_view title = caption.empty() ? std::string_view(title_) : caption;
    MessageBoxW(nullptr, WideFromUtf8(text).c_str(), WideFromUtf8(title).c_str(), MessageBoxStyle(kind));
}

void TWin32WindowSystem::ReportHandlerError(const char* what) {
    ShowMessage(TMessageKind::Error, title_.empty() ? kProductName : std::string_view(title_), what ? what : "");
}

void TWin32WindowSystem::Dispatch(MSG& message) {
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.hwnd) {
        HWND root = GetAncestor(message.hwnd, GA_ROOT);
        if (TWin32Window* window = root ? WindowOf(root) : nullptr; window && root != message.hwnd) {
            // Key preview: the window hears the key before its focused control does.
            window->PreviewKey(message);
            if (!IsWindow(message.hwnd)) return;
            // Tab, the arrow keys between radio buttons, Enter and Escape, as in any dialog.
            if (IsDialogMessageW(root, &message)) return;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int TWin32WindowSystem::Run() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got < 0) return 1;
        Dispatch(message);
    }
}

void TWin32WindowSystem::Quit(int exitCode) { PostQuitMessage(exitCode); }

}  // namespace ratiscope
