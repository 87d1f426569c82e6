// The Linux file services against a real folder: odd things standing at a
// path (folders, pipes, links, huge files) get a plain "no", never a hang.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/PosixFiles.h"
#include "support/TempFolder.h"

namespace ratiscope {
namespace {

using testing::ReadWholeFile;
using testing::TTempFolder;
using testing::WriteWholeFile;

TEnvironment FakeEnvironment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> std::optional<std::string> {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(PosixFiles, DataFoldersFollowTheXdgRules) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> env;
        const char* user;
        const char* shared;
    };
    const Case cases[] = {
        {"config home set", {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/cfg", "/usr/local/share"},
        {"config home unset", {{"HOME", "/home/u"}}, "/home/u/.config", "/usr/local/share"},
        {"config home empty", {{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u/"}}, "/home/u/.config",
         "/usr/local/share"},
        {"relative config home is ignored", {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}}, "/home/u/.config",
         "/usr/local/share"},
        {"first data dir", {{"HOME", "/h"}, {"XDG_DATA_DIRS", "/opt/share:/usr/share"}}, "/h/.config",
         "/opt/share"},
        {"relative and empty data dirs skipped", {{"HOME", "/h"}, {"XDG_DATA_DIRS", "::rel:/usr/share/"}},
         "/h/.config", "/usr/share/"},
        {"only relative data dirs", {{"HOME", "/h"}, {"XDG_DATA_DIRS", "a:b"}}, "/h/.config", "/usr/local/share"},
    };
    for (const Case& c : cases) {
        TPosixFiles files("/usr/lib/ratiscope/", FakeEnvironment(c.env));
        EXPECT_EQ(files.PlatformUserDataFolder(), c.user) << c.name;
        EXPECT_EQ(files.PlatformSharedDataFolder(), c.shared) << c.name;
        EXPECT_EQ(files.PlatformProgramFilesFolder(), "/usr/lib/ratiscope/") << c.name;
    }
}

TEST(PosixFiles, EveryAbsoluteDataDirIsASharedFolderInItsOrder) {
    using TFolders = std::vector<std::string>;
    struct Case {
        const char* name;
        std::optional<std::string> dirs;
        TFolders expected;
    };
    const Case cases[] = {
        {"unset: the XDG default", std::nullopt, {"/usr/local/share", "/usr/share"}},
        {"empty: the XDG default", "", {"/usr/local/share", "/usr/share"}},
        {"one entry", "/opt/share", {"/opt/share"}},
        {"order kept", "/usr/share:/opt/share:/usr/local/share", {"/usr/share", "/opt/share", "/usr/local/share"}},
        {"relative and empty skipped", "::rel:/a:./b:/c/", {"/a", "/c/"}},
        {"the same folder once", "/a:/b:/a/:/b", {"/a", "/b"}},
        {"only relative: the XDG default", "a:b", {"/usr/local/share", "/usr/share"}},
        {"flatpak-like list", "/app/share:/usr/share:/usr/share/runtime/share",
         {"/app/share", "/usr/share", "/usr/share/runtime/share"}},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> env{{"HOME", "/h"}};
        if (c.dirs) env["XDG_DATA_DIRS"] = *c.dirs;
        TPosixFiles files("/usr/lib/ratiscope/", FakeEnvironment(env));
        EXPECT_EQ(files.PlatformSharedDataFolders(), c.expected) << c.name;
        EXPECT_EQ(files.PlatformSharedDataFolder(), c.expected.front()) << c.name;
    }
}

TEST(PosixFiles, WithoutHomeThePasswordDatabaseAnswers) {
    TPosixFiles files("", FakeEnvironment({}));
    const std::string folder = files.PlatformUserDataFolder();
    EXPECT_TRUE(folder.empty() || (folder.starts_with("/") && folder.ends_with("/.config"))) << folder;
}

TEST(PosixFiles, ProgramPathIsTheRunningFileWithLinksResolved) {
    TPosixFiles files;
    const std::string path = files.ProgramPath();
    EXPECT_EQ(path, std::filesystem::canonical("/proc/self/exe").string());
    EXPECT_TRUE(path.ends_with("/posix_files_tests")) << path;
}

class PosixFilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp_.Valid()); }
    TTempFolder temp_;
    TPosixFiles files_;
};

TEST_F(PosixFilesOnDisk, ExistenceTellsFilesFromFolders) {
    WriteWholeFile(temp_ / "file", "x");
    std::filesystem::create_directory(temp_ / "dir");
    std::filesystem::create_symlink(temp_ / "file", temp_ / "linkToFile");
    std::filesystem::create_symlink(temp_ / "dir", temp_ / "linkToDir");
    std::filesystem::create_symlink(temp_ / "missing", temp_ / "dangling");
    ASSERT_EQ(::mkfifo((temp_ / "pipe").c_str(), 0600), 0);
    struct Case {
        const char* name;
        bool file, folder;
    };
    const Case cases[] = {
        {"file", true, false},      {"dir", false, true},       {"linkToFile", true, false},
        {"linkToDir", false, true}, {"dangling", false, false}, {"pipe", false, false},
        {"missing", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(files_.FileExists(temp_ / c.name), c.file) << c.name;
        EXPECT_EQ(files_.FolderExists(temp_ / c.name), c.folder) << c.name;
    }
    EXPECT_FALSE(files_.FileExists(""));
    EXPECT_FALSE(files_.FolderExists(""));
}

TEST_F(PosixFilesOnDisk, ReadFileRefusesWhatIsNoSmallRegularFile) {
    WriteWholeFile(temp_ / "small", std::string("a\0b\r\n", 5));
    WriteWholeFile(temp_ / "big", std::string(1000, 'x'));
    std::filesystem::create_directory(temp_ / "dir");
    ASSERT_EQ(::mkfifo((temp_ / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(files_.ReadFile(temp_ / "small", 100), std::string("a\0b\r\n", 5));
    EXPECT_EQ(files_.ReadFile(temp_ / "big", 1000), std::string(1000, 'x'));
    EXPECT_EQ(files_.ReadFile(temp_ / "big", 999), std::nullopt);
    EXPECT_EQ(files_.ReadFile(temp_ / "dir", 100), std::nullopt);
    EXPECT_EQ(files_.ReadFile(temp_ / "pipe", 100), std::nullopt) << "a pipe with no writer must not block";
    EXPECT_EQ(files_.ReadFile(temp_ / "missing", 100), std::nullopt);
    EXPECT_EQ(files_.ReadFile("", 100), std::nullopt);
}

TEST_F(PosixFilesOnDisk, CreateFolderMakesOnePrivateLevel) {
    EXPECT_TRUE(files_.CreateFolder(temp_ / "a"));
    EXPECT_FALSE(files_.CreateFolder(temp_ / "a")) << "it exists already";
    EXPECT_FALSE(files_.CreateFolder(temp_ / "x/y")) << "the parent is missing";
    struct stat st {};
    ASSERT_EQ(::stat((temp_ / "a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(PosixFilesOnDisk, ListFolderMatchesTheWildcardAndSorts) {
    for (const char* name : {"Deutsch.lng", "English.lng", "Русский.lng", ".hidden.lng", "notes.txt", "a.lng.bak"})
        WriteWholeFile(temp_ / name, "x");
    std::filesystem::create_directory(temp_ / "Folder.lng");
    std::filesystem::create_symlink(temp_ / "English.lng", temp_ / "Linked.lng");
    std::filesystem::create_symlink(temp_ / "missing", temp_ / "Dangling.lng");
    EXPECT_EQ(files_.ListFolder(temp_.Path(), "*.lng"),
              (std::vector<std::string>{"Deutsch.lng", "English.lng", "Linked.lng", "Русский.lng"}));
    EXPECT_EQ(files_.ListFolder(temp_.Path() + "/", "?nglish.*"), std::vector<std::string>{"English.lng"});
    EXPECT_TRUE(files_.ListFolder(temp_ / "missing", "*").empty());
}

TEST_F(PosixFilesOnDisk, ModificationTimeIsTheFilesOwn) {
    WriteWholeFile(temp_ / "f", "x");
    const timespec times[2] = {{1000000000, 0}, {1234567890, 500000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (temp_ / "f").c_str(), times, 0), 0);
    const auto t = files_.ModificationTime(temp_ / "f");
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>(t->time_since_epoch()).count(), 1234567890500);
    EXPECT_EQ(files_.ModificationTime(temp_ / "missing"), std::nullopt);
}

TEST_F(PosixFilesOnDisk, ReplaceFileSwapsTheWholeContent) {
    const std::string path = temp_ / "f";
    EXPECT_TRUE(files_.ReplaceFile(path, "first"));
    EXPECT_EQ(ReadWholeFile(path), "first");
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    EXPECT_TRUE(files_.ReplaceFile(path, "second, longer"));
    EXPECT_EQ(ReadWholeFile(path), "second, longer");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    EXPECT_TRUE(files_.ReplaceFile(path, ""));
    EXPECT_EQ(ReadWholeFile(path), "");
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(temp_.Path())) names.push_back(e.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"f"}) << "no temporary file is left";
}

TEST_F(PosixFilesOnDisk, ReplaceFileRefusesWhatIsNoFilePath) {
    std::filesystem::create_directory(temp_ / "dir");
    EXPECT_FALSE(files_.ReplaceFile(temp_ / "dir", "x"));
    EXPECT_FALSE(files_.ReplaceFile(temp_ / "missing/f", "x"));
    EXPECT_FALSE(files_.ReplaceFile(temp_.Path() + "/", "x"));
    EXPECT_FALSE(files_.ReplaceFile("", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(temp_ / "dir"));
    EXPECT_TRUE(std::filesystem::is_empty(temp_ / "dir"));
}

TEST_F(PosixFilesOnDisk, ReplaceFileThroughADanglingLinkCreatesItsTarget) {
    std::filesystem::create_symlink(temp_ / "target", temp_ / "link");
    EXPECT_TRUE(files_.ReplaceFile(temp_ / "link", "x"));
    EXPECT_TRUE(std::filesystem::is_symlink(temp_ / "link"));
    EXPECT_EQ(ReadWholeFile(temp_ / "target"), "x");

    std::filesystem::create_directory(temp_ / "sub");
    std::filesystem::create_symlink("../target", temp_ / "sub/relative");
    EXPECT_TRUE(files_.ReplaceFile(temp_ / "sub/relative", "y"));
    EXPECT_TRUE(std::filesystem::is_symlink(temp_ / "sub/relative"));
    EXPECT_EQ(ReadWholeFile(temp_ / "target"), "y");
}

TEST_F(PosixFilesOnDisk, ReplaceFileRefusesALoopOfLinks) {
    std::filesystem::create_symlink(temp_ / "b", temp_ / "a");
    std::filesystem::create_symlink(temp_ / "a", temp_ / "b");
    EXPECT_FALSE(files_.ReplaceFile(temp_ / "a", "x"));
    EXPECT_TRUE(std::filesystem::is_symlink(temp_ / "a"));
    EXPECT_TRUE(std::filesystem::is_symlink(temp_ / "b"));
}

}  // namespace
}  // namespace ratiscope
