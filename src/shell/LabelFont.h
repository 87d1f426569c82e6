// The label font measured without a font: an exported SVG's layout (which
// labels fit, where they are centred) must not depend on the machine that
// wrote it, since its text is drawn by whatever views the file.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/TextEngine.h"

namespace ratiscope {

// The cell height of the label font, as every text engine measures it.
inline constexpr std::int32_t kLabelCellHeight = 11;
// What a character the table does not know measures: a full cell, as wide as
// an ideograph of this size and as the box the Linux tool measures for a
// character no installed font has.
inline constexpr std::int32_t kUnknownCharAdvance = kLabelCellHeight;

// The advance in whole pixels of one character of the 11-pixel Tahoma the
// Linux tool measures with (the hinted advances of fonts-wine's copy):
// Latin, Cyrillic and common punctuation from the table, 0 for combining
// marks and invisible format characters, kUnknownCharAdvance for the rest
// (other scripts, and U+FFFD, which stands for bytes that are not UTF-8).
std::int32_t LabelCharAdvance(char32_t codePoint);

// The font's pair kerning between two adjacent characters, rounded to whole
// pixels as the hinted font applies it; 0 for most pairs.
std::int32_t LabelKerning(char32_t left, char32_t right);

// Measures text as the SVG writes it (see XmlCharAt): the advances plus the
// kerning of adjacent pairs; a soft hyphen takes no room and does not part a
// pair. Equal to the Linux tool's measurement for text of one script, every
// shipped text among it; where Cyrillic runs into punctuation before a Latin
// capital ("ю-T"), Qt shapes the scripts apart and leaves that pair unkerned,
// one pixel wider than here.
class TLabelFont final : public ITextMeasure {
public:
    TSize Measure(std::string_view text) override;
};

}  // namespace ratiscope
