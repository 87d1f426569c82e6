// Handlers and display operations of the Look page.
#include "panel/LookPage.h"

#include <algorithm>
#include <utility>

#include "panel/LookRules.h"
#include "panel/PanelControls.h"
#include "platform/Keys.h"
#include "settings/FigureLibrary.h"
#include "settings/Settings.h"

namespace ratiscope {

TLookPage::TLookPage(TSettings& settings, TPanelControls& controls, const TErrorReport& report,
                     std::function<std::int32_t()> primaryScreenWidth)
    : decimalSeparator_(RegionalDecimalSeparator()),
      settings_(settings),
      controls_(controls),
      primaryScreenWidth_(std::move(primaryScreenWidth)) {
    controls_.WidthRadio.OnClick = Guarded(report, [this] { WidthRadioClick(); });
    controls_.HeightRadio.OnClick = Guarded(report, [this] { HeightRadioClick(); });
    controls_.SizeEdit.OnKeyDown = GuardedKey(report, [this](TKey key) { SizeEditKeyDown(key); });
    controls_.SizeEdit.OnExit = Guarded(report, [this] { SizeEditExit(); });
    controls_.SizeEdit.OnChange = Guarded(report, [this] { SizeEditChange(); });
    controls_.LockCheckBox.OnClick = Guarded(report, [this] { LockCheckBoxClick(); });
    controls_.RatioComboBox.OnSelect = Guarded(report, [this] { RatioComboBoxSelect(); });
    controls_.RatioComboBox.OnKeyDown = GuardedKey(report, [this](TKey key) { RatioComboBoxKeyDown(key); });
    controls_.LookComboBox.OnSelect = Guarded(report, [this] { LookComboBoxChange(); });
    controls_.OrientationComboBox.OnSelect = Guarded(report, [this] { OrientationComboBoxChange(); });
    controls_.GridSizeEdit.OnKeyDown = GuardedKey(report, [this](TKey key) { GridSizeEditKeyDown(key); });
    controls_.GridSizeEdit.OnExit = Guarded(report, [this] { GridSizeEditExit(); });
    controls_.GridSizeEdit.OnChange = Guarded(report, [this] { GridSizeEditChange(); });
}

std::int32_t TLookPage::SizeLimit() const {
    const std::int32_t w = primaryScreenWidth_ ? primaryScreenWidth_() : 0;
    // Without a usable screen report the spin buttons' own upper end is the limit.
    if (w <= 0 || w > 1'000'000) return 32767;
    return 2 * w;
}

void TLookPage::SetSizeRange() { controls_.SizeUpDown.SetRange(0, SizeLimit()); }

void TLookPage::ShowSnapSize() {
    controls_.WidthRadio.SetChecked(settings_.LockWidth);
    controls_.HeightRadio.SetChecked(!settings_.LockWidth);
    ShowSize();
    controls_.LockCheckBox.SetChecked(settings_.Lock);
}

void TLookPage::ShowSnapAndLock() {
    controls_.WidthRadio.SetChecked(settings_.LockWidth);
    controls_.HeightRadio.SetChecked(!settings_.LockWidth);
    controls_.LockCheckBox.SetChecked(settings_.Lock);
}

void TLookPage::ShowSize() {
    controls_.SizeUpDown.SetPosition(settings_.LockWidth ? settings_.Width : settings_.Height);
}

void TLookPage::ShowRatio() {
    if (std::optional<int> entry = MatchingRatioEntry(settings_.Ratio)) {
        controls_.RatioComboBox.SetItemIndex(*entry);
        return;
    }
    // Appended again on every call, also for a number already listed: the
    // entries are never searched, only added.
    const std::string text = RatioText(settings_.Ratio, decimalSeparator_);
    controls_.RatioComboBox.SetText(text);
    controls_.RatioComboBox.SetItemText(controls_.RatioComboBox.ItemCount(), text);
}

void TLookPage::ShowLook() {
    // A figure whose file is gone is drawn, and so shown, as LookMode.
    if (const std::int32_t own = FigureLibrary().IndexOf(settings_.Figure); own >= 0)
        controls_.LookComboBox.SetItemIndex(kLookEntryCount + own);
    else if (IsBuiltInLook(settings_.LookMode))
        controls_.LookComboBox.SetItemIndex(LookNumber(settings_.LookMode));
}

void TLookPage::ShowOrientation() {
    controls_.OrientationComboBox.SetItemIndex(OrientationNumber(settings_.OrientMode));
}

void TLookPage::ShowGridSize() { controls_.GridSizeUpDown.SetPosition(settings_.GridSize); }

void TLookPage::WidthRadioClick() {
    settings_.SetLockWidth(controls_.WidthRadio.Checked());
    controls_.SizeUpDown.SetPosition(settings_.Width);
}

void TLookPage::HeightRadioClick() {
    settings_.SetLockWidth(controls_.WidthRadio.Checked());
    controls_.SizeUpDown.SetPosition(settings_.Height);
}

void TLookPage::SizeEditKeyDown(TKey key) {
    if (key == TKey::Return)
        CommitSize();
    else
        liveApply_ = false;
}

void TLookPage::SizeEditExit() { CommitSize(); }

void TLookPage::CommitSize() {
    liveApply_ = true;
    // Raises the conversion error for a text that is no integer; nothing has changed then.
    const std::int32_t v = StrToIntNoSpaces(controls_.SizeEdit.Text());
    const std::int32_t limit = SizeLimit();
    if (v >= limit) return;
    controls_.SizeUpDown.SetPosition(v);
    const std::int32_t p = controls_.SizeUpDown.Position();
    if (p < limit) settings_.SetLeadingSide(p, p);
}

void TLookPage::SizeEditChange() {
    if (!liveApply_) return;
    const std::int32_t p = controls_.SizeUpDown.Position();
    if (p >= SizeLimit()) return;
    settings_.SetLeadingSide(p, p);
    if (settings_.Overlay) {
        settings_.Overlay->UpdateSize();
        settings_.Overlay->UpdateLook();
    }
}

void TLookPage::LockCheckBoxClick() {
    settings_.SetLock(controls_.LockCheckBox.Checked());
    settings_.ApplyRatio();
}

void TLookPage::ApplyRatioBox() {
    const std::int32_t i = controls_.RatioComboBox.ItemIndex();
    if (i >= 0 && i < kStandardRatioCount) {
        settings_.SetRatio(kRatioEntries[static_cast<std::size_t>(i)]);
    } else if (std::optional<double> x = TypedRatio(controls_.RatioComboBox.Text(), decimalSeparator_)) {
        settings_.SetRatio(*x);
    }
    if (settings_.Overlay) settings_.Overlay->UpdateLook();
}

void TLookPage::RatioComboBoxSelect() { ApplyRatioBox(); }

void TLookPage::RatioComboBoxKeyDown(TKey key) {
    if (key == TKey::Return) ApplyRatioBox();
}

void TLookPage::LookComboBoxChange() {
    const std::int32_t i = controls_.LookComboBox.ItemIndex();
    const std::vector<TFigureEntry>& own = FigureLibrary().figures;
    if (i >= 0 && i < kLookEntryCount)
        settings_.ChooseLook(TLook{i});
    else if (i >= kLookEntryCount && static_cast<std::size_t>(i - kLookEntryCount) < own.size())
        settings_.ChooseFigure(own[static_cast<std::size_t>(i - kLookEntryCount)].fileName);
}

void TLookPage::OrientationComboBoxChange() {
    const std::int32_t i = controls_.OrientationComboBox.ItemIndex();
    if (i >= 0 && i < kOrientationEntryCount) settings_.SetOrientMode(TOrientation{i});
}

void TLookPage::CommitGridSize() {
    settings_.SetGridSize(controls_.GridSizeUpDown.Position());
    if (settings_.Overlay) settings_.Overlay->UpdateLook();
}

void TLookPage::GridSizeEditKeyDown(TKey key) {
    if (key == TKey::Return)
        CommitGridSize();
    else
        liveApply_ = false;
}

void TLookPage::GridSizeEditExit() {
    liveApply_ = true;
    CommitGridSize();
    // A text that was no number would otherwise linger beside the step in use.
    ShowGridSize();
}

void TLookPage::GridSizeEditChange() {
    if (liveApply_) CommitGridSize();
}

}  // namespace ratiscope
