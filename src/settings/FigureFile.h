// Figures of the user's own: the reader of a figure file, a short text of
// lines and circles placed in fractions of the section rectangle, written by
// hand, so every mistake is reported with its line and column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ratiscope {

// Bounds that keep a hostile or mistaken file cheap to read and to draw.
inline constexpr std::size_t kMaxFigureFileBytes = 64 * 1024;
inline constexpr std::size_t kMaxFigureNameBytes = 200;
inline constexpr std::int32_t kMaxFigureDivisions = 1000;  // "columns 1000"
// Lines and circles a file may ask for, counting each division's lines; an
// included look counts once, as its own size is bounded by the look itself.
inline constexpr std::int32_t kMaxFigurePrimitives = 10000;

enum class TFigureStepKind : std::uint8_t {
    Frame,      // the section rectangle's outline
    VLine,      // a: fraction of the width from the origin edge
    HLine,      // a: fraction of the height from the origin edge
    Line,       // (a, b) to (c, d)
    Diagonals,  // both diagonals
    Columns,    // count equal columns: count - 1 vertical lines
    Rows,       // count equal rows: count - 1 horizontal lines
    Circle,     // centre (a, b), radius c of the shorter side
    Ellipse,    // centre (a, b), radii c of the width and d of the height
    Look,       // a built-in look, by number, drawn in the same rectangle
};

// One statement of the file. Fractions are measured from the origin corner
// of the orientation, so a figure mirrors with the orientation as the
// built-in looks do.
struct TFigureStep {
    TFigureStepKind kind = TFigureStepKind::Frame;
    double a = 0, b = 0, c = 0, d = 0;
    std::int32_t count = 0;  // Columns, Rows: the divisions; Look: the look number
    friend bool operator==(const TFigureStep&, const TFigureStep&) = default;
};

struct TUserFigure {
    std::string name;  // from "name", empty when the file gives none
    std::vector<TFigureStep> steps;
};

// Where the reading stopped and why, in English; line and column count from
// 1, the column in characters.
struct TFigureError {
    std::int32_t line = 1;
    std::int32_t column = 1;
    std::string message;
    friend bool operator==(const TFigureError&, const TFigureError&) = default;
};

using TFigureRead = std::variant<TUserFigure, TFigureError>;

// Reads a figure file's bytes. `lookCount` bounds "look N".
TFigureRead ReadFigureFile(std::string_view bytes, std::int32_t lookCount);

// "line 3, column 7: ..." for the panel and the export tool.
std::string FigureErrorText(const TFigureError& error);

}  // namespace ratiscope
