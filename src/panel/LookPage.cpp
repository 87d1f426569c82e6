// Handlers and display operations of the Look page.
#include "panel/LookPage.h"

#include <algorithm>
#include <utility>

#include "panel/LookRules.h"
#include "panel/PanelControls.h"
#include "platform/Keys.h"
#include "settings/Settings.h"

namespace ratiscope {

TLookPage::TLookPage(TSettings& settings, TPanelControls& controls, const TErrorReport& report,
                     std::function<std::int32_t()> primaryScreenWidth)
    : DecimalSeparator(RegionalDecimalSeparator()),
      Settings(settings),
      C(controls),
      primaryScreenWidth_(std::move(primaryScreenWidth)) {
    C.WidthRadio.OnClick = Guarded(report, [this] { WidthRadioClick(); });
    C.HeightRadio.OnClick = Guarded(report, [this] { HeightRadioClick(); });
    C.SizeEdit.OnKeyDown = GuardedKey(report, [this](int key) { SizeEditKeyDown(key); });
    C.SizeEdit.OnExit = Guarded(report, [this] { SizeEditExit(); });
    C.SizeEdit.OnChange = Guarded(report, [this] { SizeEditChange(); });
    C.LockCheckBox.OnClick = Guarded(report, [this] { LockCheckBoxClick(); });
    C.RatioComboBox.OnSelect = Guarded(report, [this] { RatioComboBoxSelect(); });
    C.RatioComboBox.OnKeyDown = GuardedKey(report, [this](int key) { RatioComboBoxKeyDown(key); });
    C.LookComboBox.OnSelect = Guarded(report, [this] { LookComboBoxChange(); });
    C.OrientationComboBox.OnSelect = Guarded(report, [this] { OrientationComboBoxChange(); });
    C.GridSizeEdit.OnKeyDown = GuardedKey(report, [this](int key) { GridSizeEditKeyDown(key); });
    C.GridSizeEdit.OnExit = Guarded(report, [this] { GridSizeEditExit(); });
    C.GridSizeEdit.OnChange = Guarded(report, [this] { GridSizeEditChange(); });
}

std::int32_t TLookPage::SizeLimit() const {
    const std::int32_t w = primaryScreenWidth_ ? primaryScreenWidth_() : 0;
    // Without a usable screen report the spin buttons' own upper end is the limit.
    if (w <= 0 || w > 1'000'000) return 32767;
    return 2 * w;
}

void TLookPage::SetSizeRange() { C.SizeUpDown.SetRange(0, SizeLimit()); }

void TLookPage::ShowSnapSize() {
    C.WidthRadio.SetChecked(Settings.LockWidth);
    C.HeightRadio.SetChecked(!Settings.LockWidth);
    ShowSize();
    C.LockCheckBox.SetChecked(Settings.Lock);
}

void TLookPage::ShowSnapAndLock() {
    C.WidthRadio.SetChecked(Settings.LockWidth);
    C.HeightRadio.SetChecked(!Settings.LockWidth);
    C.LockCheckBox.SetChecked(Settings.Lock);
}

void TLookPage::ShowSize() { C.SizeUpDown.SetPosition(Settings.LockWidth ? Settings.Width : Settings.Height); }

void TLookPage::ShowRatio() {
    if (std::optional<int> entry = MatchingRatioEntry(Settings.Ratio)) {
        C.RatioComboBox.SetItemIndex(*entry);
        return;
    }
    // Appended again on every call, also for a number already listed: the
    // entries are never searched, only added.
    const std::string text = RatioText(Settings.Ratio, DecimalSeparator);
    C.RatioComboBox.SetText(text);
    C.RatioComboBox.SetItemText(C.RatioComboBox.ItemCount(), text);
}

void TLookPage::ShowLook() {
    if (IsBuiltInLook(Settings.LookMode)) C.LookComboBox.SetItemIndex(LookNumber(Settings.LookMode));
}

void TLookPage::ShowOrientation() { C.OrientationComboBox.SetItemIndex(OrientationNumber(Settings.OrientMode)); }

void TLookPage::ShowGridSize() { C.GridSizeUpDown.SetPosition(Settings.GridSize); }

void TLookPage::WidthRadioClick() {
    Settings.SetLockWidth(C.WidthRadio.Checked());
    C.SizeUpDown.SetPosition(Settings.Width);
}

void TLookPage::HeightRadioClick() {
    Settings.SetLockWidth(C.WidthRadio.Checked());
    C.SizeUpDown.SetPosition(Settings.Height);
}

void TLookPage::SizeEditKeyDown(int key) {
    if (key == vk::Return)
        CommitSize();
    else
        FLiveApply = false;
}

void TLookPage::SizeEditExit() { CommitSize(); }

void TLookPage::SetLeadingSide(std::int32_t value) {
    if (Settings.LockWidth)
        Settings.SetWidth(value);
    else
        Settings.SetHeight(value);
}

void TLookPage::CommitSize() {
    FLiveApply = true;
    // Raises the conversion error for a text that is no integer; nothing has changed then.
    const std::int32_t v = StrToIntNoSpaces(C.SizeEdit.Text());
    const std::int32_t limit = SizeLimit();
    if (v >= limit) return;
    C.SizeUpDown.SetPosition(v);
    const std::int32_t p = C.SizeUpDown.Position();
    if (p < limit) SetLeadingSide(p);
}

void TLookPage::SizeEditChange() {
    if (!FLiveApply) return;
    const std::int32_t p = C.SizeUpDown.Position();
    if (p >= SizeLimit()) return;
    SetLeadingSide(p);
    if (Settings.Overlay) {
        Settings.Overlay->UpdateSize();
        Settings.Overlay->UpdateLook();
    }
}

void TLookPage::LockCheckBoxClick() {
    Settings.SetLock(C.LockCheckBox.Checked());
    Settings.ApplyRatio();
}

void TLookPage::ApplyRatioBox() {
    const std::int32_t i = C.RatioComboBox.ItemIndex();
    if (i >= 0 && i < kStandardRatioCount) {
        Settings.SetRatio(kRatioEntries[static_cast<std::size_t>(i)]);
    } else if (std::optional<double> x = TypedRatio(C.RatioComboBox.Text(), DecimalSeparator)) {
        Settings.SetRatio(*x);
    }
    if (Settings.Overlay) Settings.Overlay->UpdateLook();
}

void TLookPage::RatioComboBoxSelect() { ApplyRatioBox(); }

void TLookPage::RatioComboBoxKeyDown(int key) {
    if (key == vk::Return) ApplyRatioBox();
}

void TLookPage::LookComboBoxChange() {
    const std::int32_t i = C.LookComboBox.ItemIndex();
    if (i >= 0 && i < kLookEntryCount) Settings.SetLookMode(TLook{i});
}

void TLookPage::OrientationComboBoxChange() {
    const std::int32_t i = C.OrientationComboBox.ItemIndex();
    if (i >= 0 && i < kOrientationEntryCount) Settings.SetOrientMode(TOrientation{i});
}

void TLookPage::CommitGridSize() {
    Settings.SetGridSize(C.GridSizeUpDown.Position());
    if (Settings.Overlay) Settings.Overlay->UpdateLook();
}

void TLookPage::GridSizeEditKeyDown(int key) {
    if (key == vk::Return)
        CommitGridSize();
    else
        FLiveApply = false;
}

void TLookPage::GridSizeEditExit() {
    FLiveApply = true;
    CommitGridSize();
    // A text that was no number would otherwise linger beside the step in use.
    ShowGridSize();
}

void TLookPage::GridSizeEditChange() {
    if (FLiveApply) CommitGridSize();
}

}  // namespace ratiscope
