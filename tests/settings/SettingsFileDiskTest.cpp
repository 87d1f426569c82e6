// Saving on a real file system, where a failed save must leave the previous
// file byte for byte. Tests run as root, where permissions stop no write, so
// every failure here is one that holds for root too.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/PosixFiles.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "support/TempFolder.h"

namespace ratiscope {
namespace {

using testing::ReadWholeFile;
using testing::TTempFolder;
using testing::WriteWholeFile;

// The real file services for a program that seems to run from `programPath`.
class TProgramAt : public TPosixFiles {
public:
    explicit TProgramAt(std::string programPath)
        : TPosixFiles("/nonexistent/program/files/"), programPath_(std::move(programPath)) {}
    std::string ProgramPath() override { return programPath_; }

private:
    std::string programPath_;
};

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::string kOld = "; kept by hand\n[Settings]\nWidth=500\n[Mine]\nA=1\n";

class SettingsFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp_.Valid()); }
    TTempFolder temp_;
};

TEST_F(SettingsFileOnDisk, SaveWritesTheFileAndLeavesNoTemporaryFile) {
    TProgramAt files(temp_ / "ratiscope");
    TSettings s(1920);
    s.SetLookMode(TLook::Circles);
    SaveSettings(s, files, '.');
    EXPECT_EQ(Names(temp_.Path()), std::vector<std::string>{"Ratiscope.user.settings"});
    TSettings back(1920);
    LoadSettings(back, files, '.');
    EXPECT_EQ(back.LookMode, TLook::Circles);
}

TEST_F(SettingsFileOnDisk, RewriteKeepsOtherLinesAndThePermissionBits) {
    const std::string path = temp_ / "Ratiscope.user.settings";
    WriteWholeFile(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    TProgramAt files(temp_ / "ratiscope");
    TSettings s(1920);
    SaveSettings(s, files, '.');
    const std::string after = ReadWholeFile(path);
    EXPECT_TRUE(after.starts_with("; kept by hand\n[Settings]\nWidth=396\n")) << after;
    EXPECT_TRUE(after.ends_with("SFrame=1\nHotkey=Ctrl+Alt+G\nFigure=\n[Mine]\nA=1\n")) << after;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(SettingsFileOnDisk, ALinkedSettingsFileStaysALink) {
    std::filesystem::create_directory(temp_ / "dotfiles");
    const std::string real = temp_ / "dotfiles/settings.ini";
    const std::string link = temp_ / "Ratiscope.user.settings";
    WriteWholeFile(real, kOld);
    std::filesystem::create_symlink(real, link);
    TProgramAt files(temp_ / "ratiscope");
    TSettings s(1920);
    SaveSettings(s, files, '.');
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(ReadWholeFile(real).find("Width=396"), std::string::npos);
    EXPECT_EQ(Names(temp_ / "dotfiles"), std::vector<std::string>{"settings.ini"});
}

TEST_F(SettingsFileOnDisk, AFolderWhereTheFileMustGo) {
    std::filesystem::create_directory(temp_ / "Ratiscope.user.settings");
    WriteWholeFile(temp_ / "Ratiscope.user.settings/inside", "x");
    TProgramAt files(temp_ / "ratiscope");
    TSettings s(1920);
    LoadSettings(s, files, '.');  // a folder is no settings file: first-run values
    EXPECT_EQ(s.X, 300);
    try {
        SaveSettings(s, files, '.');
        ADD_FAILURE() << "no error";
    } catch (const EWriteError& e) {
        // The system's reason follows the path on a line of its own.
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + (temp_ / "Ratiscope.user.settings") + "\n" +
                                             std::strerror(EISDIR));
    }
    EXPECT_EQ(Names(temp_.Path()), std::vector<std::string>{"Ratiscope.user.settings"});
    EXPECT_EQ(Names(temp_ / "Ratiscope.user.settings"), std::vector<std::string>{"inside"});
}

TEST_F(SettingsFileOnDisk, APathThroughARegularFile) {
    WriteWholeFile(temp_ / "blocker", kOld);
    TProgramAt files(temp_ / "blocker/ratiscope");
    TSettings s(1920);
    EXPECT_THROW(SaveSettings(s, files, '.'), EWriteError);
    EXPECT_EQ(ReadWholeFile(temp_ / "blocker"), kOld);
    EXPECT_EQ(Names(temp_.Path()), std::vector<std::string>{"blocker"});
}

// Restores the file-size limit and the signal it raises when the test ends.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    bool Ok() const { return ok_; }

private:
    rlimit old_{};
    sighandler_t oldHandler_ = SIG_DFL;
    bool ok_ = false;
};

TEST_F(SettingsFileOnDisk, AWriteThatFailsHalfwayLeavesTheOldFileByteForByte) {
    const std::string path = temp_ / "Ratiscope.user.settings";
    WriteWholeFile(path, kOld);
    TProgramAt files(temp_ / "ratiscope");
    TSettings s(1920);
    {
        // The new content is several hundred bytes: the write stops at 100.
        TFileSizeLimit limit(100);
        ASSERT_TRUE(limit.Ok());
        EXPECT_THROW(SaveSettings(s, files, '.'), EWriteError);
    }
    EXPECT_EQ(ReadWholeFile(path), kOld);
    EXPECT_EQ(Names(temp_.Path()), std::vector<std::string>{"Ratiscope.user.settings"});
}

TEST_F(SettingsFileOnDisk, AReadOnlyFileSystem) {
    const std::string path = temp_ / "Ratiscope.user.settings";
    WriteWholeFile(path, kOld);
    // The bind mount lives in a private mount namespace of a child process, so
    // nothing outside the child ever sees it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const char* dir = temp_.Path().c_str();
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(dir, dir, nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, dir, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            ::_exit(77);
        TProgramAt files(temp_ / "ratiscope");
        TSettings s(1920);
        try {
            SaveSettings(s, files, '.');
        } catch (const EWriteError&) {
            ::_exit(ReadWholeFile(path) == kOld ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success, 2: the old file changed";
    EXPECT_EQ(ReadWholeFile(path), kOld);
}

}  // namespace
}  // namespace ratiscope
