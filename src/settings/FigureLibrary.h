// The figures of the user's own the look list offers: every figure file of
// the program's folder and of the user's, read once at start-up; the good
// ones follow the built-in looks, the others are kept with their messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/FigureFile.h"

namespace ratiscope {

class IFiles;
class TSettings;

inline constexpr std::string_view kFigureFileExtension = ".figure";
// Below the program folder (the shipped examples) and the user's data folder.
inline constexpr std::string_view kFiguresFolderName = "Figures";
// A look list longer than this is no help; further files are left unread,
// and said so.
inline constexpr std::size_t kMaxFigureFiles = 100;

struct TFigureEntry {
    std::string fileName;  // "Phi grid.figure", as the settings file stores it
    std::string title;     // the file's "name", else the file name without ".figure"
    TUserFigure figure;
};

struct TFigureProblem {
    std::string fileName;
    std::string message;  // "line 3, column 7: ..."
    friend bool operator==(const TFigureProblem&, const TFigureProblem&) = default;
};

struct TFigureLibrary {
    std::vector<TFigureEntry> figures;  // in the look list's order
    std::vector<TFigureProblem> problems;

    // The figure of that file name, or null.
    const TFigureEntry* Find(std::string_view fileName) const;
    // Its place in `figures`, or -1.
    std::int32_t IndexOf(std::string_view fileName) const;
    // Every file name, in order: Enter's cycle after the built-in looks.
    std::vector<std::string> FileNames() const;
};

// The folders figure files are looked for in, each once: the program
// folder's "Figures", then the user's. A user's file replaces a shipped one
// of the same name, so an example can be changed by copying it.
std::vector<std::string> FigureFolders(IFiles& files);

// Reads every "*.figure" file of the folders, sorted by file name.
TFigureLibrary LoadFigureLibrary(IFiles& files);

// Reads one figure file at `path`, for the export tool.
std::variant<TFigureEntry, TFigureProblem> LoadFigureFile(IFiles& files, std::string_view path);

// "Phi grid.figure: line 3, column 7: ...", for the panel.
std::string FigureProblemText(const TFigureProblem& problem);

// A settings file naming a figure file that is gone draws the default look,
// quietly, as a missing language shows English; the name stays, so the
// figure comes back with its file.
void FallBackFromMissingFigure(TSettings& settings, const TFigureLibrary& library);

// The program's library, as the language table is the program's: loaded at
// start-up, read by the overlay's figure and the panel's look list.
TFigureLibrary& FigureLibrary();

}  // namespace ratiscope
