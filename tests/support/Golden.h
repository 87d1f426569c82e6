// Pixel tests against tiny reference pictures kept as XPM text under
// tests/data/, so a changed pixel shows up in a plain diff.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "platform/Image.h"

namespace ratiscope {

// Compares `actual` with tests/data/<name>.xpm (name may hold folders, e.g.
// "raster/lines"). On a mismatch it writes <name>.actual.xpm and
// <name>.diff.xpm (differing pixels red, equal ones faded) under
// GoldenOutputFolder(). With RATISCOPE_UPDATE_GOLDEN=1 in the environment it
// rewrites the golden from `actual` instead and passes.
::testing::AssertionResult MatchesGolden(const TImage& actual, std::string_view name);

// "golden-out" beside the running test program.
std::filesystem::path GoldenOutputFolder();

// The path of tests/data/<relative>.
std::filesystem::path TestDataPath(std::string_view relative);

}  // namespace ratiscope
