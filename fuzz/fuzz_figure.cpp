// The figure-file reader on any bytes: it either gives a figure within the
// limits or stops with a message at a line and column the file has.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "Check.h"
#include "settings/FigureFile.h"
#include "settings/Looks.h"

using namespace ratiscope;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    constexpr std::int32_t looks = kBuiltInLookCount;
    const TFigureRead read = ReadFigureFile(input, looks);
    if (const auto* error = std::get_if<TFigureError>(&read)) {
        const auto lines = static_cast<std::int32_t>(std::count(input.begin(), input.end(), '\n')) + 1;
        FUZZ_CHECK(error->line >= 1 && error->line <= lines);
        FUZZ_CHECK(error->column >= 1 && static_cast<std::size_t>(error->column) <= size + 1);
        FUZZ_CHECK(!error->message.empty());
        return 0;
    }
    const TUserFigure& figure = std::get<TUserFigure>(read);
    FUZZ_CHECK(size <= kMaxFigureFileBytes);
    FUZZ_CHECK(!figure.steps.empty());
    FUZZ_CHECK(figure.name.size() <= kMaxFigureNameBytes);
    std::int64_t primitives = 0;
    for (const TFigureStep& step : figure.steps) {
        for (const double v : {step.a, step.b, step.c, step.d}) FUZZ_CHECK(v >= 0 && v <= 1);
        switch (step.kind) {
        case TFigureStepKind::Columns:
        case TFigureStepKind::Rows:
            FUZZ_CHECK(step.count >= 2 && step.count <= kMaxFigureDivisions);
            primitives += step.count - 1;
            break;
        case TFigureStepKind::Look:
            FUZZ_CHECK(step.count >= 0 && step.count < looks);
            ++primitives;
            break;
        default: primitives += step.kind == TFigureStepKind::Diagonals ? 2 : 1; break;
        }
    }
    FUZZ_CHECK(primitives <= kMaxFigurePrimitives);
    return 0;
}
