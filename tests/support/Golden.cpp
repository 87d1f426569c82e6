// Golden-image comparison with readable failure output.
#include "support/Golden.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/raster/Xpm.h"

namespace ratiscope {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// Equal pixels faded towards white, so the red differences stand out.
TImage DiffImage(const TImage& a, const TImage& b) {
    TImage diff(a.Width(), a.Height());
    for (std::int32_t y = 0; y < a.Height(); ++y)
        for (std::int32_t x = 0; x < a.Width(); ++x) {
            const TPixel p = a.At(x, y);
            if (p != b.At(x, y)) {
                diff.Set(x, y, 0xFFFF0000u);
                continue;
            }
            const TPixel grey = ((p >> 16 & 0xFFu) + (p >> 8 & 0xFFu) + (p & 0xFFu)) / 3 / 4 + 0xBFu;
            diff.Set(x, y, 0xFF000000u | grey << 16 | grey << 8 | grey);
        }
    return diff;
}

std::string Stem(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    std::string stem(slash == std::string_view::npos ? name : name.substr(slash + 1));
    for (char& c : stem)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return stem;
}

}  // namespace

std::filesystem::path GoldenOutputFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::current_path() : exe.parent_path()) / "golden-out";
}

std::filesystem::path TestDataPath(std::string_view relative) {
    return std::filesystem::path(RATISCOPE_TEST_DATA) / std::filesystem::path(std::string(relative));
}

::testing::AssertionResult MatchesGolden(const TImage& actual, std::string_view name) {
    const auto goldenPath = TestDataPath(std::string(name) + ".xpm");
    const std::string actualXpm = XpmFromImage(actual, Stem(name));

    if (const char* update = std::getenv("RATISCOPE_UPDATE_GOLDEN"); update && std::string_view(update) == "1") {
        if (!WriteFile(goldenPath, actualXpm))
            return ::testing::AssertionFailure() << "cannot write golden " << goldenPath;
        return ::testing::AssertionSuccess() << "golden " << goldenPath << " rewritten";
    }

    const auto out = GoldenOutputFolder() / std::filesystem::path(std::string(name));
    const auto actualPath = out.string() + ".actual.xpm";
    WriteFile(actualPath, actualXpm);

    std::string error;
    const auto golden = IconFromXpmText(ReadFile(goldenPath), &error);
    if (!golden)
        return ::testing::AssertionFailure() << "golden " << goldenPath << " unreadable (" << error
                                             << "); actual written to " << actualPath
                                             << "; set RATISCOPE_UPDATE_GOLDEN=1 to create it";
    const TImage& expected = golden->Image();
    if (expected.Size() != actual.Size())
        return ::testing::AssertionFailure() << "size " << actual.Width() << "x" << actual.Height() << " but golden "
                                             << expected.Width() << "x" << expected.Height() << "; actual written to "
                                             << actualPath;

    int differing = 0;
    std::int32_t firstX = -1, firstY = -1;
    for (std::int32_t y = 0; y < actual.Height(); ++y)
        for (std::int32_t x = 0; x < actual.Width(); ++x)
            if (actual.At(x, y) != expected.At(x, y) && differing++ == 0) firstX = x, firstY = y;
    if (differing == 0) {
        std::filesystem::remove(actualPath);
        return ::testing::AssertionSuccess();
    }
    const auto diffPath = out.string() + ".diff.xpm";
    WriteFile(diffPath, XpmFromImage(DiffImage(actual, expected), Stem(name) + "_diff"));
    return ::testing::AssertionFailure() << differing << " pixels differ from " << goldenPath << ", first at ("
                                         << firstX << ", " << firstY << "); actual " << actualPath << ", diff "
                                         << diffPath;
}

}  // namespace ratiscope
