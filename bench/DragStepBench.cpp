// One resize-drag step of the real overlay window on the X server in DISPLAY:
// the setters, UpdateSize, the full paint and the shape update, until the
// server has done its part. Run it through bench/drag-bench.sh, which starts
// Xvfb with and without a compositor.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include <QWidget>

#include "DragOverlay.h"
#include "X11ResponseProbe.h"
#include "platform/RasterOffscreen.h"
#include "platform/qt/QtTextEngine.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtWindowSystem.h"

namespace {

using namespace ratiscope;

// Waits until the X server has handled every request sent so far.
void SyncWithServer() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return;
    xcb_connection_t* c = x11->connection();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

// Whether the window still has a shape change with the server or waiting for it.
template <class Window>
bool ShapeBusy(Window& window) {
    if constexpr (requires { window.ShapeBusy(); })
        return window.ShapeBusy();
    else
        return false;  // a window that sends every change at once has nothing waiting
}

// Arguments: section width, section height, look.
void BM_ResizeDragStep(benchmark::State& state) {
    TQtTextEngine text;
    TQtWindowSystem windows([&text] { return std::make_unique<TRasterOffscreen>(text); });
    TDragOverlay overlay(windows, Arg(state, 0), Arg(state, 1), Arg(state, 2));
    QCoreApplication::processEvents();
    SyncWithServer();

    // The grip moves one pixel out and back, so every step changes the size,
    // the picture and the shape.
    overlay.Grab();
    TStepTimes steps;
    bool out = false;
    for (auto _ : state) {
        out = !out;
        const auto start = TStepTimes::TClock::now();
        overlay.Drag(out ? 1 : 0);
        SyncWithServer();
        steps.Add(start, TStepTimes::TClock::now());
    }
    overlay.Release();
    QCoreApplication::processEvents();
    steps.Report(state);
    state.SetLabel(BenchLabel());
}


// A fast pointer: kBurst moves of the grip, each handled as the message loop
// handles one (the move, then whatever the loop runs next), without waiting
// for the server; then until the window has caught up with the last place.
// The time is the whole burst's; "stall_ms" is the longest single move,
// for which the program (and with it the desktop's response) stood still.
void BM_ResizeDragBurst(benchmark::State& state) {
    constexpr int kBurst = 10;
    TQtTextEngine text;
    TQtWindowSystem windows([&text] { return std::make_unique<TRasterOffscreen>(text); });
    TDragOverlay overlay(windows, Arg(state, 0), Arg(state, 1), Arg(state, 2));
    QCoreApplication::processEvents();
    SyncWithServer();
    auto& window = dynamic_cast<TQtWindow&>(*overlay.Form().Window());

    overlay.Grab();
    double worst = 0;
    std::int32_t step = 0;
    for (auto _ : state) {
        for (int i = 0; i < kBurst; ++i) {
            step = (step + 1) % 12;  // out by up to 6 pixels and back: every move changes the size
            const std::int32_t d = step <= 6 ? step : 12 - step;
            const auto start = std::chrono::steady_clock::now();
            overlay.Drag(d);
            QCoreApplication::processEvents();
            worst = std::max(worst, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        do {
            QCoreApplication::processEvents();
            SyncWithServer();
        } while (ShapeBusy(window));
    }
    overlay.Release();
    QCoreApplication::processEvents();
    state.counters["stall_ms"] = worst;
    state.SetLabel(BenchLabel());
}

// The probe of the whole run: every benchmark resets it when it starts.
TX11ResponseProbe* probe = nullptr;

// Arguments: section width, section height, look, grid step; values shown.
// A resize step of the grip as above, until the window has caught up (its
// shape included, which may wait for the server), and, on a second
// connection, the longest any other client waited for the server meanwhile.
void BM_ResizeStall(benchmark::State& state) {
    TQtTextEngine text;
    TQtWindowSystem windows([&text] { return std::make_unique<TRasterOffscreen>(text); });
    TDragOverlay overlay(windows, Arg(state, 0), Arg(state, 1), Arg(state, 2), Arg(state, 3), true);
    auto& window = dynamic_cast<TQtWindow&>(*overlay.Form().Window());
    const auto settle = [&window] {
        do {
            QCoreApplication::processEvents();
            SyncWithServer();
        } while (ShapeBusy(window));
    };
    settle();
    overlay.Grab();
    settle();
    if (probe) probe->Reset();
    TStepTimes steps;
    bool out = false;
    for (auto _ : state) {
        out = !out;
        const auto start = TStepTimes::TClock::now();
        overlay.Drag(out ? 1 : 0);
        settle();
        steps.Add(start, TStepTimes::TClock::now());
    }
    overlay.Release();
    settle();
    steps.Report(state);
    state.counters["others_wait_ms"] = probe ? probe->WorstMs() : -1;
    state.SetLabel(BenchLabel());
}

BENCHMARK(BM_ResizeStall)
    ->ArgNames({"w", "h", "look", "grid"})
    ->Args({420, 285, 1, 8})
    ->Args({420, 285, 0, 8})
    ->Args({420, 285, 0, 3})
    ->Args({1920, 1080, 1, 8})
    ->Args({1920, 1080, 0, 8})
    ->Args({1920, 1080, 0, 3})
    ->Args({3840, 2160, 1, 8})
    ->Args({3840, 2160, 0, 8})
    ->Args({3840, 2160, 0, 3})
    ->Unit(benchmark::kMillisecond);

// The same without a resize: the orientation flips, so picture and shape change.
void BM_OrientStep(benchmark::State& state) {
    TQtTextEngine text;
    TQtWindowSystem windows([&text] { return std::make_unique<TRasterOffscreen>(text); });
    TDragOverlay overlay(windows, Arg(state, 0), Arg(state, 1), Arg(state, 2));
    QCoreApplication::processEvents();
    SyncWithServer();
    for (auto _ : state) {
        overlay.Form().ActionOrientExecute();
        SyncWithServer();
    }
    state.SetLabel(BenchLabel());
}

BENCHMARK(BM_OrientStep)->ArgNames({"w", "h", "look"})->Args({1920, 1080, 1})->Args({1920, 1080, 0})->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ResizeDragBurst)
    ->ArgNames({"w", "h", "look"})
    ->Args({631, 390, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ResizeDragStep)
    ->ArgNames({"w", "h", "look"})
    ->Args({420, 285, 1})
    ->Args({420, 285, 0})
    ->Args({1920, 1080, 1})
    ->Args({1920, 1080, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    // What lies beneath decides the server's cost of a shape change: the bare
    // root window paints its background into every uncovered pixel, an
    // application window (background None, as toolkits make them) does not.
    std::unique_ptr<QWidget> beneath;
    if (qEnvironmentVariable("RATISCOPE_BENCH_BENEATH") == QLatin1String("app")) {
        beneath = std::make_unique<QWidget>();
        beneath->setGeometry(QGuiApplication::primaryScreen()->geometry());
        beneath->show();
        QCoreApplication::processEvents();
    }
    TX11ResponseProbe others;
    if (others.Connected()) probe = &others;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    probe = nullptr;
    return 0;
}
