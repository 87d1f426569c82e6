// The Linux file services against a real folder: odd things standing at a
// path (folders, pipes, links, huge files) get a plain "no", never a hang.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
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

// The user and group id of "nobody" on Linux systems.
constexpr uid_t kNobody = 65534;

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

// Everything but a regular file stays at the path, also behind a link.
TEST_F(PosixFilesOnDisk, ReplaceFileLeavesWhatIsNoRegularFile) {
    ASSERT_EQ(::mkfifo((temp_ / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(temp_ / "pipe", temp_ / "linkToPipe");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = temp_ / "socket";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    std::vector<std::string> names = {"pipe", "linkToPipe", "socket"};
    // Only root may make a device node: the null device's numbers, in the test's own folder.
    if (::mknod((temp_ / "device").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        std::filesystem::create_symlink(temp_ / "device", temp_ / "linkToDevice");
        names.insert(names.end(), {"device", "linkToDevice"});
    }
    for (const std::string& name : names) {
        EXPECT_FALSE(files_.ReplaceFile(temp_ / name, "[Settings]\n")) << name;
        struct stat st {};
        ASSERT_EQ(::lstat((temp_ / name).c_str(), &st), 0) << name;
        EXPECT_FALSE(S_ISREG(st.st_mode)) << name << " was replaced by a file";
    }
    ::close(sock);
    EXPECT_TRUE(std::filesystem::is_fifo(temp_ / "pipe"));
    for (const auto& e : std::filesystem::directory_iterator(temp_.Path()))
        EXPECT_FALSE(e.path().filename().string().ends_with(".tmp~")) << e.path();
}

TEST_F(PosixFilesOnDisk, ReplaceFileLeavesAFileNobodyMayWrite) {
    struct Case {
        const char* name;
        mode_t mode;
        bool linked;
    };
    const Case cases[] = {{"r--r--r--", 0444, false}, {"r--------", 0400, false}, {"behind a link", 0444, true}};
    for (const Case& c : cases) {
        const std::string path = temp_ / "frozen";
        WriteWholeFile(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        const std::string named = c.linked ? temp_ / "link" : path;
        if (c.linked) std::filesystem::create_symlink(path, named);
        EXPECT_FALSE(files_.ReplaceFile(named, "new")) << c.name;
        EXPECT_EQ(ReadWholeFile(path), "old") << c.name;
        std::filesystem::remove(named);
        std::filesystem::remove(path);
    }
}

// Runs `step` as a user without privileges, so that permissions apply: in a
// child process under the unprivileged user id when the tests run as root.
// The step's result, or empty when the user could not be changed.
std::optional<bool> AsUnprivilegedUser(const std::function<bool()>& step) {
    if (::geteuid() != 0) return step();
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
        ::_exit(step() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 2) return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

TEST_F(PosixFilesOnDisk, ReplaceFileHonoursWhoMayWriteTheFileAndTheFolder) {
    // The folder takes no new files from the user: root's own 0755 folder, or
    // the user's folder made 0555.
    const bool root = ::geteuid() == 0;
    const std::string folder = temp_ / "settings";
    std::filesystem::create_directory(folder);
    const std::string mine = folder + "/mine";
    const std::string others = folder + "/others";
    WriteWholeFile(mine, "old, longer than the new");
    WriteWholeFile(others, "old");
    ASSERT_EQ(::chmod(temp_.Path().c_str(), 0755), 0);
    if (root) {
        ASSERT_EQ(::chown(mine.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(others.c_str(), 0644), 0);  // root's, which the user may only read
    } else {
        ASSERT_EQ(::chmod(others.c_str(), 0444), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), root ? 0755 : 0555), 0);
    struct stat before {};
    ASSERT_EQ(::stat(mine.c_str(), &before), 0);

    // A writable file is written in place, cut to the new length.
    EXPECT_EQ(AsUnprivilegedUser([&] { return TPosixFiles().ReplaceFile(mine, "new"); }), true);
    EXPECT_EQ(ReadWholeFile(mine), "new");
    struct stat after {};
    ASSERT_EQ(::stat(mine.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    // A file the user may not write stays.
    EXPECT_EQ(AsUnprivilegedUser([&] { return TPosixFiles().ReplaceFile(others, "new"); }), false);
    EXPECT_EQ(ReadWholeFile(others), "old");
    // A new file cannot be made there at all.
    EXPECT_EQ(AsUnprivilegedUser([&] { return TPosixFiles().ReplaceFile(folder + "/new", "x"); }), false);
    EXPECT_FALSE(std::filesystem::exists(folder + "/new"));
    ::chmod(folder.c_str(), 0755);
}

}  // namespace
}  // namespace ratiscope
