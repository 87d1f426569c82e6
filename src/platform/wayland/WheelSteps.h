// The wheel as the compositor reports it (axis lengths, and notches where the
// device has them) turned into the program's wheel deltas, one per pointer
// frame, with the part of a notch left over kept for the next.
#pragma once

#include <cstdint>

namespace ratiscope {

class TWheelSteps {
public:
    // A wheel notch in the compositor's axis units, and in the program's.
    static constexpr double kAxisPerNotch = 15.0;
    static constexpr std::int32_t kDeltaPerNotch = 120;

    // The vertical axis moved by `value` (axis units, positive towards the user).
    void Axis(double value) { rest_ += value; }
    // The vertical axis moved by whole notches, which then count instead of Axis.
    void Notches(std::int32_t steps) {
        discrete_ = true;
        steps_ += steps;
    }
    // The delta of the frame that ends now (positive away from the user), in
    // whole 120ths of a notch; the rest of a smooth scroll waits for the next.
    std::int32_t EndFrame();

private:
    double rest_ = 0;
    std::int32_t steps_ = 0;
    bool discrete_ = false;
};

}  // namespace ratiscope
