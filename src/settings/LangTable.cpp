// Linear merge and lookup: a few hundred short entries, looked up a handful of
// times per paint, need no index.
#include "settings/LangTable.h"

#include <algorithm>

namespace ratiscope {

void TLangTable::MergeLangPair(std::string_view key, std::string_view text) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const auto& e) { return e.first == key; });
    if (it != entries_.end())
        it->second.assign(text);
    else
        entries_.emplace_back(std::string(key), std::string(text));
}

std::string_view TLangTable::Lookup(std::string_view key) const {
    for (const auto& e : entries_)
        if (e.first == key) return e.second;
    return key;
}

std::string TLangTable::LangString(std::string_view key) const {
    return std::string(Lookup(key));
}

TLangTable& LanguageTable() {
    static TLangTable table;
    return table;
}

void MergeLangPair(std::string_view key, std::string_view text) {
    LanguageTable().MergeLangPair(key, text);
}

std::string LangString(std::string_view key) {
    return LanguageTable().LangString(key);
}

void ClearLanguageTable() {
    LanguageTable().Clear();
}

}  // namespace ratiscope
