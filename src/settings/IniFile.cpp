// Lines are kept as read, each with its own line end, so a rewrite changes
// nothing but the lines of the keys written.
#include "settings/IniFile.h"

#include <algorithm>

namespace ratiscope {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsBlankLine(std::string_view s) { return Trim(s).empty(); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// The name inside the brackets of a section header line.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view t = Trim(line);
    if (!t.starts_with('[')) return std::nullopt;
    t.remove_prefix(1);
    return Trim(t.substr(0, t.find(']')));
}

// The key of a key line; a line without "=" holds none.
std::optional<std::string_view> KeyName(std::string_view line) {
    if (SectionName(line)) return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, eq));
}

std::string OneLine(std::string_view s) {
    std::string out(s);
    std::replace_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool QuotedPair(std::string_view s) { return s.size() >= 2 && IsQuote(s.front()) && s.front() == s.back(); }

// The value as it must stand in the file so that reading gives it back.
std::string EncodeValue(std::string_view value) {
    std::string v = OneLine(value);
    if (!v.empty() && (IsBlank(v.front()) || IsBlank(v.back()) || QuotedPair(v))) return '"' + v + '"';
    return v;
}

}  // namespace

TIniFile::TIniFile(std::string_view content, std::string_view newLine) : newLine_(newLine) {
    if (content.starts_with(kByteOrderMark)) {
        byteOrderMark_ = kByteOrderMark;
        content.remove_prefix(kByteOrderMark.size());
    }
    bool endKnown = false;
    while (!content.empty()) {
        const std::size_t lf = content.find('\n');
        TLine line;
        std::string_view text = content.substr(0, lf);
        if (lf != std::string_view::npos) {
            line.end = "\n";
            if (text.ends_with('\r')) {
                text.remove_suffix(1);
                line.end = "\r\n";
            }
            content.remove_prefix(lf + 1);
        } else {
            // A last line cut off after its carriage return.
            if (text.ends_with('\r')) {
                text.remove_suffix(1);
                line.end = "\r";
            }
            content = {};
        }
        line.text = text;
        if (!endKnown && line.end.ends_with('\n')) {
            newLine_ = line.end;
            endKnown = true;
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<std::pair<std::size_t, std::size_t>> TIniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i].text);
        if (!name || !EqualNoCase(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !SectionName(lines_[end].text)) ++end;
        return std::pair{i + 1, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> TIniFile::FindKey(std::size_t first, std::size_t last, std::string_view key) const {
    for (std::size_t i = first; i < last; ++i) {
        const auto name = KeyName(lines_[i].text);
        if (name && EqualNoCase(*name, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> TIniFile::ReadString(std::string_view section, std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) return std::nullopt;
    const auto at = FindKey(range->first, range->second, key);
    if (!at) return std::nullopt;
    const std::string_view line = lines_[*at].text;
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (QuotedPair(value)) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxIniValue));
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string encoded = EncodeValue(value);
    const auto range = FindSection(section);
    if (!range) {
        if (!lines_.empty()) EndLine(lines_.back());
        if (!lines_.empty() && !IsBlankLine(lines_.back().text)) lines_.push_back({"", newLine_});
        lines_.push_back({"[" + OneLine(section) + "]", newLine_});
        lines_.push_back({OneLine(key) + "=" + encoded, newLine_});
        return;
    }
    if (const auto at = FindKey(range->first, range->second, key)) {
        TLine& line = lines_[*at];
        line.text = std::string(*KeyName(line.text)) + "=" + encoded;
        return;
    }
    // After the section's last non-blank line, so blank lines that part it
    // from the next section stay where they are.
    std::size_t at = range->first;
    for (std::size_t i = range->first; i < range->second; ++i)
        if (!IsBlankLine(lines_[i].text)) at = i + 1;
    EndLine(lines_[at - 1]);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), TLine{OneLine(key) + "=" + encoded, newLine_});
}

void TIniFile::EndLine(TLine& line) const {
    if (line.end.ends_with('\n')) return;
    // A last line cut after a carriage return keeps it before the line feed:
    // a carriage return of the text's own before it would otherwise join a
    // new "\n" into one "\r\n", and the line would read differently.
    line.end = line.end == "\r" ? "\r\n" : newLine_;
}

void TIniFile::RemoveKeys(std::string_view section) {
    const auto range = FindSection(section);
    if (!range) return;
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(range->first);
    const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(range->second);
    lines_.erase(std::remove_if(first, last, [](const TLine& line) { return KeyName(line.text).has_value(); }), last);
}

std::string TIniFile::Content() const {
    std::string out = byteOrderMark_;
    for (const TLine& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

}  // namespace ratiscope
