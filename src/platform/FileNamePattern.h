// The wildcard rule of folder listings, written out once so every platform
// lists the same names (the Windows file finder would ignore case and also
// match short 8.3 names).
#pragma once

#include <string_view>

namespace ratiscope {

// Whether a file name matches a pattern: "*" stands for any run of characters
// (also none), "?" for one byte, every other byte for itself, case-sensitive;
// a name that begins with "." matches only a pattern that begins with ".".
bool MatchesFileNamePattern(std::string_view name, std::string_view pattern);

}  // namespace ratiscope
