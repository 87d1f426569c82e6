// Our own INI profile reader and writer: reads keys of a section the way the
// settings file has always been read, and rewrites only the lines it must, so
// everything else a user or another program put into the file survives.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ratiscope {

// Values are cut to this many bytes on reading.
inline constexpr std::size_t kMaxIniValue = 2047;

class TIniFile {
public:
    // Any bytes are accepted. Lines end with a line feed, optionally after a
    // carriage return; a UTF-8 byte-order mark before the first line is kept
    // aside and written back. `newLine` is the line end new lines take in a
    // file that has none of its own yet.
    explicit TIniFile(std::string_view content = {}, std::string_view newLine = "\n");

    // The value of the first key named `key` in the first section named
    // `section`, both compared without regard to ASCII case. Spaces and tabs
    // around the value are dropped, then one pair of matching single or double
    // quotes around it. Empty when the section or key is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

    // Rewrites the key's line in place (the key keeps its own spelling) or, for
    // a new key, adds it after the section's last non-blank line; a missing
    // section is added at the end. A value that reading would change (blanks at
    // either end, a pair of quotes around it) is written inside double quotes;
    // line breaks in it become blanks, since a value is one line.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Removes every key of the first section named `section` (compared
    // without regard to ASCII case); its header, comments and blank lines stay.
    void RemoveKeys(std::string_view section);

    // The whole file: untouched lines exactly as read, with their own line
    // ends; new lines take the line end of the file's first line, or the one
    // given at construction in a file that has none.
    std::string Content() const;

private:
    struct TLine {
        std::string text;  // without its line end
        std::string end;   // "\n", "\r\n", or "\r" or nothing on a last line
    };
    // Index range [first, last) of the lines of the first matching section,
    // the header excluded; empty when there is none.
    std::optional<std::pair<std::size_t, std::size_t>> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(std::size_t first, std::size_t last, std::string_view key) const;
    // Gives a line without a line feed one, so that another can follow it.
    void EndLine(TLine& line) const;

    std::vector<TLine> lines_;
    std::string byteOrderMark_;
    std::string newLine_ = "\n";
};

}  // namespace ratiscope
