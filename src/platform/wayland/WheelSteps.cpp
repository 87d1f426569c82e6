// Smooth scrolling kept to whole 120ths of a notch, as the program counts them.
#include "platform/wayland/WheelSteps.h"

#include <cmath>

namespace ratiscope {

std::int32_t TWheelSteps::EndFrame() {
    // The compositor counts down (towards the user) as positive; the program the other way.
    std::int32_t delta = 0;
    if (discrete_) {
        delta = -steps_ * kDeltaPerNotch;
        rest_ = 0;
    } else {
        const double notches = std::trunc(rest_ / kAxisPerNotch * kDeltaPerNotch) / kDeltaPerNotch;
        delta = -static_cast<std::int32_t>(std::lround(notches * kDeltaPerNotch));
        rest_ -= notches * kAxisPerNotch;
    }
    discrete_ = false;
    steps_ = 0;
    return delta;
}

}  // namespace ratiscope
