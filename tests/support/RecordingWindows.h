// Window slots that write down every refresh call, in order, into one shared log.
#pragma once

#include <string>
#include <vector>

#include "settings/WindowSlots.h"

namespace ratiscope::testing {

using TCallLog = std::vector<std::string>;

class RecordingOverlay : public IOverlayWindow {
public:
    explicit RecordingOverlay(TCallLog& log) : log_(log) {}
    void UpdateSize() override { log_.push_back("overlay.UpdateSize"); }
    void UpdateOpacity() override { log_.push_back("overlay.UpdateOpacity"); }
    void UpdateLook() override { log_.push_back("overlay.UpdateLook"); }
    void UpdateOptions() override { log_.push_back("overlay.UpdateOptions"); }
    void UpdateLanguage() override { log_.push_back("overlay.UpdateLanguage"); }

private:
    TCallLog& log_;
};

class RecordingPanel : public IPanelWindow {
public:
    explicit RecordingPanel(TCallLog& log) : log_(log) {}
    void ShowSnapAndLock() override { log_.push_back("panel.ShowSnapAndLock"); }
    void ShowRatio() override { log_.push_back("panel.ShowRatio"); }
    void ShowColors() override { log_.push_back("panel.ShowColors"); }
    void ApplyOpacity() override { log_.push_back("panel.ApplyOpacity"); }
    void ShowOrientation() override { log_.push_back("panel.ShowOrientation"); }
    void ShowLook() override { log_.push_back("panel.ShowLook"); }
    void ShowGridSize() override { log_.push_back("panel.ShowGridSize"); }
    void ShowAdvanced() override { log_.push_back("panel.ShowAdvanced"); }
    void ReloadLanguage() override { log_.push_back("panel.ReloadLanguage"); }
    void ShowSize() override { log_.push_back("panel.ShowSize"); }

private:
    TCallLog& log_;
};

}  // namespace ratiscope::testing
