// A settings file of any bytes applied through the setters: the limits the
// drawing code relies on hold afterwards, and the saved file reads again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Check.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

using namespace ratiscope;

namespace {

void CheckLimits(const TSettings& s) {
    FUZZ_CHECK(std::isfinite(s.Ratio) && s.Ratio > 0);
    FUZZ_CHECK(s.GridSize >= 3);
    FUZZ_CHECK(s.Opacity >= 0 && s.Opacity <= 100);
    FUZZ_CHECK(s.Width >= 0 && s.Width <= kMaxSide);
    FUZZ_CHECK(s.Height >= 0 && s.Height <= kMaxSide);
    FUZZ_CHECK(s.Border >= kMinBorder && s.Border <= kMaxBorder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const char separator = size > 0 && data[0] % 2 ? ',' : '.';
    TSettings s(1920);
    ApplySettingsText(s, input, separator);
    CheckLimits(s);

    const std::string saved = SettingsFileContent(s, input, separator);
    TSettings again(1920);
    ApplySettingsText(again, saved, separator);
    CheckLimits(again);
    // Keys that no setter changes on the way in come back exactly.
    FUZZ_CHECK(again.Lang == s.Lang.substr(0, 2047) || s.Lang.find_first_of("\r\n") != std::string::npos);
    FUZZ_CHECK(again.X == s.X && again.SX == s.SX && again.SPage == s.SPage && again.SVisible == s.SVisible);
    FUZZ_CHECK(again.LookMode == s.LookMode && again.LinesColor == s.LinesColor && again.Opacity == s.Opacity);
    return 0;
}
