// The overlay window's life: creation, the refresh operations the settings
// call, activation, keeping it on screen, its six commands and closing.
#include "overlay/MainFrm.h"

#include "overlay/WindowPlacement.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "base/Numbers.h"
#include "base/Product.h"
#include "overlay/FitToWindow.h"
#include "overlay/OverlaySize.h"
#include "platform/Canvas.h"
#include "settings/FigureLibrary.h"
#include "settings/Settings.h"

namespace ratiscope {

namespace {
constexpr TColor kHintColor = 13564415;  // RGB(255, 249, 206)
}  // namespace

TMainForm::TMainForm(TSettings& settings, TMainFormServices services)
    : settings_(settings), services_(std::move(services)) {}

TMainForm::~TMainForm() {
    if (settings_.Overlay == this) settings_.Overlay = nullptr;
    services_.windows.SetApplicationEvents(nullptr);
}

void TMainForm::FormCreate() {
    IWindowSystem& ws = services_.windows;
    ws.SetApplicationTitle(kProductName);
    ws.SetApplicationEvents(this);

    // A missing icon only leaves a gap in the chrome; the window works without it.
    try {
        if (services_.loadIcons) icons_ = services_.loadIcons();
    } catch (const std::exception&) {
        icons_ = {};
    }

    highlighted_ = false;
    moving_ = false;
    dragMode_ = dmNone;
    captured_ = false;

    // Nothing may show before the real geometry is applied.
    window_ = ws.CreateWindow(*this, TWindowOptions{kOverlayKeyColor, true, std::string(kProductName)});
    window_->SetClientSize({0, 0});
    window_->SetAlpha(true, 0);
    settings_.Overlay = this;

    ws.SetHintColor(kHintColor);
    UpdateOpacity();
    UpdateLanguage();
    UpdateLook();
    UpdatePosition();
    UpdateSize();
    BringButtonsOnScreen();
    UpdateOptions();
    window_->Show();
}

TSize TMainForm::WindowSize() const { return WindowSizeWithin(OverlayWindowSize(settings_), services_.windows.Desktop()); }

void TMainForm::MoveWindow(std::int64_t left, std::int64_t top) {
    if (window_) window_->Move(PlaceableCoordinate(left), PlaceableCoordinate(top));
}

void TMainForm::UpdateSize() {
    if (!window_) return;
    ApplySize(true);
}

void TMainForm::ApplySize(bool paint) {
    const TSize wanted = WindowSize();
    // A window bounded by the desktop keeps its size while the figure in it
    // changes, so only an unbounded one may skip the paint.
    if (window_->ClientSize() == wanted && wanted == OverlayWindowSize(settings_)) return;
    window_->SetClientSize(wanted);
    if (paint) FormPaint();
}

void TMainForm::UpdateOpacity() {
    if (window_) {
        const bool blending = settings_.Opacity != 100;
        const std::int32_t alpha = std::clamp(RoundToInt(settings_.Opacity * 255.0 / 100.0), 0, 255);
        window_->SetAlpha(blending, static_cast<std::uint8_t>(alpha));
    }
    if (settings_.Panel) settings_.Panel->ApplyOpacity();
}

void TMainForm::UpdateLook() {
    if (window_) window_->Invalidate();
}

void TMainForm::UpdateOptions() {
    if (!window_) return;
    window_->Invalidate();
    window_->SetHintsEnabled(settings_.ShowHints);
}

void TMainForm::UpdateLanguage() { UpdateOptions(); }

void TMainForm::UpdatePosition() {
    MoveWindow(settings_.X, settings_.Y);
}

void TMainForm::KeepOnScreen() {
    if (!window_) return;
    const TRect work = services_.windows.WorkAreaNear(*window_);
    std::int32_t left = window_->Left();
    std::int32_t top = window_->Top();
    const std::int32_t w = window_->ClientSize().width;
    if (top <= work.top) top = work.top;
    if (left >= work.right - 32) left = work.right - 32;
    if (top >= work.bottom - kCaptionHeight) top = work.bottom - kCaptionHeight;
    if (left + w <= work.left + 84) left = work.left + 84 - w;
    if (left != window_->Left() || top != window_->Top()) MoveWindow(left, top);
}

void TMainForm::BringButtonsOnScreen() {
    if (!window_) return;
    const TRect desktop = services_.windows.Desktop();
    const std::int32_t w = window_->ClientSize().width;
    // The desktop rather than one work area: a window that reaches onto a
    // second monitor is where the user left it.
    if (desktop.Width() > 0 && std::int64_t{window_->Left()} + w > desktop.right)
        MoveWindow(std::int64_t{desktop.right} - w, window_->Top());
    KeepOnScreen();
}

void TMainForm::FormActivate() {
    if (!window_) return;
    window_->ReassertTopmost();
    if (panel_) panel_->RequestRepaint();
    KeepOnScreen();
    FormPaint();  // the caption text colour follows activation
    UpdateOpacity();
    window_->Invalidate();
}

void TMainForm::FormDeactivate() {
    if (!window_) return;
    if (panel_) panel_->RequestRepaint();
    services_.windows.ResetOverrideCursor();
    UpdateOpacity();
    window_->Invalidate();
}

void TMainForm::FormPaint() {
    if (!window_ || closed_) return;
    // Composed at the size the window has, so the chrome sits at its edges.
    const TSize client = window_->ClientSize();
    ICanvas& canvas = window_->NewPicture();
    ComposeImage(canvas, settings_, icons_, window_->IsActive(), client);
    DrawOrientMark(canvas, settings_, client.width);
    window_->FlushSurface();
}

void TMainForm::DrawOrientMarkOnWindow() { DrawOrientMark(window_->Surface(), settings_, window_->ClientSize().width); }

void TMainForm::ActionOrientExecute() {
    settings_.NextOrient();
    FormPaint();
}

void TMainForm::ActionLookExecute() {
    settings_.NextLook(FigureLibrary().FileNames());
    FormPaint();
}

void TMainForm::ActionFrameExecute() {
    settings_.SetSFrame(!settings_.SFrame);
    FormPaint();
}

void TMainForm::ActionShowSettingsExecute() {
    if (panel_) panel_->ToggleVisible();
}

void TMainForm::ActionMinimizeExecute() { services_.windows.MinimizeApplication(); }

void TMainForm::ActionExitExecute() {
    if (window_) window_->Close();
}

void TMainForm::ActionFitExecute() {
    if (!window_) return;
    const TWindowPlace centre = DrawingCentre(settings_, window_->Left(), window_->Top());
    const std::optional<TRect> client = services_.windows.ClientAreaBeneath(centre.left, centre.top);
    if (!client) return;
    {
        // Sized and painted once, after the window has been placed.
        TSettingsChange change(settings_);
        const TWindowPlace place = FitDrawingRect(settings_, *client);
        window_->Move(place.left, place.top);
        change.Refresh(kUpdateSize);
    }
    KeepOnScreen();
}

void TMainForm::ActionShowHideExecute() {
    if (!window_) return;
    if (!hiddenAway_) {
        panelWasShown_ = panel_ && panel_->IsShown();
        if (panelWasShown_) panel_->SetShown(false);
        window_->Hide();
        hiddenAway_ = true;
        return;
    }
    hiddenAway_ = false;
    window_->Show();
    window_->ReassertTopmost();
    // Back in place without taking the focus from the program the user is in.
    if (panelWasShown_ && panel_) panel_->SetShown(true);
}

void TMainForm::FormClose() {
    if (window_) {
        settings_.X = window_->Left();
        settings_.Y = window_->Top();
    }
    if (panel_) {
        settings_.SX = panel_->Left();
        settings_.SY = panel_->Top();
        // Hidden away by the show-and-hide key, the panel counts as it was before.
        settings_.SVisible = hiddenAway_ ? panelWasShown_ : panel_->IsShown();
        settings_.SPage = panel_->ActivePage();
    }
    // Paint requests that still arrive do nothing.
    closed_ = true;
}

}  // namespace ratiscope
