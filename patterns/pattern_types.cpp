#include "patterns/pattern_types.h"

#include <array>
#include <string>

#include "engine/transform.h"
#include "text/enumeration.h"

namespace tessera {
namespace {

constexpr int kSymmetryCount = 11;

struct CSymmetrySets {
    std::array<int, 7> invariant;
    int invariantCount;
    std::array<int, 7> distinct;
    int distinctCount;
};

constexpr std::array<CSymmetrySets, kSymmetryCount> kSets{{
    {{}, 0, {}, 0},                     // unset
    {{}, 0, {1, 2, 3, 4, 5, 6, 7}, 7},  // none
    {{2}, 1, {1, 4, 5}, 3},             // 180reflected
    {{2, 5, 7}, 3, {1}, 1},             // 180diagonal
    {{2, 4, 6}, 3, {1}, 1},             // rotational
    {{1, 2, 3}, 3, {5}, 1},             // horizontal
    {{5}, 1, {1, 2, 3}, 3},             // vertical
    {{7}, 1, {1, 2, 3}, 3},             // minordiagonal
    {{6}, 1, {1, 2, 3}, 3},             // majordiagonal
    {{4}, 1, {1, 2, 3}, 3},             // all
    {{1, 2, 3, 4, 5, 6, 7}, 7, {}, 0},  // final
}};

int SymmetryIndex(EPatternSymmetry symmetry) {
    const int value = static_cast<int>(symmetry);
    return value >= 0 && value < kSymmetryCount ? value : 0;
}

// canonical(s, t): 0 for a transform under which the class is invariant; otherwise the distinct
// orientation d with t = a followed by d for a member a of the invariance set (a(P) is P up to
// translation, so t(P) = d(a(P)) is d(P)); t itself when there is none.
std::array<std::array<int, kOrientationCount>, kSymmetryCount> BuildCanonicalTable() {
    std::array<std::array<int, kOrientationCount>, kSymmetryCount> table{};
    for (int s = 0; s < kSymmetryCount; ++s) {
        const CSymmetrySets& sets = kSets[s];
        for (int t = 0; t < kOrientationCount; ++t) {
            int result = t;
            bool invariant = t == 0;
            for (int i = 0; i < sets.invariantCount; ++i) invariant = invariant || sets.invariant[i] == t;
            if (invariant) {
                result = 0;
            } else {
                for (int i = 0; i < sets.distinctCount && result == t; ++i) {
                    const int d = sets.distinct[i];
                    for (int j = 0; j < sets.invariantCount; ++j) {
                        if (ComposeOrientations(sets.invariant[j], d) == t) {
                            result = d;
                            break;
                        }
                    }
                }
            }
            table[s][t] = result;
        }
    }
    return table;
}

const std::array<std::array<int, kOrientationCount>, kSymmetryCount>& CanonicalTable() {
    static const auto table = BuildCanonicalTable();
    return table;
}

template <class E>
bool ParseWordOrNumber(std::string_view text, std::string_view words, int count, E& out) {
    if (text.empty()) return false;
    if (text.find_first_not_of("0123456789") == std::string_view::npos) {
        if (text.size() > 3) return false;
        const int value = std::stoi(std::string(text));
        if (value >= count) return false;
        out = static_cast<E>(value);
        return true;
    }
    CEnumeration<E> e(words);
    e.SetFromName(text);
    // An unknown word reads as value 0; only the word of value 0 itself may give 0.
    if (e.Value() == E{} && e.Name() != text) return false;
    out = e.Value();
    return true;
}

}  // namespace

std::string_view PatternTypeWord(EPatternType type) {
    return CEnumeration<EPatternType>(kPatternTypeWords, type).Name();
}

std::string_view PatternSymmetryWord(EPatternSymmetry symmetry) {
    return CEnumeration<EPatternSymmetry>(kPatternSymmetryWords, symmetry).Name();
}

std::string_view PatternTypeLabel(EPatternType type) {
    static constexpr std::string_view kLabels =
        "|Unspecified|Any|Still|Oscillator|Ship|Unstable|Puffer|Gun|Precursor|Doomed|Unknown|";
    if (type == EPatternType::Unknown) type = EPatternType::Unstable;
    return CEnumeration<EPatternType>(kLabels, type).Name();
}

bool ParsePatternType(std::string_view text, EPatternType& type) {
    return ParseWordOrNumber(text, kPatternTypeWords, static_cast<int>(EPatternType::Final) + 1, type);
}

bool ParsePatternSymmetry(std::string_view text, EPatternSymmetry& symmetry) {
    return ParseWordOrNumber(text, kPatternSymmetryWords, kSymmetryCount, symmetry);
}

std::span<const int> InvarianceSet(EPatternSymmetry symmetry) {
    const CSymmetrySets& sets = kSets[SymmetryIndex(symmetry)];
    return {sets.invariant.data(), static_cast<size_t>(sets.invariantCount)};
}

std::span<const int> DistinctOrientations(EPatternSymmetry symmetry) {
    const CSymmetrySets& sets = kSets[SymmetryIndex(symmetry)];
    return {sets.distinct.data(), static_cast<size_t>(sets.distinctCount)};
}

int OrientationCountOf(EPatternSymmetry symmetry) { return 1 + kSets[SymmetryIndex(symmetry)].distinctCount; }

int CanonicalOrientation(EPatternSymmetry symmetry, int transform) {
    if (transform < 0 || transform >= kOrientationCount) return 0;
    return CanonicalTable()[SymmetryIndex(symmetry)][transform];
}

}  // namespace tessera
