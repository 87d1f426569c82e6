// The folder rules. The platform answers with its raw folders; the rules here
// decide which of them the program uses.
#include "settings/Folders.h"

#include <algorithm>
#include <vector>

#include "platform/Files.h"

namespace ratiscope {

namespace {

std::string UpperAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return s;
}

std::string_view WithoutTrailingSlashes(std::string_view s) {
    while (!s.empty() && s.back() == '/') s.remove_suffix(1);
    return s;
}

std::string DataFolder(IFiles& files, const std::string& platformFolder, std::string_view subPath) {
    if (!IsInstalled(files) || platformFolder.empty()) return ProgramFolder(files);
    return std::string(WithoutTrailingSlashes(platformFolder)) + "/" + std::string(subPath);
}

}  // namespace

std::string_view FolderOfPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string ProgramFolder(IFiles& files) {
    const std::string path = files.ProgramPath();
    return std::string(FolderOfPath(path));
}

std::string ProgramFilesFolder(IFiles& files) {
    std::string folder = files.PlatformProgramFilesFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool IsInstalled(IFiles& files) {
    const std::string programFiles = ProgramFilesFolder(files);
    if (programFiles.empty()) return false;
    const std::string program = UpperAscii(ProgramFolder(files));
    if (programFiles.front() != '/') return program.ends_with("/" + UpperAscii(programFiles));
    return program.find(UpperAscii(programFiles)) != std::string::npos;
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
    std::vector<std::string_view> missing;
    for (;;) {
        if (path.ends_with('/')) path.remove_suffix(1);
        const std::string_view parent = FolderOfPath(path);
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
