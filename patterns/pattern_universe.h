#pragma once
// CPatternUniverse: one cached generation of a pattern in one orientation. It is a growable universe
// from a pool of its own that keeps count of how many exist, so that the pattern caches can be held
// within the configured limit.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/growable_universe.h"

namespace tessera {

class CPatternUniverse : public CGrowableUniverse {
public:
    // Generation, rule and cells of source.
    explicit CPatternUniverse(CUniverse& source);
    // Generation 0, the rule of source, its cells passed through transform.
    CPatternUniverse(CUniverse& source, const CTransform& transform);
    ~CPatternUniverse() override;

    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size) noexcept;

    // A copy of this universe as a new pattern universe.
    [[nodiscard]] virtual std::unique_ptr<CPatternUniverse> CopyPattern();
    // The next generation, as a pattern universe.
    [[nodiscard]] std::unique_ptr<CPatternUniverse> GrowPattern();

    // Pattern universes alive in the process.
    static int32_t LiveCount();
};

}  // namespace tessera
