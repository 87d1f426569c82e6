// The template routine on any template and any mix of values: it either
// formats or raises its own error, and never reads or writes out of bounds.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "settings/Format.h"

using namespace ratiscope;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks up to four values, two bits each: whole number,
    // real number, text, or none.
    const std::uint8_t kinds = data[0];
    const std::string_view templ(reinterpret_cast<const char*>(data) + 1, size - 1);
    const double reals[] = {0.6180339887498949, -1e308, 1e-310, 0.0, std::numeric_limits<double>::infinity(), -0.0};
    std::vector<TFormatArg> args;
    for (int i = 0; i < 4; ++i) {
        switch ((kinds >> (2 * i)) & 3) {
        case 0: args.emplace_back(static_cast<std::int32_t>(i == 1 ? INT32_MIN : 396 * (i + 1))); break;
        case 1: args.emplace_back(reals[(kinds + i) % 6]); break;
        case 2: args.emplace_back(std::string_view("Vendrel %s %d")); break;
        default: break;
        }
    }
    try {
        const std::string out = Format(templ, args);
        // Each directive adds at most its field (bounded) or one value.
        FUZZ_CHECK(out.size() <= (templ.size() + 1) * (kMaxFormatField + 400));
    } catch (const EFormatError& e) {
        // The message names the template (what() ends at a zero byte).
        if (templ.find('\0') == std::string_view::npos)
            FUZZ_CHECK(std::string_view(e.what()).find(templ) != std::string_view::npos);
    }
    FUZZ_CHECK(FormatOrTemplate(templ, args).size() <= (templ.size() + 1) * (kMaxFormatField + 400));
    return 0;
}
