// Logarithmic spirals of looks 5 to 7: wound inward from a start phase until
// the radius falls below the grid size, at most 4001 steps.
#include <cmath>
#include <numbers>

#include "base/Numbers.h"
#include "overlay/SectionGeometry.h"

namespace ratiscope {

namespace {

struct TPhase {
    double phi;
    int sense;
};

constexpr double kPi = std::numbers::pi;

// Rows: spiral 1..4; columns: OrientMode 0..3.
constexpr TPhase kPhasesPortrait[4][4] = {
    // N < 1: the spiral starts at the left or right edge, half the width out.
    {{kPi, +1}, {0, -1}, {0, +1}, {kPi, -1}},
    {{0, +1}, {kPi, -1}, {kPi, +1}, {0, -1}},
    {{-kPi / 2, +1}, {-kPi / 2, -1}, {kPi / 2, +1}, {kPi / 2, -1}},
    {{kPi / 2, +1}, {kPi / 2, -1}, {-kPi / 2, +1}, {-kPi / 2, -1}},
};

constexpr TPhase kPhasesLandscape[4][4] = {
    // N >= 1: the spiral starts at the top or bottom edge, half the height out.
    {{-kPi / 2, -1}, {-kPi / 2, +1}, {kPi / 2, -1}, {kPi / 2, +1}},
    {{kPi / 2, -1}, {kPi / 2, +1}, {-kPi / 2, -1}, {-kPi / 2, +1}},
    {{kPi, -1}, {0, +1}, {0, -1}, {kPi, +1}},
    {{0, -1}, {kPi, +1}, {kPi, -1}, {0, +1}},
};

TPhase StartPhase(int spiral, int orient, bool wide) {
    if (orient < 0 || orient > 3 || spiral < 1 || spiral > 4) return {0, +1};
    return wide ? kPhasesLandscape[spiral - 1][orient] : kPhasesPortrait[spiral - 1][orient];
}

}  // namespace

void AppendSpiral(TFigure& out, TSpiralLaw law, int spiral, const TFrame& f, const TFigureInput& in) {
    const double n = WorkingRatio(in.Ratio).N;
    const bool wide = n >= 1;
    const double q = wide ? n : 1 / n;
    const double k = law == TSpiralLaw::QuarterTurn ? -2 * std::log(q) / kPi : -std::log(q) / (2 * kPi);
    const double r0 = wide ? std::abs(in.Height / 2) : std::abs(in.Width / 2);
    const TPhase ph = StartPhase(spiral, OrientationNumber(in.OrientMode), wide);

    double theta = 0;
    out.BeginPolyline({f.CX + RoundToInt(std::cos(ph.phi) * r0), f.CY + RoundToInt(std::sin(ph.phi) * r0)});
    for (int step = 0; step < 4001; ++step) {
        theta = theta + 0.05;
        const double rho = r0 * std::exp(k * theta);
        if (rho < in.GridSize) break;
        const double alpha = ph.sense * theta + ph.phi;
        out.AddPolylinePoint({f.CX + RoundToInt(std::cos(alpha) * rho), f.CY + RoundToInt(std::sin(alpha) * rho)});
    }
}

}  // namespace ratiscope
