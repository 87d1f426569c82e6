// The Windows file services against a real folder (under Wine in the test
// run): atomic replacement, our own pattern rule instead of the finder's,
// either separator, and the folder rules on Windows paths.
#include <gtest/gtest.h>

#include "platform/win32/Win32Api.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Unicode.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

namespace ratiscope {
namespace {

// A fresh folder below the user's temporary folder, removed with its files at the end.
class TWinTempFolder {
public:
    TWinTempFolder() {
        wchar_t base[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, base);
        for (unsigned n = GetTickCount(); path_.empty(); ++n) {
            const std::string candidate = PathFromWide(base) + "ratiscope-test-" + std::to_string(n);
            if (CreateDirectoryW(WidePath(candidate).c_str(), nullptr)) path_ = candidate;
            if (GetLastError() != ERROR_ALREADY_EXISTS && path_.empty()) break;
        }
    }
    ~TWinTempFolder() { RemoveAll(path_); }
    TWinTempFolder(const TWinTempFolder&) = delete;
    TWinTempFolder& operator=(const TWinTempFolder&) = delete;
    std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }
    const std::string& Path() const { return path_; }

private:
    static void RemoveAll(const std::string& folder) {
        if (folder.empty()) return;
        WIN32_FIND_DATAW found{};
        HANDLE h = FindFirstFileW(WidePath(folder + "/*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::string path = folder + "/" + Utf8FromWide(name);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveAll(path);
                else
                    DeleteFileW(WidePath(path).c_str());
            } while (FindNextFileW(h, &found));
            FindClose(h);
        }
        RemoveDirectoryW(WidePath(folder).c_str());
    }
    std::string path_;
};

void Write(const std::string& path, std::string_view bytes) {
    HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

// Every name in the folder, hidden ones too, as the system lists them.
std::vector<std::string> AllNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    HANDLE h = FindFirstFileW(WidePath(folder + "/*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(Utf8FromWide(name));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

TKnownFolders Fixed(std::string programFiles, std::string roaming, std::string programData) {
    return TKnownFolders{[=] { return programFiles; }, [=] { return roaming; }, [=] { return programData; }};
}

TEST(Win32Files, ReplaceFileSwapsTheWholeContentAndLeavesNoTemporaryFile) {
    TWinTempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    TWin32Files files;
    const std::string target = folder / "Ratiscope.user.settings";
    ASSERT_TRUE(files.ReplaceFile(target, "[Settings]\r\nWidth=396\r\n"));
    EXPECT_EQ(files.ReadFile(target, 1000), "[Settings]\r\nWidth=396\r\n");
    ASSERT_TRUE(files.ReplaceFile(target, "new"));
    EXPECT_EQ(files.ReadFile(target, 1000), "new");
    // Backslashes name the same file.
    std::string backslashed = target;
    for (char& c : backslashed)
        if (c == '/') c = '\\';
    ASSERT_TRUE(files.ReplaceFile(backslashed, ""));
    EXPECT_EQ(files.ReadFile(target, 1000), "");
    EXPECT_EQ(AllNames(folder.Path()), std::vector<std::string>{"Ratiscope.user.settings"});
}

TEST(Win32Files, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
    TWinTempFolder folder;
    TWin32Files files;
    // A folder standing at the path cannot be replaced by a file.
    ASSERT_TRUE(files.CreateFolder(folder / "taken"));
    EXPECT_FALSE(files.ReplaceFile(folder / "taken", "x"));
    EXPECT_TRUE(files.FolderExists(folder / "taken"));
    // A missing folder, a path that names a folder, an empty path.
    EXPECT_FALSE(files.ReplaceFile(folder / "missing/file.txt", "x"));
    EXPECT_FALSE(files.ReplaceFile(folder / "dir/", "x"));
    EXPECT_FALSE(files.ReplaceFile("", "x"));
    // A file held open without sharing cannot be replaced; it keeps its content.
    Write(folder / "held.settings", "old");
    HANDLE held = CreateFileW(WidePath(folder / "held.settings").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.ReplaceFile(folder / "held.settings", "new"));
    CloseHandle(held);
    EXPECT_EQ(files.ReadFile(folder / "held.settings", 100), "old");
    EXPECT_EQ(AllNames(folder.Path()), (std::vector<std::string>{"held.settings", "taken"}));
}

// FormatMessage's text for `error`, without its line end.
std::string SystemText(DWORD error) {
    wchar_t text[512] = {};
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 512,
                             nullptr);
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
    return Utf8FromWide(std::wstring_view(text, n));
}

TEST(Win32Files, PathsAreShownWithTheSystemsSeparator) {
    TWin32Files files;
    const std::pair<const char*, const char*> cases[] = {
        {"C:/Users/Zo/AppData/Roaming/Vendrel/Ratiscope/Ratiscope.user.settings",
         "C:\\Users\\Zo\\AppData\\Roaming\\Vendrel\\Ratiscope\\Ratiscope.user.settings"},
        {"D:\\Tools/Ratiscope\\x", "D:\\Tools\\Ratiscope\\x"},
        {"", ""},
    };
    for (const auto& [held, shown] : cases) EXPECT_EQ(files.DisplayPath(held), shown) << held;
}

TEST(Win32Files, ReadOnlyFilesAndDevicesAreRefusedAndKept) {
    TWinTempFolder folder;
    TWin32Files files;
    // The read-only attribute freezes a file: the save fails and the file keeps its bytes and attribute.
    const std::string frozen = folder / "frozen.settings";
    Write(frozen, "old");
    ASSERT_TRUE(SetFileAttributesW(WidePath(frozen).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(files.ReplaceFile(frozen, "new"));
    EXPECT_EQ(files.ReadFile(frozen, 100), "old");
    EXPECT_TRUE(GetFileAttributesW(WidePath(frozen).c_str()) & FILE_ATTRIBUTE_READONLY);
    // The refusal is told in the system's own words, as its own programs tell it.
    EXPECT_EQ(files.ReplaceFailure(), SystemText(ERROR_ACCESS_DENIED));
    // Once writable again it is replaced as any other file.
    ASSERT_TRUE(SetFileAttributesW(WidePath(frozen).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(files.ReplaceFile(frozen, "new"));
    EXPECT_EQ(files.ReplaceFailure(), "");
    EXPECT_EQ(files.ReadFile(frozen, 100), "new");
    // A device name is no file to replace, and nothing is left beside it.
    EXPECT_FALSE(files.ReplaceFile("NUL", "x"));
    EXPECT_FALSE(files.ReplaceFile(folder / "NUL", "x"));
    EXPECT_EQ(AllNames(folder.Path()), std::vector<std::string>{"frozen.settings"});
}

TEST(Win32Files, ListsByOurOwnPatternRuleNotTheFinders) {
    TWinTempFolder folder;
    TWin32Files files;
    for (const char* name : {"English.lng", "Deutsch.lng", "german.LNG", "Long language name.lng", ".hidden.lng",
                             "notes.lng.txt", "Fran\xC3\xA7" "ais.lng"})
        Write(folder / name, "x");
    ASSERT_TRUE(files.CreateFolder(folder / "folder.lng"));
    EXPECT_EQ(files.ListFolder(folder.Path(), "*.lng"),
              (std::vector<std::string>{"Deutsch.lng", "English.lng", "Fran\xC3\xA7" "ais.lng", "Long language name.lng"}));
    // The finder would match the short name LONGLA~1.LNG and ignore case; we do neither.
    EXPECT_TRUE(files.ListFolder(folder.Path(), "LONG*").empty());
    EXPECT_TRUE(files.ListFolder(folder.Path(), "*~*").empty());
    EXPECT_EQ(files.ListFolder(folder.Path() + "/", "*.LNG"), std::vector<std::string>{"german.LNG"});
    EXPECT_TRUE(files.ListFolder(folder / "nothing-here", "*").empty());
}

TEST(Win32Files, ReadsOnlyRegularFilesUpToTheLimit) {
    TWinTempFolder folder;
    TWin32Files files;
    Write(folder / "ten.txt", "0123456789");
    EXPECT_EQ(files.ReadFile(folder / "ten.txt", 10), "0123456789");
    EXPECT_FALSE(files.ReadFile(folder / "ten.txt", 9));
    EXPECT_FALSE(files.ReadFile(folder.Path(), 100));
    EXPECT_FALSE(files.ReadFile(folder / "missing.txt", 100));
    EXPECT_FALSE(files.ReadFile("", 100));
    EXPECT_FALSE(files.ReadFile("NUL", 100));  // a device is no file
    EXPECT_TRUE(files.FileExists(folder / "ten.txt"));
    EXPECT_FALSE(files.FileExists(folder.Path()));
    EXPECT_FALSE(files.FileExists("NUL"));
    EXPECT_TRUE(files.FolderExists(folder.Path()));
    EXPECT_FALSE(files.FolderExists(folder / "ten.txt"));
    EXPECT_FALSE(files.CreateFolder(folder / "a/b"));  // the parent must exist
}

TEST(Win32Files, ModificationTimeIsTheFileTimeOnTheSystemClock) {
    EXPECT_EQ(TimeFromFileTime(116444736000000000ull), TFileTime{});
    EXPECT_EQ(TimeFromFileTime(116444736000000000ull + 10'000'000ull * 86400),
              TFileTime{} + std::chrono::hours(24));
    TWinTempFolder folder;
    TWin32Files files;
    Write(folder / "Uninstall.exe", "MZ");
    HANDLE h = CreateFileW(WidePath(folder / "Uninstall.exe").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    // 2024-01-01 00:00 UTC.
    const std::uint64_t ticks = 116444736000000000ull + 10'000'000ull * 1704067200ull;
    FILETIME ft{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
    EXPECT_EQ(files.ModificationTime(folder / "Uninstall.exe"), TFileTime{} + std::chrono::seconds(1704067200));
    EXPECT_FALSE(files.ModificationTime(folder / "missing.exe"));
}

TEST(Win32Files, TheProgramPathAndTheShellsFoldersUseForwardSlashes) {
    TWin32Files files;
    const std::string program = files.ProgramPath();
    ASSERT_GE(program.size(), 4u);
    EXPECT_EQ(program.find('\\'), std::string::npos) << program;
    EXPECT_TRUE(program.ends_with(".exe")) << program;
    EXPECT_TRUE(files.FileExists(program));
    for (const std::string& folder : {files.PlatformProgramFilesFolder(), files.PlatformUserDataFolder(),
                                      files.PlatformSharedDataFolder()}) {
        ASSERT_GE(folder.size(), 3u);
        EXPECT_EQ(folder[1], ':') << folder;
        EXPECT_EQ(folder.find('\\'), std::string::npos) << folder;
        EXPECT_TRUE(files.FolderExists(folder)) << folder;
    }
}

// The folder rules on the real services with the known folders given.
class TWin32FilesAt final : public TWin32Files {
public:
    TWin32FilesAt(std::string program, TKnownFolders folders) : TWin32Files(std::move(folders)), program_(std::move(program)) {}
    std::string ProgramPath() override { return program_; }

private:
    std::string program_;
};

TEST(Win32Files, FolderRulesOnWindowsPaths) {
    struct Case {
        const char* name;
        const char* program;
        const char* programFiles;
        bool installed;
        const char* userFolder;
    };
    const Case cases[] = {
        {"installed", "C:/Program Files/Vendrel/Ratiscope/ratiscope.exe", "C:/Program Files", true,
         "C:/Users/Zo/AppData/Roaming/Vendrel/Ratiscope/"},
        {"installed, other case", "c:/PROGRAM FILES/Vendrel/Ratiscope/ratiscope.exe", "C:/Program Files", true,
         "C:/Users/Zo/AppData/Roaming/Vendrel/Ratiscope/"},
        {"32-bit on 64-bit Windows", "C:/Program Files (x86)/Vendrel/Ratiscope/ratiscope.exe", "C:/Program Files (x86)",
         true, "C:/Users/Zo/AppData/Roaming/Vendrel/Ratiscope/"},
        {"portable", "D:/Tools/Ratiscope/ratiscope.exe", "C:/Program Files", false, "D:/Tools/Ratiscope/"},
        {"no program files folder", "C:/Program Files/Vendrel/Ratiscope/ratiscope.exe", "", false,
         "C:/Program Files/Vendrel/Ratiscope/"},
    };
    for (const Case& c : cases) {
        TWin32FilesAt files(c.program, Fixed(c.programFiles, "C:/Users/Zo/AppData/Roaming", "C:/ProgramData"));
        EXPECT_EQ(IsInstalled(files), c.installed) << c.name;
        EXPECT_EQ(UserDataFolder(files, kProductSubPath), c.userFolder) << c.name;
        EXPECT_EQ(SettingsFilePath(files), std::string(c.userFolder) + std::string(kSettingsFileName)) << c.name;
    }
}

// Windows programs write their text files with CR LF; a file someone wrote
// with line feeds keeps them.
TEST(Win32Files, ANewSettingsFileEndsItsLinesAsWindowsDoes) {
    TWinTempFolder folder;
    TWin32FilesAt files(folder / "ratiscope.exe", Fixed("", "", ""));
    const std::string path = folder / std::string(kSettingsFileName);
    TSettings settings(1920);
    SaveSettings(settings, files, '.');
    std::string content = files.ReadFile(path, 100000).value_or("");
    ASSERT_FALSE(content.empty());
    EXPECT_TRUE(content.starts_with("[Settings]\r\nBorder=12\r\n")) << content.substr(0, 40);
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), std::count(content.begin(), content.end(), '\r'));
    Write(path, "[Settings]\nX=1\n");
    SaveSettings(settings, files, '.');
    content = files.ReadFile(path, 100000).value_or("");
    EXPECT_TRUE(content.starts_with("[Settings]\nX=300\n")) << content.substr(0, 40);
    EXPECT_EQ(content.find('\r'), std::string::npos);
}

// A settings file the user froze: the error box names it as Windows writes
// paths and says why, in the system's words.
TEST(Win32Files, AFailedSaveNamesTheWindowsPathAndTheReason) {
    TWinTempFolder folder;
    TWin32FilesAt files(folder / "ratiscope.exe", Fixed("", "", ""));
    const std::string path = folder / std::string(kSettingsFileName);
    Write(path, "[Settings]\r\n");
    ASSERT_TRUE(SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    TSettings settings(1920);
    std::string shown;
    try {
        SaveSettings(settings, files, '.');
    } catch (const EWriteError& e) {
        shown = e.what();
    }
    SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string windowsPath = path;
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    EXPECT_EQ(shown, "Unable to write to " + windowsPath + "\n" + SystemText(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace ratiscope

namespace ratiscope {
namespace {

TEST(Win32Desktop, StartsProgramsWithTheirArgumentsAndReportsWhatFailed) {
    TWin32Desktop desktop;
    TWinTempFolder folder;
    // cmd.exe, found on the path, writes into a file named in its arguments.
    const std::string target = folder / "said.txt";
    const std::vector<std::string> arguments{"/c", "echo", "hello>" + target};
    ASSERT_TRUE(desktop.Run("cmd.exe", arguments));
    TWin32Files files;
    for (int i = 0; i < 100 && !files.FileExists(target); ++i) Sleep(50);
    EXPECT_TRUE(files.FileExists(target));
    EXPECT_FALSE(desktop.Run("C:/no/such/program.exe", {}));
    EXPECT_FALSE(desktop.Run("", {}));
    EXPECT_FALSE(desktop.OpenWithDefaultHandler(""));
    EXPECT_FALSE(desktop.OpenWithDefaultHandler(folder / "missing.html"));
}

}  // namespace
}  // namespace ratiscope
