// The program-wide table of language keys and texts that every shown text is
// looked up in; a key nobody defined shows as itself.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ratiscope {

class TLangTable {
public:
    // Replaces the text of an existing key, or appends the pair; keys compare
    // byte for byte, case and blanks included.
    void MergeLangPair(std::string_view key, std::string_view text);
    // The text of the key, or the key itself when no loaded file defines it.
    std::string LangString(std::string_view key) const;
    // Like LangString, but without the copy; the view lives until the next merge.
    std::string_view Lookup(std::string_view key) const;
    void Clear() { entries_.clear(); }
    std::size_t Size() const { return entries_.size(); }
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

private:
    // First-merge order is kept, which is what a linear lookup needs.
    std::vector<std::pair<std::string, std::string>> entries_;
};

// The one table of the running program.
TLangTable& LanguageTable();

void MergeLangPair(std::string_view key, std::string_view text);
std::string LangString(std::string_view key);
void ClearLanguageTable();

}  // namespace ratiscope
