// Every text of the settings panel from the language table, set in one fixed
// order, and the composed product and notice labels.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/Product.h"

namespace ratiscope {

struct TPanelControls;

// The argument of the "MSCopyright" template.
inline constexpr std::string_view kNoticeText = "(c) 2006-2026 Vendrel. All rights reserved.";

// The language keys of the colour lists' entries in entry order: "Custom..."
// first, then the colours of kNamedColors.
inline constexpr std::array<std::string_view, 21> kColorNameKeys{
    "MSCustomColor", "MSColorBlack",  "MSColorMaroon", "MSColorGreen",      "MSColorOlive",     "MSColorNavy",
    "MSColorPurple", "MSColorTeal",   "MSColorGray",   "MSColorSilver",     "MSColorRed",       "MSColorLime",
    "MSColorYellow", "MSColorBlue",   "MSColorFuchsia", "MSColorAqua",      "MSColorWhite",     "MSColorMoneyGreen",
    "MSColorSkyBlue", "MSColorCream", "MSColorMediumGray",
};

// "Vendrel Ratiscope", a line feed, the "MSVersion" text, a blank and the version.
std::string ProductLabelText();

// Sets every caption, label and list entry from its language key in table
// order. The ratio entries 0, 1 and 12 and the notice are templates; one that
// does not fit its value raises EFormatError, and the texts set before it stay.
// Replacing a list entry drops the drop-down lists' selections.
void ApplyPanelTexts(TPanelControls& controls);

}  // namespace ratiscope
