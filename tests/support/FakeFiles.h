// An in-memory file system behind the files interface: folders and files are
// set up by the test, and every call that reads or changes them is written
// down in order, so tests see exactly what the code under test did.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/Files.h"
#include "platform/FileNamePattern.h"

namespace ratiscope::testing {

class TFakeFiles final : public IFiles {
public:
    // What the platform reports.
    std::string programPath;
    std::string programFilesFolder;
    std::string userDataFolder;
    std::string sharedDataFolder;
    // Every all-users data folder in order; when empty, sharedDataFolder alone.
    std::vector<std::string> sharedDataFolders;
    // The characters that separate folders; "\\/" stands in for Windows.
    std::string separators = "/";

    // Paths of files with their bytes, and folders, without a trailing separator.
    std::map<std::string, std::string, std::less<>> files;
    std::set<std::string, std::less<>> folders{"/"};
    std::map<std::string, TFileTime, std::less<>> times;
    // Files that exist but refuse to be read.
    std::set<std::string, std::less<>> unreadable;
    // Paths where a replace fails, as a full disk would make it.
    std::set<std::string, std::less<>> failingReplaces;

    // "ReadFile <path>", "CreateFolder <path>", "ReplaceFile <path>", in call order.
    std::vector<std::string> log;

    // Adds the file and every folder above it.
    void AddFile(const std::string& path, std::string content) {
        AddFolder(Parent(path));
        files[path] = std::move(content);
    }
    void AddFolder(std::string path) {
        path = Strip(path);
        while (!path.empty()) {
            folders.insert(path);
            path = Strip(Parent(path));
        }
    }

    std::string ProgramPath() override { return programPath; }
    std::string_view FolderSeparators() override { return separators; }
    std::string PlatformProgramFilesFolder() override { return programFilesFolder; }
    std::string PlatformUserDataFolder() override { return userDataFolder; }
    std::string PlatformSharedDataFolder() override { return sharedDataFolder; }
    std::vector<std::string> PlatformSharedDataFolders() override {
        if (sharedDataFolders.empty()) return IFiles::PlatformSharedDataFolders();
        return sharedDataFolders;
    }

    bool FileExists(std::string_view path) override { return files.contains(path); }
    bool FolderExists(std::string_view path) override {
        const std::string p = Strip(std::string(path));
        return folders.contains(p.empty() ? "/" : p);
    }
    bool CreateFolder(std::string_view path) override {
        log.push_back("CreateFolder " + std::string(path));
        const std::string p = Strip(std::string(path));
        const std::string parent = Strip(Parent(p));
        if (p.empty() || folders.contains(p) || files.contains(p)) return false;
        if (!parent.empty() && !folders.contains(parent)) return false;
        folders.insert(p);
        return true;
    }
    std::optional<TFileTime> ModificationTime(std::string_view path) override {
        const auto it = times.find(path);
        if (it == times.end()) return std::nullopt;
        return it->second;
    }
    std::vector<std::string> ListFolder(std::string_view folder, std::string_view pattern) override {
        std::string prefix(folder);
        if (prefix.empty() || !IsSeparator(prefix.back())) prefix += separators.front();
        std::vector<std::string> names;
        for (const auto& [path, content] : files) {
            if (!path.starts_with(prefix)) continue;
            const std::string name = path.substr(prefix.size());
            if (name.find_first_of(separators) == std::string::npos && MatchesFileNamePattern(name, pattern)) names.push_back(name);
        }
        return names;
    }
    std::optional<std::string> ReadFile(std::string_view path, std::size_t maxBytes) override {
        log.push_back("ReadFile " + std::string(path));
        const auto it = files.find(path);
        if (it == files.end() || unreadable.contains(path) || it->second.size() > maxBytes) return std::nullopt;
        return it->second;
    }
    bool ReplaceFile(std::string_view path, std::string_view content) override {
        log.push_back("ReplaceFile " + std::string(path));
        const std::string p(path);
        if (failingReplaces.contains(p) || folders.contains(Strip(p))) return false;
        const std::string parent = Strip(Parent(p));
        if (!parent.empty() && !folders.contains(parent)) return false;
        files[p] = std::string(content);
        return true;
    }

private:
    bool IsSeparator(char c) const { return separators.find(c) != std::string::npos; }
    std::string Parent(const std::string& path) const {
        const std::size_t slash = path.find_last_of(separators);
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    std::string Strip(std::string path) const {
        while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
        return path.size() == 1 && IsSeparator(path.front()) ? std::string() : path;
    }
};

// Where a copy run from /opt/tools keeps its settings: next to itself.
inline constexpr const char* kPortableSettingsPath = "/opt/tools/Ratiscope.user.settings";

// A copy run from /opt/tools, with a user data folder beside it and no files yet.
inline TFakeFiles PortableCopy() {
    TFakeFiles files;
    files.programPath = "/opt/tools/ratiscope";
    files.programFilesFolder = "/usr/lib/ratiscope/";
    files.userDataFolder = "/home/u/.config";
    files.AddFolder("/opt/tools");
    files.AddFolder("/home/u/.config");
    return files;
}

// An installed program: /usr/lib/ratiscope/ratiscope, its user data below
// /home/u/.config, none of whose folders exist yet.
inline TFakeFiles InstalledCopy() {
    TFakeFiles files;
    files.programPath = "/usr/lib/ratiscope/ratiscope";
    files.programFilesFolder = "/usr/lib/ratiscope/";
    files.userDataFolder = "/home/u/.config";
    return files;
}

}  // namespace ratiscope::testing
