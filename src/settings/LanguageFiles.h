// Language files: "<name>.lng", key=text lines, read into the language table
// with English first and the chosen language over it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ratiscope {

class IFiles;
class TLangTable;

inline constexpr std::string_view kBaseLanguage = "English";
inline constexpr std::string_view kLanguageFileExtension = ".lng";
// The key whose text names the locale a language file is written for, as a
// language code with an optional territory ("de", "pt_BR").
inline constexpr std::string_view kLocaleKey = "Locale";

// Language files hold a few hundred short texts; anything larger is not one.
inline constexpr std::size_t kMaxLanguageFileBytes = 4 * 1024 * 1024;
// Entries beyond this many in one file are not merged: each merge searches the
// table from the start, so a hostile file of a million keys would stall start-up.
inline constexpr std::size_t kMaxLanguageEntries = 10000;

// Reads entries from the bytes of one language file. The bytes must outlive the reader.
class TLangReader {
public:
    explicit TLangReader(std::string_view bytes) : bytes_(bytes) {}

    // The next entry: bytes up to 32 before it are skipped; a line whose first
    // other byte is not an ASCII letter is a comment up to its line feed; the
    // key runs to the first "=", untrimmed; the text runs to the next carriage
    // return or line feed, and a backslash right before the line end continues
    // it on the next line (with a carriage return and line feed in the text).
    // False when no complete entry is left: an entry that the end of the bytes
    // cuts off is not taken.
    bool ReadLangPair(std::string& key, std::string& text);

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// The folders language files are looked for in, in this order, each once:
// the program folder, every all-users data folder, the per-user data folder
// (for a program that is not installed all of them are its own folder).
std::vector<std::string> LanguageFolders(IFiles& files);

// Merges the file of language `name` into the table: the first of the
// LanguageFolders that has a readable "<name>.lng". False, with the table
// untouched, when none has; a name that IsSafeLanguageName refuses finds
// no file.
bool LoadLanguage(TLangTable& table, IFiles& files, std::string_view name);

// True when `name` can only be a file's base name inside the language folders
// on every platform: not empty, and no "/", "\\", ":" (a drive) or zero byte.
bool IsSafeLanguageName(std::string_view name);

// English first, then `name` over it unless it is exactly "English", so a key
// the chosen language lacks keeps its English text.
void SelectLanguageTexts(TLangTable& table, IFiles& files, std::string_view name);

}  // namespace ratiscope
