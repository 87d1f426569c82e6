// The figure-file grammar: one statement a line, a word and its values, the
// values small arithmetic on numbers and "phi". Reading stops at the first
// mistake, which is reported where it stands.
#include "settings/FigureFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace ratiscope {
namespace {

// 1 + 1/phi = phi; the golden factor of the built-in looks is 1/phi.
constexpr double kPhi = 1.6180339887498949;
// Deep enough for any honest expression, shallow enough for the stack.
constexpr int kMaxNesting = 16;
constexpr std::size_t kMaxNumberChars = 32;

constexpr std::string_view kStatementWords =
    "frame, vline, hline, line, diagonals, columns, rows, circle, ellipse, look or name";

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != b[i]) return false;
    return true;
}

std::string NumberText(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", v);
    return buffer;
}

// The length of the UTF-8 sequence starting at `s[i]`, or 0 when it is not
// one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t Utf8Length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else return 0;
    if (i + n > s.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (!IsContinuation(s[i + k])) return 0;
    return n;
}

// Characters before byte `offset` of `line`, plus one: the column a person sees.
std::int32_t ColumnOf(std::string_view line, std::size_t offset) {
    std::int32_t column = 1;
    for (std::size_t i = 0; i < offset && i < line.size(); ++i)
        if (!IsContinuation(line[i])) ++column;
    return column;
}

// Finds the first byte that makes the file no text a person wrote: a control
// character or a broken UTF-8 sequence.
std::optional<TFigureError> CheckText(std::string_view bytes) {
    std::int32_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const char c = bytes[i];
        if (c == '\n') {
            ++line;
            lineStart = ++i;
            continue;
        }
        const auto column = [&] { return ColumnOf(bytes.substr(lineStart), i - lineStart); };
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') || c == 0x7F)
            return TFigureError{line, column(), "not a text file: it holds a control byte"};
        const std::size_t n = Utf8Length(bytes, i);
        if (n == 0) return TFigureError{line, column(), "not UTF-8 text"};
        i += n;
    }
    return std::nullopt;
}

enum class TTokenKind { End, Word, Number, Symbol };

struct TToken {
    TTokenKind kind = TTokenKind::End;
    std::string_view text;
    double value = 0;
    std::size_t offset = 0;  // bytes into the line
};

// One line's statement: its tokens are read on demand, errors carry the
// line's number and the token's column.
class TLineReader {
public:
    TLineReader(std::string_view line, std::int32_t number) : line_(line), number_(number) { Advance(); }

    const TToken& Current() const { return current_; }
    std::optional<TFigureError>& Error() { return error_; }

    void Advance() {
        if (error_) return;  // Fail has put the reader at the line's end
        std::size_t i = next_;
        while (i < line_.size() && IsBlank(line_[i])) ++i;
        current_ = {TTokenKind::End, {}, 0, i};
        if (i >= line_.size() || line_[i] == '#') {
            next_ = line_.size();
            return;
        }
        const std::size_t start = i;
        if (IsLetter(line_[i])) {
            while (i < line_.size() && (IsLetter(line_[i]) || IsDigit(line_[i]))) ++i;
            current_ = {TTokenKind::Word, line_.substr(start, i - start), 0, start};
        } else if (IsDigit(line_[i]) || (line_[i] == '.' && i + 1 < line_.size() && IsDigit(line_[i + 1]))) {
            ReadNumber(start);
            return;
        } else {
            i += Utf8Length(line_, i);
            current_ = {TTokenKind::Symbol, line_.substr(start, i - start), 0, start};
        }
        next_ = i;
    }

    // Records the first mistake and ends the line, so every reader above
    // sees its end and unwinds.
    bool Fail(std::size_t offset, std::string message) {
        if (!error_) error_ = TFigureError{number_, ColumnOf(line_, offset), std::move(message)};
        current_ = {TTokenKind::End, {}, 0, line_.size()};
        next_ = line_.size();
        return false;
    }

private:
    void ReadNumber(std::size_t start) {
        std::size_t i = start;
        while (i < line_.size() && IsDigit(line_[i])) ++i;
        if (i < line_.size() && line_[i] == '.') {
            ++i;
            while (i < line_.size() && IsDigit(line_[i])) ++i;
        }
        if (i + 1 < line_.size() && line_[i] == ',' && IsDigit(line_[i + 1])) {
            Fail(i, "a decimal point is written \".\", not \",\"");
            return;
        }
        const std::string_view text = line_.substr(start, i - start);
        if (text.size() > kMaxNumberChars) {
            Fail(start, "a number of more than 32 characters");
            return;
        }
        const std::string copy(text);
        current_ = {TTokenKind::Number, text, std::strtod(copy.c_str(), nullptr), start};
        next_ = i;
    }

    std::string_view line_;
    std::int32_t number_;
    std::size_t next_ = 0;
    TToken current_;
    std::optional<TFigureError> error_;
};

bool IsSymbol(const TToken& t, char c) { return t.kind == TTokenKind::Symbol && t.text.size() == 1 && t.text[0] == c; }

// value := term {("+" | "-") term}; term := unary {("*" | "/") unary};
// unary := "-" unary | number | "phi" | "(" value ")".
class TValueReader {
public:
    explicit TValueReader(TLineReader& in) : in_(in) {}

    // One whole value; infinities and the NaN they breed are refused here, so
    // no range check downstream can be fooled by them.
    std::optional<double> Read() {
        const std::size_t start = in_.Current().offset;
        const auto v = Value(0);
        if (v && !std::isfinite(*v)) {
            in_.Fail(start, "a number too large");
            return std::nullopt;
        }
        return v;
    }

private:
    std::optional<double> Value(int depth) {
        auto left = Term(depth);
        while (left && (IsSymbol(in_.Current(), '+') || IsSymbol(in_.Current(), '-'))) {
            const bool plus = IsSymbol(in_.Current(), '+');
            in_.Advance();
            const auto right = Term(depth);
            if (!right) return std::nullopt;
            *left = plus ? *left + *right : *left - *right;
        }
        return left;
    }

    std::optional<double> Term(int depth) {
        auto left = Unary(depth);
        while (left && (IsSymbol(in_.Current(), '*') || IsSymbol(in_.Current(), '/'))) {
            const bool times = IsSymbol(in_.Current(), '*');
            const std::size_t at = in_.Current().offset;
            in_.Advance();
            const auto right = Unary(depth);
            if (!right) return std::nullopt;
            if (!times && *right == 0) {
                in_.Fail(at, "division by zero");
                return std::nullopt;
            }
            *left = times ? *left * *right : *left / *right;
        }
        return left;
    }

    std::optional<double> Unary(int depth) {
        const TToken t = in_.Current();
        if (depth > kMaxNesting) {
            in_.Fail(t.offset, "more than 16 brackets or signs inside each other");
            return std::nullopt;
        }
        if (IsSymbol(t, '-')) {
            in_.Advance();
            const auto v = Unary(depth + 1);
            return v ? std::optional<double>(-*v) : std::nullopt;
        }
        if (t.kind == TTokenKind::Number) {
            in_.Advance();
            return t.value;
        }
        if (t.kind == TTokenKind::Word && SameWord(t.text, "phi")) {
            in_.Advance();
            return kPhi;
        }
        if (IsSymbol(t, '(')) {
            in_.Advance();
            const auto v = Value(depth + 1);
            if (!v) return std::nullopt;
            if (!IsSymbol(in_.Current(), ')')) {
                in_.Fail(in_.Current().offset, "\")\" expected");
                return std::nullopt;
            }
            in_.Advance();
            return v;
        }
        if (t.kind == TTokenKind::End) in_.Fail(t.offset, "a value expected at the end of the line");
        else in_.Fail(t.offset, "a value expected, not \"" + std::string(t.text) + "\"");
        return std::nullopt;
    }

    TLineReader& in_;
};

struct TStatement {
    std::string_view word;
    TFigureStepKind kind;
    int fractions;  // values between 0 and 1
    bool counted;   // one whole-number value instead
};

constexpr TStatement kStatements[] = {
    {"frame", TFigureStepKind::Frame, 0, false},
    {"vline", TFigureStepKind::VLine, 1, false},
    {"hline", TFigureStepKind::HLine, 1, false},
    {"line", TFigureStepKind::Line, 4, false},
    {"diagonals", TFigureStepKind::Diagonals, 0, false},
    {"columns", TFigureStepKind::Columns, 0, true},
    {"rows", TFigureStepKind::Rows, 0, true},
    {"circle", TFigureStepKind::Circle, 3, false},
    {"ellipse", TFigureStepKind::Ellipse, 4, false},
    {"look", TFigureStepKind::Look, 0, true},
};

std::int32_t PrimitivesOf(const TFigureStep& step) {
    switch (step.kind) {
    case TFigureStepKind::Diagonals: return 2;
    case TFigureStepKind::Columns:
    case TFigureStepKind::Rows: return step.count - 1;
    default: return 1;
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

class TFigureReader {
public:
    explicit TFigureReader(std::int32_t lookCount) : lookCount_(lookCount) {}

    // Reads one line into the figure; false with `error` set on a mistake.
    bool ReadLine(std::string_view line, std::int32_t number) {
        TLineReader in(line, number);
        const TToken first = in.Current();
        if (in.Error()) return Stop(in);
        if (first.kind == TTokenKind::End) return true;
        if (first.kind != TTokenKind::Word) {
            in.Fail(first.offset, "a line starts with a word: " + std::string(kStatementWords));
            return Stop(in);
        }
        if (SameWord(first.text, "name")) return ReadName(in, line.substr(first.offset + first.text.size()));
        const TStatement* statement = nullptr;
        for (const TStatement& s : kStatements)
            if (SameWord(first.text, s.word)) statement = &s;
        if (!statement) {
            in.Fail(first.offset, "unknown word \"" + std::string(first.text) + "\"; a line starts with " +
                                      std::string(kStatementWords));
            return Stop(in);
        }
        in.Advance();
        TFigureStep step;
        step.kind = statement->kind;
        double* const slots[] = {&step.a, &step.b, &step.c, &step.d};
        for (int i = 0; i < statement->fractions; ++i) {
            if (!ReadFraction(in, *slots[i], *statement)) return Stop(in);
        }
        if (statement->counted && !ReadCount(in, step, *statement)) return Stop(in);
        if (in.Current().kind != TTokenKind::End) {
            in.Fail(in.Current().offset, "\"" + std::string(statement->word) + "\" takes " + ValuesText(*statement) +
                                             "; this is one too many");
            return Stop(in);
        }
        primitives_ += PrimitivesOf(step);
        if (primitives_ > kMaxFigurePrimitives) {
            in.Fail(first.offset, "more than 10000 lines and circles");
            return Stop(in);
        }
        figure_.steps.push_back(step);
        return true;
    }

    TUserFigure& Figure() { return figure_; }
    TFigureError& Error() { return error_; }

private:
    static std::string ValuesText(const TStatement& s) {
        if (s.counted) return "one whole number";
        if (s.fractions == 0) return "no values";
        if (s.fractions == 1) return "one value";
        return std::to_string(s.fractions) + " values";
    }

    // The rest of the line, as written: a name may hold any character.
    bool ReadName(TLineReader& in, std::string_view rest) {
        const std::string_view name = Trim(rest);
        const std::size_t at = in.Current().offset;
        if (name.empty()) in.Fail(at, "\"name\" needs the figure's name after it");
        else if (name.size() > kMaxFigureNameBytes) in.Fail(at, "a name of more than 200 bytes");
        if (in.Error()) return Stop(in);
        figure_.name = std::string(name);
        return true;
    }

    bool ReadFraction(TLineReader& in, double& out, const TStatement& s) {
        const TToken start = in.Current();
        if (start.kind == TTokenKind::End)
            return in.Fail(start.offset, "\"" + std::string(s.word) + "\" takes " + ValuesText(s) + "; one is missing");
        const auto v = TValueReader(in).Read();
        if (!v) return false;
        if (*v < 0 || *v > 1)
            return in.Fail(start.offset, NumberText(*v) + " is outside 0 to 1 (a fraction of the rectangle)");
        out = *v;
        return true;
    }

    bool ReadCount(TLineReader& in, TFigureStep& step, const TStatement& s) {
        const TToken start = in.Current();
        if (start.kind == TTokenKind::End)
            return in.Fail(start.offset, "\"" + std::string(s.word) + "\" takes " + ValuesText(s) + "; it is missing");
        const auto v = TValueReader(in).Read();
        if (!v) return false;
        const bool look = s.kind == TFigureStepKind::Look;
        const double low = look ? 0 : 2, high = look ? lookCount_ - 1 : kMaxFigureDivisions;
        if (*v != std::floor(*v) || *v < low || *v > high) {
            const std::string what = look ? "a look number" : "a number of divisions";
            return in.Fail(start.offset, NumberText(*v) + " is not " + what + " (a whole number from " +
                                             NumberText(low) + " to " + NumberText(high) + ")");
        }
        step.count = static_cast<std::int32_t>(*v);
        return true;
    }

    bool Stop(TLineReader& in) {
        error_ = *in.Error();
        return false;
    }

    std::int32_t lookCount_;
    std::int32_t primitives_ = 0;
    TUserFigure figure_;
    TFigureError error_;
};

}  // namespace

TFigureRead ReadFigureFile(std::string_view bytes, std::int32_t lookCount) {
    if (bytes.size() > kMaxFigureFileBytes) return TFigureError{1, 1, "the file is larger than 64 KB"};
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (auto error = CheckText(bytes)) return *error;

    TFigureReader reader(lookCount);
    std::int32_t number = 1;
    for (std::size_t start = 0; start <= bytes.size(); ++number) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        if (!reader.ReadLine(bytes.substr(start, end - start), number)) return reader.Error();
        start = end + 1;
    }
    if (reader.Figure().steps.empty()) return TFigureError{1, 1, "the file draws nothing"};
    return std::move(reader.Figure());
}

std::string FigureErrorText(const TFigureError& error) {
    return "line " + std::to_string(error.line) + ", column " + std::to_string(error.column) + ": " + error.message;
}

}  // namespace ratiscope
