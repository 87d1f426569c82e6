// Where the export tool's output goes and what it looks like to a reader:
// links, pipes, devices, planted temporary names, folders, standard output,
// JSON that stays valid for any bytes, and nothing on standard error unasked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "settings/Settings.h"
#include "shell/ExportOptions.h"
#include "shell/FigureJson.h"
#include "support/TempFolder.h"

namespace ratiscope {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;
using testing::TTempFolder;
using testing::WriteWholeFile;

struct TRun {
    int exitCode;
    std::string out;  // standard output and standard error together
    std::string err;  // standard error alone
};

// Runs the tool through the shell with `prefix` before it (an environment change).
TRun RunTool(const std::string& args, const std::string& prefix = "") {
    const TTempFolder errFolder;
    const std::string errPath = errFolder / "stderr";
    const std::string cmd = prefix + " " + RATISCOPE_EXPORT_EXE + " " + args + " 2>" + errPath;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buf;
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe.get())) out.append(buf.data(), n);
    const int status = pclose(pipe.release());
    const std::string err = ReadWholeFile(errPath);
    return {WEXITSTATUS(status), out + err, err};
}

bool IsJson(const std::string& s) { return s.starts_with("{\"settings\":{") && s.ends_with("]}\n"); }

class ExportOutput : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.Valid()); }
    TTempFolder temp;
};

TEST_F(ExportOutput, ALinkIsWrittenThroughToItsTarget) {
    fs::create_symlink(temp / "target.json", temp / "link.json");  // dangling at first
    for (int round = 0; round < 2; ++round) {
        const TRun r = RunTool("-o " + (temp / "link.json"));
        ASSERT_EQ(r.exitCode, 0) << r.out;
        EXPECT_TRUE(fs::is_symlink(temp / "link.json")) << round;
        EXPECT_TRUE(IsJson(ReadWholeFile(temp / "target.json"))) << round;
    }
}

TEST_F(ExportOutput, APlantedTemporaryNameRedirectsNothing) {
    WriteWholeFile(temp / "victim", "");
    fs::create_symlink(temp / "victim", temp / "out.json.tmp~");
    const TRun r = RunTool("-o " + (temp / "out.json"));
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(ReadWholeFile(temp / "victim"), "");
    EXPECT_TRUE(fs::is_symlink(temp / "out.json.tmp~"));
    EXPECT_TRUE(IsJson(ReadWholeFile(temp / "out.json")));
}

TEST_F(ExportOutput, APipeOrDeviceIsWrittenStraightThrough) {
    ASSERT_EQ(::mkfifo((temp / "pipe").c_str(), 0600), 0);
    // Held open for reading and writing, so the tool's open does not wait for a reader.
    const int reader = ::open((temp / "pipe").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    fs::create_symlink(temp / "pipe", temp / "linkToPipe");
    TRun r = RunTool("-o " + (temp / "linkToPipe"));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    std::string got(1 << 16, '\0');
    const ssize_t n = ::read(reader, got.data(), got.size());
    ::close(reader);
    ASSERT_GT(n, 0);
    got.resize(static_cast<std::size_t>(n));
    EXPECT_TRUE(IsJson(got)) << got.substr(0, 80);
    EXPECT_TRUE(fs::is_fifo(temp / "pipe"));
    EXPECT_TRUE(fs::is_symlink(temp / "linkToPipe"));

    // Standard output named through a link to the process's own descriptor.
    fs::create_symlink("/proc/self/fd/1", temp / "stdout");
    r = RunTool("--format svg -o " + (temp / "stdout"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("<?xml") || r.out.starts_with("<svg")) << r.out.substr(0, 80);
    EXPECT_TRUE(fs::is_symlink(temp / "stdout"));

    // Only root may make a device node: the null device's numbers, in the test's own folder.
    if (::mknod((temp / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        r = RunTool("--format svg -o " + (temp / "null"));
        EXPECT_EQ(r.exitCode, 0) << r.out;
        EXPECT_TRUE(fs::is_character_file(temp / "null"));
    }
    for (const auto& e : fs::directory_iterator(temp.Path()))
        EXPECT_FALSE(e.path().filename().string().ends_with(".tmp~")) << e.path();
}

TEST_F(ExportOutput, ErrorsNameTheirRealCause) {
    fs::create_directory(temp / "d.json");
    struct Case {
        std::string target;
        const char* cause;
    };
    const Case cases[] = {
        {temp / "d.json", "Is a directory"},
        {temp / "missing/x.json", "No such file or directory"},
    };
    for (const Case& c : cases) {
        const TRun r = RunTool("-o " + c.target);
        EXPECT_EQ(r.exitCode, 1) << c.target;
        EXPECT_EQ(r.err, "ratiscope-export: cannot write " + c.target + ": " + c.cause + "\n");
    }
}

TEST_F(ExportOutput, ADashIsStandardOutput) {
    struct Case {
        const char* args;
        const char* starts;
    };
    const Case cases[] = {
        {"-o -", "{\"settings\""},
        {"--format svg -o -", "<"},
        {"--format svg", "<"},
        {"--format png -o -", "\x89PNG"},
    };
    for (const Case& c : cases) {
        const TRun r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args << ": " << r.err;
        EXPECT_TRUE(r.out.starts_with(c.starts)) << c.args;
        EXPECT_EQ(r.err, "") << c.args;
    }
    EXPECT_FALSE(fs::exists("-"));
}

TEST_F(ExportOutput, NothingOnStandardErrorUnasked) {
    for (const char* format : {"svg", "png", "json"}) {
        const TRun r = RunTool(std::string("--format ") + format + " -o " + (temp / "out"), "env -u XDG_RUNTIME_DIR");
        EXPECT_EQ(r.exitCode, 0) << format;
        EXPECT_EQ(r.err, "") << format;
    }
}

TEST(FigureJsonText, AnyBytesGiveValidJsonAndUtf8) {
    struct Case {
        const char* lang;
        const char* json;
    };
    const Case cases[] = {
        {"Fran\xc3\xa7" "ais", "\"Lang\":\"Fran\xc3\xa7" "ais\""},       // UTF-8 passes through
        {"\xd0\xa0\xd1\x83\xd1\x81", "\"Lang\":\"\xd0\xa0\xd1\x83\xd1\x81\""},
        {"\xf0\x9f\x98\x80", "\"Lang\":\"\xf0\x9f\x98\x80\""},              // four bytes
        {"Fran\xe7" "ais", "\"Lang\":\"Fran\\u00e7ais\""},                  // Latin-1
        {"x\xffy", "\"Lang\":\"x\\u00ffy\""},
        {"\xe2\x82", "\"Lang\":\"\\u00e2\\u0082\""},                        // cut short
        {"\xc0\xaf", "\"Lang\":\"\\u00c0\\u00af\""},                        // overlong
        {"\xed\xa0\x80", "\"Lang\":\"\\u00ed\\u00a0\\u0080\""},             // a surrogate
        {"\xf4\x90\x80\x80", "\"Lang\":\"\\u00f4\\u0090\\u0080\\u0080\""},  // above U+10FFFF
        {"a\x01\"b", "\"Lang\":\"a\\u0001\\\"b\""},
    };
    for (const Case& c : cases) {
        TSettings s(1920);
        s.SetLang(c.lang);
        EXPECT_NE(FigureJson(s).find(c.json), std::string::npos) << c.json;
    }
}

}  // namespace
}  // namespace ratiscope
