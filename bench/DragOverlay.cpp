// The overlay in a resize drag and step timing, shared by the drag benchmarks.
#include "DragOverlay.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "overlay/OverlayIcons.h"
#include "overlay/OverlaySize.h"

namespace ratiscope {

namespace {

constexpr std::int32_t kBenchBorder = 12;
// How far inside the window's bottom-right corner the grip is taken.
constexpr std::int32_t kGripInset = 8;

void PrepareSettings(TSettings& s, std::int32_t width, std::int32_t height, std::int32_t look, std::int32_t gridSize,
                     bool showValues = false) {
    s.SetLock(false);
    s.SetBorder(kBenchBorder);
    s.SetWidth(width);
    s.SetHeight(height);
    s.SetLookMode(TLook{look});
    s.SetGridSize(gridSize);
    s.SetShowValues(showValues);
    s.X = 0;
    s.Y = 0;
}

}  // namespace

std::string BenchLabel() {
    const char* label = std::getenv("RATISCOPE_BENCH_LABEL");
    return label ? label : "";
}

TSize DragWindowSize(std::int32_t width, std::int32_t height) {
    // The screen width places only the panel, which plays no part here.
    TSettings s(0);
    PrepareSettings(s, width, height, 0, kBenchGridSize);
    return OverlayWindowSize(s);
}

TDragOverlay::TDragOverlay(IWindowSystem& windows, std::int32_t width, std::int32_t height, std::int32_t look,
                           std::int32_t gridSize, bool showValues)
    : settings_(windows.PrimaryScreenWidth()),
      form_(settings_, TMainFormServices{
                           windows,
                           LoadOverlayIcons,
                           {},
                       }) {
    PrepareSettings(settings_, width, height, look, gridSize, showValues);
    const TSize window = OverlayWindowSize(settings_);
    gripX_ = window.width - kGripInset;
    gripY_ = window.height - kGripInset;
    form_.FormCreate();
}

void TDragOverlay::Grab() { form_.FormMouseDown(TMouseButton::Left, ssLeft, gripX_, gripY_); }

void TDragOverlay::Drag(std::int32_t out) { form_.FormMouseMove(ssLeft, gripX_ + out, gripY_ + out); }

void TDragOverlay::Release() { form_.FormMouseUp(TMouseButton::Left, 0, gripX_, gripY_); }

void TStepTimes::Add(TClock::time_point from, TClock::time_point to) {
    ms_.push_back(std::chrono::duration<double, std::milli>(to - from).count());
}

double TStepTimes::MedianMs() const {
    if (ms_.empty()) return 0;
    std::vector<double> sorted = ms_;
    const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    return *middle;
}

double TStepTimes::WorstMs() const { return ms_.empty() ? 0 : *std::max_element(ms_.begin(), ms_.end()); }

void TStepTimes::Report(benchmark::State& state) const {
    state.counters["median_ms"] = MedianMs();
    state.counters["worst_ms"] = WorstMs();
}

}  // namespace ratiscope
