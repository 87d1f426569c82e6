// Creates the panel's controls with their fixed properties; texts come later from ApplyTexts.
#include "panel/PanelControls.h"

#include <string>

#include "panel/LookRules.h"
#include "settings/FigureLibrary.h"

namespace ratiscope {

namespace {

// Lists are created with as many entries as they are designed with; the
// placeholder is the entry's language key, which is what a missing text shows.
void AddPlaceholders(IComboBox& box, const char* prefix, int count) {
    for (int i = 0; i < count; ++i) box.SetItemText(i, prefix + std::to_string(i));
}

}  // namespace

TPanelControls::TPanelControls(IControls& c)
    : Panel(c.CreatePanel(c.Client(), "Panel")),
      PageControl(c.CreateTabControl(Panel, "PageControl")),

      MainTabSheet(PageControl.AddPage("MainTabSheet")),
      LogoImage(c.CreatePicture(MainTabSheet, "LogoImage")),
      LogoLabel(c.CreateLabel(MainTabSheet, "LogoLabel", TLabelSizing::FixedWrap)),
      CopyrightLabel(c.CreateLabel(MainTabSheet, "CopyrightLabel", TLabelSizing::FixedWrap)),
      DevWebBtn(c.CreateButton(MainTabSheet, "DevWebBtn")),
      AskSupportBtn(c.CreateButton(MainTabSheet, "AskSupportBtn")),
      CheckForUpdatesBtn(c.CreateButton(MainTabSheet, "CheckForUpdatesBtn")),
      HelpBtn(c.CreateButton(MainTabSheet, "HelpBtn")),
      SetupsLabel(c.CreateLabel(MainTabSheet, "SetupsLabel", TLabelSizing::AutoSize)),
      SetupComboBox(c.CreateComboBox(MainTabSheet, "SetupComboBox", TComboStyle::Editable)),
      SaveSetupBtn(c.CreateButton(MainTabSheet, "SaveSetupBtn")),
      RestoreSetupBtn(c.CreateButton(MainTabSheet, "RestoreSetupBtn")),
      DeleteSetupBtn(c.CreateButton(MainTabSheet, "DeleteSetupBtn")),

      LookTabSheet(PageControl.AddPage("LookTabSheet")),
      SectionLabel(c.CreateLabel(LookTabSheet, "SectionLabel", TLabelSizing::AutoSize)),
      SnapToGroupBox(c.CreateGroupBox(LookTabSheet, "SnapToGroupBox")),
      WidthRadio(c.CreateRadioButton(SnapToGroupBox, "WidthRadio")),
      HeightRadio(c.CreateRadioButton(SnapToGroupBox, "HeightRadio")),
      SizeEdit(c.CreateEdit(SnapToGroupBox, "SizeEdit")),
      SizeUpDown(c.CreateUpDown(SnapToGroupBox, "SizeUpDown", SizeEdit)),
      RatioLabel(c.CreateLabel(LookTabSheet, "RatioLabel", TLabelSizing::AutoSize)),
      RatioComboBox(c.CreateComboBox(LookTabSheet, "RatioComboBox", TComboStyle::Editable)),
      GridLabel(c.CreateLabel(LookTabSheet, "GridLabel", TLabelSizing::AutoSize)),
      LookLabel(c.CreateLabel(LookTabSheet, "LookLabel", TLabelSizing::AutoSize)),
      LookComboBox(c.CreateComboBox(LookTabSheet, "LookComboBox", TComboStyle::List)),
      OrientationLabel(c.CreateLabel(LookTabSheet, "OrientationLabel", TLabelSizing::AutoSize)),
      OrientationComboBox(c.CreateComboBox(LookTabSheet, "OrientationComboBox", TComboStyle::List)),
      GridSizeLabel(c.CreateLabel(LookTabSheet, "GridSizeLabel", TLabelSizing::AutoSize)),
      GridSizeEdit(c.CreateEdit(LookTabSheet, "GridSizeEdit")),
      GridSizeUpDown(c.CreateUpDown(LookTabSheet, "GridSizeUpDown", GridSizeEdit)),
      LockCheckBox(c.CreateCheckBox(LookTabSheet, "LockCheckBox")),
      FitWindowBtn(c.CreateButton(LookTabSheet, "FitWindowBtn")),
      FigureProblemLabel(c.CreateLabel(LookTabSheet, "FigureProblemLabel", TLabelSizing::FixedWrap)),

      ColorsTab(PageControl.AddPage("ColorsTab")),
      LinesColorLabel(c.CreateLabel(ColorsTab, "LinesColorLabel", TLabelSizing::AutoSize)),
      LinesColorBox(c.CreateColorBox(ColorsTab, "LinesColorBox")),
      ValuesColorLabel(c.CreateLabel(ColorsTab, "ValuesColorLabel", TLabelSizing::AutoSize)),
      ValuesColorBox(c.CreateColorBox(ColorsTab, "ValuesColorBox")),
      OpacityLabel(c.CreateLabel(ColorsTab, "OpacityLabel", TLabelSizing::AutoSize)),
      OpacityTrackBar(c.CreateTrackBar(ColorsTab, "OpacityTrackBar")),
      P0Label(c.CreateLabel(ColorsTab, "P0Label", TLabelSizing::AutoSize)),
      P100Label(c.CreateLabel(ColorsTab, "P100Label", TLabelSizing::AutoSize)),

      AdvancedTab(PageControl.AddPage("AdvancedTab")),
      AdvancedLabel(c.CreateLabel(AdvancedTab, "AdvancedLabel", TLabelSizing::AutoSize)),
      AdvCheckListBox(c.CreateCheckListBox(AdvancedTab, "AdvCheckListBox")),
      RestoreButton(c.CreateButton(AdvancedTab, "RestoreButton")),
      LanguageLabel(c.CreateLabel(AdvancedTab, "LanguageLabel", TLabelSizing::AutoSize)),
      LangComboBox(c.CreateComboBox(AdvancedTab, "LangComboBox", TComboStyle::List)) {
    DevWebBtn.SetDefault(true);

    SizeUpDown.SetRange(0, 0);  // the upper bound follows the screen, at creation
    AddPlaceholders(RatioComboBox, "MSRat", kStandardRatioCount);
    RatioComboBox.SetDropDownCount(15);
    for (int i = 0; i < kLookEntryCount; ++i) LookComboBox.SetItemText(i, std::string(kBuiltInLooks[i].key));
    // The figures of the user's own follow under their own titles, which no
    // language file translates.
    const TFigureLibrary& figures = FigureLibrary();
    for (std::size_t i = 0; i < figures.figures.size(); ++i)
        LookComboBox.SetItemText(kLookEntryCount + static_cast<int>(i), figures.figures[i].title);
    LookComboBox.SetDropDownCount(kLookDropDownRows);
    std::string problems;
    for (const TFigureProblem& p : figures.problems) problems += (problems.empty() ? "" : "\n") + FigureProblemText(p);
    FigureProblemLabel.SetCaption(problems);
    AddPlaceholders(OrientationComboBox, "MSOr", kOrientationEntryCount);
    GridSizeUpDown.SetRange(0, 32766);

    OpacityTrackBar.SetRange(0, 100);
    OpacityTrackBar.SetPageSize(10);
    OpacityTrackBar.SetTickFrequency(10);
    P0Label.SetCaption("0%");
    P100Label.SetCaption("100%");

    for (int i = 0; i < kOptionEntryCount; ++i) AdvCheckListBox.SetItemText(i, "MSA" + std::to_string(i));
}

std::vector<TDesignBounds> TPanelControls::Design() const {
    return {
        {&LogoImage, 11, 9, 32, 32, false},
        {&LogoLabel, 49, 13, 107, 44, true},
        {&CopyrightLabel, 11, 63, 142, 42, false},
        {&DevWebBtn, 11, 142, 142, 21, false},
        {&AskSupportBtn, 11, 166, 142, 21, false},
        {&CheckForUpdatesBtn, 11, 190, 142, 21, false},
        {&HelpBtn, 11, 213, 142, 21, false},
        {&SetupsLabel, 11, 246, 0, 0, true},
        {&SetupComboBox, 11, 261, 142, 19, false},
        {&SaveSetupBtn, 11, 285, 69, 21, false},
        {&RestoreSetupBtn, 84, 285, 69, 21, false},
        {&DeleteSetupBtn, 11, 309, 142, 21, false},

        {&SectionLabel, 12, 12, 0, 0, true},
        {&SnapToGroupBox, 8, 28, 149, 57, false},
        {&WidthRadio, 8, 16, 77, 17, false},
        {&HeightRadio, 8, 32, 73, 17, false},
        {&SizeEdit, 92, 23, 35, 19, false},
        {&SizeUpDown, 127, 23, 16, 19, false},
        {&RatioLabel, 12, 92, 0, 0, false},
        {&RatioComboBox, 12, 105, 141, 19, false},
        {&LockCheckBox, 12, 130, 141, 17, false},
        {&GridLabel, 12, 160, 0, 0, true},
        {&LookLabel, 12, 175, 0, 0, false},
        {&LookComboBox, 12, 188, 141, 19, false},
        {&OrientationLabel, 12, 216, 0, 0, false},
        {&OrientationComboBox, 12, 229, 141, 19, false},
        {&GridSizeLabel, 12, 262, 0, 0, false},
        {&GridSizeEdit, 100, 259, 35, 19, false},
        {&GridSizeUpDown, 135, 259, 16, 19, false},
        {&FitWindowBtn, 12, 290, 141, 21, false},
        {&FigureProblemLabel, 12, 318, 141, 44, false},

        {&LinesColorLabel, 12, 12, 0, 0, false},
        {&LinesColorBox, 12, 25, 141, 22, false},
        {&ValuesColorLabel, 12, 56, 0, 0, false},
        {&ValuesColorBox, 12, 69, 141, 22, false},
        {&OpacityLabel, 12, 102, 0, 0, false},
        {&OpacityTrackBar, 12, 114, 141, 33, false},
        {&P0Label, 16, 148, 0, 0, false},
        {&P100Label, 129, 148, 0, 0, false},

        {&AdvancedLabel, 12, 12, 0, 0, false},
        {&AdvCheckListBox, 12, 25, 141, 146, false},
        {&LanguageLabel, 12, 182, 0, 0, false},
        {&LangComboBox, 12, 195, 141, 19, false},
        {&RestoreButton, 12, 224, 141, 21, false},
    };
}

}  // namespace ratiscope
