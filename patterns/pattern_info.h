#pragma once
// CPatternInfo: the properties of a pattern as library files carry them.
#include <cstdint>
#include <span>

#include "foundation/geometry.h"
#include "patterns/pattern_types.h"
#include "text/lex_attribute.h"

namespace tessera {

class CPattern;

struct CPatternInfo {
    CPattern* pattern = nullptr;
    EPatternSymmetry symmetry = EPatternSymmetry::Unset;
    int32_t period = 0;
    int32_t cycleStart = 0;
    int32_t foldPeriod = 0;
    EPatternType type = EPatternType::Unknown;
    uint32_t foldTransform = 0;
    CLSize velocity;
    int32_t recognizable = 0;  // 0 no, 1 by the default rule, 2 yes

    // Conditions under which each attribute line is written (the default rule is asked of the pattern).
    bool WritesType() const { return type != EPatternType::Still; }
    bool WritesPeriod() const;
    bool WritesCycleStart() const { return type == EPatternType::Precursor || type == EPatternType::Doomed; }
    bool WritesFold() const { return foldPeriod < period; }
    bool WritesVelocity() const { return type == EPatternType::Ship || type == EPatternType::Puffer; }
    bool WritesRecognizable() const;

    // "PatternType", "PatternPeriod", "PatternCycleStart", "PatternFold", "PatternFoldTransform",
    // "PatternVelocity", "PatternRecognizable".
    static std::span<const CLexAttribute<CPatternInfo>* const> AttributeTable();
};

}  // namespace tessera
