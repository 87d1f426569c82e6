// The built-in looks, one row each: the only place a look is declared. The
// settings, the panel and the language check read its names here; the
// overlay expands the same rows into its figure and label tables.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ratiscope {

// Whether Enter and the look button go round to a look, or only the look list
// and the settings file choose it. The cycled looks come first.
enum class TLookCycle { InCycle, ListOnly };

// LOOK(id, language key, English name, figure, labels, cycle). A row's place
// is the number `LookMode` holds and the settings file stores, so a new look
// is appended at the end. `figure` and `labels` name the overlay's functions
// (SectionGeometry.cpp, ValueLabels.cpp); this layer never expands them.
// The build counts the rows: each starts a line with "LOOK(".
#define RATISCOPE_BUILT_IN_LOOKS(LOOK)                                                                            \
    LOOK(Grid, "MSLook0", "Grid", FigureGrid, LabelsGrid, InCycle)                                                \
    LOOK(RatioSequence, "MSLook1", "Ratio sequence", FigureRatioSequence, LabelsRatioSequence, InCycle)           \
    LOOK(Halves, "MSLook2", "Halves", FigureHalves, LabelsHalvesAndChains, InCycle)                               \
    LOOK(Thirds, "MSLook3", "Thirds with golden points", FigureThirds, LabelsSize, InCycle)                       \
    LOOK(GoldenLines, "MSLook4", "Golden lines with thirds points", FigureGoldenLines, LabelsSize, InCycle)       \
    LOOK(Spiral, "MSLook5", "Spiral", FigureSpiral, LabelsHalvesAndFarChain, InCycle)                             \
    LOOK(FourSpirals, "MSLook6", "Four spirals", FigureFourSpirals, LabelsHalvesAndFarChain, InCycle)             \
    LOOK(SlowSpiral, "MSLook7", "Slow spiral", FigureSlowSpiral, LabelsFarChain, InCycle)                         \
    LOOK(Circles, "MSLook8", "Circles", FigureCircles, LabelsHalvesAndFarChain, InCycle)                          \
    LOOK(CentredSections, "MSLook9", "Centred sections", FigureCentredSections, LabelsSizeAndHalves, InCycle)     \
    LOOK(NestedFrames, "MSLook10", "Nested frames", FigureNestedFrames, LabelsNestedFrames, InCycle)              \
    LOOK(PageCanon, "MSLook11", "Page canon", FigurePageCanon, LabelsPageCanon, InCycle)                          \
    LOOK(Armature, "MSLook12", "Armature", FigureArmature, LabelsSizeAndHalves, InCycle)                          \
    LOOK(SingleGoldenLines, "MSLook13", "Single golden lines", FigureSingleGoldenLines, LabelsSize, InCycle)      \
    LOOK(GoldenTriangles, "MSLook14", "Golden triangles", AppendGoldenTriangles, LabelsGoldenTriangles, ListOnly) \
    LOOK(DiagonalMethod, "MSLook15", "Diagonal method", AppendDiagonalMethod, LabelsDiagonalMethod, ListOnly)

// A look number. The built-in looks have names; any other number is a look
// this build does not know (a hand-edited file) and draws nothing.
enum class TLook : std::int32_t {
#define RATISCOPE_LOOK_ID(id, key, english, figure, labels, cycle) id,
    RATISCOPE_BUILT_IN_LOOKS(RATISCOPE_LOOK_ID)
#undef RATISCOPE_LOOK_ID
};

struct TLookName {
    TLook look;
    std::string_view key;      // the language key of its name
    std::string_view english;  // its name when no language file gives one
    TLookCycle cycle;
};

inline constexpr std::array kBuiltInLooks = {
#define RATISCOPE_LOOK_NAME(id, key, english, figure, labels, cycle) \
    TLookName{TLook::id, key, english, TLookCycle::cycle},
    RATISCOPE_BUILT_IN_LOOKS(RATISCOPE_LOOK_NAME)
#undef RATISCOPE_LOOK_NAME
};

constexpr std::int32_t LookNumber(TLook look) { return static_cast<std::int32_t>(look); }

// Looks 0 .. kBuiltInLookCount - 1 are built in.
inline constexpr std::int32_t kBuiltInLookCount = static_cast<std::int32_t>(kBuiltInLooks.size());

constexpr bool IsBuiltInLook(TLook look) { return LookNumber(look) >= 0 && LookNumber(look) < kBuiltInLookCount; }

// The built-in look's row; only for IsBuiltInLook.
constexpr const TLookName& BuiltInLook(TLook look) { return kBuiltInLooks[static_cast<std::size_t>(look)]; }

// How many looks Enter goes round: 0 .. kCycledLookCount - 1.
inline constexpr std::int32_t kCycledLookCount = [] {
    std::int32_t n = 0;
    while (n < kBuiltInLookCount && kBuiltInLooks[static_cast<std::size_t>(n)].cycle == TLookCycle::InCycle) ++n;
    return n;
}();

namespace looks_detail {
constexpr bool CycledLooksComeFirst() {
    for (std::int32_t i = kCycledLookCount; i < kBuiltInLookCount; ++i)
        if (kBuiltInLooks[static_cast<std::size_t>(i)].cycle == TLookCycle::InCycle) return false;
    return true;
}
}  // namespace looks_detail
static_assert(looks_detail::CycledLooksComeFirst(), "Enter goes round the first looks, so the cycled rows lead");

}  // namespace ratiscope
