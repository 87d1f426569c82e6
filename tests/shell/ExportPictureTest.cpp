// The export tool's pictures, run as a real process: PNG decoded back and
// checked pixel by pixel against its alpha, SVG checked as XML and by content.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/Color.h"
#include "platform/Image.h"
#include "platform/qt/QtGuiSession.h"
#include "platform/qt/QtImageIO.h"
#include "settings/Looks.h"

namespace ratiscope {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode;
    std::string out;
};

RunResult RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buf;
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe.get())) out.append(buf.data(), n);
    const int status = pclose(pipe.release());
    return {WEXITSTATUS(status), out};
}

RunResult RunExport(const std::string& args) {
    return RunCommand(std::string(RATISCOPE_EXPORT_EXE) + " " + args);
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Picture {
    TImage image;
    std::vector<std::uint8_t> alpha;
    std::uint8_t Alpha(std::int32_t x, std::int32_t y) const {
        return alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width()) +
                     static_cast<std::size_t>(x)];
    }
};

class ExportPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        session = std::make_unique<TQtGuiSession>();
    }
    static void TearDownTestSuite() { session.reset(); }

    void SetUp() override {
        dir = fs::temp_directory_path() / ("ratiscope-export-picture-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Picture ExportPng(const std::string& args) {
        const fs::path file = dir / "overlay.png";
        const RunResult r = RunExport("--format png -o " + file.string() + " " + args);
        EXPECT_EQ(r.exitCode, 0) << r.out;
        const std::string bytes = ReadAll(file);
        Picture p;
        auto image = DecodePng(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), &p.alpha);
        EXPECT_TRUE(image.has_value()) << "not a PNG: " << file;
        if (image) p.image = std::move(*image);
        return p;
    }

    std::vector<fs::path> FilesIn(const fs::path& folder) const {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path().filename());
        return files;
    }

    static inline std::unique_ptr<TQtGuiSession> session;
    fs::path dir;
};

TEST_F(ExportPicture, PngIsTheWindowWithTheKeyFullyTransparent) {
    const Picture p = ExportPng("");
    ASSERT_EQ(p.image.Size(), (TSize{420, 285}));
    const TPixel key = PixelFromColor(kOverlayKeyColor);
    int transparent = 0, opaque = 0;
    for (std::int32_t y = 0; y < 285; ++y)
        for (std::int32_t x = 0; x < 420; ++x) {
            const bool isKey = p.image.At(x, y) == key;
            ASSERT_EQ(p.Alpha(x, y), isKey ? 0 : 255) << x << "," << y;
            (isKey ? transparent : opaque)++;
        }
    EXPECT_GT(transparent, 420 * 285 / 2);
    EXPECT_GT(opaque, 2000);
    // The far line of look 1, and the grip, solid over its whole zone (which
    // holds the figure's undrawn far corner).
    EXPECT_EQ(p.image.At(408, 100), PixelFromColor(kDefaultLinesColor));
    for (std::int32_t y = 285 - 24; y < 285; ++y)
        for (std::int32_t x = 420 - 24; x < 420; ++x) ASSERT_EQ(p.Alpha(x, y), 255) << x << "," << y;
}

TEST_F(ExportPicture, OptionsActAsTheSettingsDo) {
    const auto count = [](const Picture& p, TColor c, TRect area) {
        int n = 0;
        for (std::int32_t y = area.top; y < area.bottom; ++y)
            for (std::int32_t x = area.left; x < area.right; ++x) n += p.image.At(x, y) == PixelFromColor(c);
        return n;
    };
    const TRect all{0, 0, 420, 285};
    const TRect caption{14, 1, 356, 15};
    // A values colour of its own, so its pixels can be counted.
    const std::string values = "--set ValuesColor=65280 ";
    const Picture on = ExportPng(values + "--values");
    const Picture off = ExportPng(values + "--no-values");
    EXPECT_GT(count(on, 65280, all), 100);
    EXPECT_EQ(count(off, 65280, all), 0);

    const Picture active = ExportPng("--active");
    const Picture inactive = ExportPng("--inactive");
    EXPECT_GT(count(inactive, kInactiveCaptionGrey, caption), count(active, kInactiveCaptionGrey, caption) + 50);
    EXPECT_GT(count(active, kChromeGrey, caption), count(inactive, kChromeGrey, caption) + 50);

    // No frame and no look: nothing but the transparent key.
    const Picture empty = ExportPng("--no-frame --set LookMode=" + std::to_string(kBuiltInLookCount));
    ASSERT_EQ(empty.image.Size(), (TSize{420, 285}));
    for (std::uint8_t a : empty.alpha) ASSERT_EQ(a, 0);
    // --values after --set wins, whatever the order on the line.
    const Picture later = ExportPng("--no-values --set ShowValues=1 " + values);
    EXPECT_EQ(count(later, 65280, all), 0);
}

TEST_F(ExportPicture, SvgIsWellFormedWithTheFigureAndLabels) {
    const fs::path file = dir / "overlay.svg";
    RunResult r = RunExport("--format svg --set LookMode=8 -o " + file.string());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    r = RunCommand("xmllint --noout " + file.string());
    EXPECT_EQ(r.exitCode, 0) << r.out;
    const std::string doc = ReadAll(file);
    const auto has = [&](const std::string& part) { return doc.find(part) != std::string::npos; };
    EXPECT_TRUE(has("width=\"420\" height=\"285\" viewBox=\"0 0 420 285\""));
    EXPECT_TRUE(has("<polyline points=\"12,28 408,28 408,273 12,273 12,28\" stroke=\"#ff4040\"/>"));
    EXPECT_TRUE(has("<line x1=\"210\" y1=\"28\" x2=\"210\" y2=\"273\" stroke=\"#ff4040\"/>"));
    EXPECT_TRUE(has("<ellipse cx=\"210\" cy=\"150\" rx=\"198\" ry=\"198\" stroke=\"#ff4040\"/>"));
    EXPECT_TRUE(has(">396 x 245</text>"));                   // the English size label
    EXPECT_TRUE(has("transform=\"rotate(-90 "));             // the half labels in the left margin
    EXPECT_TRUE(has(">Vendrel Ratiscope - Circles</text>"));  // the English look name
    EXPECT_TRUE(has("<use xlink:href=\"#icon"));
    EXPECT_FALSE(has("#fe00fe"));  // the key is the transparent background, never drawn
}

TEST_F(ExportPicture, SvgWithoutValuesOrFrameHasNoText) {
    const fs::path file = dir / "plain.svg";
    const RunResult r = RunExport("--format svg --no-values --no-frame --inactive -o " + file.string());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const std::string doc = ReadAll(file);
    EXPECT_EQ(doc.find("<text"), std::string::npos);
    EXPECT_EQ(doc.find("<use"), std::string::npos);
    EXPECT_NE(doc.find("<line"), std::string::npos);
}

TEST_F(ExportPicture, BadOutputsFailCleanly) {
    struct Case {
        std::string args;
        int exitCode;
        std::string message;
    };
    fs::create_directories(dir / "taken.png");
    const std::vector<Case> cases = {
        {"--format png -o " + (dir / "missing" / "x.png").string(), 1, "cannot write"},
        {"--format svg -o " + (dir / "missing" / "x.svg").string(), 1, "cannot write"},
        {"--format png -o " + (dir / "taken.png").string(), 1, "cannot write"},
        {"--format png", 2, "--format png needs -o FILE"},
        {"--format svg -o " + (dir / "taken.png").string(), 1, "cannot write " + (dir / "taken.png").string() + ": Is a directory"},
        // Far beyond any screen: refused before anything is allocated.
        {"--format png --set Lock=0 --set Width=30000 --set Height=30000 -o " + (dir / "huge.png").string(), 1,
         "too large for PNG"},
    };
    for (const Case& k : cases) {
        const RunResult r = RunExport(k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << k.args << " -> " << r.out;
        EXPECT_NE(r.out.find(k.message), std::string::npos) << k.args << " -> " << r.out;
        // Nothing half-written: the folder holds only what was there before.
        EXPECT_EQ(FilesIn(dir), std::vector<fs::path>{"taken.png"}) << k.args;
        EXPECT_TRUE(fs::is_directory(dir / "taken.png"));
    }
}

TEST_F(ExportPicture, ReplacingAFileIsAllOrNothing) {
    const fs::path file = dir / "overlay.png";
    { std::ofstream(file) << "old"; }
    const RunResult r = RunExport("--format png -o " + file.string());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(ReadAll(file), "old");
    EXPECT_EQ(FilesIn(dir), std::vector<fs::path>{"overlay.png"});
}

TEST_F(ExportPicture, HelpExplainsThePictureOptions) {
    const RunResult r = RunExport("--help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* option : {"--format png", "--format svg", "--values", "--no-values", "--frame", "--no-frame",
                               "--active", "--inactive", "transparent"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace ratiscope
