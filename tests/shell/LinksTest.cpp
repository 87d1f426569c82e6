// Opening the manual and the vendor's pages: the install age in the query,
// the fallback opener with its single argument, and where the manual is found.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "shell/Links.h"
#include "support/FakeFiles.h"
#include "support/RecordingDesktop.h"
#include "support/TimeZone.h"

namespace ratiscope::testing {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

class LinksTest : public ::testing::Test {
protected:
    // Whole days in local time: pinned so daylight saving cannot shift an hour.
    TTimeZoneGuard timeZone{"UTC"};
    const system_clock::time_point now = sys_days{2026y / 3 / 14} + 15h + 30min;
    const std::string folder = "/opt/vendrel/ratiscope/";
    TFakeFiles files;
    TRecordingDesktop desktop;
};

TEST_F(LinksTest, InstallAge) {
    struct Case {
        const char* what;
        std::optional<system_clock::duration> markerAge;  // how long before now the marker was written
        std::string days;
    };
    const Case cases[] = {
        {"no marker", std::nullopt, "999"},
        {"10 days and 13 hours ago", 10 * 24h + 13h, "10"},
        {"exactly a day ago", 24h, "1"},
        {"a minute short of a day", 24h - 1min, "0"},
        {"12 hours in the future", -12h, "0"},
        {"36 hours in the future", -36h, "-1"},
    };
    for (const Case& c : cases) {
        TFakeFiles f;
        if (c.markerAge) {
            f.AddFile(folder + std::string(InstallMarkerName()), "#!/bin/sh\n");
            f.times[folder + std::string(InstallMarkerName())] = now - *c.markerAge;
        }
        const TLinks links(desktop, f, folder, now);
        EXPECT_EQ(links.WebQuery(now), "?prd=vrx&v=5.9.3&d=" + c.days) << c.what;
    }
}

TEST_F(LinksTest, TheAgeIsCountedAtEachQuery) {
    const TLinks links(desktop, files, folder, now);
    EXPECT_EQ(links.WebQuery(now + 36h), "?prd=vrx&v=5.9.3&d=1000");
}

TEST_F(LinksTest, AFolderNamedLikeTheMarkerDoesNotCount) {
    files.AddFolder(folder + std::string(InstallMarkerName()));
    files.times[folder + std::string(InstallMarkerName())] = now - 5 * 24h;
    const TLinks links(desktop, files, folder, now);
    EXPECT_EQ(links.WebQuery(now), "?prd=vrx&v=5.9.3&d=999");
}

TEST_F(LinksTest, WebPagesCarryTheQueryRightBehindThePath) {
    const std::string_view base = VendorBaseAddress();
    ASSERT_TRUE(base.ends_with("/"));
    ASSERT_TRUE(base.starts_with("https://"));
    TLinks links(desktop, files, folder, now);
    links.OpenWebPage(VendorPage(kSupportPage));
    links.OpenWebPage(VendorPage(kHomePage));
    links.OpenWebPage(VendorPage(kProductPage));
    links.OpenWebPage(VendorPage(kUninstallPage));
    const std::string q = links.WebQuery();
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{std::string(base) + "we/service/" + q, std::string(base) + q,
                                                        std::string(base) + "ratiscope/" + q,
                                                        std::string(base) + "we/service/uninstall/" + q}));
    EXPECT_TRUE(desktop.programs.empty());
}

TEST_F(LinksTest, FallbackGetsTheTargetAsOneArgument) {
    struct Case {
        std::string target, argument;
    };
    const Case cases[] = {
        {"/opt/my manual/index.html", "/opt/my manual/index.html"},
        {"/tmp/a\";rm -rf ~;\".html", "/tmp/a\";rm -rf ~;\".html"},
        {"$(reboot)", "$(reboot)"},
        {"--help", "./--help"},  // never an option of the opener
    };
    desktop.handlerWorks = false;
    TLinks links(desktop, files, folder, now);
    for (const Case& c : cases) {
        desktop.programs.clear();
        links.OpenDocument(c.target);
        ASSERT_EQ(desktop.programs.size(), 1u) << c.target;
        EXPECT_EQ(desktop.programs[0], (std::vector<std::string>{std::string(FallbackOpener()), c.argument}));
    }
    desktop.programs.clear();
    links.OpenDocument("");
    EXPECT_TRUE(desktop.programs.empty());
}

TEST_F(LinksTest, TheManualIsFoundWhereTheProgramIsNotInTheWorkingFolder) {
    const std::string beside = folder + "Manual/index.html";
    {
        TLinks links(desktop, files, folder, now);
        EXPECT_EQ(links.ManualPath(), beside) << "nothing found: still the program's own folder";
    }
    if (!InstalledManualPath().empty()) {
        files.AddFile(std::string(InstalledManualPath()), "<html>");
        TLinks links(desktop, files, folder, now);
        EXPECT_EQ(links.ManualPath(), InstalledManualPath());
    }
    files.AddFile(beside, "<html>");
    TLinks links(desktop, files, folder, now);
    EXPECT_EQ(links.ManualPath(), beside) << "next to the program wins";
    links.OpenManual();
    EXPECT_EQ(desktop.opened, std::vector<std::string>{beside});
}

TEST_F(LinksTest, LocalTimeCountsWallClockDays) {
    EXPECT_EQ(LocalMilliseconds(now + 24h) - LocalMilliseconds(now), 86'400'000);
    EXPECT_EQ(LocalMilliseconds(sys_days{1970y / 1 / 1}), 0);
    SetTimeZone("EST5");  // five hours behind
    EXPECT_EQ(LocalMilliseconds(sys_days{1970y / 1 / 2}), 19 * 3'600'000);
}

}  // namespace
}  // namespace ratiscope::testing
