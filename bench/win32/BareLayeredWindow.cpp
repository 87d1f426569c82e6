// The start-up baseline on Windows: a bare layered topmost popup of the
// overlay's first-run size with the overlay's key colour, painting a frame
// with one SetDIBitsToDevice, and a message loop. Nothing of the program.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kLeft = 300, kTop = 240, kWidth = 420, kHeight = 285;
constexpr std::uint32_t kKey = 0x00FE00FE;     // red 254, blue 254 as a DIB pixel
constexpr std::uint32_t kLines = 0x00FF4040;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        static std::vector<std::uint32_t> pixels(std::size_t{kWidth} * kHeight, kKey);
        for (int x = 0; x < kWidth; ++x) pixels[x] = pixels[std::size_t{kHeight - 1} * kWidth + x] = kLines;
        for (int y = 0; y < kHeight; ++y) pixels[std::size_t(y) * kWidth] = pixels[std::size_t(y) * kWidth + kWidth - 1] = kLines;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"BareLayeredWindow";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST, wc.lpszClassName, L"Bare", WS_POPUP, kLeft, kTop,
                                kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    SetLayeredWindowAttributes(hwnd, RGB(254, 0, 254), 230, LWA_COLORKEY | LWA_ALPHA);
    ShowWindow(hwnd, SW_SHOW);
    MSG m{};
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
