// An in-memory file system behind the files interface: folders and files are
// set up by the test, and every call that reads or changes them is written
// down in order, so tests see exactly what the code under test did.
#pragma once

#include <fnmatch.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

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

    // Paths of files with their bytes, and folders, without a trailing "/".
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
        if (!prefix.ends_with('/')) prefix += '/';
        const std::string glob(pattern);
        std::vector<std::string> names;
        for (const auto& [path, content] : files) {
            if (!path.starts_with(prefix)) continue;
            const std::string name = path.substr(prefix.size());
            if (name.find('/') == std::string::npos && ::fnmatch(glob.c_str(), name.c_str(), FNM_PERIOD) == 0)
                names.push_back(name);
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
    static std::string Parent(const std::string& path) {
        const std::size_t slash = path.rfind('/');
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    static std::string Strip(std::string path) {
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        return path == "/" ? std::string() : path;
    }
};

}  // namespace ratiscope::testing
