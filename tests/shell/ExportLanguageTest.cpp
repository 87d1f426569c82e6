// The export tool's options for settings files and translators, run as a
// real process against the language files the build puts next to it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "settings/LanguageKeys.h"
#include "shell/ExportOptions.h"
#include "support/TempFolder.h"

namespace ratiscope {
namespace {

using testing::TTempFolder;
using testing::WriteWholeFile;

struct TRun {
    int exitCode;
    std::string out;
};

TRun RunExport(const std::string& args) {
    const std::string command = std::string(RATISCOPE_EXPORT_EXE) + " " + args + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string out;
    std::array<char, 4096> buffer;
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) out.append(buffer.data(), n);
    const int status = ::pclose(pipe.release());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(ExportLanguage, EveryShippedLanguageIsComplete) {
    int languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RATISCOPE_LANG_DIR)) {
        if (entry.path().extension() != ".lng") continue;
        ++languages;
        const std::string name = entry.path().stem().string();
        const TRun run = RunExport("--check-language '" + name + "'");
        EXPECT_EQ(run.exitCode, 0) << run.out;
        EXPECT_EQ(run.out, name + ": 0 missing, 0 unused, 0 bad templates\n");
    }
    EXPECT_EQ(languages, 5);
}

TEST(ExportLanguage, ALanguageWithoutAFileFailsTheCheck) {
    const TRun run = RunExport("--check-language Klingon");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Klingon.lng"), std::string::npos) << run.out;
}

TEST(ExportLanguage, TextsListEveryKeyWithTheMergedText) {
    const TRun run = RunExport("--language Deutsch --texts");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(static_cast<std::size_t>(std::count(run.out.begin(), run.out.end(), '\n')), LanguageKeys().size());
    EXPECT_TRUE(run.out.starts_with("MOrientButtonHint=Nächste Ausrichtung\n")) << run.out;
    EXPECT_NE(run.out.find("\nMSRat0=Goldener Schnitt (%.3f)\n"), std::string::npos) << "templates stay unfilled";
    EXPECT_NE(run.out.find("\nMSOpacity=Deckkraft\n"), std::string::npos);

    const TRun english = RunExport("--texts");
    EXPECT_NE(english.out.find("\nMSOpacity=Opacity\n"), std::string::npos) << "the settings' language: English";
    const TRun none = RunExport("--language Klingon --texts");
    EXPECT_EQ(none.out, english.out) << "a language without a file leaves English";
}

TEST(ExportLanguage, SettingsFileIsReadBeforeTheSets) {
    TTempFolder temp;
    ASSERT_TRUE(temp.Valid());
    WriteWholeFile(temp / "my.settings",
                   "[Settings]\r\nLookMode=8\r\nLock=0\r\nWidth=600\r\nHeight=100\r\nLang=Deutsch\r\n");
    const TRun run = RunExport("--settings '" + (temp / "my.settings") + "' --set Height=200");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("\"LookMode\":8"), std::string::npos) << run.out.substr(0, 400);
    EXPECT_NE(run.out.find("\"Width\":600"), std::string::npos) << run.out.substr(0, 400);
    EXPECT_NE(run.out.find("\"Height\":200"), std::string::npos) << "--set wins over the file";

    const TRun texts = RunExport("--settings '" + (temp / "my.settings") + "' --texts");
    EXPECT_NE(texts.out.find("\nMSOpacity=Deckkraft\n"), std::string::npos) << "the file's language";

    const TRun missing = RunExport("--settings '" + (temp / "none.settings") + "'");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.out.find("cannot read the settings file"), std::string::npos) << missing.out;
}

TEST(ExportLanguage, OptionsNeedTheirValues) {
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"--settings", "--settings needs a file name"},
        {"--language", "--language needs a language name"},
        {"--check-language", "--check-language needs a language name"},
    };
    for (const Case& c : cases) {
        const TExportParse parsed = ParseExportArguments({c.args});
        EXPECT_FALSE(parsed.options) << c.args;
        EXPECT_EQ(parsed.error, c.message);
    }
    const TExportParse texts = ParseExportArguments({"--format", "png", "--texts"});
    ASSERT_TRUE(texts.options) << "a listing needs no output file";
    EXPECT_TRUE(texts.options->texts);
}

}  // namespace
}  // namespace ratiscope
