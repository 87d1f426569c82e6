// Fractions of the section rectangle to client pixels, statement by statement.
#include "overlay/OwnFigure.h"

#include <algorithm>

#include "base/Numbers.h"

namespace ratiscope {
namespace {

// A fraction of a side in pixels from the origin edge: the distance every
// orientation shares, and the value written beside the line.
std::int32_t Along(double fraction, std::int32_t side) { return RoundToInt(fraction * side); }

void Keep(std::vector<std::int32_t>& marks, double fraction, std::int32_t side) {
    const std::int32_t d = Along(fraction, side);
    if (d > 0 && d < side) marks.push_back(d);
}

void SortOnce(std::vector<std::int32_t>& marks) {
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
}

// The pixel a fraction of the width or height lands on, measured from the
// orientation's origin corner.
struct TPlacer {
    const TFrame& f;
    const TFigureInput& in;

    std::int32_t X(double fraction) const { return f.X0 + Along(fraction, in.Width) * f.DX; }
    std::int32_t Y(double fraction) const { return f.Y0 + Along(fraction, in.Height) * f.DY; }

    void VLine(TFigure& out, double fraction) const { out.AddLine({X(fraction), f.Y0}, {X(fraction), f.Y1}); }
    void HLine(TFigure& out, double fraction) const { out.AddLine({f.X0, Y(fraction)}, {f.X1, Y(fraction)}); }

    // The box of look 8's circles: the centre pixel and `rx`, `ry` to each side.
    void Ellipse(TFigure& out, double cx, double cy, std::int32_t rx, std::int32_t ry) const {
        const std::int32_t x = X(cx), y = Y(cy);
        out.AddCircleBox(x - rx, y - ry, x + rx + 1, y + ry + 1);
    }
};

}  // namespace

void BuildOwnFigure(const TUserFigure& figure, const TFigureInput& in, TFigure& out) {
    const TFrame f = OrientationFrame(in);
    const TPlacer at{f, in};
    for (const TFigureStep& step : figure.steps) {
        switch (step.kind) {
        case TFigureStepKind::Frame: AddFrame(out, f); break;
        case TFigureStepKind::VLine: at.VLine(out, step.a); break;
        case TFigureStepKind::HLine: at.HLine(out, step.a); break;
        case TFigureStepKind::Line: out.AddLine({at.X(step.a), at.Y(step.b)}, {at.X(step.c), at.Y(step.d)}); break;
        case TFigureStepKind::Diagonals:
            out.AddLine({f.X0, f.Y0}, {f.X1, f.Y1});
            out.AddLine({f.X0, f.Y1}, {f.X1, f.Y0});
            break;
        case TFigureStepKind::Columns:
            for (std::int32_t k = 1; k < step.count; ++k) at.VLine(out, static_cast<double>(k) / step.count);
            break;
        case TFigureStepKind::Rows:
            for (std::int32_t k = 1; k < step.count; ++k) at.HLine(out, static_cast<double>(k) / step.count);
            break;
        case TFigureStepKind::Circle: {
            const std::int32_t r = RoundToInt(step.c * std::min(in.Width, in.Height));
            at.Ellipse(out, step.a, step.b, r, r);
            break;
        }
        case TFigureStepKind::Ellipse:
            at.Ellipse(out, step.a, step.b, RoundToInt(step.c * in.Width), RoundToInt(step.d * in.Height));
            break;
        case TFigureStepKind::Look: {
            TFigureInput look = in;
            look.LookMode = TLook{step.count};
            look.OwnFigure = nullptr;  // the reader allows no inclusion of a figure file
            BuildFigure(look, out);
            break;
        }
        }
    }
}

bool DrawsGrid(const TFigureInput& in) {
    if (!in.OwnFigure) return in.LookMode == TLook::Grid;
    return std::any_of(in.OwnFigure->steps.begin(), in.OwnFigure->steps.end(), [](const TFigureStep& step) {
        return step.kind == TFigureStepKind::Look && TLook{step.count} == TLook::Grid;
    });
}

TOwnFigureMarks OwnFigureMarks(const TUserFigure& figure, const TFigureInput& in) {
    TOwnFigureMarks m;
    for (const TFigureStep& step : figure.steps) {
        switch (step.kind) {
        case TFigureStepKind::VLine: Keep(m.across, step.a, in.Width); break;
        case TFigureStepKind::HLine: Keep(m.down, step.a, in.Height); break;
        case TFigureStepKind::Columns:
            for (std::int32_t k = 1; k < step.count; ++k) Keep(m.across, static_cast<double>(k) / step.count, in.Width);
            break;
        case TFigureStepKind::Rows:
            for (std::int32_t k = 1; k < step.count; ++k) Keep(m.down, static_cast<double>(k) / step.count, in.Height);
            break;
        case TFigureStepKind::Look:
            if (std::find(m.looks.begin(), m.looks.end(), TLook{step.count}) == m.looks.end())
                m.looks.push_back(TLook{step.count});
            break;
        default: break;
        }
    }
    SortOnce(m.across);
    SortOnce(m.down);
    return m;
}

}  // namespace ratiscope
