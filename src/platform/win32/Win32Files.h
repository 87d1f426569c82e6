// The file services on Windows: the module path, the known folders, and W
// file calls; paths go in and come out with "/" between folders.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Files.h"

namespace ratiscope {

// The shell's known folders the folder rules ask for, so tests can give their own.
struct TKnownFolders {
    std::function<std::string()> programFiles;   // FOLDERID_ProgramFiles
    std::function<std::string()> roamingData;    // FOLDERID_RoamingAppData
    std::function<std::string()> programData;    // FOLDERID_ProgramData
};

// The shell's own answers, "/" between folders; empty where the shell has none.
TKnownFolders ShellKnownFolders();

// A FILETIME count (100-nanosecond steps since 1601-01-01 UTC) as a time point.
TFileTime TimeFromFileTime(std::uint64_t ticks);

class TWin32Files : public IFiles {
public:
    explicit TWin32Files(TKnownFolders folders = ShellKnownFolders());

    // The module file's path with links and junctions resolved where the
    // system can tell; the plain module path otherwise.
    std::string ProgramPath() override;
    // Both separators are read; "/" is the one written, as in every path this
    // backend gives out.
    std::string_view FolderSeparators() override;
    std::string PlatformProgramFilesFolder() override;
    std::string PlatformUserDataFolder() override;
    std::string PlatformSharedDataFolder() override;
    bool FileExists(std::string_view path) override;
    bool FolderExists(std::string_view path) override;
    bool CreateFolder(std::string_view path) override;
    std::optional<TFileTime> ModificationTime(std::string_view path) override;
    // The pattern is applied to the long names by our own rule, never by the
    // system's finder, which ignores case and also matches 8.3 names.
    std::vector<std::string> ListFolder(std::string_view folder, std::string_view pattern) override;
    std::optional<std::string> ReadFile(std::string_view path, std::size_t maxBytes) override;
    // A temporary file made exclusively beside the target, flushed, then moved
    // over it with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. A folder,
    // a device or a file with the read-only attribute is refused; a writable
    // file in a folder that takes no new files is written in place.
    bool ReplaceFile(std::string_view path, std::string_view content) override;
    // FormatMessage's text of the system error behind the last refusal.
    std::string ReplaceFailure() override;
    std::string DisplayPath(std::string_view path) override;
    std::string_view TextLineEnd() override { return "\r\n"; }

private:
    TKnownFolders folders_;
    std::uint32_t replaceError_ = 0;  // the system error behind the last refused ReplaceFile
};

}  // namespace ratiscope
