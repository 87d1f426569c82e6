// UTF-8 inside, UTF-16 at the edge: conversions that never throw, and a
// command line split (and built) exactly as the C runtime of every Windows
// program reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Unicode.h"

namespace ratiscope {
namespace {

TEST(Win32Unicode, ConvertsBothWaysAndReplacesWhatIsNoText) {
    struct Case {
        const char* name;
        std::string utf8;
        std::wstring utf16;
    };
    const Case cases[] = {
        {"ascii", "Ratiscope", L"Ratiscope"},
        {"two bytes", "Fran\xC3\xA7" "ais", L"Fran\u00E7ais"},
        {"three bytes", "\xE6\x97\xA5\xE6\x9C\xAC", L"\u65E5\u672C"},
        {"four bytes", "\xF0\x9F\x93\x90", std::wstring{wchar_t(0xD83D), wchar_t(0xDCD0)}},
        {"empty", "", L""},
        {"embedded zero", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideFromUtf8(c.utf8), c.utf16) << c.name;
        EXPECT_EQ(Utf8FromWide(c.utf16), c.utf8) << c.name;
    }
    // Bytes that are no UTF-8 and lone surrogates become U+FFFD, never an exception.
    EXPECT_EQ(WideFromUtf8("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(WideFromUtf8("\xC3"), L"\uFFFD");
    EXPECT_EQ(WideFromUtf8("\xC0\xAF"), L"\uFFFD");              // overlong "/"
    EXPECT_EQ(WideFromUtf8("\xED\xA0\x80"), L"\uFFFD");          // an encoded surrogate
    EXPECT_EQ(WideFromUtf8("\xF4\x90\x80\x80"), L"\uFFFD");      // past U+10FFFF
    EXPECT_EQ(Utf8FromWide(std::wstring{wchar_t(0xD800)}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromWide(std::wstring{wchar_t(0xDC00), L'x'}), "\xEF\xBF\xBDx");
}

TEST(Win32Unicode, PathsUseEitherSeparatorInsideAndBackslashesOutside) {
    EXPECT_EQ(WidePath("C:/Program Files/Vendrel/Ratiscope/"), L"C:\\Program Files\\Vendrel\\Ratiscope\\");
    EXPECT_EQ(WidePath("C:\\Users/Zo\xC3\xAB"), L"C:\\Users\\Zo\u00EB");
    EXPECT_EQ(PathFromWide(L"C:\\Users\\Zo\u00EB\\AppData"), "C:/Users/Zo\xC3\xAB/AppData");
}

TEST(Win32Unicode, SplitsTheCommandLineAsTheRuntimeDoes) {
    struct Case {
        const wchar_t* line;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {L"ratiscope.exe", {}},
        {L"ratiscope.exe /uninstall", {"/uninstall"}},
        {L"\"C:\\Program Files\\Vendrel\\Ratiscope\\ratiscope.exe\" /uninstall", {"/uninstall"}},
        {L"\"C:\\odd\"name.exe a", {"a"}},  // the program name ends at a blank outside quotes
        {L"x.exe   a\t b  ", {"a", "b"}},
        {L"x.exe \"a b\" c", {"a b", "c"}},
        {L"x.exe a\\\\b", {"a\\\\b"}},            // backslashes without a quote stay
        {L"x.exe \"a\\\\\" b", {"a\\", "b"}},     // 2n backslashes and a quote: n, quote toggles
        {L"x.exe a\\\"b", {"a\"b"}},              // 2n+1: n and a literal quote
        {L"x.exe \"a\"\"b\"", {"a\"b"}},          // a doubled quote inside quotes
        {L"x.exe \"\"", {""}},
        {L"x.exe --output \"C:\\Users\\Zo\u00EB\\figure.svg\"", {"--output", "C:\\Users\\Zo\xC3\xAB\\figure.svg"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ArgumentsFromCommandLine(c.line), c.arguments) << Utf8FromWide(c.line);
}

TEST(Win32Unicode, BuiltCommandLinesSplitBackIntoTheSameArguments) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"https://vendrel.example/?prd=vrx&v=5.9.3&d=3"},
        {"C:/Program Files/Vendrel/Ratiscope/Manual/index.html"},
        {"", "a b", "tab\there", "quote\"inside", "ends\\", "ends with space \\", "\\\\server\\share\\", "\\\"",
         "Zo\xC3\xAB"},
    };
    for (const auto& arguments : cases) {
        const std::wstring line = CommandLineFromArguments("C:/Windows/explorer.exe", arguments);
        EXPECT_TRUE(line.starts_with(L"\"C:\\Windows\\explorer.exe\"")) << Utf8FromWide(line);
        EXPECT_EQ(ArgumentsFromCommandLine(line), arguments) << Utf8FromWide(line);
    }
}

}  // namespace
}  // namespace ratiscope
