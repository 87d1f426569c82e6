// Turns the figure settings into the look's primitive list: the orientation
// frame, the working ratio and each built-in look's construction.
#pragma once

#include <cstdint>

#include "overlay/Figure.h"
#include "settings/FigureFile.h"
#include "settings/SettingsDefaults.h"

namespace ratiscope {

class TSettings;

// The settings the geometry reads, copied out so the construction is a pure
// function of plain values.
struct TFigureInput {
    std::int32_t Width = kDefaultWidth;
    std::int32_t Height = kDefaultHeight;
    std::int32_t Border = kDefaultBorder;
    double Ratio = kDefaultRatio;
    TLook LookMode = kDefaultLookMode;
    TOrientation OrientMode = kDefaultOrientMode;
    std::int32_t GridSize = kDefaultGridSize;
    // The figure of the user's own drawn instead of LookMode; null for LookMode.
    // Not owned: the figure library outlives every paint.
    const TUserFigure* OwnFigure = nullptr;
};

TFigureInput FigureInputFrom(const TSettings& s);

// Origin corner (X0, Y0), far corner (X1, Y1), directions and centre of the
// section rectangle for one orientation.
struct TFrame {
    std::int32_t X0, Y0, X1, Y1;
    std::int32_t DX, DY;
    std::int32_t CX, CY;
};

TFrame OrientationFrame(const TFigureInput& in);

// N: Ratio with exactly 1.0 replaced by the golden factor. r: N folded to at most 1.
struct TWorkingRatio {
    double N;
    double r;
};

TWorkingRatio WorkingRatio(double ratio);

// The page canon (look 11) sets its own frame and units; its labels reuse them.
struct TCanon {
    std::int32_t ux, uy;
    TFrame frame;
};

TCanon CanonFrame(const TFigureInput& in);

// The frame: polyline (X0, Y0), (X1, Y0), (X1, Y1), (X0, Y1), (X0, Y0).
void AddFrame(TFigure& out, const TFrame& f);

enum class TSpiralLaw { QuarterTurn, FullTurn };

// Appends one logarithmic spiral (number 1 to 4) about the frame's centre as a polyline.
void AppendSpiral(TFigure& out, TSpiralLaw law, int spiral, const TFrame& f, const TFigureInput& in);

// Appends the current look's primitives (or the own figure's) to `out` in
// drawing order; a look that is not built in adds none.
void BuildFigure(const TFigureInput& in, TFigure& out);

inline TFigure BuildFigure(const TFigureInput& in) {
    TFigure f;
    BuildFigure(in, f);
    return f;
}

}  // namespace ratiscope
