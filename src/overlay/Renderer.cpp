// The paint pass: one complete redraw per paint, in a fixed order, so the
// chrome always covers whatever lines reach into the caption strip or under
// the grip, and nothing of an earlier picture survives.
#include "overlay/Renderer.h"

#include <string>

#include "base/Product.h"
#include "overlay/OverlaySize.h"
#include "overlay/SectionGeometry.h"
#include "overlay/ValueLabels.h"
#include "settings/FigureLibrary.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"

namespace ratiscope {

namespace {

void DrawFigure(ICanvas& canvas, const TFigure& fig) {
    for (const TPrimitive& p : fig.primitives) {
        const auto pts = fig.PointsOf(p);
        if (pts.empty()) continue;
        if (p.kind == TPrimitiveKind::Circle) {
            if (pts.size() == 2) canvas.Ellipse({pts[0].x, pts[0].y, pts[1].x, pts[1].y});
            continue;
        }
        // Lines and polylines alike: the pen continues, so joints are drawn once.
        canvas.MoveTo(pts[0].x, pts[0].y);
        for (const TPoint& q : pts.subspan(1)) canvas.LineTo(q.x, q.y);
    }
}

// The caption names what is drawn: a figure of the user's own by its title.
std::string LookName(const TSettings& s) {
    if (const TFigureEntry* own = FigureLibrary().Find(s.Figure)) return own->title;
    if (!IsBuiltInLook(s.LookMode)) return {};
    return LangString(BuiltInLook(s.LookMode).key);
}

void DrawChrome(ICanvas& canvas, const TSettings& s, const TOverlayIcons& icons, bool active, TSize window) {
    canvas.DrawIcon(icons.TLCorner, 0, 0);
    // The first tile is drawn even when the window is too narrow for it; the
    // button strip then covers part of it.
    std::int32_t x = 16;
    do {
        canvas.DrawIcon(icons.Caption, x, 0);
        x += 32;
    } while (x <= window.width - 64);
    canvas.SetTextColor(active ? kChromeGrey : kInactiveCaptionGrey);
    canvas.SetFontAngle(0);
    const std::string name = LookName(s);
    canvas.DrawIcon(icons.TRCorner, window.width - 64, 0);
    canvas.DrawIcon(icons.BRCorner, window.width - 24, window.height - 24);
    canvas.DrawTextInBox(std::string(kProductName) + " - " + name, {14, 1, window.width - 64, 15},
                         tfLeft | tfVCenter | tfEndEllipsis);
}

}  // namespace

void ComposeImage(ICanvas& canvas, const TSettings& s, const TOverlayIcons& icons, bool active) {
    ComposeImage(canvas, s, icons, active, OverlayWindowSize(s));
}

void ComposeImage(ICanvas& canvas, const TSettings& s, const TOverlayIcons& icons, bool active, TSize window) {
    canvas.Resize(window.width, window.height);
    // Sizes the setters never produce leave nothing to paint on.
    if (window.width <= 0 || window.height <= 0) return;
    canvas.FillRect({0, 0, window.width, window.height}, kOverlayKeyColor);
    DrawSections(canvas, s);
    if (s.SFrame) DrawChrome(canvas, s, icons, active, window);
}

void DrawSections(ICanvas& canvas, const TSettings& s) {
    canvas.SetTextColor(VisibleColor(s.ValuesColor, kOverlayKeyColor));
    canvas.SetPenColor(VisibleColor(s.LinesColor, kOverlayKeyColor));
    const TFigureInput in = FigureInputFrom(s);
    DrawFigure(canvas, BuildFigure(in));
    if (s.ShowValues) DrawValueLabels(canvas, in, LanguageTable());
}

void DrawOrientMark(ICanvas& canvas, const TSettings& s, std::int32_t windowWidth) {
    if (!s.SFrame) return;
    const std::int32_t xr = windowWidth - 64;
    canvas.SetPenColor(kChromeGrey);
    switch (s.OrientMode) {
    case TOrientation::TopLeft:
        canvas.MoveTo(xr + 5, 10);
        canvas.LineTo(xr + 5, 5);
        canvas.LineTo(xr + 10, 5);
        break;
    case TOrientation::TopRight:
        canvas.MoveTo(xr + 5, 5);
        canvas.LineTo(xr + 10, 5);
        canvas.LineTo(xr + 10, 11);
        break;
    case TOrientation::BottomRight:
        canvas.MoveTo(xr + 10, 5);
        canvas.LineTo(xr + 10, 10);
        canvas.LineTo(xr + 5, 10);
        break;
    default:
        canvas.MoveTo(xr + 10, 10);
        canvas.LineTo(xr + 5, 10);
        canvas.LineTo(xr + 5, 4);
        break;
    }
}

}  // namespace ratiscope
