// Finding and reading the figure files: a bad file costs the user one line of
// explanation on the panel, never the rest of the list.
#include "settings/FigureLibrary.h"

#include <map>

#include "base/Files.h"
#include "settings/Folders.h"
#include "settings/Looks.h"
#include "settings/Settings.h"
#include "settings/SettingsDefaults.h"

namespace ratiscope {

namespace {

std::string FileNameOf(IFiles& files, std::string_view path) {
    return std::string(path.substr(FolderOfPath(path, files.FolderSeparators()).size()));
}

std::string TitleOf(const TUserFigure& figure, std::string_view fileName) {
    if (!figure.name.empty()) return figure.name;
    if (fileName.ends_with(kFigureFileExtension)) fileName.remove_suffix(kFigureFileExtension.size());
    return std::string(fileName);
}

std::variant<TFigureEntry, TFigureProblem> ReadEntry(IFiles& files, std::string_view path, std::string fileName) {
    // ReadFile gives nothing for a file above the limit, so a huge file is
    // never read in whole.
    const std::optional<std::string> bytes = files.ReadFile(path, kMaxFigureFileBytes);
    if (!bytes)
        return TFigureProblem{std::move(fileName), "the file cannot be read or is larger than " +
                                                       std::to_string(kMaxFigureFileBytes / 1024) + " KB"};
    TFigureRead read = ReadFigureFile(*bytes, kBuiltInLookCount);
    if (const auto* error = std::get_if<TFigureError>(&read))
        return TFigureProblem{std::move(fileName), FigureErrorText(*error)};
    TUserFigure& figure = std::get<TUserFigure>(read);
    std::string title = TitleOf(figure, fileName);
    return TFigureEntry{std::move(fileName), std::move(title), std::move(figure)};
}

}  // namespace

const TFigureEntry* TFigureLibrary::Find(std::string_view fileName) const {
    const std::int32_t i = IndexOf(fileName);
    return i < 0 ? nullptr : &figures[static_cast<std::size_t>(i)];
}

std::int32_t TFigureLibrary::IndexOf(std::string_view fileName) const {
    if (fileName.empty()) return -1;
    for (std::size_t i = 0; i < figures.size(); ++i)
        if (figures[i].fileName == fileName) return static_cast<std::int32_t>(i);
    return -1;
}

std::vector<std::string> TFigureLibrary::FileNames() const {
    std::vector<std::string> names;
    names.reserve(figures.size());
    for (const TFigureEntry& e : figures) names.push_back(e.fileName);
    return names;
}

std::vector<std::string> FigureFolders(IFiles& files) {
    const char separator = files.FolderSeparators().front();
    const std::string sub = std::string(kFiguresFolderName) + separator;
    std::vector<std::string> folders{ProgramFolder(files) + sub};
    // A copy that is not installed keeps its user files in its own folder.
    std::string user = UserDataFolder(files, kProductSubPath) + sub;
    if (user != folders.front()) folders.push_back(std::move(user));
    return folders;
}

TFigureLibrary LoadFigureLibrary(IFiles& files) {
    // File name to its folder: a later folder's file of the same name wins.
    std::map<std::string, std::string> chosen;
    const std::string pattern = "*" + std::string(kFigureFileExtension);
    for (const std::string& folder : FigureFolders(files))
        for (std::string& name : files.ListFolder(folder, pattern)) chosen[std::move(name)] = folder;

    TFigureLibrary library;
    std::size_t read = 0;
    for (auto& [name, folder] : chosen) {
        if (read++ == kMaxFigureFiles) {
            library.problems.push_back({name, "more than " + std::to_string(kMaxFigureFiles) +
                                                  " figure files: this one and those after it are left out"});
            break;
        }
        auto entry = ReadEntry(files, folder + name, name);
        if (auto* good = std::get_if<TFigureEntry>(&entry))
            library.figures.push_back(std::move(*good));
        else
            library.problems.push_back(std::move(std::get<TFigureProblem>(entry)));
    }
    return library;
}

std::variant<TFigureEntry, TFigureProblem> LoadFigureFile(IFiles& files, std::string_view path) {
    return ReadEntry(files, path, FileNameOf(files, path));
}

void FallBackFromMissingFigure(TSettings& settings, const TFigureLibrary& library) {
    if (!settings.Figure.empty() && !library.Find(settings.Figure)) settings.SetLookMode(kDefaultLookMode);
}

std::string FigureProblemText(const TFigureProblem& problem) { return problem.fileName + ": " + problem.message; }

TFigureLibrary& FigureLibrary() {
    static TFigureLibrary library;
    return library;
}

}  // namespace ratiscope
