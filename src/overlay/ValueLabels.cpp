// Label placement follows the figure's own arithmetic (truncating division,
// banker's rounding, the same chains and caps), so every number sits on the
// line it names in every orientation.
#include "overlay/ValueLabels.h"

#include <cstdlib>
#include <string_view>

#include "base/Numbers.h"
#include "overlay/DiagonalLooks.h"
#include "overlay/OverlaySize.h"
#include "overlay/OwnFigure.h"
#include "platform/Canvas.h"
#include "settings/Format.h"
#include "settings/LangTable.h"

namespace ratiscope {

namespace {

std::string Decimal(std::int32_t v) {
    return std::to_string(v);
}

// "Centred over x" texts go through a zero-width box, so the canvas's own
// centring rule places them, exactly as it places every other boxed text.
void CentredBottomAt(ICanvas& canvas, std::int32_t x, std::int32_t bottom, std::string_view s) {
    canvas.DrawTextInBox(s, {x, bottom, x, bottom}, tfCenter | tfBottom);
}

void CentredTopAt(ICanvas& canvas, std::int32_t x, std::int32_t top, std::string_view s) {
    canvas.DrawTextInBox(s, {x, top, x, top}, tfCenter | tfTop);
}

std::int32_t TextWidth(ICanvas& canvas, std::string_view s) {
    return canvas.MeasureText(s).width;
}

// Turned text runs upward from its start, so centring it on y starts it half its width lower.
void TurnedCentredOn(ICanvas& canvas, std::int32_t x, std::int32_t y, const std::string& s) {
    canvas.TextOut(x, y + TextWidth(canvas, s) / 2, s);
}

}  // namespace

std::string RatioSequenceText(std::int32_t length, double r) {
    std::string s = Decimal(RoundToInt(length / r));
    std::int32_t v = length;
    int n = 0;
    do {
        s += ',';
        s += Decimal(v);
        v = RoundToInt(v * r);
        ++n;
    } while (n <= 20 && v >= 2);
    return s;
}

void DrawSizeLabel(ICanvas& canvas, const TFigureInput& in, const TLangTable& texts) {
    canvas.SetFontAngle(0);
    canvas.TextOut(in.Border + 3, in.Border + in.Height + 17,
                   FormatOrTemplate(texts.Lookup("MWidthHeight"), {in.Width, in.Height}));
}

void DrawGridLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    // The loops advance by the grid pitch; the settings keep it at 3 or more.
    if (in.GridSize < 1) return;
    canvas.SetFontAngle(0);
    std::int32_t i = 0, last = 0;
    do {
        i += in.GridSize;
        if (i - last > 18) {
            const std::int32_t x = f.X0 + last * f.DX;
            if (x > in.Border + 8) CentredBottomAt(canvas, x, in.Border + 17, Decimal(last));
            last = i;
        }
    } while (i < in.Width);

    canvas.TextOut(in.Border + 3, in.Border + in.Height + 17,
                   FormatOrTemplate(texts.Lookup("MGridSize"), {in.GridSize}));

    canvas.SetFontAngle(90);
    std::int32_t j = 0;
    last = 0;
    do {
        j += in.GridSize;
        if (j - last > 18) {
            TurnedCentredOn(canvas, in.Border - 11, f.Y0 + last * f.DY, Decimal(last));
            last = j;
        }
    } while (j < in.Height);
}

void DrawRatioLineLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r) {
    // Position labels go above and to the left, each only when the gap to the
    // last one drawn is wider than its text; spacing labels go between lines.
    canvas.SetFontAngle(0);
    std::int32_t lastLabel = in.Width + 100, prev = in.Width, v = in.Width;
    int n = 0;
    do {
        const std::string s = Decimal(v);
        if (lastLabel - v > TextWidth(canvas, s)) {
            const std::int32_t x = f.X0 + v * f.DX;
            if (x > in.Border + 8) {
                CentredBottomAt(canvas, x, in.Border + 17, s);
                lastLabel = v;
            }
        }
        const std::string s2 = Decimal(prev - v);
        if (prev - v > TextWidth(canvas, s2)) {
            CentredTopAt(canvas, f.X0 + (prev + v) / 2 * f.DX, in.Border + kCaptionHeight + in.Height, s2);
            lastLabel = v;
        }
        prev = v;
        v = RoundToInt(v * r);
        ++n;
    } while (n <= 100 && v >= in.GridSize);

    canvas.SetFontAngle(90);
    lastLabel = in.Height + 100;
    prev = in.Height;
    v = in.Height;
    n = 0;
    do {
        const std::string s = Decimal(v);
        const std::int32_t w = TextWidth(canvas, s);
        if (lastLabel - v > w) {
            const std::int32_t y = f.Y0 + v * f.DY;
            if (y > in.Border + 8) {
                canvas.TextOut(in.Border - 11, y + w / 2, s);
                lastLabel = v;
            }
        }
        const std::string s2 = Decimal(prev - v);
        const std::int32_t w2 = TextWidth(canvas, s2);
        if (prev - v > w2) canvas.TextOut(in.Border + in.Width, f.Y0 + (prev + v) / 2 * f.DY + w2 / 2, s2);
        prev = v;
        v = RoundToInt(v * r);
        ++n;
    } while (n <= 100 && v >= in.GridSize);
}

void DrawHalfLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f) {
    // For an odd size the first half is the smaller one.
    canvas.SetFontAngle(0);
    const std::string left = Decimal(in.Width / 2);
    canvas.TextOut(f.CX - in.Width / 4 - TextWidth(canvas, left) / 2, in.Border + 6, left);
    const std::string right = Decimal(in.Width - in.Width / 2);
    canvas.TextOut(f.CX + in.Width / 4 - TextWidth(canvas, right) / 2, in.Border + 6, right);

    canvas.SetFontAngle(90);
    TurnedCentredOn(canvas, in.Border - 11, f.CY - in.Height / 4, Decimal(in.Height / 2));
    TurnedCentredOn(canvas, in.Border - 11, f.CY + in.Height / 4, Decimal(in.Height - in.Height / 2));
}

void DrawSequenceLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r) {
    canvas.SetFontAngle(0);
    const std::string s1 = RatioSequenceText(in.Width, r);
    const TSize m = canvas.MeasureText(s1);
    const std::int32_t x = f.DX > 0 ? f.X0 + 2 : f.X0 - 2 - m.width;
    const std::int32_t y = f.DY > 0 ? f.Y0 + 2 : f.Y0 - 2 - 2 * m.height;
    canvas.TextOut(x, y, s1);
    // The second line keeps the first one's x, so both start together.
    canvas.TextOut(x, y + m.height, RatioSequenceText(in.Width / 2, r));
}

void DrawFarSequenceLabel(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r) {
    canvas.SetFontAngle(0);
    const std::string s = RatioSequenceText(in.Width / 2, r);
    const TSize m = canvas.MeasureText(s);
    const std::int32_t x = f.DX < 0 ? f.X1 + 2 : f.X1 - 2 - m.width;
    const std::int32_t y = f.DY < 0 ? f.Y1 + 2 : f.Y1 - 2 - m.height;
    canvas.TextOut(x, y, s);
}

void DrawSpacingLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, double r) {
    // The last label drawn is the first one that no longer fits its gap.
    canvas.SetFontAngle(0);
    std::int32_t a = RoundToInt(in.Width * r * r * r * r);
    int n = 0;
    do {
        const std::int32_t b = RoundToInt(a * r);
        const std::string s = Decimal(a - b);
        const std::int32_t w = TextWidth(canvas, s);
        canvas.TextOut(in.Border + b + 1 + (a - b) / 2 - w / 2, f.CY, s);
        if (a - b < w) break;
        a = b;
        ++n;
    } while (n <= 50 && a >= in.GridSize);
}

void DrawCanonLabels(ICanvas& canvas, const TFigureInput& in, const TCanon& canon) {
    // CX div 2 is half the window coordinate, not a page centre: the labels
    // sit where the two-page layout puts its left page's margins.
    const TFrame& f = canon.frame;
    const std::int32_t ux = canon.ux, uy = canon.uy;
    canvas.SetFontAngle(0);
    canvas.TextOut(f.CX / 2, f.Y0 + uy / 2 - 5, Decimal(uy) + "x1=" + Decimal(uy));
    canvas.TextOut(f.CX / 2 + 5, f.CY + 1,
                   "(" + Decimal(uy) + "x6=" + Decimal(6 * uy) + ")x(" + Decimal(ux) + "x6=" + Decimal(6 * ux) + ")");
    canvas.TextOut(f.CX / 2, f.Y1 - uy - 5, Decimal(uy) + "x2=" + Decimal(2 * uy));
    canvas.SetFontAngle(90);
    canvas.TextOut(in.Border + ux - 5, f.CY - 2, Decimal(ux) + "x2=" + Decimal(2 * ux));
}

namespace {

// Two distances from the origin edge, each named where its line meets the
// edge: above the rectangle (horizontal) or upward in the left margin, as the
// ratio lines' positions are. The second is left out when it would overlap
// the first.
void DrawEdgePositions(ICanvas& canvas, const TFigureInput& in, const TFrame& f, std::int32_t a, std::int32_t b,
                       bool horizontal) {
    canvas.SetFontAngle(horizontal ? 0 : 90);
    bool first = true;
    for (const std::int32_t v : {a, b}) {
        const std::string s = Decimal(v);
        const std::int32_t w = TextWidth(canvas, s);
        if (!first && std::abs(b - a) <= w) return;
        first = false;
        if (horizontal)
            CentredBottomAt(canvas, f.X0 + v * f.DX, in.Border + 17, s);
        else
            canvas.TextOut(in.Border - 11, f.Y0 + v * f.DY + w / 2, s);
    }
}

}  // namespace

void DrawTriangleLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f) {
    const TTriangleFeet feet = GoldenTriangleFeet(in.Width, in.Height);
    DrawEdgePositions(canvas, in, f, feet.x1, feet.x2, true);
    DrawEdgePositions(canvas, in, f, feet.y1, feet.y2, false);
}

void DrawDiagonalLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f) {
    const std::int32_t m = DiagonalReach(in.Width, in.Height);
    // A landscape rectangle's 45-degree lines meet the top and bottom sides, a portrait one's the left and right.
    if (in.Width >= in.Height)
        DrawEdgePositions(canvas, in, f, m, in.Width - m, true);
    else
        DrawEdgePositions(canvas, in, f, m, in.Height - m, false);
}

namespace {

// Each look's label set, in the look's order; every group sets its font angle first.
void LabelsGrid(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    DrawGridLabels(canvas, in, f, texts);
}

void LabelsRatioSequence(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable&) {
    DrawRatioLineLabels(canvas, in, f, WorkingRatio(in.Ratio).r);
}

void LabelsHalvesAndChains(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    DrawSizeLabel(canvas, in, texts);
    DrawHalfLabels(canvas, in, f);
    DrawSequenceLabels(canvas, in, f, WorkingRatio(in.Ratio).r);
}

void LabelsSize(ICanvas& canvas, const TFigureInput& in, const TFrame&, const TLangTable& texts) {
    DrawSizeLabel(canvas, in, texts);
}

void LabelsHalvesAndFarChain(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    DrawSizeLabel(canvas, in, texts);
    DrawHalfLabels(canvas, in, f);
    DrawFarSequenceLabel(canvas, in, f, WorkingRatio(in.Ratio).r);
}

void LabelsFarChain(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable&) {
    DrawFarSequenceLabel(canvas, in, f, WorkingRatio(in.Ratio).r);
}

void LabelsSizeAndHalves(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    DrawSizeLabel(canvas, in, texts);
    DrawHalfLabels(canvas, in, f);
}

void LabelsNestedFrames(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    DrawSizeLabel(canvas, in, texts);
    DrawSpacingLabels(canvas, in, f, WorkingRatio(in.Ratio).r);
}

void LabelsPageCanon(ICanvas& canvas, const TFigureInput& in, const TFrame&, const TLangTable& texts) {
    // The page canon's own frame: with a one-page layout its centre is the page's right edge.
    const TCanon canon = CanonFrame(in);
    DrawSizeLabel(canvas, in, texts);
    DrawCanonLabels(canvas, in, canon);
    DrawHalfLabels(canvas, in, canon.frame);
}

void LabelsGoldenTriangles(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    DrawSizeLabel(canvas, in, texts);
    DrawTriangleLabels(canvas, in, f);
}

void LabelsDiagonalMethod(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    DrawSizeLabel(canvas, in, texts);
    DrawDiagonalLabels(canvas, in, f);
}

using TLabelsFunction = void (*)(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts);

constexpr TLabelsFunction kLabels[] = {
#define RATISCOPE_LOOK_LABELS(id, key, english, figure, labels, cycle) labels,
    RATISCOPE_BUILT_IN_LOOKS(RATISCOPE_LOOK_LABELS)
#undef RATISCOPE_LOOK_LABELS
};

}  // namespace

void DrawOwnFigureLabels(ICanvas& canvas, const TFigureInput& in, const TFrame& f, const TLangTable& texts) {
    if (!in.OwnFigure) return;
    const TOwnFigureMarks marks = OwnFigureMarks(*in.OwnFigure, in);
    // An included look brings its own labels, the size among them.
    if (marks.looks.empty()) DrawSizeLabel(canvas, in, texts);
    for (const TLook look : marks.looks) {
        if (!IsBuiltInLook(look)) continue;
        TFigureInput included = in;
        included.LookMode = look;
        included.OwnFigure = nullptr;
        kLabels[static_cast<std::size_t>(LookNumber(look))](canvas, included, f, texts);
    }
    // As the ratio lines are labelled: above and to the left, each only where
    // the gap to the last one drawn is wider than its text.
    if (marks.across.empty() && marks.down.empty()) return;
    const auto label = [&](const std::vector<std::int32_t>& distances, std::int32_t origin, std::int32_t direction,
                           auto&& draw) {
        std::int32_t last = 0;
        for (const std::int32_t d : distances) {
            const std::string s = Decimal(d);
            const std::int32_t at = origin + d * direction;
            if (d - last > TextWidth(canvas, s) && at > in.Border + 8) {
                draw(at, s);
                last = d;
            }
        }
    };
    canvas.SetFontAngle(0);
    label(marks.across, f.X0, f.DX,
          [&](std::int32_t x, const std::string& s) { CentredBottomAt(canvas, x, in.Border + 17, s); });
    canvas.SetFontAngle(90);
    label(marks.down, f.Y0, f.DY,
          [&](std::int32_t y, const std::string& s) { TurnedCentredOn(canvas, in.Border - 11, y, s); });
}

void DrawValueLabels(ICanvas& canvas, const TFigureInput& in, const TLangTable& texts) {
    if (in.OwnFigure) {
        DrawOwnFigureLabels(canvas, in, OrientationFrame(in), texts);
        return;
    }
    if (!IsBuiltInLook(in.LookMode)) return;
    kLabels[static_cast<std::size_t>(LookNumber(in.LookMode))](canvas, in, OrientationFrame(in), texts);
}

}  // namespace ratiscope
