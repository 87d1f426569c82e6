// The file services on Linux: /proc for the program's path, the XDG base
// directories for the data folders, POSIX calls for the rest. No Qt needed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Files.h"

namespace ratiscope {

// Reads one environment variable; empty when it is not set.
using TEnvironment = std::function<std::optional<std::string>(const char* name)>;

// The process environment.
std::optional<std::string> ProcessEnvironment(const char* name);

// The installed program's folder chosen when the program was built.
std::string BuiltInProgramFilesFolder();

// Writes a tool's output file. A regular file (or a new one) is replaced
// through a temporary file created exclusively under a unique name beside it,
// so the file appears only when complete; a symbolic link is followed and
// stays a link. Anything else at the path (a terminal, pipe or device, such as
// /dev/stdout) is written straight through and never renamed over. 0, or the
// errno of the step that failed (EISDIR for a folder).
int WriteOutputFile(std::string_view path, std::string_view content);

class TPosixFiles : public IFiles {
public:
    // The defaults are the real ones; tests hand in their own folder and environment.
    explicit TPosixFiles(std::string programFilesFolder = BuiltInProgramFilesFolder(),
                         TEnvironment environment = ProcessEnvironment);

    std::string ProgramPath() override;
    std::string_view FolderSeparators() override { return "/"; }
    std::string PlatformProgramFilesFolder() override;
    // $XDG_CONFIG_HOME, else $HOME/.config, else the password database's home
    // plus "/.config"; relative paths are ignored, as the XDG rules ask.
    std::string PlatformUserDataFolder() override;
    // The first of PlatformSharedDataFolders.
    std::string PlatformSharedDataFolder() override;
    // The absolute entries of $XDG_DATA_DIRS in their order, each once; when
    // it holds none, the XDG default /usr/local/share and /usr/share.
    std::vector<std::string> PlatformSharedDataFolders() override;
    bool FileExists(std::string_view path) override;
    bool FolderExists(std::string_view path) override;
    // New folders are private to the user (mode 0700), as the XDG rules ask.
    bool CreateFolder(std::string_view path) override;
    std::optional<TFileTime> ModificationTime(std::string_view path) override;
    std::vector<std::string> ListFolder(std::string_view folder, std::string_view pattern) override;
    std::optional<std::string> ReadFile(std::string_view path, std::size_t maxBytes) override;
    // An existing file keeps its permission bits; a new one gets 0666 less the umask.
    bool ReplaceFile(std::string_view path, std::string_view content) override;
    std::string ReplaceFailure() override;

private:
    std::string programFilesFolder_;
    int replaceError_ = 0;  // the errno behind the last refused ReplaceFile
    TEnvironment environment_;
};

}  // namespace ratiscope
