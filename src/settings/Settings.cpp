// Setters of the settings record: limits first, then the store, then the
// overlay window is told before the panel (the language the other way round).
#include "settings/Settings.h"

#include <algorithm>
#include <cmath>

#include "base/Numbers.h"
#include "settings/Looks.h"
#include "settings/Orientation.h"

namespace ratiscope {

std::int32_t FollowingSide(double exact) {
    // Checked in double first: a huge or tiny ratio must not overflow the cast.
    if (!(exact >= 0)) return 0;
    if (exact >= kMaxSide) return kMaxSide;
    return RoundToInt(exact);
}

bool AtFirstPanelPlace(const TSettings& settings, std::int32_t primaryScreenWidth) {
    return std::int64_t{settings.SX} == std::int64_t{primaryScreenWidth} - kFirstPanelInset && settings.SY == kFirstPanelTop;
}

TSettings::TSettings(std::int32_t primaryScreenWidth) {
    RestoreDefaults();  // no window exists yet, so nobody is told
    X = 300;
    Y = 240;
    SVisible = true;
    SX = primaryScreenWidth - kFirstPanelInset;
    SY = kFirstPanelTop;
    Lang = "English";
    Hotkey = kDefaultHotkey;
}

void TSettings::SetBorder(std::int32_t value) {
    Border = std::clamp(value, kMinBorder, kMaxBorder);
}

void TSettings::SetLockWidth(bool value) {
    if (value == LockWidth) return;
    LockWidth = value;
    if (Panel) Panel->ShowSnapAndLock();
}

void TSettings::SetLock(bool value) {
    if (value == Lock) return;
    Lock = value;
    if (Panel) Panel->ShowSnapAndLock();
}

void TSettings::SetRatio(double value) {
    if (value == Ratio) return;
    if (!std::isfinite(value) || !(value > 0)) return;
    Ratio = value;
    RecomputeFollowingSide();
    if (Overlay) Overlay->UpdateSize();
    if (Panel) Panel->ShowRatio();
}

void TSettings::ApplyRatio() {
    RecomputeFollowingSide();
    if (Overlay) Overlay->UpdateSize();
}

void TSettings::RecomputeFollowingSide() {
    // The minimums of the size setters deliberately do not apply here.
    if (!Lock) return;
    if (LockWidth)
        Height = FollowingSide(Width * Ratio);
    else
        Width = FollowingSide(Height / Ratio);
}

void TSettings::SetWidth(std::int32_t value) {
    if (value == Width) return;
    std::int32_t w = std::clamp(value, 58, kMaxSide);
    if (!Lock) {
        Width = w;
    } else if (LockWidth) {
        Width = w;
        Height = FollowingSide(w * Ratio);
    }
    // With Height leading nothing is stored, but the window and the size field
    // are still refreshed.
    SizeChanged();
}

void TSettings::SetHeight(std::int32_t value) {
    if (value == Height) return;
    std::int32_t h = std::min(value, kMaxSide);
    if (h / Ratio < 58) h = FollowingSide(58 * Ratio);
    if (!Lock) {
        Height = h;
    } else if (!LockWidth) {
        Height = h;
        Width = FollowingSide(h / Ratio);
    }
    SizeChanged();
}

void TSettings::SizeChanged() {
    if (Overlay) Overlay->UpdateSize();
    if (Panel) Panel->ShowSize();
}

void TSettings::LookChanged() {
    if (Overlay) Overlay->UpdateLook();
}

void TSettings::OptionChanged() {
    if (Overlay) Overlay->UpdateOptions();
    if (Panel) Panel->ShowAdvanced();
}

void TSettings::SetLinesColor(TColor value) {
    if (value == LinesColor) return;
    LinesColor = value;
    LookChanged();
    if (Panel) Panel->ShowColors();
}

void TSettings::SetValuesColor(TColor value) {
    if (value == ValuesColor) return;
    ValuesColor = value;
    LookChanged();
    if (Panel) Panel->ShowColors();
}

void TSettings::SetOpacity(std::int32_t value) {
    if (value < 0 || value > 100 || value == Opacity) return;
    Opacity = value;
    if (Overlay) Overlay->UpdateOpacity();
    if (Panel) Panel->ApplyOpacity();
}

void TSettings::SetOrientMode(TOrientation value) {
    if (value == OrientMode) return;
    OrientMode = value;
    LookChanged();
    if (Panel) Panel->ShowOrientation();
}

void TSettings::SetLookMode(TLook value) {
    if (value == LookMode) return;
    LookMode = value;
    LookChanged();
    if (Panel) Panel->ShowLook();
}

void TSettings::SetGridSize(std::int32_t value) {
    if (value == GridSize) return;
    GridSize = std::max(value, 3);
    LookChanged();
    if (Panel) Panel->ShowGridSize();
}

#define RATISCOPE_OPTION_SETTER(Name)          \
    void TSettings::Set##Name(bool value) {    \
        if (value == Name) return;             \
        Name = value;                          \
        OptionChanged();                       \
    }

RATISCOPE_OPTION_SETTER(MouseResizeAllowed)
RATISCOPE_OPTION_SETTER(MouseWheelAllowed)
RATISCOPE_OPTION_SETTER(ShowValues)
RATISCOPE_OPTION_SETTER(ShowHints)
RATISCOPE_OPTION_SETTER(SettingsOpacity)
RATISCOPE_OPTION_SETTER(MoveUsingGrid)
RATISCOPE_OPTION_SETTER(SFrame)

#undef RATISCOPE_OPTION_SETTER

void TSettings::SetHotkey(const std::string& value) { Hotkey = value; }

void TSettings::SetLang(const std::string& value) {
    if (value == Lang) return;
    Lang = value;
    if (Panel) Panel->ReloadLanguage();
    if (Overlay) Overlay->UpdateLanguage();
}

void TSettings::NextLook() {
    // From the last cycled look, a list-only one or any number above them, back to the first.
    const std::int32_t n = LookNumber(LookMode);
    SetLookMode(n + 1 < kCycledLookCount ? TLook{n + 1} : TLook{0});
}

void TSettings::NextOrient() {
    const std::int32_t n = OrientationNumber(OrientMode);
    SetOrientMode(n + 1 < kOrientationCount ? TOrientation{n + 1} : TOrientation::TopLeft);
}

void TSettings::RestoreDefaults() {
    // Stored directly, so that the setters below all see a change.
    Height = 301;
    Width = 401;
    Lock = false;
    LockWidth = false;
    SetLock(true);
    SetLockWidth(true);
    SetWidth(396);
    // The border tells nobody when it changes, so a window sized with the old
    // border would keep that size: it is told once the border is back.
    const std::int32_t oldBorder = Border;
    SetBorder(12);
    if (Border != oldBorder && Overlay) Overlay->UpdateSize();
    SetRatio(kGoldenFactor);
    SetLinesColor(kDefaultLinesColor);
    SetValuesColor(kDefaultValuesColor);
    SetMouseResizeAllowed(true);
    SetOpacity(90);
    SetMouseWheelAllowed(true);
    SetOrientMode(TOrientation::TopLeft);
    SetShowHints(true);
    SetShowValues(true);
    SetLookMode(TLook::RatioSequence);
    SetGridSize(8);
    SetSettingsOpacity(false);
    SetMoveUsingGrid(true);
    SetSFrame(true);
}

}  // namespace ratiscope
