// The Main page's named set-ups: a box that lists them and takes a new name,
// and Save, Restore and Delete.
#pragma once

#include <functional>
#include <string_view>

#include "panel/PanelEvents.h"

namespace ratiscope {

class TSettings;
struct TPanelControls;

class TSetupsBox {
public:
    // `warn` tells the user why a set-up could not be saved.
    TSetupsBox(TSettings& settings, TPanelControls& controls, const TErrorReport& report,
               std::function<void(std::string_view)> warn);

    // Lists the settings' set-ups; the text in the box stays.
    void ShowSetups();

    // Saves under the name in the box (an empty box gives "Set-up N"), in
    // place of a set-up of that name.
    void SaveSetupBtnClick();
    // The set-up whose name the box shows, chosen from the list or typed.
    void RestoreSetupBtnClick();
    void DeleteSetupBtnClick();

private:
    TSettings& settings_;
    TPanelControls& controls_;
    std::function<void(std::string_view)> warn_;
};

}  // namespace ratiscope
