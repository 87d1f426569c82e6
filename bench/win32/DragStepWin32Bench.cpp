// One resize-drag step of the real overlay window on Windows (under Wine on
// an X server in practice): the setters, UpdateSize, the full paint and the
// block copy, with the queued messages handled, as the Linux drag-step
// benchmark times it. Prints the median and the quartiles of each case.
// Usage: drag_step_win32_bench [STEPS]
#include "platform/win32/Win32Api.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "overlay/MainFrm.h"
#include "overlay/OverlayIcons.h"
#include "platform/RasterOffscreen.h"
#include "platform/win32/Win32TextEngine.h"
#include "platform/win32/Win32WindowSystem.h"
#include "settings/Settings.h"

namespace {

using namespace ratiscope;

void Pump(TWin32WindowSystem& windows) {
    MSG m{};
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) windows.Dispatch(m);
}

// Waits until the display has the window's pixels: reading one screen pixel
// back is a round trip through the whole drawing path.
void Sync() {
    HDC screen = GetDC(nullptr);
    GetPixel(screen, 0, 0);
    ReleaseDC(nullptr, screen);
}

void Case(TWin32WindowSystem& windows, std::int32_t width, std::int32_t height,
          std::int32_t look, int steps) {
    TSettings settings(windows.PrimaryScreenWidth());
    settings.SetLock(false);
    settings.SetBorder(12);
    settings.SetWidth(width);
    settings.SetHeight(height);
    settings.SetLookMode(TLook{look});
    settings.SetGridSize(8);
    settings.X = 0;
    settings.Y = 0;
    TMainForm form(settings, TMainFormServices{
                                 windows,
                                 LoadOverlayIcons,
                                 {},
                             });
    form.FormCreate();
    Pump(windows);
    Sync();
    // The bottom-right grip moves one pixel out and back, so every step
    // changes the size and the picture.
    const std::int32_t gx = width + 24 - 8, gy = height + 40 - 8;
    form.FormMouseDown(TMouseButton::Left, ssLeft, gx, gy);
    std::vector<double> ms;
    for (int i = 0; i < steps; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const bool out = i % 2 == 0;
        form.FormMouseMove(ssLeft, gx + (out ? 1 : 0), gy + (out ? 1 : 0));
        Pump(windows);
        Sync();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    form.FormMouseUp(TMouseButton::Left, 0, gx, gy);
    std::sort(ms.begin(), ms.end());
    std::printf("resize-drag step %4d x %4d look %2d: median %7.2f ms (quartiles %.2f, %.2f) over %d steps\n", width,
                height, look, ms[ms.size() / 2], ms[ms.size() / 4], ms[ms.size() * 3 / 4], steps);
}

}  // namespace

int main(int argc, char** argv) {
    const int steps = argc > 1 ? std::max(4, std::atoi(argv[1])) : 60;
    TWin32TextEngine text;
    TWin32WindowSystem windows([&text] { return std::make_unique<TRasterOffscreen>(text); }, GetModuleHandleW(nullptr));
    Case(windows, 420, 285, 1, steps);
    Case(windows, 420, 285, 0, steps);
    Case(windows, 1920, 1080, 1, steps / 2);
    Case(windows, 1920, 1080, 0, steps / 2);
    return 0;
}
