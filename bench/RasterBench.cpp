// Cost of the raw raster operations at 1920 x 1080: the plain fill every
// paint starts with, long lines and big ellipses, against which the composed
// overlay picture is judged.
#include <benchmark/benchmark.h>

#include "base/Color.h"
#include "platform/raster/RasterCanvas.h"
#include "support/FakeTextEngine.h"

namespace {

using ratiscope::TFakeTextEngine;
using ratiscope::TRasterCanvas;
using ratiscope::TRect;

constexpr int kW = 1920, kH = 1080;

void FillImage(benchmark::State& state) {
    TFakeTextEngine engine;
    TRasterCanvas canvas(engine, kW, kH);
    for (auto _ : state) {
        canvas.FillRect({0, 0, kW, kH}, ratiscope::kOverlayKeyColor);
        benchmark::DoNotOptimize(canvas.Image().Data());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(FillImage);

// 0: horizontal, 1: vertical, 2: shallow diagonal, 3: steep diagonal,
// 4: a diagonal that starts and ends 100000 pixels off the image.
void LongLine(benchmark::State& state) {
    TFakeTextEngine engine;
    TRasterCanvas canvas(engine, kW, kH);
    const int lines[][4] = {{0, 540, kW, 540},
                            {960, 0, 960, kH},
                            {0, 0, kW - 1, kH - 1},
                            {0, kH - 1, 700, 0},
                            {-100000, -50000, 100000 + kW, 50000 + kH}};
    const auto& l = lines[state.range(0)];
    for (auto _ : state) {
        canvas.MoveTo(l[0], l[1]);
        canvas.LineTo(l[2], l[3]);
        benchmark::DoNotOptimize(canvas.Image().Data());
    }
}
BENCHMARK(LongLine)->ArgName("kind")->DenseRange(0, 4);

// A grid of lines 3 pixels apart over the whole image, as the grid look
// draws it: the batched lines' row-by-row writing against the memory.
void Grid(benchmark::State& state) {
    TFakeTextEngine engine;
    TRasterCanvas canvas(engine, kW, kH);
    for (auto _ : state) {
        for (int x = 0; x < kW; x += 3) {
            canvas.MoveTo(x, 0);
            canvas.LineTo(x, kH);
        }
        for (int y = 0; y < kH; y += 3) {
            canvas.MoveTo(0, y);
            canvas.LineTo(kW, y);
        }
        // Taking the image writes what is batched.
        benchmark::DoNotOptimize(canvas.Image().Data());
    }
}
BENCHMARK(Grid);

// 0: inscribed in the image, 1: a huge box whose outline crosses the image.
void BigEllipse(benchmark::State& state) {
    TFakeTextEngine engine;
    TRasterCanvas canvas(engine, kW, kH);
    const TRect boxes[] = {{0, 0, kW, kH}, {-200000, 100, 200000 + kW, 300000}};
    for (auto _ : state) {
        canvas.Ellipse(boxes[state.range(0)]);
        benchmark::DoNotOptimize(canvas.Image().Data());
    }
}
BENCHMARK(BigEllipse)->ArgName("kind")->DenseRange(0, 1);

}  // namespace
