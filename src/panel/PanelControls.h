// Every control of the settings panel, created once in keyboard order, with
// the place and typeface each has at 96 dpi.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Controls.h"
#include "settings/Looks.h"
#include "settings/Orientation.h"

namespace ratiscope {

// The design resolution every size of the panel is given in.
inline constexpr int kDesignDpi = 96;

// Entry counts of the lists as designed; ApplyTexts fills their texts.
inline constexpr int kLookEntryCount = kBuiltInLookCount;
inline constexpr int kOrientationEntryCount = kOrientationCount;
inline constexpr int kOptionEntryCount = 7;
// Rows the open look list shows before it scrolls.
inline constexpr int kLookDropDownRows = 15;

// A control's place at 96 dpi: left, top, width, height. A width of 0 marks a
// label that sizes itself to its text.
struct TDesignBounds {
    IControl* control;
    std::int32_t left, top, width, height;
    bool bold;
};

// Members are declared in creation order, which is also the keyboard order
// within each page; every reference lives as long as the control set.
struct TPanelControls {
    explicit TPanelControls(IControls& c);

    IContainer& Panel;
    ITabControl& PageControl;

    IContainer& MainTabSheet;
    IPicture& LogoImage;
    ILabel& LogoLabel;
    ILabel& CopyrightLabel;
    IButton& DevWebBtn;
    IButton& AskSupportBtn;
    IButton& CheckForUpdatesBtn;
    IButton& HelpBtn;
    // Below the page's original buttons: the named set-ups.
    ILabel& SetupsLabel;
    IComboBox& SetupComboBox;
    IButton& SaveSetupBtn;
    IButton& RestoreSetupBtn;
    IButton& DeleteSetupBtn;

    IContainer& LookTabSheet;
    ILabel& SectionLabel;
    IGroupBox& SnapToGroupBox;
    IRadioButton& WidthRadio;
    IRadioButton& HeightRadio;
    IEdit& SizeEdit;
    IUpDown& SizeUpDown;
    ILabel& RatioLabel;
    IComboBox& RatioComboBox;
    ILabel& GridLabel;
    ILabel& LookLabel;
    IComboBox& LookComboBox;
    ILabel& OrientationLabel;
    IComboBox& OrientationComboBox;
    ILabel& GridSizeLabel;
    IEdit& GridSizeEdit;
    IUpDown& GridSizeUpDown;
    ICheckBox& LockCheckBox;
    // Below the page's original controls, where it has room.
    IButton& FitWindowBtn;
    // Why figure files of the user's own were left out of the look list;
    // empty when none was.
    ILabel& FigureProblemLabel;

    IContainer& ColorsTab;
    ILabel& LinesColorLabel;
    IColorBox& LinesColorBox;
    ILabel& ValuesColorLabel;
    IColorBox& ValuesColorBox;
    ILabel& OpacityLabel;
    ITrackBar& OpacityTrackBar;
    ILabel& P0Label;
    ILabel& P100Label;

    IContainer& AdvancedTab;
    ILabel& AdvancedLabel;
    ICheckListBox& AdvCheckListBox;
    IButton& RestoreButton;
    ILabel& LanguageLabel;
    IComboBox& LangComboBox;

    // Every control inside the tab control with its design place; Panel and
    // PageControl are placed by LayoutPanel instead.
    std::vector<TDesignBounds> Design() const;
};

}  // namespace ratiscope
