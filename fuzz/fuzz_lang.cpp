// The language-file reader on any bytes: every entry it returns has a key
// that starts with a letter and holds no "=", and reading always ends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Check.h"
#include "settings/LangTable.h"
#include "settings/LanguageFiles.h"
#include "settings/LanguageKeys.h"

using namespace ratiscope;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TLangReader reader(input);
    TLangTable table;
    std::string key, text;
    std::size_t entries = 0;
    while (reader.ReadLangPair(key, text)) {
        FUZZ_CHECK(!key.empty());
        FUZZ_CHECK((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= 'a' && key[0] <= 'z'));
        FUZZ_CHECK(key.find('=') == std::string::npos);
        FUZZ_CHECK(key.size() + text.size() <= 2 * size);
        table.MergeLangPair(key, text);
        FUZZ_CHECK(++entries <= size / 3);  // the shortest entry is "A=" and a line end
    }
    // What translators get to see of it must not trip either.
    const TLanguageCheck check = CheckLanguage(table);
    // Every key the program asks for can be missing, and the locale key besides.
    FUZZ_CHECK(check.missing.size() <= LanguageKeys().size() + 1);
    const std::string listing = LanguageTextsListing(table);
    FUZZ_CHECK(!listing.empty());
    return 0;
}
