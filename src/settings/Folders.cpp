// The folder rules. The platform answers with its raw folders; the rules here
// decide which of them the program uses. The platform also says which
// characters separate folders in its paths ("/", and on Windows "\\" too).
#include "settings/Folders.h"

#include <algorithm>
#include <vector>

#include "base/Files.h"

namespace ratiscope {

namespace {

constexpr std::string_view kPosixSeparators = "/";

std::string_view SeparatorsOf(IFiles& files) {
    const std::string_view separators = files.FolderSeparators();
    return separators.empty() ? kPosixSeparators : separators;
}

bool IsSeparator(char c, std::string_view separators) { return separators.find(c) != std::string_view::npos; }

// Upper-case ASCII with every separator written as the first one, for comparing folders.
std::string ComparableFolder(std::string s, std::string_view separators) {
    std::transform(s.begin(), s.end(), s.begin(), [separators](char c) {
        if (IsSeparator(c, separators)) return separators.front();
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return s;
}

// "/usr/", "C:\Program Files\" and "\\server\share\" are absolute; a folder
// relative to an unknown prefix ("lib/ratiscope/") is not.
bool IsAbsoluteFolder(std::string_view folder, std::string_view separators) {
    return (!folder.empty() && IsSeparator(folder.front(), separators)) ||
           (separators != kPosixSeparators && folder.size() >= 2 && folder[1] == ':');
}

std::string_view WithoutTrailingSeparators(std::string_view s, std::string_view separators) {
    while (!s.empty() && IsSeparator(s.back(), separators)) s.remove_suffix(1);
    return s;
}

std::string DataFolder(IFiles& files, const std::string& platformFolder, std::string_view subPath) {
    if (!IsInstalled(files) || platformFolder.empty()) return ProgramFolder(files);
    const std::string_view separators = SeparatorsOf(files);
    std::string folder = std::string(WithoutTrailingSeparators(platformFolder, separators)) + separators.front();
    // The sub-path is written with "/"; the platform's own separator replaces it.
    for (const char c : subPath) folder += c == '/' ? separators.front() : c;
    return folder;
}

}  // namespace

std::string_view FolderOfPath(std::string_view path, std::string_view separators) {
    const std::size_t slash = path.find_last_of(separators.empty() ? kPosixSeparators : separators);
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string ProgramFolder(IFiles& files) {
    const std::string path = files.ProgramPath();
    return std::string(FolderOfPath(path, SeparatorsOf(files)));
}

std::string ProgramFilesFolder(IFiles& files) {
    const std::string_view separators = SeparatorsOf(files);
    std::string folder = files.PlatformProgramFilesFolder();
    if (!folder.empty() && !IsSeparator(folder.back(), separators)) folder += separators.front();
    return folder;
}

bool IsInstalled(IFiles& files) {
    const std::string programFiles = ProgramFilesFolder(files);
    if (programFiles.empty()) return false;
    const std::string_view separators = SeparatorsOf(files);
    const std::string program = ComparableFolder(ProgramFolder(files), separators);
    const std::string wanted = ComparableFolder(programFiles, separators);
    if (!IsAbsoluteFolder(programFiles, separators)) return program.ends_with(separators.front() + wanted);
    return program.find(wanted) != std::string::npos;
}

std::string UserDataFolder(IFiles& files, std::string_view subPath) {
    return DataFolder(files, files.PlatformUserDataFolder(), subPath);
}

std::string SharedDataFolder(IFiles& files, std::string_view subPath) {
    return DataFolder(files, files.PlatformSharedDataFolder(), subPath);
}

std::vector<std::string> SharedDataFolders(IFiles& files, std::string_view subPath) {
    if (!IsInstalled(files)) return {ProgramFolder(files)};
    std::vector<std::string> folders;
    for (const std::string& platformFolder : files.PlatformSharedDataFolders())
        if (!platformFolder.empty()) folders.push_back(DataFolder(files, platformFolder, subPath));
    if (folders.empty()) folders.push_back(ProgramFolder(files));
    return folders;
}

bool ForceFolders(IFiles& files, std::string_view path) {
    // Walks up to the first folder that exists (or is too short to create),
    // then creates the missing ones top down; a loop rather than recursion, so
    // a path of thousands of levels cannot exhaust the stack.
    const std::string_view separators = SeparatorsOf(files);
    std::vector<std::string_view> missing;
    for (;;) {
        if (!path.empty() && IsSeparator(path.back(), separators)) path.remove_suffix(1);
        const std::string_view parent = FolderOfPath(path, separators);
        if (path.size() < 3 || files.FolderExists(path) || parent == path) break;
        missing.push_back(path);
        path = parent;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        if (!files.CreateFolder(*it)) return false;
    return true;
}

std::string SettingsFilePath(IFiles& files) {
    return UserDataFolder(files, kProductSubPath) + std::string(kSettingsFileName);
}

}  // namespace ratiscope
