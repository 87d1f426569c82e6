// Cost of building the primitive list on each paint, for the heaviest looks.
#include <benchmark/benchmark.h>

#include "overlay/SectionGeometry.h"

namespace {

using ratiscope::TFigure;
using ratiscope::TFigureInput;

void BuildLook(benchmark::State& state) {
    TFigureInput in;
    in.LookMode = ratiscope::TLook{static_cast<int>(state.range(0))};
    in.Width = static_cast<int>(state.range(1));
    in.Height = static_cast<int>(state.range(2));
    in.Ratio = static_cast<double>(in.Height) / in.Width;
    in.GridSize = in.LookMode == ratiscope::TLook::Grid ? 3 : 8;
    TFigure fig;
    for (auto _ : state) {
        fig.Clear();
        ratiscope::BuildFigure(in, fig);
        benchmark::DoNotOptimize(fig.points.data());
    }
    state.counters["primitives"] = static_cast<double>(fig.primitives.size());
    state.counters["points"] = static_cast<double>(fig.points.size());
}

// Sizes are the section rectangle of a 420 x 285, 1920 x 1080 and 3840 x 2160 window.
BENCHMARK(BuildLook)
    ->ArgNames({"look", "w", "h"})
    ->ArgsProduct({{6, 0, 1, 8}, {396}, {245}})
    ->ArgsProduct({{6, 0, 1, 8}, {1896}, {1040}})
    ->ArgsProduct({{6, 0, 1, 8}, {3816}, {2120}});

}  // namespace
