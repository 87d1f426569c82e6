// The key list itself. Every place that shows a text uses one of these keys;
// a language file is complete when it defines them all.
#include "settings/LanguageKeys.h"

#include <algorithm>
#include <iterator>

#include "base/Numbers.h"
#include "settings/LangTable.h"
#include "settings/LanguageFiles.h"
#include "settings/Looks.h"

namespace ratiscope {

namespace {

using enum TTemplateArgs;

constexpr TLanguageKey kKeys[] = {
    // Hints of the overlay's caption buttons; the help hint serves the panel too.
    {"MOrientButtonHint", None}, {"MLookButtonHint", None}, {"MSettingsButtonHint", None},
    {"MHelpButtonHint", None}, {"MMinimizeButtonHint", None}, {"MCloseButtonHint", None},
    // Messages of the overlay window about the show-and-hide key (its text).
    {"MHotkeyInvalid", Text}, {"MHotkeyTaken", Text},
    // Labels drawn on the overlay.
    {"MWidthHeight", TwoIntegers}, {"MGridSize", Integer},
    // Look names: the overlay's caption and the panel's look list.
#define RATISCOPE_LOOK_KEY(id, key, english, figure, labels, cycle) {key, None},
    RATISCOPE_BUILT_IN_LOOKS(RATISCOPE_LOOK_KEY)
#undef RATISCOPE_LOOK_KEY
    // The panel's caption strip.
    {"MSCaption", None}, {"MSCloseButtonHint", None},
    // Main page.
    {"MSMainTab", None}, {"MSVersion", None}, {"MSCopyright", Text}, {"MSDevWebBtn", None},
    {"MSAskSupportBtn", None}, {"MSCheckForUpdatesBtn", None}, {"MSHelpBtn", None},
    // Its named set-ups; the message comes when the list is full.
    {"MSSetups", None}, {"MSSaveSetupBtn", None}, {"MSRestoreSetupBtn", None}, {"MSDeleteSetupBtn", None},
    {"MSSetupsFull", Integer},
    // Look page.
    {"MSLookTab", None}, {"MSSection", None}, {"MSSnapTo", None}, {"MSWidth", None}, {"MSHeight", None},
    {"MSRatio", None}, {"MSRat0", Number}, {"MSRat1", Number}, {"MSRat2", None}, {"MSRat3", None},
    {"MSRat4", None}, {"MSRat5", None}, {"MSRat6", None}, {"MSRat7", None}, {"MSRat8", None},
    {"MSRat9", None}, {"MSRat10", None}, {"MSRat11", None}, {"MSRat12", Number}, {"MSRat13", None},
    {"MSRat14", None}, {"MSRat15", None}, {"MSRat16", None}, {"MSGrid", None}, {"MSLook", None},
    {"MSOrientation", None}, {"MSOr0", None}, {"MSOr1", None}, {"MSOr2", None}, {"MSOr3", None},
    {"MSGridSize", None}, {"MSLockAspectRatio", None}, {"MSFitWindowBtn", None},
    // Colors page.
    {"MSColorsTab", None}, {"MSLinesColor", None}, {"MSValuesColor", None}, {"MSOpacity", None},
    // The entries of both colour lists.
    {"MSCustomColor", None}, {"MSColorBlack", None}, {"MSColorMaroon", None}, {"MSColorGreen", None},
    {"MSColorOlive", None}, {"MSColorNavy", None}, {"MSColorPurple", None}, {"MSColorTeal", None},
    {"MSColorGray", None}, {"MSColorSilver", None}, {"MSColorRed", None}, {"MSColorLime", None},
    {"MSColorYellow", None}, {"MSColorBlue", None}, {"MSColorFuchsia", None}, {"MSColorAqua", None},
    {"MSColorWhite", None}, {"MSColorMoneyGreen", None}, {"MSColorSkyBlue", None}, {"MSColorCream", None},
    {"MSColorMediumGray", None},
    // Advanced page.
    {"MSAdvancedTab", None}, {"MSAdvanced", None}, {"MSLanguage", None}, {"MSRestore", None},
    {"MSA0", None}, {"MSA1", None}, {"MSA2", None}, {"MSA3", None}, {"MSA4", None}, {"MSA5", None},
    {"MSA6", None},
};

}  // namespace

std::span<const TLanguageKey> LanguageKeys() { return kKeys; }

const TLanguageKey* FindLanguageKey(std::string_view key) {
    const auto it =
        std::find_if(std::begin(kKeys), std::end(kKeys), [&](const TLanguageKey& k) { return k.key == key; });
    return it == std::end(kKeys) ? nullptr : &*it;
}

std::vector<TFormatArg> SampleArguments(const TLanguageKey& key) {
    switch (key.args) {
    case None: return {};
    case TwoIntegers: return {std::int32_t{396}, std::int32_t{245}};
    case Integer: return {std::int32_t{8}};
    // Ratio entry 1 is phi, the others the golden factor itself.
    case Number: return {key.key == "MSRat1" ? 1 / kGoldenFactor : kGoldenFactor};
    case Text:
        if (key.key.starts_with("MHotkey")) return {std::string_view("Ctrl+Alt+G")};
        return {std::string_view("(c) 2006-2026 Vendrel. All rights reserved.")};
    }
    return {};
}

std::string EscapeLanguageText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::string LanguageTextsListing(const TLangTable& table) {
    std::string out;
    for (const TLanguageKey& k : kKeys) {
        out += k.key;
        out += '=';
        out += EscapeLanguageText(table.Lookup(k.key));
        out += '\n';
    }
    return out;
}

TLanguageCheck CheckLanguage(const TLangTable& languageOnly) {
    TLanguageCheck check;
    const auto& entries = languageOnly.Entries();
    // Not a text but the file's own locale, which a first start looks for.
    if (std::none_of(entries.begin(), entries.end(), [](const auto& e) { return e.first == kLocaleKey; }))
        check.missing.emplace_back(kLocaleKey);
    for (const TLanguageKey& k : kKeys) {
        const auto it = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == k.key; });
        if (it == entries.end()) {
            check.missing.emplace_back(k.key);
            continue;
        }
        if (k.args == None) continue;
        const std::vector<TFormatArg> args = SampleArguments(k);
        try {
            Format(it->second, args);
        } catch (const EFormatError&) {
            check.badTemplates.emplace_back(k.key);
        }
    }
    for (const auto& [key, text] : languageOnly.Entries())
        if (!FindLanguageKey(key) && key != kLocaleKey) check.unused.push_back(key);
    return check;
}

std::string LanguageCheckReport(std::string_view name, const TLanguageCheck& check) {
    std::string out;
    for (const auto& key : check.missing) out += "missing " + EscapeLanguageText(key) + '\n';
    for (const auto& key : check.unused) out += "unused " + EscapeLanguageText(key) + '\n';
    for (const auto& key : check.badTemplates)
        out += "template " + EscapeLanguageText(key) + " does not fit its values\n";
    out += std::string(name) + ": " + std::to_string(check.missing.size()) + " missing, " +
           std::to_string(check.unused.size()) + " unused, " + std::to_string(check.badTemplates.size()) +
           " bad template" + (check.badTemplates.size() == 1 ? "" : "s") + '\n';
    return out;
}

}  // namespace ratiscope
