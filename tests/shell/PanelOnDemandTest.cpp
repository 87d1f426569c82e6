// The panel built on demand: a hidden panel stays unbuilt while the overlay
// asks about it or hides it, answers from the settings meanwhile, and is
// built once, shown, by whatever shows it.
#include "shell/PanelOnDemand.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace ratiscope {
namespace {

constexpr std::int32_t kScreenWidth = 1280;

// A panel window as the overlay sees it: placed where the settings say,
// shown as they say, on the page they name.
class TPanel final : public IPanelLink {
public:
    explicit TPanel(const TSettings& s) : left(s.SX), top(s.SY), shown(s.SVisible), page(s.SPage) {}
    void RequestRepaint() override { ++repaints; }
    void ToggleVisible() override { shown = !shown; }
    void SetShown(bool s) override { shown = s; }
    std::int32_t Left() const override { return left; }
    std::int32_t Top() const override { return top; }
    bool IsShown() const override { return shown; }
    std::int32_t ActivePage() const override { return page; }

    std::int32_t left, top;
    bool shown;
    std::int32_t page;
    int repaints = 0;
};

using TStep = std::function<void(TPanelOnDemand&)>;

const TStep kToggle = [](TPanelOnDemand& p) { p.ToggleVisible(); };
const TStep kShow = [](TPanelOnDemand& p) { p.SetShown(true); };
const TStep kHide = [](TPanelOnDemand& p) { p.SetShown(false); };
const TStep kRepaint = [](TPanelOnDemand& p) { p.RequestRepaint(); };
const TStep kBuild = [](TPanelOnDemand& p) { p.Build(); };

TEST(PanelOnDemand, BuiltOnlyByWhatShowsIt) {
    struct Case {
        const char* what;
        bool storedVisible;
        std::vector<TStep> steps;
        int builds;
        bool shown;
    };
    const Case cases[] = {
        {"nothing asked", false, {}, 0, false},
        {"a repaint and a hide of a hidden panel", false, {kRepaint, kHide, kRepaint}, 0, false},
        {"F2 shows it", false, {kToggle}, 1, true},
        {"F2 twice hides it again, built once", false, {kToggle, kToggle}, 1, false},
        {"shown again after hiding away", false, {kShow}, 1, true},
        {"built as stored, shown", true, {kBuild}, 1, true},
        {"built twice is built once", true, {kBuild, kBuild, kToggle}, 1, false},
    };
    for (const Case& c : cases) {
        TSettings settings(kScreenWidth);
        settings.SVisible = c.storedVisible;
        std::vector<TPanel> made;
        made.reserve(2);
        TPanelOnDemand panel(settings, [&]() -> IPanelLink& { return made.emplace_back(settings); });
        for (const TStep& step : c.steps) step(panel);
        EXPECT_EQ(int(made.size()), c.builds) << c.what;
        EXPECT_EQ(panel.Built(), c.builds > 0) << c.what;
        EXPECT_EQ(panel.IsShown(), c.shown) << c.what;
    }
}

// What the overlay stores at close comes from the settings until the panel
// exists, and from the panel after.
TEST(PanelOnDemand, PlaceAndPageFromTheSettingsUntilBuilt) {
    TSettings settings(kScreenWidth);
    settings.SVisible = false;
    settings.SX = -2147483647 - 1;
    settings.SY = 612;
    settings.SPage = 7;  // no such page: kept as it was read
    std::vector<TPanel> made;
    made.reserve(1);
    TPanelOnDemand panel(settings, [&]() -> IPanelLink& { return made.emplace_back(settings); });
    EXPECT_EQ(panel.Left(), settings.SX);
    EXPECT_EQ(panel.Top(), 612);
    EXPECT_EQ(panel.ActivePage(), 7);
    EXPECT_FALSE(panel.IsShown());

    panel.ToggleVisible();
    ASSERT_EQ(made.size(), 1u);
    made[0].left = 40;
    made[0].top = 50;
    made[0].page = 3;
    EXPECT_EQ(panel.Left(), 40);
    EXPECT_EQ(panel.Top(), 50);
    EXPECT_EQ(panel.ActivePage(), 3);
    EXPECT_TRUE(panel.IsShown());
    panel.RequestRepaint();
    EXPECT_EQ(made[0].repaints, 1);
}

// A build that fails leaves no panel and is not tried on every later request.
TEST(PanelOnDemand, AFailedBuildIsNotRepeated) {
    TSettings settings(kScreenWidth);
    int tries = 0;
    TPanelOnDemand panel(settings, [&]() -> IPanelLink& {
        ++tries;
        throw std::runtime_error("no window");
    });
    EXPECT_THROW(panel.ToggleVisible(), std::runtime_error);
    EXPECT_NO_THROW(panel.ToggleVisible());
    EXPECT_FALSE(panel.Built());
    EXPECT_FALSE(panel.IsShown());
    EXPECT_EQ(tries, 1);
}

}  // namespace
}  // namespace ratiscope
