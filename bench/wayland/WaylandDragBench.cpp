// One resize-drag step of the native Wayland overlay on the compositor of
// WAYLAND_DISPLAY, until the compositor has handled the step's picture, input
// region and commit; in turn with it, the same kind of window showing a ready
// one-colour picture (one input rectangle) at the same sizes, the floor of any
// resize there. Run it through bench/wayland/wayland-drag-bench.sh, which
// starts a headless sway.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>

#include "DragOverlay.h"
#include "ResponseProbe.h"
#include "base/Color.h"
#include "platform/Canvas.h"
#include "platform/RasterOffscreen.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtTextEngine.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandWindow.h"
#include "platform/wayland/WaylandWindowSystem.h"

namespace {

using namespace ratiscope;

// The colour of the filled picture: anything but the key colour.
constexpr TColor kFillColor = 0x808080;

// The Qt windows on XWayland and the overlay on our own compositor connection,
// as the program makes them on a layer-shell desktop.
struct TWaylandDesktop {
    TQtTextEngine text;
    TQtWindowSystem qt{[this] { return std::make_unique<TRasterOffscreen>(text); }};
    TQtEventLoop loop;
    TWaylandConnection connection{loop};
    TWaylandWindowSystem windows{qt, qt, loop, connection, [this] { return std::make_unique<TRasterOffscreen>(text); }};
};

// Times one step: `step` makes the change and sends it, then the compositor is
// waited for. `sync` gets the wait alone.
template <class Step>
void TimeStep(TWaylandConnection& connection, TStepTimes& whole, TStepTimes& sync, Step&& step) {
    const auto start = TStepTimes::TClock::now();
    step();
    QCoreApplication::processEvents();  // as the message loop would: queued paints go out too
    const auto sent = TStepTimes::TClock::now();
    connection.Roundtrip();
    const auto done = TStepTimes::TClock::now();
    whole.Add(start, done);
    sync.Add(sent, done);
}

bool Usable(benchmark::State& state, const TWaylandDesktop& desktop) {
    if (desktop.connection.HasLayerShell() && desktop.connection.Alive()) return true;
    state.SkipWithError("no compositor with the layer shell in WAYLAND_DISPLAY");
    return false;
}

// A window of the overlay's kind whose picture is one colour, at either size.
class TFilledWindow final : public IWindowEvents {
public:
    TFilledWindow(IWindowSystem& windows, TSize in, TSize out) : in_(in), out_(out) {
        window_ = windows.CreateWindow(*this, TWindowOptions{kOverlayKeyColor, true});
        window_->SetClientSize(in);
        window_->Show();
    }
    void OnPaint() override { Fill(); }
    void Step(bool out) {
        outShown_ = out;
        window_->SetClientSize(outShown_ ? out_ : in_);
        Fill();
        window_->FlushSurface();
    }

private:
    void Fill() {
        const TSize size = window_->ClientSize();
        window_->NewPicture().FillRect({0, 0, size.width, size.height}, kFillColor);
    }

    TSize in_;
    TSize out_;
    bool outShown_ = false;
    std::unique_ptr<IWindow> window_;
};

// Arguments: section width, section height, look, grid step. The overlay's
// steps alternate with the filled window's, each on its own connection, so
// both meet the same load; the ratio is of their medians.
void BM_WaylandResizeDragStep(benchmark::State& state) {
    TWaylandDesktop overlayDesktop;
    TWaylandDesktop filledDesktop;
    if (!Usable(state, overlayDesktop) || !Usable(state, filledDesktop)) return;
    const std::int32_t width = Arg(state, 0);
    const std::int32_t height = Arg(state, 1);
    TDragOverlay overlay(overlayDesktop.windows, width, height, Arg(state, 2), Arg(state, 3));
    TFilledWindow filled(filledDesktop.windows, DragWindowSize(width, height), DragWindowSize(width + 1, height + 1));
    QCoreApplication::processEvents();
    overlayDesktop.connection.Roundtrip();
    filledDesktop.connection.Roundtrip();
    const auto* window = dynamic_cast<const TWaylandWindow*>(overlay.Form().Window());
    if (!window) {
        state.SkipWithError("the overlay is not a layer surface");
        return;
    }

    overlay.Grab();
    TStepTimes whole;
    TStepTimes sync;
    TStepTimes filledWhole;
    TStepTimes filledSync;
    TResponseProbe probe;
    bool out = false;
    for (auto _ : state) {
        out = !out;
        probe.Arm(true);
        TimeStep(overlayDesktop.connection, whole, sync, [&] { overlay.Drag(out ? 1 : 0); });
        probe.Arm(false);
        TimeStep(filledDesktop.connection, filledWhole, filledSync, [&] { filled.Step(out); });
    }
    overlay.Release();
    QCoreApplication::processEvents();

    whole.Report(state);
    state.counters["sync_ms"] = sync.MedianMs();
    state.counters["stall_ms"] = sync.WorstMs();
    if (probe.Connected()) state.counters["others_wait_ms"] = probe.WorstMs();
    state.counters["filled_median_ms"] = filledWhole.MedianMs();
    state.counters["filled_sync_ms"] = filledSync.MedianMs();
    state.counters["filled_stall_ms"] = filledSync.WorstMs();
    if (filledWhole.MedianMs() > 0) state.counters["ratio"] = whole.MedianMs() / filledWhole.MedianMs();
    state.counters["rects"] = static_cast<double>(window->SentInputRegion().rectangles.size());
    state.counters["cell"] = window->SentInputRegion().cell;
    state.SetLabel(BenchLabel());
}

constexpr std::int32_t kDenseGridSize = 3;  // the smallest grid step the settings allow

BENCHMARK(BM_WaylandResizeDragStep)
    ->ArgNames({"w", "h", "look", "grid"})
    ->Args({420, 285, 1, kBenchGridSize})
    ->Args({420, 285, 0, kBenchGridSize})
    ->Args({1920, 1080, 1, kBenchGridSize})
    ->Args({1920, 1080, 0, kBenchGridSize})
    ->Args({1920, 1080, 0, kDenseGridSize})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The Qt side stays on XWayland, as in the program; the overlay speaks Wayland itself.
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
