// The panel's caption strip: composing it, the hover highlight of its two
// buttons, dragging the panel by it, and keeping the panel reachable.
#include <algorithm>

#include "overlay/OverlaySize.h"
#include "panel/SettingsFrm.h"
#include "overlay/WindowPlacement.h"
#include "platform/Canvas.h"
#include "platform/Image.h"
#include "settings/LangTable.h"

namespace ratiscope {

namespace {

constexpr std::int32_t kCornerWidth = 37;  // ZTRCORNER2 with the help and close buttons
constexpr std::int32_t kHelpLeft = 33;     // hot spots, counted from the right edge
constexpr std::int32_t kCloseLeft = 12;
constexpr TColor kWhite = 16777215;
constexpr TColor kFaceColor = 15790320;  // light grey under the controls
constexpr TColor kPureRed = 255;

}  // namespace

bool TSettingsForm::IsOverButton(std::int32_t x, std::int32_t y, std::int32_t left) {
    return left <= x && x < left + 8 && 4 <= y && y < 12;
}

std::int32_t TSettingsForm::ClientWidth() const { return window_ ? window_->ClientSize().width : 0; }

void TSettingsForm::FormPaint() {
    if (!window_) return;
    const TSize size = window_->ClientSize();
    const std::int32_t w = size.width;
    // Key-coloured all over to begin with: the strip's shaped ends stay see-through.
    ICanvas& canvas = window_->NewPicture();
    // The controls cover everything below the strip. The window shows pixels
    // and takes clicks by the picture's key colour, so the picture must not be
    // key-coloured there, or the controls would vanish with it.
    canvas.FillRect({0, kCaptionHeight, size.width, size.height}, kFaceColor);
    canvas.DrawIcon(icons_.TLCorners, 0, 0);
    for (std::int32_t x = 16; x <= w - kCornerWidth; x += 32) canvas.DrawIcon(icons_.Caption, x, 0);
    canvas.SetTextColor(window_->IsActive() ? kChromeGrey : kInactiveCaptionGrey);
    canvas.SetFontAngle(0);
    canvas.DrawTextInBox(LangString("MSCaption"), {14, 1, w - kCornerWidth, 15}, tfVCenter | tfEndEllipsis);
    // After the band, so the corner covers any overlap of the last tile.
    canvas.DrawIcon(icons_.TRCorner2, w - kCornerWidth, 0);
    window_->FlushSurface();
}

void TSettingsForm::RedrawButtons() {
    ICanvas& surface = window_->Surface();
    surface.DrawIcon(icons_.TRCorner2, ClientWidth() - kCornerWidth, 0);
}

void TSettingsForm::HighlightButton(std::int32_t start, TColor fill) {
    // The face is bounded by the buttons' grey outline and glyph, so the fill
    // stays inside the face and leaves the glyph standing.
    RedrawButtons();
    window_->Surface().FloodFill(start, 4, kChromeGrey, fill);
    window_->FlushSurface();
    FButtonLit = true;
    window_->SetCursor(TCursor::HandPoint);
}

void TSettingsForm::FormMouseMove(TShiftState, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    const std::int32_t w = ClientWidth();
    if (IsOverButton(x, y, w - kHelpLeft)) {
        HighlightButton(w - kHelpLeft, kWhite);
        window_->SetHint(LangString("MHelpButtonHint"));
        return;
    }
    if (IsOverButton(x, y, w - kCloseLeft)) {
        HighlightButton(w - kCloseLeft, kPureRed);
        window_->SetHint(LangString("MSCloseButtonHint"));
        return;
    }
    window_->SetCursor(TCursor::Default);
    window_->SetHint("");
    window_->CancelHint();
    if (FButtonLit) {
        RedrawButtons();
        window_->FlushSurface();
        FButtonLit = false;
    } else if (FDragging) {
        // The window moves with the mouse, so the start point stays where it was.
        window_->Move(PlaceableCoordinate(std::int64_t{window_->Left()} + x - FDragOrigin.X),
                      PlaceableCoordinate(std::int64_t{window_->Top()} + y - FDragOrigin.Y));
    }
}

void TSettingsForm::FormMouseDown(TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    const std::int32_t w = ClientWidth();
    if (IsOverButton(x, y, w - kHelpLeft)) {
        if (services_.openManual) services_.openManual();
        return;
    }
    if (IsOverButton(x, y, w - kCloseLeft)) return;  // the release hides the panel
    FDragging = true;
    FDragOrigin = {x, y};
    FCaptured = true;
    window_->CaptureMouse();
}

void TSettingsForm::FormMouseUp(TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    if (FCaptured) {
        FCaptured = false;
        window_->ReleaseMouse();
    }
    // A drag ends with every release, also one over a button: a drag left
    // running would move the panel with the bare mouse once it shows again.
    FDragging = false;
    const std::int32_t w = ClientWidth();
    if (IsOverButton(x, y, w - kHelpLeft)) return;
    if (IsOverButton(x, y, w - kCloseLeft)) {
        window_->Hide();
        return;
    }
    KeepOnScreen();
}

void TSettingsForm::KeepOnScreen() {
    if (!window_) return;
    const TRect work = services_.windows.WorkAreaNear(*window_);
    std::int32_t left = window_->Left();
    std::int32_t top = window_->Top();
    const std::int32_t width = ClientWidth();
    if (top < work.top) top = work.top;
    if (left >= work.right - 32) left = work.right - 32;
    if (top >= work.bottom - kCaptionHeight) top = work.bottom - kCaptionHeight;
    if (left + width <= work.left + 64) left = work.left + 64 - width;
    if (left != window_->Left() || top != window_->Top()) window_->Move(left, top);
}

void TSettingsForm::FormActivate() {
    KeepOnScreen();
    RequestRepaint();  // the title turns grey
}

void TSettingsForm::FormDeactivate() { RequestRepaint(); }

}  // namespace ratiscope
