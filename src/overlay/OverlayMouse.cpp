// The overlay's mouse: caption buttons with hover feedback, move and resize
// drags with the aspect lock, clicks that switch look and orientation, and the wheel.
#include <cstdint>

#include "overlay/MainFrm.h"
#include "overlay/OverlaySize.h"
#include "overlay/OverlayZones.h"
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
        FAnchorX = x;
        FAnchorY = y;
        FCaptured = true;
        window_->CaptureMouse();
    };

    switch (zone) {
    case TZone::TopLeftGrip:
        if (Settings.MouseResizeAllowed) {
            FDragMode = left ? dmTopLeft : dmTopLeftCentred;
            services_.windows.SetOverrideCursor(TCursor::SizeNWSE);
        } else {
            FMoving = true;
        }
        capture();
        return;
    case TZone::BottomRightGrip:
        if (Settings.MouseResizeAllowed) {
            services_.windows.SetOverrideCursor(TCursor::SizeNWSE);
            FDragMode = left ? dmBottomRight : dmBottomRightCentred;
        } else if (Settings.MoveUsingGrid) {
            FMoving = true;
        }
        capture();
        return;
    case TZone::Caption: {
        if (left) {
            FMoving = true;
            capture();
        }
        bool orient = false;
        if (SwitchesByState(state, orient)) orient ? ActionOrientExecute() : ActionLookExecute();
        return;
    }
    case TZone::Body: {
        if (left) {
            if (Settings.MoveUsingGrid) FMoving = true;
            capture();
        }
        if (!Settings.MoveUsingGrid) return;
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
    FHighlighted = true;
    window_->SetCursor(TCursor::HandPoint);
    window_->SetHint(LangString(info.hintKey));
}

void TMainForm::RemoveHighlight() {
    window_->Surface().DrawIcon(icons_.TRCorner, window_->ClientSize().width - 64, 0);
    DrawOrientMarkOnWindow();
    window_->FlushSurface();
    FHighlighted = false;
}

void TMainForm::FormMouseMove(TShiftState, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    if (FDragMode != dmNone) {
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
        if (Settings.MouseResizeAllowed) window_->SetCursor(TCursor::SizeNWSE);
        return;
    }
    window_->SetCursor(TCursor::Default);
    if (FHighlighted) RemoveHighlight();
    if (FMoving) {
        MoveWindow(std::int64_t{window_->Left()} + x - FAnchorX, std::int64_t{window_->Top()} + y - FAnchorY);
    } else {
        window_->SetHint({});
        window_->CancelHint();
    }
}

void TMainForm::ResizeDrag(std::int32_t x, std::int32_t y) {
    if (x == FAnchorX && y == FAnchorY) return;
    TSettings& s = Settings;
    const std::int32_t l = window_->Left();
    const std::int32_t t = window_->Top();
    std::int32_t left = l;
    std::int32_t top = t;

    // The setters below would each size and paint the window before it is
    // placed; hold that back so one drag step shows one finished frame.
    sizeDeferred_ = true;
    switch (FDragMode) {
    case dmTopLeft: {
        const std::int32_t r = l + s.Width + s.Border;
        const std::int32_t b = t + s.Height + s.Border + kCaptionHeight;
        if (s.Lock) {
            if (s.LockWidth)
                s.SetWidth(s.Width + FAnchorX - x);
            else
                s.SetHeight(s.Height + FAnchorY - y);
        } else {
            s.SetWidth(s.Width + FAnchorX - x);
            s.SetHeight(s.Height + FAnchorY - y);
        }
        left = r - s.Width - s.Border;
        top = b - s.Height - s.Border - kCaptionHeight;
        break;
    }
    case dmTopLeftCentred:
    case dmBottomRightCentred: {
        const std::int32_t cx = l + s.Border + s.Width / 2;
        const std::int32_t cy = t + s.Border + kCaptionHeight + s.Height / 2;
        if (FDragMode == dmTopLeftCentred) {
            if (s.Lock) {
                if (s.LockWidth)
                    s.SetWidth(s.Width + 2 * (FAnchorX - x));
                else
                    s.SetHeight(s.Height + 2 * (FAnchorY - y));
            } else {
                s.SetWidth(s.Width + 2 * (FAnchorX - x));
                s.SetHeight(s.Height + 2 * (FAnchorY - y));
            }
        } else if (s.Lock) {
            const std::int32_t d = s.LockWidth ? FAnchorX - x : FAnchorY - y;
            if (s.LockWidth)
                s.SetWidth(s.Width - 2 * d);
            else
                s.SetHeight(s.Height - 2 * d);
            FAnchorX -= 2 * d;
            FAnchorY -= 2 * d;
        } else {
            s.SetWidth(s.Width - 2 * (FAnchorX - x));
            s.SetHeight(s.Height - 2 * (FAnchorY - y));
            FAnchorX = 2 * x - FAnchorX;
            FAnchorY = 2 * y - FAnchorY;
        }
        left = cx - s.Width / 2 - s.Border;
        top = cy - s.Height / 2 - s.Border - kCaptionHeight;
        break;
    }
    case dmBottomRight: {
        if (s.Lock) {
            // The horizontal movement drives whichever side leads.
            const std::int32_t d = x - FAnchorX;
            if (s.LockWidth)
                s.SetWidth(s.Width + d);
            else
                s.SetHeight(s.Height + d);
            FAnchorX += d;
            FAnchorY += d;
        } else {
            s.SetWidth(s.Width + x - FAnchorX);
            s.SetHeight(s.Height + y - FAnchorY);
            FAnchorX = x;
            FAnchorY = y;
        }
        break;
    }
    default:
        break;
    }
    sizeDeferred_ = false;
    if (left != l || top != t) MoveWindow(left, top);
    UpdateSize();
}

void TMainForm::FormMouseUp(TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
    if (!window_) return;
    services_.windows.ResetOverrideCursor();
    if (FCaptured) {
        FCaptured = false;
        window_->ReleaseMouse();
    }
    FDragMode = dmNone;
    FMoving = false;
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
    if (!Settings.MouseWheelAllowed) return;
    TSettings& s = Settings;
    const std::int32_t sign = (delta > 0) - (delta < 0);
    auto resizeLeading = [&](std::int32_t step) {
        if (s.LockWidth)
            s.SetWidth(s.Width - step);
        else
            s.SetHeight(s.Height - step);
    };
    // Exact sets only: a held mouse button or a second modifier falls through to the last rule.
    if (state == ssAlt) {
        s.SetOpacity(s.Opacity + delta / 15);  // refused as a whole outside 0..100
        UpdateOpacity();
    } else if (state == ssCtrl) {
        resizeLeading(sign);
    } else if (state == ssShift) {
        if (s.LookMode == TLook::Grid) {
            s.SetGridSize(s.GridSize + sign);
            if (window_) window_->Invalidate();
        }
    } else {
        resizeLeading(10 * sign);
    }
}

}  // namespace ratiscope
