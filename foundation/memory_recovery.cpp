#include "foundation/memory_recovery.h"

#include <utility>

#include "foundation/block_heap.h"
#include "foundation/errors.h"
#include "foundation/far_pool.h"
#include "foundation/global_memory.h"
#include "foundation/near_pool.h"

namespace tessera {
namespace {

CMemoryRecoverer* gRecoverer = nullptr;
std::function<void()> gPatternCacheLimiter;
bool gRecovering = false;

constexpr uint32_t kLargestFactor = uint32_t{1} << 31;

}  // namespace

CEvalRowHeapAlloc::CEvalRowHeapAlloc(uint32_t capacityCells)
    : CEvalRowHeapAlloc(capacityCells, TheBlockHeap()) {}

CEvalRowHeapAlloc::CEvalRowHeapAlloc(uint32_t capacityCells, CBlockHeap& heap)
    : capacityCells_(capacityCells), heap_(&heap) {}

bool CEvalRowHeapAlloc::Attempt() {
    if (!result_) result_ = heap_->Allocate(BlockBytes(capacityCells_));
    return result_ != nullptr;
}

bool CEvalGlobal::Attempt() {
    if (!result_) result_ = GlobalAllocate(size_);
    return result_ != nullptr;
}

bool CEvalNearPoolAlloc::Attempt() {
    if (!result_) result_ = pool_->Take();
    return result_ != nullptr;
}

bool CEvalFarPoolAlloc::Attempt() {
    if (!result_) {
        try {
            result_ = pool_->Allocate();
        } catch (const CMemoryException&) {
            return false;
        }
    }
    return true;
}

CMemoryRecoverer* SetMemoryRecoverer(CMemoryRecoverer* recoverer) {
    return std::exchange(gRecoverer, recoverer);
}

std::function<void()> SetPatternCacheLimiter(std::function<void()> limiter) {
    return std::exchange(gPatternCacheLimiter, std::move(limiter));
}

bool RecoverMemory(CEvaluator& attempt) {
    if (!gRecoverer || gRecovering) return false;
    gRecovering = true;
    struct CReset {
        ~CReset() { gRecovering = false; }
    } reset;

    for (EGameTrimClass gameClass :
         {EGameTrimClass::UnnamedUndisplayed, EGameTrimClass::NamedOrKept, EGameTrimClass::Displayed}) {
        for (uint32_t factor = 1;; factor *= 2) {
            bool couldGiveMore = false;
            bool succeeded = false;
            gRecoverer->TrimGamesOfClass(gameClass, factor, [&](ETrimOutcome outcome) {
                if (outcome != ETrimOutcome::NothingMore) couldGiveMore = true;
                if (outcome == ETrimOutcome::Freed && attempt.Attempt()) succeeded = true;
                return succeeded;
            });
            if (succeeded) return true;
            if (!couldGiveMore || factor == kLargestFactor) break;
        }
    }
    return false;
}

void* GuardedRowHeapAlloc(uint32_t capacityCells) {
    return GuardedRowHeapAlloc(TheBlockHeap(), capacityCells);
}

void* GuardedRowHeapAlloc(CBlockHeap& heap, uint32_t capacityCells) {
    CEvalRowHeapAlloc attempt(capacityCells, heap);
    if (attempt.Attempt() || RecoverMemory(attempt)) return attempt.Result();
    throw CMemoryException();
}

void* GuardedGlobalAlloc(size_t bytes) {
    CEvalGlobal attempt(bytes);
    if (attempt.Attempt()) return attempt.Result();
    if (gPatternCacheLimiter) {
        gPatternCacheLimiter();
        // Cutting the cache may have given enough back, even when no game has anything to trim.
        if (attempt.Attempt()) return attempt.Result();
    }
    if (RecoverMemory(attempt)) return attempt.Result();
    return nullptr;
}

}  // namespace tessera
