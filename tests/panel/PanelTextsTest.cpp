// Every panel text from its language key: the key table, the composed product
// and notice labels, the ratio templates and a template that does not fit.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "PanelFixture.h"
#include "panel/PanelTexts.h"

namespace ratiscope::testing {
namespace {

class PanelTexts : public PanelTest {};

TEST_F(PanelTexts, EveryControlShowsItsKeysText) {
    Create();
    struct Case {
        const char* control;
        const char* text;
    };
    const Case captions[] = {
        {"DevWebBtn", "msdevwebbtn"},      {"AskSupportBtn", "msasksupportbtn"},
        {"CheckForUpdatesBtn", "mscheckforupdatesbtn"}, {"HelpBtn", "mshelpbtn"},
        {"SectionLabel", "mssection"},     {"SnapToGroupBox", "mssnapto"},
        {"WidthRadio", "mswidth"},         {"HeightRadio", "msheight"},
        {"RatioLabel", "msratio"},         {"GridLabel", "msgrid"},
        {"LookLabel", "mslook"},           {"OrientationLabel", "msorientation"},
        {"GridSizeLabel", "msgridsize"},   {"LinesColorLabel", "mslinescolor"},
        {"ValuesColorLabel", "msvaluescolor"}, {"OpacityLabel", "msopacity"},
        {"LanguageLabel", "mslanguage"},   {"AdvancedLabel", "msadvanced"},
        {"RestoreButton", "msrestore"},    {"LockCheckBox", "mslockaspectratio"},
        {"FitWindowBtn", "msfitwindowbtn"},
        {"P0Label", "0%"},                 {"P100Label", "100%"},
    };
    for (const Case& c : captions) {
        IControl& control = controls->Get<IControl>(c.control);
        std::string shown;
        if (auto* l = dynamic_cast<ILabel*>(&control)) shown = l->Caption();
        if (auto* b = dynamic_cast<IButton*>(&control)) shown = b->Caption();
        if (auto* g = dynamic_cast<IGroupBox*>(&control)) shown = g->Caption();
        if (auto* k = dynamic_cast<ICheckable*>(&control)) shown = k->Caption();
        EXPECT_EQ(shown, c.text) << c.control;
    }
    auto& tabs = Get<RecordingTabControl>("PageControl");
    EXPECT_EQ(tabs.TabCaption(0), "msmaintab");
    EXPECT_EQ(tabs.TabCaption(1), "mslooktab");
    EXPECT_EQ(tabs.TabCaption(2), "mscolorstab");
    EXPECT_EQ(tabs.TabCaption(3), "msadvancedtab");
    EXPECT_EQ(RatioBox().ItemText(0), "Golden 0.6180");
    EXPECT_EQ(RatioBox().ItemText(1), "Golden 1.6180");
    EXPECT_EQ(RatioBox().ItemText(2), "ratio 2");
    EXPECT_EQ(RatioBox().ItemText(12), "Square (0.62)");
    EXPECT_EQ(RatioBox().ItemText(16), "ratio 16");
    EXPECT_EQ(Get<RecordingComboBox>("LookComboBox").ItemText(13), "look 13");
    EXPECT_EQ(Get<RecordingComboBox>("OrientationComboBox").ItemText(3), "orientation 3");
    EXPECT_EQ(Options().ItemText(6), "option 6");
    EXPECT_EQ(Get<RecordingLabel>("LogoLabel").Caption(), "Vendrel Ratiscope\nVersion 5.9.3");
    EXPECT_EQ(Get<RecordingLabel>("CopyrightLabel").Caption(), "notice: " + std::string(kNoticeText));
}

TEST_F(PanelTexts, ThreeDecimalPatternsShowTheGoldenFactorAndPhi) {
    files.AddFile(std::string(kProgramFolder) + "Short.lng", "MSRat0=%.3f\r\nMSRat1=%.3f\r\nMSRat12=1:1\r\n");
    settings.Lang = "Short";
    Create();
    EXPECT_EQ(RatioBox().ItemText(0), "0.618");
    EXPECT_EQ(RatioBox().ItemText(1), "1.618");
    EXPECT_EQ(RatioBox().ItemText(12), "1:1");
}

TEST_F(PanelTexts, MissingKeysShowAsThemselves) {
    files.files.clear();
    Create();
    EXPECT_EQ(Get<RecordingTabControl>("PageControl").TabCaption(1), "MSLookTab");
    EXPECT_EQ(Get<RecordingLabel>("LogoLabel").Caption(), "Vendrel Ratiscope\nMSVersion 5.9.3");
    EXPECT_EQ(Get<RecordingLabel>("CopyrightLabel").Caption(), "MSCopyright");
    EXPECT_EQ(RatioBox().ItemText(0), "MSRat0");
    EXPECT_EQ(RatioBox().ItemIndex(), 0);
}

TEST_F(PanelTexts, APatternThatDoesNotFitIsReportedAndEarlierTextsStay) {
    Create();
    files.files[std::string(kProgramFolder) + "Deutsch.lng"] = "MSSection=Abschnitt\r\nMSRat0=%s\r\nMSGrid=Raster\r\n";
    const int pictures = window->pictures;
    Get<RecordingComboBox>("LangComboBox").UserPicks(0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "app.ShowMessage error \"Vendrel Ratiscope\" \"Format '%s' invalid or incompatible with argument\"");
    EXPECT_EQ(settings.Lang, "Deutsch");
    EXPECT_EQ(Get<RecordingLabel>("SectionLabel").Caption(), "Abschnitt");  // set before the ratio entries
    EXPECT_EQ(Get<RecordingLabel>("GridLabel").Caption(), "msgrid");        // after them: the English pass's text
    EXPECT_GT(window->pictures, pictures);  // the English pass repainted at once
}

TEST_F(PanelTexts, ABrokenPatternAtStartUpIsReportedAndThePanelStillShows) {
    files.AddFile(std::string(kProgramFolder) + "Broken.lng", "MSRat1=%d\r\n");
    settings.Lang = "Broken";
    settings.SPage = 3;
    Create();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(form->ActivePage(), 3);
    EXPECT_EQ(RatioBox().ItemText(0), "Golden 0.6180");
}

TEST_F(PanelTexts, TheCaptionIsFetchedOnEveryPaint) {
    Create();
    MergeLangPair("MSCaption", "Einstellungen");
    form->FormPaint();
    EXPECT_EQ(window->surface.CallsOf("DrawTextInBox").back(), "DrawTextInBox \"Einstellungen\" 14,1,138,15 10");
}

std::string ShippedLanguageFile(std::string_view name) {
    std::ifstream in(std::filesystem::path(RATISCOPE_LANG_DIR) /
                         std::filesystem::path(std::u8string(name.begin(), name.end()) + u8".lng"),
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(PanelTexts, ColourNamesComeFromTheLanguageInEveryShippedLanguage) {
    struct Case {
        const char* language;
        const char* custom;  // entry 0
        const char* black;   // entry 1
        const char* last;    // entry 20, Medium Gray
    };
    const Case cases[] = {
        {"English", "Custom...", "Black", "Medium Gray"},
        {"Deutsch", "Eigene...", "Schwarz", "Mittelgrau"},
        {"Espa\xC3\xB1ol", "Personalizado...", "Negro", "Gris medio"},
        {"Fran\xC3\xA7" "ais", "Personnalis\xC3\xA9" "e...", "Noir", "Gris moyen"},
        {"\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9", "\xD0\x94\xD1\x80\xD1\x83\xD0\xB3\xD0\xBE\xD0\xB9...",
         "\xD0\xA7\xD0\xB5\xD1\x80\xD0\xBD\xD1\x8B\xD0\xB9",
         "\xD0\xA1\xD1\x80\xD0\xB5\xD0\xB4\xD0\xBD\xD0\xB5-\xD1\x81\xD0\xB5\xD1\x80\xD1\x8B\xD0\xB9"},
    };
    const std::string english = ShippedLanguageFile("English");
    ASSERT_FALSE(english.empty());
    for (const Case& c : cases) {
        form.reset();
        ClearLanguageTable();
        files.files.clear();
        files.AddFile(std::string(kProgramFolder) + "English.lng", english);
        files.AddFile(std::string(kProgramFolder) + c.language + ".lng", ShippedLanguageFile(c.language));
        settings.Lang = c.language;
        Create();
        for (const char* box : {"LinesColorBox", "ValuesColorBox"}) {
            const auto& colors = Get<RecordingColorBox>(box);
            EXPECT_EQ(colors.ItemText(0), c.custom) << c.language << " " << box;
            EXPECT_EQ(colors.ItemText(1), c.black) << c.language << " " << box;
            EXPECT_EQ(colors.ItemText(20), c.last) << c.language << " " << box;
            for (std::int32_t i = 0; i < colors.ItemCount(); ++i)
                EXPECT_EQ(colors.ItemText(i), LangString(kColorNameKeys[static_cast<std::size_t>(i)]))
                    << c.language << " " << box << " entry " << i;
        }
    }
}

TEST_F(PanelTexts, ALanguageWithoutColourNamesShowsTheEnglishOnes) {
    files.AddFile(std::string(kProgramFolder) + "English.lng", ShippedLanguageFile("English"));
    files.AddFile(std::string(kProgramFolder) + "Italiano.lng", "MSLookTab=Aspetto\r\nMSOpacity=Opacit\xC3\xA0\r\n");
    settings.Lang = "Italiano";
    Create();
    const auto& colors = Get<RecordingColorBox>("LinesColorBox");
    EXPECT_EQ(Get<RecordingTabControl>("PageControl").TabCaption(1), "Aspetto");
    EXPECT_EQ(colors.ItemText(0), "Custom...");
    EXPECT_EQ(colors.ItemText(9), "Silver");
    EXPECT_EQ(colors.ItemText(17), "Money Green");
    EXPECT_EQ(colors.ItemColor(17), 0xC0DCC0u);  // renaming keeps the colour
}

}  // namespace
}  // namespace ratiscope::testing
