// The reader keeps the grammar language files have always had, with one
// mend: a lone line feed ends a text as a carriage return does, so files
// saved with Linux line ends read the same as those with both.
#include "settings/LanguageFiles.h"

#include <algorithm>

#include "base/Files.h"
#include "settings/Folders.h"
#include "settings/LangTable.h"

namespace ratiscope {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

bool TLangReader::ReadLangPair(std::string& key, std::string& text) {
    const std::size_t size = bytes_.size();
    // Blanks, control bytes and comment lines before the entry.
    for (;;) {
        while (pos_ < size && static_cast<unsigned char>(bytes_[pos_]) <= 32) ++pos_;
        if (pos_ >= size) return false;
        if (IsAsciiLetter(bytes_[pos_])) break;
        const std::size_t lineFeed = bytes_.find('\n', pos_);
        if (lineFeed == std::string_view::npos) {
            pos_ = size;
            return false;
        }
        pos_ = lineFeed + 1;
    }
    const std::size_t equals = bytes_.find('=', pos_);
    if (equals == std::string_view::npos) {
        pos_ = size;
        return false;
    }
    std::string newKey(bytes_.substr(pos_, equals - pos_));
    std::string newText;
    std::size_t i = equals + 1;
    for (;;) {
        if (i >= size) {  // cut off by the end of the file: not taken
            pos_ = size;
            return false;
        }
        const char c = bytes_[i];
        if (IsLineEnd(c)) {
            pos_ = i + 1;  // a line feed after a carriage return is skipped with the blanks
            break;
        }
        if (c != '\\') {
            newText += c;
            ++i;
            continue;
        }
        if (i + 1 >= size) {
            pos_ = size;
            return false;
        }
        const char next = bytes_[i + 1];
        if (next == '\r') {
            // Backslash, carriage return and whatever byte follows (the line
            // feed) become one line break in the text.
            if (i + 2 >= size) {
                pos_ = size;
                return false;
            }
            newText += "\r\n";
            i += 3;
        } else if (next == '\n') {
            newText += "\r\n";
            i += 2;
        } else {
            // No escapes: the backslash stays, with the byte after it.
            newText += c;
            newText += next;
            i += 2;
        }
    }
    key = std::move(newKey);
    text = std::move(newText);
    return true;
}

std::vector<std::string> LanguageFolders(IFiles& files) {
    std::vector<std::string> folders;
    const auto add = [&folders](std::string folder) {
        // A folder met before has already been tried.
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
    };
    add(ProgramFolder(files));
    for (std::string& folder : SharedDataFolders(files, kProductSubPath)) add(std::move(folder));
    add(UserDataFolder(files, kProductSubPath));
    return folders;
}

bool IsSafeLanguageName(std::string_view name) {
    // Either separator or a drive ("C:") would lead out of the folder on some
    // platform, and a zero byte would end the name early there.
    constexpr std::string_view kUnsafe("/\\:\0", 4);
    return !name.empty() && name.find_first_of(kUnsafe) == std::string_view::npos;
}

bool LoadLanguage(TLangTable& table, IFiles& files, std::string_view name) {
    if (!IsSafeLanguageName(name)) return false;
    const std::string fileName = std::string(name) + std::string(kLanguageFileExtension);
    for (const std::string& folder : LanguageFolders(files)) {
        const auto bytes = files.ReadFile(folder + fileName, kMaxLanguageFileBytes);
        if (!bytes) continue;
        TLangReader reader(*bytes);
        std::string key, text;
        for (std::size_t n = 0; n < kMaxLanguageEntries && reader.ReadLangPair(key, text); ++n)
            table.MergeLangPair(key, text);
        return true;
    }
    return false;
}

void SelectLanguageTexts(TLangTable& table, IFiles& files, std::string_view name) {
    LoadLanguage(table, files, kBaseLanguage);
    if (name != kBaseLanguage) LoadLanguage(table, files, name);
}

}  // namespace ratiscope
