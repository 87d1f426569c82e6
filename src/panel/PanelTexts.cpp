// The key-to-control table of the panel's texts.
#include "panel/PanelTexts.h"

#include "panel/LookRules.h"
#include "panel/PanelControls.h"
#include "settings/Format.h"
#include "settings/LangTable.h"

namespace ratiscope {

static_assert(kColorNameKeys.size() == 1 + kNamedColors.size(), "a key for \"Custom...\" and each named colour");

namespace {

std::string Key(std::string_view prefix, int i) { return std::string(prefix) + std::to_string(i); }

}  // namespace

std::string ProductLabelText() {
    return std::string(kProductName) + "\n" + LangString("MSVersion") + " " + std::string(kProductVersion);
}

void ApplyPanelTexts(TPanelControls& c) {
    c.PageControl.SetTabCaption(0, LangString("MSMainTab"));
    c.LogoLabel.SetCaption(ProductLabelText());
    c.CopyrightLabel.SetCaption(Format(LangString("MSCopyright"), {kNoticeText}));
    c.DevWebBtn.SetCaption(LangString("MSDevWebBtn"));
    c.AskSupportBtn.SetCaption(LangString("MSAskSupportBtn"));
    c.CheckForUpdatesBtn.SetCaption(LangString("MSCheckForUpdatesBtn"));
    c.HelpBtn.SetCaption(LangString("MSHelpBtn"));
    c.SetupsLabel.SetCaption(LangString("MSSetups"));
    c.SaveSetupBtn.SetCaption(LangString("MSSaveSetupBtn"));
    c.RestoreSetupBtn.SetCaption(LangString("MSRestoreSetupBtn"));
    c.DeleteSetupBtn.SetCaption(LangString("MSDeleteSetupBtn"));

    c.PageControl.SetTabCaption(1, LangString("MSLookTab"));
    c.SectionLabel.SetCaption(LangString("MSSection"));
    c.SnapToGroupBox.SetCaption(LangString("MSSnapTo"));
    c.WidthRadio.SetCaption(LangString("MSWidth"));
    c.HeightRadio.SetCaption(LangString("MSHeight"));
    c.RatioLabel.SetCaption(LangString("MSRatio"));
    // Entries 0 and 12 show the golden factor, entry 1 its reciprocal.
    for (int i = 0; i < kStandardRatioCount; ++i) {
        const std::string text = LangString(Key("MSRat", i));
        if (i == 0 || i == 12)
            c.RatioComboBox.SetItemText(i, Format(text, {kRatioEntries[0]}));
        else if (i == 1)
            c.RatioComboBox.SetItemText(i, Format(text, {kRatioEntries[1]}));
        else
            c.RatioComboBox.SetItemText(i, text);
    }
    c.GridLabel.SetCaption(LangString("MSGrid"));
    c.LookLabel.SetCaption(LangString("MSLook"));
    for (int i = 0; i < kLookEntryCount; ++i) c.LookComboBox.SetItemText(i, LangString(kBuiltInLooks[i].key));
    c.OrientationLabel.SetCaption(LangString("MSOrientation"));
    for (int i = 0; i < kOrientationEntryCount; ++i)
        c.OrientationComboBox.SetItemText(i, LangString(Key("MSOr", i)));
    c.GridSizeLabel.SetCaption(LangString("MSGridSize"));
    c.FitWindowBtn.SetCaption(LangString("MSFitWindowBtn"));

    c.PageControl.SetTabCaption(2, LangString("MSColorsTab"));
    c.LinesColorLabel.SetCaption(LangString("MSLinesColor"));
    c.ValuesColorLabel.SetCaption(LangString("MSValuesColor"));
    c.OpacityLabel.SetCaption(LangString("MSOpacity"));
    for (std::size_t i = 0; i < kColorNameKeys.size(); ++i) {
        const std::string name = LangString(kColorNameKeys[i]);
        c.LinesColorBox.SetItemText(static_cast<std::int32_t>(i), name);
        c.ValuesColorBox.SetItemText(static_cast<std::int32_t>(i), name);
    }

    c.PageControl.SetTabCaption(3, LangString("MSAdvancedTab"));
    c.LanguageLabel.SetCaption(LangString("MSLanguage"));
    c.AdvancedLabel.SetCaption(LangString("MSAdvanced"));
    c.RestoreButton.SetCaption(LangString("MSRestore"));
    for (int i = 0; i < kOptionEntryCount; ++i) c.AdvCheckListBox.SetItemText(i, LangString(Key("MSA", i)));
    c.LockCheckBox.SetCaption(LangString("MSLockAspectRatio"));
}

}  // namespace ratiscope
