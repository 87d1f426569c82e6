// The Colors page (lines and values colours, opacity), the Advanced page
// (seven options, language list, restore button) and the Main page's buttons.
#pragma once

#include <functional>
#include <string_view>

#include "panel/PanelEvents.h"

namespace ratiscope {

class IFiles;
class TSettings;
struct TPanelControls;

class TColorsPage {
public:
    TColorsPage(TSettings& settings, TPanelControls& controls, const TErrorReport& report);

    void ShowColors();
    // The track bar's share of ApplyOpacity.
    void ShowOpacity();

    void LinesColorBoxChange();
    void ValuesColorBoxChange();
    void OpacityTrackBarChange();

private:
    TSettings& Settings;
    TPanelControls& C;
};

class TAdvancedPage {
public:
    TAdvancedPage(TSettings& settings, TPanelControls& controls, const TErrorReport& report);

    // The seven check marks from their fields, entry 0 to 6; ShowAdvanced's share.
    void ShowOptions();
    // Lists the "*.lng" files of the program's folder, unsorted beyond the
    // listing's order, and selects the file name part of Lang.
    void FillLanguages(IFiles& files);
    // Selects the entry equal to `name` without regard to letter case; none when absent.
    void SelectLanguageEntry(std::string_view name);

    void AdvCheckListBoxClickCheck();
    void AdvCheckListBoxMouseMove();
    void LangComboBoxChange();
    void RestoreButtonClick();

private:
    TSettings& Settings;
    TPanelControls& C;
};

// The Main page's four buttons; the page's labels are texts (PanelTexts).
class TMainPage {
public:
    // `openWebPage` takes the page's path after the vendor site's base address.
    TMainPage(TPanelControls& controls, const TErrorReport& report, std::function<void()> openManual,
              std::function<void(std::string_view)> openWebPage);

    void DevWebBtnClick();
    void AskSupportBtnClick();
    void CheckForUpdatesBtnClick();
    void HelpBtnClick();

private:
    std::function<void()> openManual_;
    std::function<void(std::string_view)> openWebPage_;
};

}  // namespace ratiscope
