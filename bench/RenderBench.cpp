// Cost of one paint: ComposeImage into the raster canvas at three window sizes
// for the heaviest looks, beside a plain fill of the same image, which is the
// floor every paint pays. Glyphs come from Qt's engine, headless.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "overlay/OverlayIcons.h"
#include "overlay/Renderer.h"
#include "platform/qt/QtGuiSession.h"
#include "platform/qt/QtTextEngine.h"
#include "platform/raster/RasterCanvas.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"

using namespace ratiscope;

namespace {

// The section size that gives a window of w x h at the default border of 12.
void SizeForWindow(TSettings& s, std::int32_t w, std::int32_t h) {
    s.SetLock(false);
    s.SetWidth(w - 2 * s.Border);
    s.SetHeight(h - 2 * s.Border - 16);
}

// Made in main, after the GUI session it needs, and gone before it.
TQtTextEngine* gText = nullptr;

TQtTextEngine& Text() {
    return *gText;
}

void Compose(benchmark::State& state) {
    TSettings s(1920);
    SizeForWindow(s, static_cast<std::int32_t>(state.range(1)), static_cast<std::int32_t>(state.range(2)));
    s.SetLookMode(TLook{static_cast<std::int32_t>(state.range(0))});
    s.SetGridSize(s.LookMode == TLook::Grid ? 3 : 8);
    s.SetShowValues(true);
    const TOverlayIcons icons = LoadOverlayIcons();
    TRasterCanvas canvas(Text());
    for (auto _ : state) {
        ComposeImage(canvas, s, icons, true);
        benchmark::DoNotOptimize(canvas.Image().Data());
        benchmark::ClobberMemory();
    }
}

void PlainFill(benchmark::State& state) {
    const auto w = static_cast<std::int32_t>(state.range(1)), h = static_cast<std::int32_t>(state.range(2));
    TRasterCanvas canvas(Text(), w, h);
    for (auto _ : state) {
        canvas.FillRect({0, 0, w, h}, kOverlayKeyColor);
        benchmark::DoNotOptimize(canvas.Image().Data());
        benchmark::ClobberMemory();
    }
}

// The grid look's labels at 3840 x 2160 (about 180 upright and 100 turned
// numbers) through the engine with its kept texts (1) and without (0).
void Labels(benchmark::State& state) {
    TQtTextEngine uncached(0);
    TQtTextEngine& engine = state.range(0) ? Text() : uncached;
    TRasterCanvas canvas(engine, 3840, 2160);
    for (auto _ : state) {
        canvas.SetFontAngle(0);
        for (int v = 0; v < 3840; v += 21) canvas.DrawTextInBox(std::to_string(v), {v, 29, v, 29}, tfCenter | tfBottom);
        canvas.SetFontAngle(90);
        for (int v = 0; v < 2160; v += 21) canvas.TextOut(1, v + canvas.MeasureText(std::to_string(v)).width / 2, std::to_string(v));
        benchmark::DoNotOptimize(canvas.Image().Data());
    }
}
BENCHMARK(Labels)->ArgName("cached")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Window sizes, as the overlay window is measured.
BENCHMARK(PlainFill)
    ->ArgNames({"look", "w", "h"})
    ->Args({-1, 420, 285})
    ->Args({-1, 1920, 1080})
    ->Args({-1, 3840, 2160})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Compose)
    ->ArgNames({"look", "w", "h"})
    ->ArgsProduct({{0, 1, 6, 8, 10}, {420}, {285}})
    ->ArgsProduct({{0, 1, 6, 8, 10}, {1920}, {1080}})
    ->ArgsProduct({{0, 1, 6, 8, 10}, {3840}, {2160}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const TQtGuiSession session;
    TQtTextEngine text;
    gText = &text;
    MergeLangPair("MWidthHeight", "%d x %d");
    MergeLangPair("MGridSize", "Grid %d px");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
