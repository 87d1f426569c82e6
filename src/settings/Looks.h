// The looks by name: the numbers `LookMode` holds and the settings file
// stores, which also order the panel's look list and the "MSLook<n>" texts.
#pragma once

#include <cstdint>

namespace ratiscope {

enum class TLook : std::int32_t {
    Grid = 0,
    RatioSequence = 1,
    Halves = 2,
    Thirds = 3,       // thirds with golden points
    GoldenLines = 4,  // golden lines with thirds points
    Spiral = 5,
    FourSpirals = 6,
    SlowSpiral = 7,
    Circles = 8,
    CentredSections = 9,
    NestedFrames = 10,
    PageCanon = 11,
    Armature = 12,
    SingleGoldenLines = 13,
    // Appended after the cycle: chosen from the look list or the settings file.
    GoldenTriangles = 14,  // one diagonal and the perpendiculars to it from the other corners
    DiagonalMethod = 15,   // the 45-degree lines from the four corners
    // A new look is appended here and named in kLastLook.
};

// Enter and the look button go round the looks up to this one and back to the first.
inline constexpr TLook kLastCycledLook = TLook::SingleGoldenLines;
inline constexpr TLook kLastLook = TLook::DiagonalMethod;

constexpr std::int32_t LookNumber(TLook look) { return static_cast<std::int32_t>(look); }

// Looks 0 .. kLookCount - 1 exist; any other `LookMode` draws nothing.
inline constexpr std::int32_t kLookCount = LookNumber(kLastLook) + 1;

}  // namespace ratiscope
