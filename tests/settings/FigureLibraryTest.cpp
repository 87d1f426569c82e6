// The look list's figures of one's own: which files are found where, which
// are left out and what the panel is told about them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/FigureLibrary.h"
#include "settings/Settings.h"
#include "settings/SettingsDefaults.h"
#include "support/FakeFiles.h"

namespace ratiscope {
namespace {

using testing::TFakeFiles;

constexpr const char* kShipped = "/usr/lib/ratiscope/Figures/";
constexpr const char* kUsers = "/home/u/.config/Vendrel/Ratiscope/Figures/";

TFakeFiles Installed() {
    TFakeFiles files = testing::InstalledCopy();
    files.AddFolder("/usr/lib/ratiscope/Figures");
    files.AddFolder("/home/u/.config/Vendrel/Ratiscope/Figures");
    return files;
}

std::string Titles(const TFigureLibrary& library) {
    std::string s;
    for (const TFigureEntry& e : library.figures) s += e.fileName + "=" + e.title + ";";
    return s;
}

std::string Problems(const TFigureLibrary& library) {
    std::string s;
    for (const TFigureProblem& p : library.problems) s += FigureProblemText(p) + ";";
    return s;
}

TEST(FigureLibrary, LooksInTheProgramFolderThenTheUsersOnce) {
    TFakeFiles installed = Installed();
    EXPECT_EQ(FigureFolders(installed), (std::vector<std::string>{kShipped, kUsers}));
    // A copy that is not installed keeps its user files beside itself.
    TFakeFiles portable = testing::PortableCopy();
    EXPECT_EQ(FigureFolders(portable), (std::vector<std::string>{"/opt/tools/Figures/"}));
}

TEST(FigureLibrary, ListsGoodFilesAndExplainsTheOthers) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        const char* figures;
        const char* problems;
    };
    const std::string big(kMaxFigureFileBytes + 1, '#');
    const std::vector<Case> cases = {
        {"titles from the name line, else the file name",
         {{std::string(kShipped) + "b.figure", "name Mine\nframe\n"}, {std::string(kShipped) + "a.figure", "frame\n"}},
         "a.figure=a;b.figure=Mine;", ""},
        {"a user's file replaces the shipped one of its name",
         {{std::string(kShipped) + "x.figure", "name Shipped\nframe\n"}, {std::string(kUsers) + "x.figure", "name Own\nframe\n"}},
         "x.figure=Own;", ""},
        {"other files are no figures",
         {{std::string(kShipped) + "notes.txt", "nonsense"}, {std::string(kShipped) + "x.figure.bak", "nonsense"}},
         "", ""},
        {"a mistake leaves that file out, with its line and column",
         {{std::string(kUsers) + "bad.figure", "frame\nvline 2\n"}, {std::string(kUsers) + "good.figure", "rows 3\n"}},
         "good.figure=good;", "bad.figure: line 2, column 7: "},
        {"a huge file is not read",
         {{std::string(kUsers) + "huge.figure", big}},
         "", "huge.figure: the file cannot be read or is larger than 64 KB;"},
    };
    for (const Case& c : cases) {
        TFakeFiles files = Installed();
        for (const auto& [path, bytes] : c.files) files.AddFile(path, bytes);
        const TFigureLibrary library = LoadFigureLibrary(files);
        EXPECT_EQ(Titles(library), c.figures) << c.what;
        // The reader's own wording after the place is its business.
        EXPECT_TRUE(Problems(library).starts_with(c.problems)) << c.what << ": " << Problems(library);
        EXPECT_EQ(library.problems.empty(), std::string(c.problems).empty()) << c.what;
    }
}

TEST(FigureLibrary, StopsReadingAfterTheLimitAndSaysSo) {
    TFakeFiles files = Installed();
    for (std::size_t i = 0; i < kMaxFigureFiles + 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03zu.figure", i);
        files.AddFile(std::string(kUsers) + name, "frame\n");
    }
    const TFigureLibrary library = LoadFigureLibrary(files);
    EXPECT_EQ(library.figures.size(), kMaxFigureFiles);
    ASSERT_EQ(library.problems.size(), 1u);
    EXPECT_EQ(library.problems[0].fileName, "f100.figure");
    std::size_t reads = 0;
    for (const std::string& call : files.log) reads += call.starts_with("ReadFile ");
    EXPECT_EQ(reads, kMaxFigureFiles);
}

TEST(FigureLibrary, FindsByExactFileName) {
    TFakeFiles files = Installed();
    files.AddFile(std::string(kShipped) + "Phi grid.figure", "frame\n");
    files.AddFile(std::string(kShipped) + "Thirds.figure", "frame\n");
    const TFigureLibrary library = LoadFigureLibrary(files);
    EXPECT_EQ(library.IndexOf("Thirds.figure"), 1);
    EXPECT_EQ(library.IndexOf("thirds.figure"), -1);
    EXPECT_EQ(library.IndexOf(""), -1);
    ASSERT_NE(library.Find("Phi grid.figure"), nullptr);
    EXPECT_EQ(library.Find("Phi grid.figure")->title, "Phi grid");
    EXPECT_EQ(library.FileNames(), (std::vector<std::string>{"Phi grid.figure", "Thirds.figure"}));
}

TEST(FigureLibrary, OneFileByItsPathForTheExportTool) {
    TFakeFiles files = Installed();
    files.AddFile("/tmp/w/grid.figure", "name Grid of mine\ncolumns 4\n");
    files.AddFile("/tmp/w/broken.figure", "circle 1/2 1/2\n");
    const auto good = LoadFigureFile(files, "/tmp/w/grid.figure");
    ASSERT_TRUE(std::holds_alternative<TFigureEntry>(good));
    EXPECT_EQ(std::get<TFigureEntry>(good).fileName, "grid.figure");
    EXPECT_EQ(std::get<TFigureEntry>(good).title, "Grid of mine");
    const auto bad = LoadFigureFile(files, "/tmp/w/broken.figure");
    ASSERT_TRUE(std::holds_alternative<TFigureProblem>(bad));
    EXPECT_TRUE(std::get<TFigureProblem>(bad).message.starts_with("line 1, column ")) << std::get<TFigureProblem>(bad).message;
    const auto missing = LoadFigureFile(files, "/tmp/w/none.figure");
    EXPECT_TRUE(std::holds_alternative<TFigureProblem>(missing));
}

TEST(FigureLibrary, AFigureWhoseFileIsGoneDrawsTheDefaultLookAndKeepsItsName) {
    TFigureLibrary library;
    library.figures = {TFigureEntry{"here.figure", "Here", {}}};
    struct Case {
        const char* figure;
        TLook look, want;
    };
    for (const Case c : {Case{"gone.figure", TLook::Spiral, kDefaultLookMode}, Case{"here.figure", TLook::Spiral, TLook::Spiral},
                         Case{"", TLook::Grid, TLook::Grid}}) {
        TSettings s(1920);
        s.ChooseLook(c.look);
        s.ChooseFigure(c.figure);
        FallBackFromMissingFigure(s, library);
        EXPECT_EQ(s.LookMode, c.want) << c.figure;
        EXPECT_EQ(s.Figure, c.figure);
    }
}

}  // namespace
}  // namespace ratiscope
