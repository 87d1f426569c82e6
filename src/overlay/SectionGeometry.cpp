// The figure of each built-in look. All divisions truncate toward zero and rounding is
// symmetric about zero, so the four orientations mirror each other exactly.
#include "overlay/SectionGeometry.h"

#include "base/Numbers.h"
#include "overlay/DiagonalLooks.h"
#include "overlay/OverlaySize.h"
#include "overlay/OwnFigure.h"
#include "settings/FigureLibrary.h"
#include "settings/Settings.h"

namespace ratiscope {

TFigureInput FigureInputFrom(const TSettings& s) {
    const TFigureEntry* own = FigureLibrary().Find(s.Figure);
    return {s.Width, s.Height, s.Border, s.Ratio, s.LookMode, s.OrientMode, s.GridSize, own ? &own->figure : nullptr};
}

TFrame OrientationFrame(const TFigureInput& in) {
    const std::int32_t left = in.Border, right = in.Border + in.Width;
    const std::int32_t top = in.Border + kCaptionHeight, bottom = top + in.Height;
    TFrame f{};
    switch (in.OrientMode) {
    case TOrientation::TopLeft: f = {left, top, right, bottom, +1, +1, 0, 0}; break;
    case TOrientation::TopRight: f = {right, top, left, bottom, -1, +1, 0, 0}; break;
    case TOrientation::BottomRight: f = {right, bottom, left, top, -1, -1, 0, 0}; break;
    default: f = {left, bottom, right, top, +1, -1, 0, 0}; break;
    }
    f.CX = (f.X0 + f.X1) / 2;
    f.CY = (f.Y0 + f.Y1) / 2;
    return f;
}

TWorkingRatio WorkingRatio(double ratio) {
    const double n = ratio == 1.0 ? kGoldenFactor : ratio;
    return {n, n <= 1 ? n : 1 / n};
}

TCanon CanonFrame(const TFigureInput& in) {
    const TFrame o = OrientationFrame(in);
    const std::int32_t b = in.Border;
    TCanon c{};
    c.frame = {b, b + kCaptionHeight, b + in.Width, b + kCaptionHeight + in.Height, +1, +1, o.CX, o.CY};
    c.uy = in.Height / 18;
    if (WorkingRatio(in.Ratio).N < 1) {
        c.ux = in.Width / 18;
        c.frame.CX = b + in.Width / 2;
    } else {
        // One page of a spread twice as wide: the right half lies outside the window.
        c.ux = in.Width / 9;
        c.frame.X1 = b + 2 * in.Width;
        c.frame.CX = b + in.Width;
    }
    return c;
}

void AddFrame(TFigure& out, const TFrame& f) {
    out.BeginPolyline({f.X0, f.Y0});
    out.AddPolylinePoint({f.X1, f.Y0});
    out.AddPolylinePoint({f.X1, f.Y1});
    out.AddPolylinePoint({f.X0, f.Y1});
    out.AddPolylinePoint({f.X0, f.Y0});
}

namespace {

void AddHalves(TFigure& out, const TFrame& f) {
    out.AddLine({f.CX, f.Y0}, {f.CX, f.Y1});
    out.AddLine({f.X0, f.CY}, {f.X1, f.CY});
}

void AddPlus(TFigure& out, std::int32_t a, std::int32_t b) {
    out.AddLine({a - 8, b}, {a + 8, b});
    out.AddLine({a, b - 8}, {a, b + 8});
}

void AddCentreMarks(TFigure& out, const TFrame& f) {
    out.AddLine({f.CX - 8, f.CY - 8}, {f.CX + 8, f.CY + 8});
    out.AddLine({f.CX - 8, f.CY + 8}, {f.CX + 8, f.CY - 8});
    AddPlus(out, f.CX, f.Y0);
    AddPlus(out, f.CX, f.Y1);
    AddPlus(out, f.X0, f.CY);
    AddPlus(out, f.X1, f.CY);
    AddHalves(out, f);
}

void AddVertical(TFigure& out, const TFrame& f, std::int32_t x) {
    out.AddLine({x, f.Y0}, {x, f.Y1});
}

void AddHorizontal(TFigure& out, const TFrame& f, std::int32_t y) {
    out.AddLine({f.X0, y}, {f.X1, y});
}

void FigureGrid(TFigure& out, const TFrame& f, const TFigureInput& in) {
    std::int32_t i = 0;
    do {
        AddVertical(out, f, f.X0 + i * f.DX);
        i += in.GridSize;
    } while (i < in.Width);
    std::int32_t j = 0;
    do {
        AddHorizontal(out, f, f.Y0 + j * f.DY);
        j += in.GridSize;
    } while (j < in.Height);
}

void FigureRatioSequence(TFigure& out, const TFrame& f, const TFigureInput& in) {
    const double r = WorkingRatio(in.Ratio).r;
    std::int32_t v = in.Width;
    int n = 0;
    do {
        AddVertical(out, f, f.X0 + v * f.DX);
        v = RoundToInt(v * r);
        ++n;
    } while (n <= 100 && v >= in.GridSize);
    AddVertical(out, f, f.X0);
    v = in.Height;
    n = 0;
    do {
        AddHorizontal(out, f, f.Y0 + v * f.DY);
        v = RoundToInt(v * r);
        ++n;
    } while (n <= 100 && v >= in.GridSize);
    AddHorizontal(out, f, f.Y0);
}

void FigureThirds(TFigure& out, const TFrame& f, const TFigureInput&) {
    AddFrame(out, f);
    const std::int32_t tx = (f.X1 - f.X0) / 3, ty = (f.Y1 - f.Y0) / 3;
    AddVertical(out, f, f.X0 + tx);
    AddHorizontal(out, f, f.Y0 + ty);
    AddVertical(out, f, f.X1 - tx);
    AddHorizontal(out, f, f.Y1 - ty);
    const std::int32_t gx = RoundToInt((f.X1 - f.X0) * kGoldenFactor);
    const std::int32_t gy = RoundToInt((f.Y1 - f.Y0) * kGoldenFactor);
    AddPlus(out, f.X0 + gx, f.Y0 + gy);
    AddPlus(out, f.X1 - gx, f.Y0 + gy);
    AddPlus(out, f.X1 - gx, f.Y1 - gy);
    AddPlus(out, f.X0 + gx, f.Y1 - gy);
    AddPlus(out, f.CX, f.CY);
}

void FigureGoldenLines(TFigure& out, const TFrame& f, const TFigureInput&) {
    AddFrame(out, f);
    const std::int32_t gx = RoundToInt((f.X1 - f.X0) * kGoldenFactor);
    const std::int32_t gy = RoundToInt((f.Y1 - f.Y0) * kGoldenFactor);
    AddVertical(out, f, f.X0 + gx);
    AddHorizontal(out, f, f.Y0 + gy);
    AddVertical(out, f, f.X1 - gx);
    AddHorizontal(out, f, f.Y1 - gy);
    const std::int32_t tx = (f.X1 - f.X0) / 3, ty = (f.Y1 - f.Y0) / 3;
    AddPlus(out, f.X0 + tx, f.Y0 + ty);
    AddPlus(out, f.X1 - tx, f.Y0 + ty);
    AddPlus(out, f.X1 - tx, f.Y1 - ty);
    AddPlus(out, f.X0 + tx, f.Y1 - ty);
    AddPlus(out, f.CX, f.CY);
}

void FigureCircles(TFigure& out, const TFrame& f, const TFigureInput& in) {
    const double r = WorkingRatio(in.Ratio).r;
    AddFrame(out, f);
    AddHalves(out, f);
    std::int32_t v = in.Width / 2;
    int n = 0;
    do {
        out.AddCircleBox(f.CX - v, f.CY - v, f.CX + v + 1, f.CY + v + 1);
        v = RoundToInt(v * r);
        ++n;
    } while (n <= 100 && v >= in.GridSize);
}

void AddCentredPair(TFigure& out, const TFrame& f, std::int32_t a, std::int32_t b) {
    AddHorizontal(out, f, f.CY + b);
    AddHorizontal(out, f, f.CY - b);
    AddVertical(out, f, f.CX + a);
    AddVertical(out, f, f.CX - a);
}

void FigureCentredSections(TFigure& out, const TFrame& f, const TFigureInput& in) {
    const TWorkingRatio wr = WorkingRatio(in.Ratio);
    AddFrame(out, f);
    AddCentreMarks(out, f);
    const double r = wr.r;
    const std::int32_t hw = in.Width / 2, hh = in.Height / 2;
    std::int32_t a = RoundToInt(hw * r * r), b = RoundToInt(hh * r * r);
    AddCentredPair(out, f, a, b);
    a = RoundToInt(a * r);
    b = RoundToInt(b * r);
    AddCentredPair(out, f, a, b);
    a = RoundToInt(hw * r);
    b = RoundToInt(hh * r);
    if (wr.N > 1) {
        AddHorizontal(out, f, f.CY + b);
        AddHorizontal(out, f, f.CY - b);
    } else {
        AddVertical(out, f, f.CX + a);
        AddVertical(out, f, f.CX - a);
    }
}

void FigureNestedFrames(TFigure& out, const TFrame& f, const TFigureInput& in) {
    const double r = WorkingRatio(in.Ratio).r;
    AddFrame(out, f);
    AddHalves(out, f);
    std::int32_t d = RoundToInt(in.Width * r * r * r * r);
    int n = 0;
    do {
        const std::int32_t ix = d * f.DX, iy = d * f.DY;
        out.BeginPolyline({f.X0 + ix, f.Y0 + iy});
        out.AddPolylinePoint({f.X1 - ix, f.Y0 + iy});
        out.AddPolylinePoint({f.X1 - ix, f.Y1 - iy});
        out.AddPolylinePoint({f.X0 + ix, f.Y1 - iy});
        out.AddPolylinePoint({f.X0 + ix, f.Y0 + iy});
        d = RoundToInt(d * r);
        ++n;
    } while (n <= 50 && d >= in.GridSize);
}

void AddDiagonals(TFigure& out, const TFrame& f) {
    out.AddLine({f.X0, f.Y1}, {f.X1, f.Y0});
    out.AddLine({f.X0, f.Y0}, {f.X1, f.Y1});
}

void AddPolyline(TFigure& out, std::initializer_list<TPoint> pts) {
    auto it = pts.begin();
    out.BeginPolyline(*it);
    for (++it; it != pts.end(); ++it) out.AddPolylinePoint(*it);
}

void FigurePageCanon(TFigure& out, const TFrame&, const TFigureInput& in) {
    // The page canon sets its own frame.
    const TCanon c = CanonFrame(in);
    const TFrame& f = c.frame;
    const std::int32_t ux = c.ux, uy = c.uy;
    AddFrame(out, f);
    AddHalves(out, f);
    AddPolyline(out, {{f.X0 + 2 * ux, f.Y0 + uy}, {f.CX - ux, f.Y0 + uy}, {f.CX - ux, f.Y1 - 2 * uy},
                      {f.X0 + 2 * ux, f.Y1 - 2 * uy}, {f.X0 + 2 * ux, f.Y0 + uy}});
    AddPolyline(out, {{f.X1 - 2 * ux, f.Y0 + uy}, {f.CX + ux, f.Y0 + uy}, {f.CX + ux, f.Y1 - 2 * uy},
                      {f.X1 - 2 * ux, f.Y1 - 2 * uy}, {f.X1 - 2 * ux, f.Y0 + uy}});
    AddPolyline(out, {{f.X0, f.Y1}, {f.CX, f.Y0}, {f.X1, f.Y1}});
    AddDiagonals(out, f);
}

void FigureArmature(TFigure& out, const TFrame& f, const TFigureInput&) {
    AddFrame(out, f);
    AddHalves(out, f);
    AddDiagonals(out, f);
    AddPolyline(out, {{f.X0, f.Y1}, {f.CX, f.Y0}, {f.X1, f.Y1}});
    AddPolyline(out, {{f.X1, f.Y0}, {f.CX, f.Y1}, {f.X0, f.Y0}});
    AddPolyline(out, {{f.X0, f.Y0}, {f.X1, f.CY}, {f.X0, f.Y1}});
    AddPolyline(out, {{f.X1, f.Y0}, {f.X0, f.CY}, {f.X1, f.Y1}});
    AddPolyline(out, {{f.X0, f.CY}, {f.CX, f.Y0}, {f.X1, f.CY}, {f.CX, f.Y1}, {f.X0, f.CY}});
}

void FigureSingleGoldenLines(TFigure& out, const TFrame& f, const TFigureInput& in) {
    AddFrame(out, f);
    // Each line lies at the shorter golden part measured from the origin edge.
    const std::int32_t xs = f.DX == 1 ? RoundToInt(f.X1 - in.Width * kGoldenFactor)
                                      : RoundToInt(f.X1 + in.Width * kGoldenFactor);
    AddVertical(out, f, xs);
    const std::int32_t ys = f.DY == 1 ? RoundToInt(f.Y1 - in.Height * kGoldenFactor)
                                      : RoundToInt(f.Y1 + in.Height * kGoldenFactor);
    AddHorizontal(out, f, ys);
}

void FigureHalves(TFigure& out, const TFrame& f, const TFigureInput&) {
    AddFrame(out, f);
    AddHalves(out, f);
}

void FigureSpiral(TFigure& out, const TFrame& f, const TFigureInput& in) {
    AddFrame(out, f);
    AddHalves(out, f);
    AppendSpiral(out, TSpiralLaw::QuarterTurn, 1, f, in);
}

void FigureFourSpirals(TFigure& out, const TFrame& f, const TFigureInput& in) {
    AddFrame(out, f);
    AddHalves(out, f);
    for (int s = 1; s <= 4; ++s) AppendSpiral(out, TSpiralLaw::QuarterTurn, s, f, in);
}

void FigureSlowSpiral(TFigure& out, const TFrame& f, const TFigureInput& in) {
    AddFrame(out, f);
    AddPlus(out, f.CX, f.CY);
    out.AddLine({f.X0, f.CY}, {f.CX, f.CY});
    AppendSpiral(out, TSpiralLaw::FullTurn, 1, f, in);
}

using TFigureFunction = void (*)(TFigure& out, const TFrame& f, const TFigureInput& in);

// Each built-in look's construction, in look order.
constexpr TFigureFunction kFigures[] = {
#define RATISCOPE_LOOK_FIGURE(id, key, english, figure, labels, cycle) figure,
    RATISCOPE_BUILT_IN_LOOKS(RATISCOPE_LOOK_FIGURE)
#undef RATISCOPE_LOOK_FIGURE
};

}  // namespace

void BuildFigure(const TFigureInput& in, TFigure& out) {
    if (in.OwnFigure) {
        BuildOwnFigure(*in.OwnFigure, in, out);
        return;
    }
    if (!IsBuiltInLook(in.LookMode)) return;  // any other look draws nothing
    kFigures[static_cast<std::size_t>(LookNumber(in.LookMode))](out, OrientationFrame(in), in);
}

}  // namespace ratiscope
