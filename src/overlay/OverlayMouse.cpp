// The overlay's mouse: caption buttons with hover feedback, move and resize
// drags with the aspect lock, clicks that switch look and orientation, and the wheel.
#include <cstdint>
#include <optional>

#include "overlay/MainFrm.h"
#include "overlay/OverlayZones.h"
#include "overlay/OwnFigure.h"
#include "platform/Canvas.h"
#include "settings/LangTable.h"
#include "settings/Looks.h"
#include "settings/Settings.h"

namespace ratiscope {

namespace {

int ButtonIndex(TZone zone) {
    for (int i = 0; i < kButtonCount; ++i)
        if (kButtons[i].zone == zone) return i;
    return -1;
}

// Orientation and look switch on a right or middle press; the state set, not
// the pressed button, decides, as the platform reports it.
bool SwitchesByState(TShiftState state, bool& orient) {
    if (state & ssRight) {
        orient = true;
        return true;
    }
    if (state & ssMiddle) {
        orient = false;
        return true;
    }
    return false;
}

}  // namespace

void TMainForm::FormMouseDown(TMouseButton button, TShiftState state, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    const TSize size = window_->ClientSize();
    const TZone zone = ZoneAt(x, y, size.width, size.height, true);
    const bool left = button == TMouseButton::Left;
    auto capture = [&] {
        anchorX_ = x;
        anchorY_ = y;
        captured_ = true;
        window_->CaptureMouse();
    };

    switch (zone) {
    case TZone::TopLeftGrip:
        if (settings_.MouseResizeAllowed) {
            dragMode_ = left ? dmTopLeft : dmTopLeftCentred;
            services_.windows.SetOverrideCursor(TCursor::SizeNWSE);
        } else {
            moving_ = true;
        }
        capture();
        return;
    case TZone::BottomRightGrip:
        if (settings_.MouseResizeAllowed) {
            services_.windows.SetOverrideCursor(TCursor::SizeNWSE);
            dragMode_ = left ? dmBottomRight : dmBottomRightCentred;
        } else if (settings_.MoveUsingGrid) {
            moving_ = true;
        }
        capture();
        return;
    case TZone::Caption: {
        if (left) {
            moving_ = true;
            capture();
        }
        bool orient = false;
        if (SwitchesByState(state, orient)) orient ? ActionOrientExecute() : ActionLookExecute();
        return;
    }
    case TZone::Body: {
        if (left) {
            if (settings_.MoveUsingGrid) moving_ = true;
            capture();
        }
        if (!settings_.MoveUsingGrid) return;
        bool orient = false;
        if (SwitchesByState(state, orient)) orient ? ActionOrientExecute() : ActionLookExecute();
        return;
    }
    default:
        return;  // the buttons act on release
    }
}

void TMainForm::HighlightButton(int button) {
    ICanvas& surface = window_->Surface();
    const std::int32_t w = window_->ClientSize().width;
    surface.DrawIcon(icons_.TRCorner, w - 64, 0);  // wipes an earlier highlight
    DrawOrientMarkOnWindow();
    const TButtonInfo& info = kButtons[button];
    surface.FloodFill(w - info.offsetFromRight, kButtonTop, kChromeGrey, info.hoverFill);
    window_->FlushSurface();
    highlighted_ = true;
    window_->SetCursor(TCursor::HandPoint);
    window_->SetHint(LangString(info.hintKey));
}

void TMainForm::RemoveHighlight() {
    window_->Surface().DrawIcon(icons_.TRCorner, window_->ClientSize().width - 64, 0);
    DrawOrientMarkOnWindow();
    window_->FlushSurface();
    highlighted_ = false;
}

void TMainForm::FormMouseMove(TShiftState, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    if (dragMode_ != dmNone) {
        ResizeDrag(x, y);
        return;
    }
    const TSize size = window_->ClientSize();
    const TZone zone = ZoneAt(x, y, size.width, size.height, false);
    if (const int button = ButtonIndex(zone); button >= 0) {
        HighlightButton(button);
        return;  // a move drag pauses over a button
    }
    if (zone == TZone::TopLeftGrip || zone == TZone::BottomRightGrip) {
        if (settings_.MouseResizeAllowed) window_->SetCursor(TCursor::SizeNWSE);
        return;
    }
    window_->SetCursor(TCursor::Default);
    if (highlighted_) RemoveHighlight();
    if (moving_) {
        MoveWindow(std::int64_t{window_->Left()} + x - anchorX_, std::int64_t{window_->Top()} + y - anchorY_);
    } else {
        window_->SetHint({});
        window_->CancelHint();
    }
}

void TMainForm::ResizeDrag(std::int32_t x, std::int32_t y) {
    const std::int32_t left = window_->Left();
    const std::int32_t top = window_->Top();
    const std::optional<TDragStep> step =
        DragTo({dragMode_, anchorX_, anchorY_, left, top, settings_.Border, settings_.SizeState()}, x, y);
    if (!step) return;
    anchorX_ = step->anchorX;
    anchorY_ = step->anchorY;
    // One refresh for the step, once the window is placed, so one drag step
    // shows one finished frame.
    TSettingsChange change(settings_);
    settings_.SetSize(step->width, step->height);
    if (step->left != left || step->top != top) MoveWindow(step->left, step->top);
    change.Refresh(kUpdateSize);
}

void TMainForm::FormMouseUp(TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    services_.windows.ResetOverrideCursor();
    if (captured_) {
        captured_ = false;
        window_->ReleaseMouse();
    }
    dragMode_ = dmNone;
    moving_ = false;
    if (const int button = ButtonAt(x, y, window_->ClientSize().width); button >= 0) {
        RunButtonCommand(button);
        return;
    }
    KeepOnScreen();
}

void TMainForm::RunButtonCommand(int button) {
    switch (kButtons[button].zone) {
    case TZone::OrientButton: ActionOrientExecute(); break;
    case TZone::LookButton: ActionLookExecute(); break;
    case TZone::SettingsButton: ActionShowSettingsExecute(); break;
    case TZone::HelpButton:
        if (services_.openManual) services_.openManual();
        break;
    case TZone::MinimizeButton: ActionMinimizeExecute(); break;
    case TZone::CloseButton: ActionExitExecute(); break;
    default: break;
    }
}

void TMainForm::FormMouseWheel(TShiftState state, std::int32_t delta) {
    if (!settings_.MouseWheelAllowed) return;
    TSettings& s = settings_;
    const std::int32_t sign = (delta > 0) - (delta < 0);
    auto resizeLeading = [&](std::int32_t step) { s.SetLeadingSide(s.Width - step, s.Height - step); };
    // Exact sets only: a held mouse button or a second modifier falls through to the last rule.
    if (state == ssAlt) {
        s.SetOpacity(s.Opacity + delta / 15);  // refused as a whole outside 0..100
        UpdateOpacity();
    } else if (state == ssCtrl) {
        resizeLeading(sign);
    } else if (state == ssShift) {
        if (DrawsGrid(FigureInputFrom(s))) {
            s.SetGridSize(s.GridSize + sign);
            if (window_) window_->Invalidate();
        }
    } else {
        resizeLeading(10 * sign);
    }
}

}  // namespace ratiscope
