// Setters of the settings record: limits first, then the store, then the
// overlay window is told before the panel (the language the other way round).
// Each field's limit and refreshes come from its row of the field table.
#include "settings/Settings.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "settings/Looks.h"

namespace ratiscope {

namespace {

// What RestoreDefaults stores first, without telling anyone, so that the size
// and lock setters after it all see a change.
constexpr std::int32_t kUnsetWidth = 401;
constexpr std::int32_t kUnsetHeight = 301;

std::int32_t IntOf(const TSettingValue& v) { return std::get<std::int32_t>(v); }

}  // namespace

bool AtFirstPanelPlace(const TSettings& settings, std::int32_t primaryScreenWidth) {
    return std::int64_t{settings.SX} == std::int64_t{primaryScreenWidth} - kFirstPanelInset && settings.SY == kFirstPanelTop;
}

TSettings::TSettings(std::int32_t primaryScreenWidth) {
    RestoreDefaults();  // no window exists yet, so nobody is told
    for (const TSettingsKey& key : SettingsKeys())
        if (key.initialKind == TInitial::Created) key.Store(*this, key.Initial());
    SX = primaryScreenWidth - kFirstPanelInset;
}

TSettingsChange::TSettingsChange(TSettings& settings) : settings_(settings) { ++settings_.changeDepth_; }

TSettingsChange::~TSettingsChange() noexcept(false) {
    if (--settings_.changeDepth_ > 0) return;
    const TRefreshSet refresh = std::exchange(settings_.pendingRefresh_, kRefreshNone);
    // Leaving by an exception, the change is not finished: nobody is told.
    if (std::uncaught_exceptions() == 0) settings_.Notify(refresh);
}

void TSettingsChange::Refresh(TRefreshSet refresh) { settings_.pendingRefresh_ |= refresh; }

void TSettings::Changed(TRefreshSet refresh) {
    if (changeDepth_ > 0)
        pendingRefresh_ |= refresh;
    else
        Notify(refresh);
}

void TSettings::Notify(TRefreshSet refresh) {
    // The panel reloads its texts before the overlay hears of a new language.
    if (Panel && (refresh & kReloadLanguage)) Panel->ReloadLanguage();
    if (Overlay) {
        if (refresh & kUpdateSize) Overlay->UpdateSize();
        if (refresh & kUpdateOpacity) Overlay->UpdateOpacity();
        if (refresh & kUpdateLook) Overlay->UpdateLook();
        if (refresh & kUpdateOptions) Overlay->UpdateOptions();
        if (refresh & kUpdateLanguage) Overlay->UpdateLanguage();
    }
    if (Panel) {
        if (refresh & kShowSnapAndLock) Panel->ShowSnapAndLock();
        if (refresh & kShowRatio) Panel->ShowRatio();
        if (refresh & kShowColors) Panel->ShowColors();
        if (refresh & kApplyOpacity) Panel->ApplyOpacity();
        if (refresh & kShowOrientation) Panel->ShowOrientation();
        if (refresh & kShowLook) Panel->ShowLook();
        if (refresh & kShowGridSize) Panel->ShowGridSize();
        if (refresh & kShowAdvanced) Panel->ShowAdvanced();
        if (refresh & kShowSize) Panel->ShowSize();
    }
}

void TSettings::StoreSize(const TSizeState& size) {
    Width = size.Width;
    Height = size.Height;
}

void TSettings::SetField(TSettingsField field, const TSettingValue& value) {
    const TSettingsKey& key = SettingsKey(field);
    const TLimit& limit = key.limit;
    if (limit.rule == TLimitRule::Refuse && (IntOf(value) < limit.min || IntOf(value) > limit.max)) return;
    if (limit.rule == TLimitRule::RatioRule) {
        // The geometry and the lock formulas divide by the ratio.
        const double ratio = std::get<double>(value);
        if (!std::isfinite(ratio) || !(ratio > 0)) return;
    }
    // Compared before any limit applies, so a clamped value that differs from
    // the stored one is still a change.
    if (value == key.value(*this)) return;
    switch (limit.rule) {
    case TLimitRule::Clamp:
        key.Store(*this, std::clamp(IntOf(value), limit.min, limit.max));
        break;
    case TLimitRule::SizeRule:
        // With the other side leading nothing is stored, but the window and
        // the size field are still refreshed.
        StoreSize(field == TSettingsField::Width ? WithWidth(SizeState(), IntOf(value))
                                                 : WithHeight(SizeState(), IntOf(value)));
        break;
    case TLimitRule::RatioRule:
        key.Store(*this, value);
        StoreSize(WithRatioApplied(SizeState()));
        break;
    case TLimitRule::None:
    case TLimitRule::Refuse:
        key.Store(*this, value);
        break;
    }
    Changed(key.refresh);
}

void TSettings::SetBorder(std::int32_t value) { SetField(TSettingsField::Border, value); }
void TSettings::SetLockWidth(bool value) { SetField(TSettingsField::LockWidth, value); }
void TSettings::SetLock(bool value) { SetField(TSettingsField::Lock, value); }
void TSettings::SetRatio(double value) { SetField(TSettingsField::Ratio, value); }
void TSettings::SetWidth(std::int32_t value) { SetField(TSettingsField::Width, value); }
void TSettings::SetHeight(std::int32_t value) { SetField(TSettingsField::Height, value); }
void TSettings::SetLinesColor(TColor value) { SetField(TSettingsField::LinesColor, static_cast<std::int32_t>(value)); }
void TSettings::SetValuesColor(TColor value) { SetField(TSettingsField::ValuesColor, static_cast<std::int32_t>(value)); }
void TSettings::SetOpacity(std::int32_t value) { SetField(TSettingsField::Opacity, value); }
void TSettings::SetOrientMode(TOrientation value) { SetField(TSettingsField::OrientMode, OrientationNumber(value)); }
void TSettings::SetLookMode(TLook value) { SetField(TSettingsField::LookMode, LookNumber(value)); }
void TSettings::SetGridSize(std::int32_t value) { SetField(TSettingsField::GridSize, value); }
void TSettings::SetMouseResizeAllowed(bool value) { SetField(TSettingsField::MouseResizeAllowed, value); }
void TSettings::SetMouseWheelAllowed(bool value) { SetField(TSettingsField::MouseWheelAllowed, value); }
void TSettings::SetShowValues(bool value) { SetField(TSettingsField::ShowValues, value); }
void TSettings::SetShowHints(bool value) { SetField(TSettingsField::ShowHints, value); }
void TSettings::SetSettingsOpacity(bool value) { SetField(TSettingsField::SettingsOpacity, value); }
void TSettings::SetMoveUsingGrid(bool value) { SetField(TSettingsField::MoveUsingGrid, value); }
void TSettings::SetSFrame(bool value) { SetField(TSettingsField::SFrame, value); }
void TSettings::SetLang(const std::string& value) { SetField(TSettingsField::Lang, value); }
void TSettings::SetHotkey(const std::string& value) { SetField(TSettingsField::Hotkey, value); }

void TSettings::ApplyRatio() {
    StoreSize(WithRatioApplied(SizeState()));
    Changed(kUpdateSize);
}

void TSettings::SetLeadingSide(std::int32_t width, std::int32_t height) {
    if (LockWidth)
        SetWidth(width);
    else
        SetHeight(height);
}

void TSettings::SetSize(std::int32_t width, std::int32_t height) {
    if (Lock) {
        SetLeadingSide(width, height);
        return;
    }
    const TSettingsChange change(*this);
    SetWidth(width);
    SetHeight(height);
}

void TSettings::ChooseLook(TLook look) {
    const TSettingsChange change(*this);
    SetLookMode(look);
    SetField(TSettingsField::Figure, std::string());
}

void TSettings::ChooseFigure(const std::string& fileName) { SetField(TSettingsField::Figure, fileName); }

void TSettings::NextLook(std::span<const std::string> figures) {
    const auto drawn = std::find(figures.begin(), figures.end(), Figure);
    if (!Figure.empty() && drawn != figures.end()) {
        if (drawn + 1 != figures.end())
            ChooseFigure(*(drawn + 1));
        else
            ChooseLook(TLook{0});
        return;
    }
    // From the last cycled look, a list-only one or any number above them, on
    // to the figures of the user's own or back to the first look. A figure
    // whose file is gone was drawn as LookMode, so the cycle goes on from there.
    const std::int32_t n = LookNumber(LookMode);
    if (n + 1 < kCycledLookCount)
        ChooseLook(TLook{n + 1});
    else if (n + 1 == kCycledLookCount && !figures.empty())
        ChooseFigure(figures.front());
    else
        ChooseLook(TLook{0});
}

void TSettings::NextOrient() {
    const std::int32_t n = OrientationNumber(OrientMode);
    SetOrientMode(n + 1 < kOrientationCount ? TOrientation{n + 1} : TOrientation::TopLeft);
}

void TSettings::RestoreDefaults() {
    Height = kUnsetHeight;
    Width = kUnsetWidth;
    Lock = false;
    LockWidth = false;
    const auto restore = [this](TSettingsField field) { SetField(field, SettingsKey(field).Initial()); };
    restore(TSettingsField::Lock);
    restore(TSettingsField::LockWidth);
    restore(TSettingsField::Width);
    // The border tells nobody when it changes, so a window sized with the old
    // border would keep that size: it is told once the border is back.
    const std::int32_t oldBorder = Border;
    restore(TSettingsField::Border);
    if (Border != oldBorder) Changed(kUpdateSize);
    restore(TSettingsField::Ratio);
    // Everything else that comes back, in the order of the file.
    for (const TSettingsKey& key : SettingsKeys()) {
        if (key.initialKind != TInitial::Restored) continue;
        switch (key.field) {
        case TSettingsField::Lock:
        case TSettingsField::LockWidth:
        case TSettingsField::Width:
        case TSettingsField::Border:
        case TSettingsField::Ratio: continue;  // done above, in the order the lock needs
        default: restore(key.field);
        }
    }
}

}  // namespace ratiscope
