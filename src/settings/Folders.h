// Where the program finds its files: its own folder, whether it runs from an
// installation, and the per-user and all-users data folders. Worked out anew
// at every use; every folder value ends with a separator of the platform's
// paths ("/", on Windows "\\" or "/") so a file name can follow.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ratiscope {

class IFiles;

// The product's place below the data folders, written with "/"; the folder
// rules write it with the platform's own separator.
inline constexpr std::string_view kProductSubPath = "Vendrel/Ratiscope/";
inline constexpr std::string_view kSettingsFileName = "Ratiscope.user.settings";

// The running program's path up to and including its last separator; empty
// when the path holds none.
std::string ProgramFolder(IFiles& files);

// The platform's folder for installed programs, ending with a separator;
// empty when there is none.
std::string ProgramFilesFolder(IFiles& files);

// True when the program folder contains the program-files folder, compared
// without regard to ASCII case or to which of the platform's separators
// either uses; false when there is no program-files folder. A relative
// program-files folder ("lib/ratiscope/") must instead end the program folder,
// whole folder names only ("/opt/x/lib/ratiscope/" but not
// "/opt/mylib/ratiscope/"), so any prefix counts and the build folder does not.
bool IsInstalled(IFiles& files);

// For an installed program with a per-user data folder: that folder, a
// separator and `subPath`; otherwise the program folder, so a free-standing
// copy keeps its files next to itself.
std::string UserDataFolder(IFiles& files, std::string_view subPath);

// The same with the all-users data folder.
std::string SharedDataFolder(IFiles& files, std::string_view subPath);

// The same with every all-users data folder, most important first; for a
// program that is not installed, or a platform with no such folder, just the
// program folder.
std::vector<std::string> SharedDataFolders(IFiles& files, std::string_view subPath);

// Creates the folder and any missing parents; true when it exists afterwards
// or needed no creation (an empty path, or one shorter than 3 characters).
bool ForceFolders(IFiles& files, std::string_view path);

// Everything up to and including the last of the `separators` (the
// platform's, IFiles::FolderSeparators), or empty.
std::string_view FolderOfPath(std::string_view path, std::string_view separators);

// UserDataFolder of the product sub-path + "Ratiscope.user.settings".
std::string SettingsFilePath(IFiles& files);

}  // namespace ratiscope
