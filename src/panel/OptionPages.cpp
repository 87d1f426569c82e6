// Handlers and display operations of the Colors, Advanced and Main pages.
#include "panel/OptionPages.h"

#include <array>
#include <string>
#include <utility>

#include "base/Files.h"
#include "panel/PanelControls.h"
#include "settings/Folders.h"
#include "settings/LanguageFiles.h"
#include "settings/Settings.h"

namespace ratiscope {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The option entries in list order with the fields they switch.
using TOptionField = bool TSettings::*;
using TOptionSetter = void (TSettings::*)(bool);
struct TOption {
    TOptionField field;
    TOptionSetter setter;
};
constexpr std::array<TOption, kOptionEntryCount> kOptions{{
    {&TSettings::MouseResizeAllowed, &TSettings::SetMouseResizeAllowed},
    {&TSettings::MouseWheelAllowed, &TSettings::SetMouseWheelAllowed},
    {&TSettings::ShowValues, &TSettings::SetShowValues},
    {&TSettings::ShowHints, &TSettings::SetShowHints},
    {&TSettings::SettingsOpacity, &TSettings::SetSettingsOpacity},
    {&TSettings::SFrame, &TSettings::SetSFrame},
    {&TSettings::MoveUsingGrid, &TSettings::SetMoveUsingGrid},
}};

}  // namespace

TColorsPage::TColorsPage(TSettings& settings, TPanelControls& controls, const TErrorReport& report)
    : Settings(settings), C(controls) {
    C.LinesColorBox.OnChange = Guarded(report, [this] { LinesColorBoxChange(); });
    C.ValuesColorBox.OnChange = Guarded(report, [this] { ValuesColorBoxChange(); });
    C.OpacityTrackBar.OnChange = Guarded(report, [this] { OpacityTrackBarChange(); });
}

void TColorsPage::ShowColors() {
    C.LinesColorBox.SetSelected(Settings.LinesColor);
    C.ValuesColorBox.SetSelected(Settings.ValuesColor);
}

void TColorsPage::ShowOpacity() { C.OpacityTrackBar.SetPosition(Settings.Opacity); }

void TColorsPage::LinesColorBoxChange() { Settings.SetLinesColor(C.LinesColorBox.Selected()); }

void TColorsPage::ValuesColorBoxChange() { Settings.SetValuesColor(C.ValuesColorBox.Selected()); }

void TColorsPage::OpacityTrackBarChange() { Settings.SetOpacity(C.OpacityTrackBar.Position()); }

TAdvancedPage::TAdvancedPage(TSettings& settings, TPanelControls& controls, const TErrorReport& report)
    : Settings(settings), C(controls) {
    C.AdvCheckListBox.OnClickCheck = Guarded(report, [this] { AdvCheckListBoxClickCheck(); });
    C.AdvCheckListBox.OnMouseMove = Guarded(report, [this] { AdvCheckListBoxMouseMove(); });
    C.LangComboBox.OnSelect = Guarded(report, [this] { LangComboBoxChange(); });
    C.RestoreButton.OnClick = Guarded(report, [this] { RestoreButtonClick(); });
}

void TAdvancedPage::ShowOptions() {
    for (int i = 0; i < kOptionEntryCount; ++i)
        C.AdvCheckListBox.SetChecked(i, Settings.*kOptions[static_cast<std::size_t>(i)].field);
}

void TAdvancedPage::AdvCheckListBoxClickCheck() {
    // All marks are read before the first setter runs: each setter shows the
    // fields back, which would reset marks not yet read.
    std::array<bool, kOptionEntryCount> marks{};
    for (int i = 0; i < kOptionEntryCount; ++i) marks[static_cast<std::size_t>(i)] = C.AdvCheckListBox.Checked(i);
    for (std::size_t i = 0; i < kOptions.size(); ++i) (Settings.*kOptions[i].setter)(marks[i]);
}

void TAdvancedPage::AdvCheckListBoxMouseMove() { C.AdvCheckListBox.Repaint(); }

void TAdvancedPage::FillLanguages(IFiles& files) {
    C.LangComboBox.Clear();
    const std::size_t extension = kLanguageFileExtension.size();
    std::int32_t index = 0;
    for (const std::string& name : files.ListFolder(ProgramFolder(files), "*.lng")) {
        if (name.size() <= extension) continue;  // ".lng" alone names no language
        C.LangComboBox.SetItemText(index++, std::string_view(name).substr(0, name.size() - extension));
    }
    std::string_view lang = Settings.Lang;
    const std::size_t slash = lang.find_last_of("/\\");
    if (slash != std::string_view::npos) lang.remove_prefix(slash + 1);
    SelectLanguageEntry(lang);
}

void TAdvancedPage::SelectLanguageEntry(std::string_view name) {
    for (std::int32_t i = 0; i < C.LangComboBox.ItemCount(); ++i)
        if (EqualIgnoringCase(C.LangComboBox.ItemText(i), name)) {
            C.LangComboBox.SetItemIndex(i);
            return;
        }
    C.LangComboBox.SetItemIndex(-1);
}

void TAdvancedPage::LangComboBoxChange() {
    if (C.LangComboBox.ItemIndex() >= 0) Settings.SetLang(C.LangComboBox.Text());
}

void TAdvancedPage::RestoreButtonClick() { Settings.RestoreDefaults(); }

TMainPage::TMainPage(TPanelControls& controls, const TErrorReport& report, std::function<void()> openManual,
                     std::function<void(std::string_view)> openWebPage)
    : openManual_(std::move(openManual)), openWebPage_(std::move(openWebPage)) {
    controls.DevWebBtn.OnClick = Guarded(report, [this] { DevWebBtnClick(); });
    controls.AskSupportBtn.OnClick = Guarded(report, [this] { AskSupportBtnClick(); });
    controls.CheckForUpdatesBtn.OnClick = Guarded(report, [this] { CheckForUpdatesBtnClick(); });
    controls.HelpBtn.OnClick = Guarded(report, [this] { HelpBtnClick(); });
}

void TMainPage::DevWebBtnClick() {
    if (openWebPage_) openWebPage_("");
}

void TMainPage::AskSupportBtnClick() {
    if (openWebPage_) openWebPage_("we/service/");
}

void TMainPage::CheckForUpdatesBtnClick() {
    if (openWebPage_) openWebPage_("ratiscope/");
}

void TMainPage::HelpBtnClick() {
    if (openManual_) openManual_();
}

}  // namespace ratiscope
