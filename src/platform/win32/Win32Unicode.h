// UTF-8 inside the program, UTF-16 at every Win32 call: the conversions and
// the command line, kept free of window code so they run as plain unit tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ratiscope {

// UTF-16 of UTF-8 text; a byte that starts no valid sequence becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// A path for the W functions: UTF-16 with every "/" turned into "\".
std::wstring WidePath(std::string_view path);
// A path from the W functions in the program's own form: UTF-8 with "/" between folders.
std::string PathFromWide(std::wstring_view path);

// The arguments after the program name of a command line as the Microsoft C
// runtime splits it (quotes, and backslashes before quotes), in UTF-8.
std::vector<std::string> ArgumentsFromCommandLine(std::wstring_view commandLine);

}  // namespace ratiscope

namespace ratiscope {

// A command line (UTF-16) that ArgumentsFromCommandLine, and so every program
// built with the Microsoft C runtime, splits back into exactly `arguments`.
std::wstring CommandLineFromArguments(std::string_view program, const std::vector<std::string>& arguments);

}  // namespace ratiscope
