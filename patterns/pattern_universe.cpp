#include "patterns/pattern_universe.h"

#include <new>

#include "foundation/far_pool.h"

namespace tessera {
namespace {

int32_t& LiveCounter() {
    static int32_t count = 0;
    return count;
}

CFarPool& PatternUniversePool() {
    static CFarPool pool(100, sizeof(CPatternUniverse), "CPatternUniverse");
    return pool;
}

}  // namespace

CPatternUniverse::CPatternUniverse(CUniverse& source) : CGrowableUniverse(source) { ++LiveCounter(); }

CPatternUniverse::CPatternUniverse(CUniverse& source, const CTransform& transform)
    : CGrowableUniverse(source, transform) {
    ++LiveCounter();
}

CPatternUniverse::~CPatternUniverse() { --LiveCounter(); }

void* CPatternUniverse::operator new(std::size_t size) {
    if (size > PatternUniversePool().ElementSize()) return ::operator new(size);
    return PatternUniversePool().Allocate();
}

void CPatternUniverse::operator delete(void* p, std::size_t size) noexcept {
    if (!p) return;
    if (size > PatternUniversePool().ElementSize()) {
        ::operator delete(p);
        return;
    }
    PatternUniversePool().Free(p);
}

std::unique_ptr<CPatternUniverse> CPatternUniverse::CopyPattern() {
    return std::make_unique<CPatternUniverse>(static_cast<CUniverse&>(*this));
}

std::unique_ptr<CPatternUniverse> CPatternUniverse::GrowPattern() {
    // Growth makes a plain growable universe; patterns are small, so the copy costs little.
    std::unique_ptr<CGrowableUniverse> next = Grow(nullptr);
    return std::make_unique<CPatternUniverse>(static_cast<CUniverse&>(*next));
}

int32_t CPatternUniverse::LiveCount() { return LiveCounter(); }

}  // namespace tessera
