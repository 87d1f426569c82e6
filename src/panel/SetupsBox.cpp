// Handlers of the set-ups box. The box's text names the set-up every button
// acts on, so a picked entry and a typed name behave alike.
#include "panel/SetupsBox.h"

#include <utility>

#include "panel/PanelControls.h"
#include "settings/Format.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"
#include "settings/Setups.h"

namespace ratiscope {

TSetupsBox::TSetupsBox(TSettings& settings, TPanelControls& controls, const TErrorReport& report,
                       std::function<void(std::string_view)> warn)
    : settings_(settings), controls_(controls), warn_(std::move(warn)) {
    controls_.SaveSetupBtn.OnClick = Guarded(report, [this] { SaveSetupBtnClick(); });
    controls_.RestoreSetupBtn.OnClick = Guarded(report, [this] { RestoreSetupBtnClick(); });
    controls_.DeleteSetupBtn.OnClick = Guarded(report, [this] { DeleteSetupBtnClick(); });
}

void TSetupsBox::ShowSetups() {
    IComboBox& box = controls_.SetupComboBox;
    const std::string text = box.Text();
    box.Clear();
    for (std::size_t i = 0; i < settings_.Setups.size(); ++i)
        box.SetItemText(static_cast<std::int32_t>(i), settings_.Setups[i].name);
    box.SetText(text);
}

void TSetupsBox::SaveSetupBtnClick() {
    const std::string typed = SetupName(controls_.SetupComboBox.Text());
    if (!SaveSetup(settings_, typed)) {
        if (warn_) warn_(FormatOrTemplate(LangString("MSSetupsFull"), {static_cast<std::int32_t>(kMaxSetups)}));
        return;
    }
    // An empty box saved a new "Set-up N", the list's last.
    controls_.SetupComboBox.SetText(typed.empty() ? settings_.Setups.back().name : typed);
    ShowSetups();
}

void TSetupsBox::RestoreSetupBtnClick() {
    const int at = FindSetup(settings_.Setups, SetupName(controls_.SetupComboBox.Text()));
    if (at >= 0) RestoreSetupAt(settings_, static_cast<std::size_t>(at));
}

void TSetupsBox::DeleteSetupBtnClick() {
    if (DeleteSetup(settings_, SetupName(controls_.SetupComboBox.Text()))) {
        controls_.SetupComboBox.SetText("");
        ShowSetups();
    }
}

}  // namespace ratiscope
