// What the X11 and the Wayland drag benchmarks share: the overlay set up for
// a resize drag by its bottom-right grip, and the times of single steps.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "overlay/MainFrm.h"
#include "platform/Window.h"
#include "settings/Settings.h"

namespace ratiscope {

// The grid step of look 0 unless a benchmark asks for another.
inline constexpr std::int32_t kBenchGridSize = 8;

// Argument `index` of a benchmark, as the setters take it.
inline std::int32_t Arg(const benchmark::State& state, std::size_t index) { return static_cast<std::int32_t>(state.range(index)); }

// What the benchmark script says the run is about (RATISCOPE_BENCH_LABEL).
std::string BenchLabel();

// The overlay window's size around a section of `width` x `height`.
TSize DragWindowSize(std::int32_t width, std::int32_t height);

// The overlay at the desktop's top-left corner, unlocked, with a section of
// `width` x `height` in `look`, its window made by `windows` and shown.
class TDragOverlay {
public:
    TDragOverlay(IWindowSystem& windows, std::int32_t width, std::int32_t height, std::int32_t look,
                 std::int32_t gridSize = kBenchGridSize, bool showValues = false);
    TDragOverlay(const TDragOverlay&) = delete;
    TDragOverlay& operator=(const TDragOverlay&) = delete;

    TMainForm& Form() { return form_; }
    // Takes the bottom-right grip with the left button.
    void Grab();
    // Moves the held grip `out` pixels right and down of where it was taken:
    // every other `out` changes the size, the picture and the input shape.
    void Drag(std::int32_t out);
    void Release();

private:
    TSettings settings_;
    TMainForm form_;
    std::int32_t gripX_;
    std::int32_t gripY_;
};

// Wall-clock times of single steps, for the median and the longest.
class TStepTimes {
public:
    using TClock = std::chrono::steady_clock;
    void Add(TClock::time_point from, TClock::time_point to);
    double MedianMs() const;
    double WorstMs() const;
    // Sets the counters "median_ms" and "worst_ms" the drag benchmarks print.
    void Report(benchmark::State& state) const;

private:
    std::vector<double> ms_;
};

}  // namespace ratiscope
