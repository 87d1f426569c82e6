// Paints the overlay's whole picture: key colour, figure, value labels, then
// the caption strip and grips on top.
#pragma once

#include "platform/Canvas.h"
#include "platform/Image.h"

namespace ratiscope {

class TSettings;

// The six caption and grip icons; the overlay window owns them, the panel borrows three.
struct TOverlayIcons {
    TIcon Caption;    // ZCAPTION, 32 x 16
    TIcon TLCorner;   // ZTLCORNER, 16 x 16
    TIcon TLCorners;  // ZTLCORNERS, 16 x 16 (panel)
    TIcon TRCorner;   // ZTRCORNER, 64 x 16: the six buttons
    TIcon TRCorner2;  // ZTRCORNER2, 37 x 16 (panel)
    TIcon BRCorner;   // ZBRCORNER, 24 x 24
};

// Resizes the canvas to the overlay window (Width + 2 Border by Height + 2 Border + 16)
// and composes the picture; `active` picks the caption text colour.
void ComposeImage(ICanvas& canvas, const TSettings& s, const TOverlayIcons& icons, bool active);
// The same into a window of `window` pixels, which a window bounded by the
// desktop makes smaller than the settings ask: the figure is cut at its edges,
// the grip and buttons stay in its corners.
void ComposeImage(ICanvas& canvas, const TSettings& s, const TOverlayIcons& icons, bool active, TSize window);

// The look's primitives in the lines colour, then its value labels when ShowValues is set.
void DrawSections(ICanvas& canvas, const TSettings& s);

// The open corner over the orientation button; drawn on the window after the
// picture is composed, and nothing while SFrame is off.
void DrawOrientMark(ICanvas& canvas, const TSettings& s, std::int32_t windowWidth);

}  // namespace ratiscope
