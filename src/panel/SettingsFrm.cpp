// The panel's life: creation in its fixed order, the settings slot, opacity,
// languages, showing, hiding and closing.
#include "panel/SettingsFrm.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "base/Numbers.h"
#include "panel/PanelLayout.h"
#include "panel/PanelTexts.h"
#include "overlay/WindowPlacement.h"
#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/Keys.h"
#include "settings/LangTable.h"
#include "settings/LanguageFiles.h"
#include "settings/Settings.h"

namespace ratiscope {

std::int32_t PageIndexFromNumber(std::int32_t number) {
    switch (number) {
    case 0: return 0;
    case 1:
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    default: return -1;
    }
}

std::int32_t PageNumberFromIndex(std::int32_t index) {
    switch (index) {
    case 0: return 0;
    case 1: return 2;
    case 2: return 3;
    case 3: return 4;
    default: return -1;
    }
}

TSettingsForm::TSettingsForm(TSettings& settings, const TOverlayIcons& icons, TSettingsFormServices services)
    : Settings(settings), icons_(icons), services_(std::move(services)) {
    report_ = [this](const std::exception& e) { ReportError(e); };
}

TSettingsForm::~TSettingsForm() {
    if (Settings.Panel == this) Settings.Panel = nullptr;
    // The controls go first, while the pages their handlers call still exist.
    controls_.reset();
    controlSet_.reset();
}

void TSettingsForm::ReportError(const std::exception& e) {
    services_.windows.ShowMessage(TMessageKind::Error, kProductName, e.what());
}

void TSettingsForm::FormCreate() {
    IWindowSystem& ws = services_.windows;
    window_ = ws.CreateWindow(
        *this, TWindowOptions{kPanelKeyColor, false, std::string(kProductName) + " Settings", services_.owner});
    controlSet_ = services_.controls.CreateControls(window_->ControlHost());
    TPanelControls& c = controls_.emplace(*controlSet_);
    look_.emplace(Settings, c, report_, [&ws] { return ws.PrimaryScreenWidth(); });
    colors_.emplace(Settings, c, report_);
    advanced_.emplace(Settings, c, report_);
    main_.emplace(c, report_, services_.openManual, services_.openWebPage);
    setups_.emplace(Settings, c, report_, [this](std::string_view text) {
        services_.windows.ShowMessage(TMessageKind::Warning, kProductName, text);
    });
    c.PageControl.OnMouseMove = [this] { PageControlMouseMove(); };
    c.FitWindowBtn.OnClick = Guarded(report_, [this] {
        if (services_.fitToWindow) services_.fitToWindow();
    });

    FScaling = false;
    dpi_ = UsableDpi(window_->Dpi());
    ScaleControls(c, dpi_);
    LayoutPanel();

    look_->SetLiveApply(true);

    ShowLogo();

    FButtonLit = false;
    FDragging = false;
    FCaptured = false;

    look_->SetSizeRange();

    Settings.Panel = this;
    RestorePosition();
    ApplyOpacity();
    ShowColors();
    look_->ShowSnapSize();
    ShowLook();
    ShowRatio();
    ShowOrientation();
    ShowGridSize();
    ShowAdvanced();
    setups_->ShowSetups();
    FillLanguages();
    // A language text that does not fit its template is reported; the panel
    // is still shown and usable with the texts set so far.
    try {
        ReloadLanguage();
    } catch (const std::exception& e) {
        ReportError(e);
    }

    if (Settings.SVisible)
        window_->Show();
    else
        window_->Hide();

    c.PageControl.SetActivePage(PageIndexFromNumber(Settings.SPage));
    c.PageControl.SetFocus();
}

void TSettingsForm::LayoutPanel() {
    if (!window_ || !controls_) return;
    window_->SetClientSize(ratiscope::LayoutPanel(*controls_, dpi_));
}

void TSettingsForm::WMDpiChanged(int dpi) {
    if (FScaling || !window_ || !controls_) return;
    FScaling = true;
    // Every size is worked out from its 96-dpi design again, so repeated
    // changes never pile up rounding.
    dpi_ = UsableDpi(dpi);
    ScaleControls(*controls_, dpi_);
    LayoutPanel();
    ShowLogo();
    FScaling = false;
    window_->Invalidate();
}

void TSettingsForm::ShowLogo() {
    constexpr std::int32_t kLogoSide = 32;  // the logo box's design size
    try {
        if (services_.loadProgramIcon && controls_)
            controls_->LogoImage.SetPicture(services_.loadProgramIcon(ScaleToDpi(kLogoSide, dpi_)));
    } catch (const std::exception&) {
        // Without its icon the Main page only shows an empty corner.
    }
}

void TSettingsForm::RestorePosition() {
    if (!window_) return;
    const std::int32_t primaryWidth = services_.windows.PrimaryScreenWidth();
    if (!AtFirstPanelPlace(Settings, primaryWidth)) {
        window_->Move(PlaceableCoordinate(Settings.SX), PlaceableCoordinate(Settings.SY));
        return;
    }
    // The first-run place was reckoned for the 96-dpi panel: a panel scaled
    // up would hang off the screen, so it keeps the same scaled gap and the
    // whole panel stays on the work area.
    window_->Move(PlaceableCoordinate(std::int64_t{primaryWidth} - ScaleToDpi(kFirstPanelInset, dpi_)), Settings.SY);
    const TRect work = services_.windows.WorkAreaNear(*window_);
    const TSize size = window_->ClientSize();
    const std::int32_t left = std::max(std::min(window_->Left(), work.right - size.width), work.left);
    const std::int32_t top = std::max(std::min(window_->Top(), work.bottom - size.height), work.top);
    if (left != window_->Left() || top != window_->Top()) window_->Move(left, top);
}

void TSettingsForm::ApplyOpacity() {
    if (window_) {
        if (Settings.SettingsOpacity) {
            const std::int32_t alpha = std::clamp(RoundToInt(Settings.Opacity * 255.0 / 100.0), 0, 255);
            window_->SetAlpha(Settings.Opacity != 100, static_cast<std::uint8_t>(alpha));
        } else {
            window_->SetAlpha(false, 255);
        }
    }
    if (colors_) colors_->ShowOpacity();
}

void TSettingsForm::ShowAdvanced() {
    advanced_->ShowOptions();
    if (window_) window_->SetHintsEnabled(Settings.ShowHints);
    ApplyOpacity();
}

void TSettingsForm::FillLanguages() { advanced_->FillLanguages(services_.files); }

void TSettingsForm::ReloadLanguage() {
    SelectLanguage(kBaseLanguage);
    SelectLanguage(Settings.Lang);
}

void TSettingsForm::SelectLanguage(std::string_view name) {
    SelectLanguageTexts(LanguageTable(), services_.files, name);
    advanced_->SelectLanguageEntry(name);
    ApplyTexts();
    ShowRatio();
    ShowLook();
    ShowOrientation();
}

void TSettingsForm::ApplyTexts() {
    ApplyPanelTexts(*controls_);
    FormPaint();
}

void TSettingsForm::FormClose() {
    if (!window_) return;
    Settings.SX = window_->Left();
    Settings.SY = window_->Top();
    Settings.SVisible = window_->IsVisible();
    Settings.SPage = ActivePage();
}

void TSettingsForm::FormKeyDown(TKey key, TShiftState) {
    switch (key) {
    case TKey::F1:
        if (services_.openManual) services_.openManual();
        break;
    case TKey::F2:
        ToggleVisible();
        break;
    case TKey::F3:
        // The overlay's opacity comes back and reaches the panel from there.
        if (Settings.Overlay)
            Settings.Overlay->UpdateOpacity();
        else
            ApplyOpacity();
        break;
    default:
        break;
    }
}

void TSettingsForm::PageControlMouseMove() { services_.windows.ResetOverrideCursor(); }

void TSettingsForm::RequestRepaint() {
    if (window_) window_->Invalidate();
}

void TSettingsForm::SetShown(bool shown) {
    if (!window_) return;
    if (shown)
        window_->Show();
    else
        window_->Hide();
}

void TSettingsForm::ToggleVisible() {
    if (!window_) return;
    if (window_->IsVisible()) {
        window_->Hide();
    } else {
        window_->Show();
        window_->BringToFront();
    }
}

std::int32_t TSettingsForm::Left() const { return window_ ? window_->Left() : Settings.SX; }

std::int32_t TSettingsForm::Top() const { return window_ ? window_->Top() : Settings.SY; }

bool TSettingsForm::IsShown() const { return window_ && window_->IsVisible(); }

std::int32_t TSettingsForm::ActivePage() const {
    return controls_ ? PageNumberFromIndex(controls_->PageControl.ActivePage()) : -1;
}

}  // namespace ratiscope
