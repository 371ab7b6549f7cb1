#pragma once
// What a pattern does (its type) and which rotations and reflections leave it unchanged (its symmetry),
// with the words library files carry for them and the orientation sets the caches are laid out by.
#include <cstdint>
#include <span>
#include <string_view>

namespace tessera {

enum class EPatternType : int32_t {
    Unspecified = 0,
    Any = 1,
    Still = 2,
    Oscillator = 3,
    Ship = 4,
    Unstable = 5,
    Puffer = 6,
    Gun = 7,
    Precursor = 8,
    Doomed = 9,
    Unknown = 10,  // not yet classified
    Final = 11,    // end marker
};

enum class EPatternSymmetry : int32_t {
    Unset = 0,
    None = 1,
    Reflected180 = 2,  // only the half turn
    Diagonal180 = 3,   // half turn and both axis reflections
    Rotational = 4,    // half turn and both diagonal reflections
    Horizontal = 5,    // every turn, no reflection
    Vertical = 6,      // reflection in the horizontal axis
    MinorDiagonal = 7,
    MajorDiagonal = 8,
    All = 9,     // reflection in the diagonal through (0, 0) and (1, -1)
    Final = 10,  // every transform
};

// Word tables in value order, for CEnumeration.
inline constexpr std::string_view kPatternTypeWords =
    "|unspecified|any|still|oscillator|ship|unstable|puffer|gun|precursor|doomed|unknown|final|";
inline constexpr std::string_view kPatternSymmetryWords =
    "|unset|none|180reflected|180diagonal|rotational|horizontal|vertical|minordiagonal|majordiagonal|all|"
    "final|";

std::string_view PatternTypeWord(EPatternType type);
std::string_view PatternSymmetryWord(EPatternSymmetry symmetry);
// The type as lists show it: capitalised, and an unclassified pattern as "Unstable".
std::string_view PatternTypeLabel(EPatternType type);

// A type or symmetry from its word or its decimal number; false when the text is neither, or the number
// lies outside the enumeration.
[[nodiscard]] bool ParsePatternType(std::string_view text, EPatternType& type);
[[nodiscard]] bool ParsePatternSymmetry(std::string_view text, EPatternSymmetry& symmetry);

// Transforms other than 0 that map a pattern of the class onto itself up to translation.
std::span<const int> InvarianceSet(EPatternSymmetry symmetry);
// Transforms other than 0 that give orientations distinct from the stored one and from each other,
// ascending.
std::span<const int> DistinctOrientations(EPatternSymmetry symmetry);
// 1 plus the number of distinct orientations besides 0.
int OrientationCountOf(EPatternSymmetry symmetry);
// The orientation whose cache serves transform t of a pattern of the class: 0 or a member of the
// distinct set giving the same shape up to translation.
int CanonicalOrientation(EPatternSymmetry symmetry, int transform);

}  // namespace tessera
