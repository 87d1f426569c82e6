// The Look page: snap side, size, ratio, aspect lock, look, orientation and
// grid size, each control calling its setter and each setter shown back.
#pragma once

#include <cstdint>
#include <functional>

#include "panel/PanelEvents.h"

namespace ratiscope {

class TSettings;
struct TPanelControls;

class TLookPage {
public:
    // `primaryScreenWidth` is asked whenever the size limit is needed.
    TLookPage(TSettings& settings, TPanelControls& controls, const TErrorReport& report,
              std::function<std::int32_t()> primaryScreenWidth);

    // Sizes at or above twice the primary screen width are never applied.
    std::int32_t SizeLimit() const;
    // The size spin buttons reach up to the limit.
    void SetSizeRange();

    // Display operations: they set what the controls show and call no setter.
    void ShowSnapSize();
    void ShowSnapAndLock();
    void ShowSize();
    void ShowRatio();
    void ShowLook();
    void ShowOrientation();
    void ShowGridSize();

    // Handlers, named after the control and its event.
    void WidthRadioClick();
    void HeightRadioClick();
    void SizeEditKeyDown(TKey key);
    void SizeEditExit();
    void SizeEditChange();
    void LockCheckBoxClick();
    void RatioComboBoxSelect();
    void RatioComboBoxKeyDown(TKey key);
    void LookComboBoxChange();
    void OrientationComboBoxChange();
    void GridSizeEditKeyDown(TKey key);
    void GridSizeEditExit();
    void GridSizeEditChange();

    // Set while changes of the size and grid fields apply at once; typing
    // clears it, so a half-typed number is not applied.
    bool LiveApply() const { return liveApply_; }
    void SetLiveApply(bool value) { liveApply_ = value; }
    // The separator typed ratios are read and shown with; the region's to begin with.
    void SetDecimalSeparator(char value) { decimalSeparator_ = value; }

private:
    void CommitSize();
    void ApplyRatioBox();
    void CommitGridSize();

    bool liveApply_ = true;
    char decimalSeparator_;
    TSettings& settings_;
    TPanelControls& controls_;
    std::function<std::int32_t()> primaryScreenWidth_;
};

}  // namespace ratiscope
