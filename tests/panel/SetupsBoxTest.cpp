// The Main page's set-ups against recording controls: what the box lists,
// what each button does with the name it shows, and the full list's message.
#include <string>
#include <vector>

#include "PanelFixture.h"
#include "settings/Setups.h"

namespace ratiscope::testing {
namespace {

class SetupsBox : public PanelTest {
protected:
    void SetUp() override {
        settings.Setups = {CaptureSetup(settings, "Print")};
        Create();
    }
    RecordingComboBox& Box() { return Get<RecordingComboBox>("SetupComboBox"); }
    void Click(const char* button) { Get<RecordingButton>(button).UserClicks(); }
    std::vector<std::string> Listed() {
        std::vector<std::string> names;
        for (std::int32_t i = 0; i < Box().ItemCount(); ++i) names.push_back(Box().ItemText(i));
        return names;
    }
};

TEST_F(SetupsBox, ListsTheSetupsOfTheSettingsFile) {
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Print"}));
    EXPECT_EQ(Box().Text(), "");
}

TEST_F(SetupsBox, SavesUnderTheTypedNameAndRestoresThePickedOne) {
    settings.SetGridSize(24);
    settings.SetOpacity(40);
    Box().UserTypes("  Screen grid ");
    Click("SaveSetupBtn");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Print", "Screen grid"}));
    EXPECT_EQ(Box().Text(), "Screen grid");
    EXPECT_TRUE(settings.SetupsChanged);

    Box().UserPicks(0);
    Click("RestoreSetupBtn");
    EXPECT_EQ(settings.GridSize, kDefaultGridSize);
    EXPECT_EQ(settings.Opacity, kDefaultOpacity);
    // A typed name restores as a picked one does.
    Box().UserTypes("Screen grid");
    Click("RestoreSetupBtn");
    EXPECT_EQ(settings.GridSize, 24);
    EXPECT_EQ(Get<RecordingEdit>("GridSizeEdit").Text(), "24");
    // A name no set-up has changes nothing.
    Box().UserTypes("nothing");
    Click("RestoreSetupBtn");
    EXPECT_EQ(settings.GridSize, 24);
}

TEST_F(SetupsBox, AnEmptyBoxNumbersTheNewSetupAndDeleteRemovesTheOneNamed) {
    Click("SaveSetupBtn");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Print", "Set-up 2"}));
    EXPECT_EQ(Box().Text(), "Set-up 2");
    Box().UserPicks(0);
    Click("DeleteSetupBtn");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Set-up 2"}));
    EXPECT_EQ(Box().Text(), "");
    Click("DeleteSetupBtn");  // nothing named: nothing goes
    EXPECT_EQ(Listed().size(), 1u);
}

TEST_F(SetupsBox, AFullListSaysSoAndKeepsEverySetup) {
    while (settings.Setups.size() < kMaxSetups) settings.Setups.push_back(CaptureSetup(settings, std::to_string(settings.Setups.size())));
    const std::size_t mark = Mark();
    Box().UserTypes("one more");
    Click("SaveSetupBtn");
    EXPECT_EQ(settings.Setups.size(), kMaxSetups);
    ASSERT_EQ(ws.Since(mark).size(), 1u);
    EXPECT_NE(ws.Since(mark)[0].find("app.ShowMessage"), std::string::npos) << ws.Since(mark)[0];
}

}  // namespace
}  // namespace ratiscope::testing
