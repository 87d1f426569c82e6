// The export tool's arguments, its --set rules and its JSON, run as a real process too.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "settings/Settings.h"
#include "shell/ExportOptions.h"
#include "shell/FigureJson.h"

namespace ratiscope {
namespace {

struct RunResult {
    int exitCode;
    std::string out;
};

RunResult RunExport(const std::string& args) {
    const std::string cmd = std::string(RATISCOPE_EXPORT_EXE) + " " + args + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buf;
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe.get())) out.append(buf.data(), n);
    const int status = pclose(pipe.release());
    return {WEXITSTATUS(status), out};
}

TEST(ExportArguments, BadArgumentsAreOneLineAndExitTwo) {
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"--format", "--format needs a value"},
        {"--format bmp", "unknown format 'bmp'"},
        {"--set", "--set needs KEY=VALUE"},
        {"--set Width", "--set needs KEY=VALUE, got 'Width'"},
        {"--set =5", "--set needs KEY=VALUE"},
        {"--set Widht=5", "unknown settings key 'Widht'"},
        {"--set Width=abc", "'abc' is not a valid value for Width"},
        {"--set Ratio=1,5.5", "'1,5.5' is not a valid value for Ratio"},
        {"-o", "-o needs a file name"},
        {"--figure", "--figure needs a file name"},
        {"--figure /nonexistent/x.figure", "/nonexistent/x.figure: the file cannot be read"},
    };
    for (const Case& c : cases) {
        const RunResult r = RunExport(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << " -> " << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    }
}

TEST(ExportArguments, SetsGoThroughTheSettersInOrder) {
    TSettings s(1920);
    EXPECT_EQ(ApplyExportSets(s, {{"Lock", "0"}, {"Width", "10"}}), "");
    EXPECT_EQ(s.Width, 58);
    TSettings t(1920);
    // Width first while locked to width: Height follows; then the lock comes off.
    EXPECT_EQ(ApplyExportSets(t, {{"width", "500"}, {"LOCK", "0"}, {"Opacity", "300"}}), "");
    EXPECT_EQ(t.Height, 309);
    EXPECT_FALSE(t.Lock);
    EXPECT_EQ(t.Opacity, 90);
}

TEST(ExportJson, HoldsSettingsWindowAndPrimitives) {
    TSettings s(1920);
    ApplyExportSets(s, {{"LookMode", "2"}, {"Lang", "Fran\"cais"}});
    const std::string json = FigureJson(s);
    EXPECT_NE(json.find("\"Ratio\":0.6180339887498949"), std::string::npos);
    EXPECT_NE(json.find("\"Lang\":\"Fran\\\"cais\""), std::string::npos);
    EXPECT_NE(json.find("\"LinesColor\":4210943"), std::string::npos);
    EXPECT_NE(json.find("\"SVisible\":true"), std::string::npos);
    EXPECT_NE(json.find("\"window\":{\"width\":420,\"height\":285}"), std::string::npos);
    EXPECT_NE(json.find("{\"polyline\":[[12,28],[408,28],[408,273],[12,273],[12,28]]}"), std::string::npos);
    EXPECT_NE(json.find("{\"line\":[210,28,210,273]}"), std::string::npos);
    EXPECT_NE(json.find("{\"line\":[12,150,408,150]}]}"), std::string::npos);
}

TEST(ExportJson, ProcessWritesTheFileOnlyWhenComplete) {
    const auto dir = std::filesystem::temp_directory_path() / "ratiscope-export-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto file = dir / "figure.json";
    RunResult r = RunExport("--format json --set LookMode=8 --set GridSize=1 -o " + file.string());
    EXPECT_EQ(r.exitCode, 0) << r.out;
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\"GridSize\":3"), std::string::npos);
    EXPECT_NE(text.str().find("{\"circle\":[12,-48,409,349]}"), std::string::npos);

    r = RunExport("-o " + (dir / "missing" / "x.json").string());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("cannot write"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    std::filesystem::remove_all(dir);
}

TEST(ExportFigureFile, DrawsTheFileInsteadOfTheLookAndPlacesItsMistakes) {
    const auto dir = std::filesystem::temp_directory_path() / "ratiscope-export-figure-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "mine.figure") << "# a cross\nvline 1/2\nhline 1/4\n";
    std::ofstream(dir / "bad.figure") << "frame\nhline 1/4 +\n";

    RunResult r = RunExport("--figure " + (dir / "mine.figure").string());
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("\"Figure\":\"mine.figure\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"primitives\":[\n{\"line\":[210,28,210,273]},\n{\"line\":[12,89,408,89]}]}"),
              std::string::npos)
        << r.out;

    r = RunExport("--figure " + (dir / "bad.figure").string());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("bad.figure: line 2, column "), std::string::npos) << r.out;

    // The shipped examples, by the name the settings file stores; the first
    // line of the phi grid stands 1 - 1/phi of the width in.
    r = RunExport("--set \"Figure=Phi grid.figure\" --set OrientMode=1");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("{\"line\":[257,28,257,273]}"), std::string::npos) << r.out;
    std::filesystem::remove_all(dir);
}

TEST(ExportJson, HelpExplainsTheOptions) {
    const RunResult r = RunExport("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("--set KEY=VALUE"), std::string::npos);
    EXPECT_NE(r.out.find("--version"), std::string::npos);
}

TEST(ExportArguments, VersionPrintsOneLineAndNeedsNoOutputFile) {
    struct Case {
        const char* args;
        const char* firstLine;  // what the output starts with
    };
    const Case cases[] = {
        {"--version", "Vendrel Ratiscope 5.9.3\n"},
        {"--format png --version", "Vendrel Ratiscope 5.9.3\n"},
        {"--version --set LookMode=3", "Vendrel Ratiscope 5.9.3\n"},
        {"--version --help", "Usage: ratiscope-export"},
    };
    for (const Case& c : cases) {
        const RunResult r = RunExport(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args;
        EXPECT_EQ(r.out.rfind(c.firstLine, 0), 0u) << c.args << " -> " << r.out;
    }
    EXPECT_EQ(RunExport("--version").out, "Vendrel Ratiscope 5.9.3\n");
}

}  // namespace
}  // namespace ratiscope
