// The shell and file services the folder rules, the settings file and the
// language files need, so that all of them run against an in-memory double in tests.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ratiscope {

using TFileTime = std::chrono::system_clock::time_point;

class IFiles {
public:
    virtual ~IFiles() = default;

    // Full path of the running program file with every symbolic link resolved;
    // empty when the platform cannot tell.
    virtual std::string ProgramPath() = 0;
    // The characters that separate folders in this platform's paths, the one
    // the program writes first: "/" on POSIX systems; on Windows both, in the
    // order the backend writes them ("/\\" where it gives every path with "/").
    virtual std::string_view FolderSeparators() = 0;

    // The folder installed programs live in, as fixed when the program was
    // built; empty when the platform has none. Any trailing "/" may be missing.
    // An absolute folder is looked for anywhere in the program's folder; a
    // relative one (such as "lib/ratiscope") names the installation's place
    // below whatever prefix it was installed or moved to, and matches the end
    // of the program's folder.
    virtual std::string PlatformProgramFilesFolder() = 0;
    // The user's own folder for application settings; empty when unknown.
    // Any trailing "/" may be missing.
    virtual std::string PlatformUserDataFolder() = 0;
    // The folder for application data shared by all users; empty when unknown.
    // Any trailing "/" may be missing.
    virtual std::string PlatformSharedDataFolder() = 0;
    // Every folder for application data shared by all users, most important
    // first; the first is PlatformSharedDataFolder. Empty when there is none.
    // Any trailing "/" may be missing.
    virtual std::vector<std::string> PlatformSharedDataFolders() {
        std::string folder = PlatformSharedDataFolder();
        if (folder.empty()) return {};
        return {std::move(folder)};
    }

    // True for an existing regular file, also behind a symbolic link; false for
    // folders and anything else.
    virtual bool FileExists(std::string_view path) = 0;
    // True for an existing folder, also behind a symbolic link.
    virtual bool FolderExists(std::string_view path) = 0;
    // Creates one folder whose parent exists; true when it was created.
    virtual bool CreateFolder(std::string_view path) = 0;
    // Last modification time of a file or folder; empty when it cannot be read.
    virtual std::optional<TFileTime> ModificationTime(std::string_view path) = 0;
    // Names (without the folder) of the regular files in `folder` whose names
    // match `pattern` ("*" any run of characters, "?" one, case-sensitive; a
    // leading "." must be matched literally), sorted byte by byte. Empty when
    // the folder cannot be read.
    virtual std::vector<std::string> ListFolder(std::string_view folder, std::string_view pattern) = 0;
    // The whole content of a regular file, read front to back once, as bytes;
    // empty when it cannot be read or holds more than `maxBytes` bytes, so
    // neither a huge file nor a pipe standing at the path can stall the caller.
    virtual std::optional<std::string> ReadFile(std::string_view path, std::size_t maxBytes) = 0;
    // Replaces the file's content as a whole: the bytes go to a new file in the
    // same folder, which then takes the old one's place, so a reader sees either
    // the old content or the new, never a mix. False when any step fails; the
    // old file, if any, is then untouched and no temporary file is left behind.
    // Every backend keeps these rules:
    // - A symbolic link (or shortcut the file system follows) at the path is
    //   followed and stays; the rules below apply to what it leads to.
    // - Only a regular file is replaced: a folder, pipe, device or socket at
    //   the path is left as it is and the call gives false.
    // - A read-only file is left as it is and the call gives false: one the
    //   user may not write, and one nobody may write (no write permission bit
    //   at all, or the read-only attribute), which users set to freeze a file
    //   and which even an administrator's save honours.
    // - A writable file in a folder that refuses new files (so no temporary
    //   file can be made beside it) is written in place instead, as a program
    //   writing key by key would: a failure in the middle of that write can
    //   leave the file cut short, which the whole replacement never does.
    virtual bool ReplaceFile(std::string_view path, std::string_view content) = 0;
    // The line end of a new text file on this platform: "\n", "\r\n" on Windows.
    virtual std::string_view TextLineEnd() { return "\n"; }
    // The system's own words for why the last ReplaceFile gave false ("Access
    // is denied."), for the user to read; empty when there is nothing to say.
    virtual std::string ReplaceFailure() { return {}; }
    // The path as the system's own messages write it: on Windows with "\\",
    // whichever separators the program holds it with.
    virtual std::string DisplayPath(std::string_view path) { return std::string(path); }
};

}  // namespace ratiscope
