// The folder rules against folders the platform double reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/Folders.h"
#include "support/FakeFiles.h"

namespace ratiscope {
namespace {

using testing::TFakeFiles;

TEST(Folders, EveryAllUsersFolderOfAnInstalledProgramInOrder) {
    using TList = std::vector<std::string>;
    struct Case {
        const char* name;
        const char* programPath;
        TList platformFolders;
        TList expected;
    };
    const Case cases[] = {
        {"each folder with the product's place", "/usr/lib/ratiscope/ratiscope", {"/usr/local/share", "/usr/share/"},
         {"/usr/local/share/Vendrel/Ratiscope/", "/usr/share/Vendrel/Ratiscope/"}},
        {"order kept", "/usr/lib/ratiscope/ratiscope", {"/b", "/a", "/c"},
         {"/b/Vendrel/Ratiscope/", "/a/Vendrel/Ratiscope/", "/c/Vendrel/Ratiscope/"}},
        {"empty entries skipped", "/usr/lib/ratiscope/ratiscope", {"", "/a"}, {"/a/Vendrel/Ratiscope/"}},
        {"none: the program folder", "/usr/lib/ratiscope/ratiscope", {}, {"/usr/lib/ratiscope/"}},
        {"not installed: only its own folder", "/home/u/r/ratiscope", {"/a", "/b"}, {"/home/u/r/"}},
    };
    for (const Case& c : cases) {
        TFakeFiles files;
        files.programPath = c.programPath;
        files.programFilesFolder = "/usr/lib/ratiscope/";
        files.sharedDataFolders = c.platformFolders;
        EXPECT_EQ(SharedDataFolders(files, kProductSubPath), c.expected) << c.name;
    }
}

TEST(Folders, InstalledOrNotDecidesWhereDataLives) {
    struct Case {
        const char* name;
        const char* programPath;
        const char* programFiles;
        const char* userData;
        const char* sharedData;
        bool installed;
        const char* programFolder;
        const char* userFolder;
        const char* sharedFolder;
    };
    const Case cases[] = {
        {"installed", "/usr/lib/ratiscope/ratiscope", "/usr/lib/ratiscope/", "/home/u/.config",
         "/usr/local/share", true, "/usr/lib/ratiscope/", "/home/u/.config/Vendrel/Ratiscope/",
         "/usr/local/share/Vendrel/Ratiscope/"},
        {"compared without regard to case", "/USR/Lib/RatiScope/ratiscope", "/usr/lib/ratiscope", "/h/.config",
         "/s", true, "/USR/Lib/RatiScope/", "/h/.config/Vendrel/Ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"anywhere in the path", "/mnt/usr/lib/ratiscope/bin/ratiscope", "/usr/lib/ratiscope/", "/h", "/s",
         true, "/mnt/usr/lib/ratiscope/bin/", "/h/Vendrel/Ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"trailing slashes of data folders", "/opt/r/ratiscope", "/opt/r/", "/h/.config//", "/s/", true,
         "/opt/r/", "/h/.config/Vendrel/Ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"copied elsewhere keeps files next to itself", "/home/u/tools/ratiscope", "/usr/lib/ratiscope/",
         "/home/u/.config", "/usr/share", false, "/home/u/tools/", "/home/u/tools/", "/home/u/tools/"},
        {"build folder is not installed", "/work/main/build/bin/ratiscope", "/usr/local/lib/ratiscope/",
         "/root/.config", "/usr/local/share", false, "/work/main/build/bin/", "/work/main/build/bin/",
         "/work/main/build/bin/"},
        {"no program-files folder", "/usr/lib/ratiscope/ratiscope", "", "/h", "/s", false,
         "/usr/lib/ratiscope/", "/usr/lib/ratiscope/", "/usr/lib/ratiscope/"},
        {"installed without a user folder", "/usr/lib/ratiscope/ratiscope", "/usr/lib/ratiscope/", "", "/s", true,
         "/usr/lib/ratiscope/", "/usr/lib/ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"program path unknown", "", "/usr/lib/ratiscope/", "/h", "/s", false, "", "", ""},
        {"program path without a slash", "ratiscope", "/usr/lib/ratiscope/", "/h", "/s", false, "", "", ""},
        // A relative installation folder holds under any prefix, ending the program's folder.
        {"relative: the prefix it was built for", "/usr/local/lib/ratiscope/ratiscope", "lib/ratiscope", "/h",
         "/s", true, "/usr/local/lib/ratiscope/", "/h/Vendrel/Ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"relative: another prefix", "/opt/p2/lib/ratiscope/ratiscope", "lib/ratiscope/", "/h", "/s", true,
         "/opt/p2/lib/ratiscope/", "/h/Vendrel/Ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"relative: unpacked, other case", "/home/u/x/usr/LIB/RatiScope/ratiscope", "lib/ratiscope/", "/h", "/s",
         true, "/home/u/x/usr/LIB/RatiScope/", "/h/Vendrel/Ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"relative: the root as prefix", "/lib/ratiscope/ratiscope", "lib/ratiscope/", "/h", "/s", true,
         "/lib/ratiscope/", "/h/Vendrel/Ratiscope/", "/s/Vendrel/Ratiscope/"},
        {"relative: part of a longer folder name", "/opt/mylib/ratiscope/ratiscope", "lib/ratiscope/", "/h", "/s",
         false, "/opt/mylib/ratiscope/", "/opt/mylib/ratiscope/", "/opt/mylib/ratiscope/"},
        {"relative: not at the end", "/opt/lib/ratiscope/old/ratiscope", "lib/ratiscope/", "/h", "/s", false,
         "/opt/lib/ratiscope/old/", "/opt/lib/ratiscope/old/", "/opt/lib/ratiscope/old/"},
        {"relative: the build folder", "/work/main/build/bin/ratiscope", "lib/ratiscope/", "/h", "/s", false,
         "/work/main/build/bin/", "/work/main/build/bin/", "/work/main/build/bin/"},
    };
    for (const Case& c : cases) {
        TFakeFiles files;
        files.programPath = c.programPath;
        files.programFilesFolder = c.programFiles;
        files.userDataFolder = c.userData;
        files.sharedDataFolder = c.sharedData;
        EXPECT_EQ(IsInstalled(files), c.installed) << c.name;
        EXPECT_EQ(ProgramFolder(files), c.programFolder) << c.name;
        EXPECT_EQ(UserDataFolder(files, kProductSubPath), c.userFolder) << c.name;
        EXPECT_EQ(SharedDataFolder(files, kProductSubPath), c.sharedFolder) << c.name;
        EXPECT_EQ(SettingsFilePath(files), std::string(c.userFolder) + "Ratiscope.user.settings") << c.name;
    }
}

TEST(Folders, WindowsPathsTakeEitherSeparator) {
    struct Case {
        const char* name;
        const char* programPath;
        const char* programFiles;
        bool installed;
        const char* programFolder;
        const char* userFolder;
        const char* sharedFolder;
    };
    const Case cases[] = {
        {"installed", "C:\\Program Files\\Vendrel\\Ratiscope\\Ratiscope.exe", "C:\\Program Files", true,
         "C:\\Program Files\\Vendrel\\Ratiscope\\", "C:\\Users\\u\\AppData\\Roaming\\Vendrel\\Ratiscope\\",
         "C:\\ProgramData\\Vendrel\\Ratiscope\\"},
        {"separators and case mixed", "c:/program files/Vendrel/Ratiscope/Ratiscope.exe", "C:\\Program Files\\", true,
         "c:/program files/Vendrel/Ratiscope/", "C:\\Users\\u\\AppData\\Roaming\\Vendrel\\Ratiscope\\",
         "C:\\ProgramData\\Vendrel\\Ratiscope\\"},
        {"a copy elsewhere", "D:\\tools\\Ratiscope.exe", "C:\\Program Files", false, "D:\\tools\\",
         "D:\\tools\\", "D:\\tools\\"},
        {"a drive's root", "E:\\Ratiscope.exe", "C:\\Program Files", false, "E:\\", "E:\\", "E:\\"},
    };
    for (const Case& c : cases) {
        TFakeFiles files;
        files.separators = "\\/";
        files.programPath = c.programPath;
        files.programFilesFolder = c.programFiles;
        files.userDataFolder = "C:\\Users\\u\\AppData\\Roaming\\";
        files.sharedDataFolder = "C:\\ProgramData";
        EXPECT_EQ(IsInstalled(files), c.installed) << c.name;
        EXPECT_EQ(ProgramFolder(files), c.programFolder) << c.name;
        EXPECT_EQ(UserDataFolder(files, kProductSubPath), c.userFolder) << c.name;
        EXPECT_EQ(SharedDataFolder(files, kProductSubPath), c.sharedFolder) << c.name;
        EXPECT_EQ(SettingsFilePath(files), std::string(c.userFolder) + "Ratiscope.user.settings") << c.name;
    }
}

TEST(Folders, ABackslashIsPartOfANameOnPosixSystems) {
    TFakeFiles files;
    files.programPath = "/home/u/odd\\name/ratiscope";
    files.programFilesFolder = "/usr/lib/ratiscope";
    EXPECT_EQ(ProgramFolder(files), "/home/u/odd\\name/");
    EXPECT_FALSE(IsInstalled(files));
}

TEST(Folders, ForceFoldersWalksWindowsPaths) {
    TFakeFiles files;
    files.separators = "\\/";
    files.folders.insert("C:\\Users\\u\\AppData\\Roaming");
    EXPECT_TRUE(ForceFolders(files, "C:\\Users\\u\\AppData\\Roaming\\Vendrel\\Ratiscope\\"));
    EXPECT_EQ(files.log, (std::vector<std::string>{"CreateFolder C:\\Users\\u\\AppData\\Roaming\\Vendrel",
                                                    "CreateFolder C:\\Users\\u\\AppData\\Roaming\\Vendrel\\Ratiscope"}));
    EXPECT_TRUE(files.FolderExists("C:\\Users\\u\\AppData\\Roaming\\Vendrel\\Ratiscope"));
}

TEST(Folders, ProgramFilesFolderEndsWithASlash) {
    TFakeFiles files;
    files.programFilesFolder = "/usr/lib/ratiscope";
    EXPECT_EQ(ProgramFilesFolder(files), "/usr/lib/ratiscope/");
    files.programFilesFolder = "";
    EXPECT_EQ(ProgramFilesFolder(files), "");
}

TEST(Folders, ForceFoldersCreatesTheMissingChainTopDown) {
    TFakeFiles files;
    files.AddFolder("/home/u/.config");
    EXPECT_TRUE(ForceFolders(files, "/home/u/.config/Vendrel/Ratiscope/"));
    EXPECT_EQ(files.log, (std::vector<std::string>{"CreateFolder /home/u/.config/Vendrel",
                                                    "CreateFolder /home/u/.config/Vendrel/Ratiscope"}));
    EXPECT_TRUE(files.FolderExists("/home/u/.config/Vendrel/Ratiscope"));

    files.log.clear();
    EXPECT_TRUE(ForceFolders(files, "/home/u/.config/Vendrel/Ratiscope"));
    EXPECT_TRUE(files.log.empty()) << "an existing folder needs nothing";
}

TEST(Folders, ForceFoldersStopsAtTheFirstFailure) {
    TFakeFiles files;
    files.AddFile("/home/u/blocker", "a file where a folder must go");
    EXPECT_FALSE(ForceFolders(files, "/home/u/blocker/a/b/"));
    EXPECT_EQ(files.log, (std::vector<std::string>{"CreateFolder /home/u/blocker"}));
}

TEST(Folders, ForceFoldersTakesShortAndEmptyPathsAsDone) {
    for (const char* path : {"", "/", "ab", "a/", "//", "a//"}) {
        TFakeFiles files;
        EXPECT_TRUE(ForceFolders(files, path)) << '"' << path << '"';
        EXPECT_TRUE(files.log.empty()) << '"' << path << '"';
    }
}

}  // namespace
}  // namespace ratiscope
