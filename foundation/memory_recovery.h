#pragma once
// Memory recovery: when an allocation cannot be satisfied, the games give back kept generations, a
// little at a time, and the allocation is retried after every step that freed something.
//
// An allocation is wrapped in an evaluator (an "attempt") so that recovery can retry exactly that
// allocation. The games are reached through a recoverer that the game layer installs; until one is
// installed, recovery has nothing to trim and answers false.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace tessera {

class CBlockHeap;
class CFarPool;
class CNearPool;

class CEvaluator {
public:
    virtual ~CEvaluator() = default;
    // Performs the allocation, keeping its result; true on success.
    virtual bool Attempt() = 0;
};

// A row-heap block of 4 x n + 20 bytes for n cells.
class CEvalRowHeapAlloc : public CEvaluator {
public:
    explicit CEvalRowHeapAlloc(uint32_t capacityCells);
    CEvalRowHeapAlloc(uint32_t capacityCells, CBlockHeap& heap);
    bool Attempt() override;
    void* Result() const { return result_; }
    static size_t BlockBytes(uint32_t capacityCells) { return 4 * size_t{capacityCells} + 20; }

private:
    uint32_t capacityCells_;
    CBlockHeap* heap_;
    void* result_ = nullptr;
};

// System memory for one block-heap chunk.
class CEvalGlobal : public CEvaluator {
public:
    explicit CEvalGlobal(size_t size) : size_(size) {}
    bool Attempt() override;
    void* Result() const { return result_; }
    size_t Size() const { return size_; }

private:
    size_t size_;
    void* result_ = nullptr;
};

// A slot of a near pool; fails when every slot is in use.
class CEvalNearPoolAlloc : public CEvaluator {
public:
    explicit CEvalNearPoolAlloc(CNearPool& pool) : pool_(&pool) {}
    bool Attempt() override;
    void* Result() const { return result_; }

private:
    CNearPool* pool_;
    void* result_ = nullptr;
};

// An element of a far pool, growing it by a chunk if needed; fails when no chunk can be had.
class CEvalFarPoolAlloc : public CEvaluator {
public:
    explicit CEvalFarPoolAlloc(CFarPool& pool) : pool_(&pool) {}
    bool Attempt() override;
    void* Result() const { return result_; }

private:
    CFarPool* pool_;
    void* result_ = nullptr;
};

// The classes of games, trimmed in this order: the ones the user cares least about first.
enum class EGameTrimClass {
    UnnamedUndisplayed = 0,  // unnamed, not kept, not displayed
    NamedOrKept = 1,         // named or kept, not displayed
    Displayed = 2,
};

// The outcome of trimming one game with a factor.
enum class ETrimOutcome {
    Freed,                 // generations were given back
    MoreWithLargerFactor,  // nothing freed, but a larger factor could free more
    NothingMore,           // nothing left to give back
};

// The game layer's side of recovery.
class CMemoryRecoverer {
public:
    virtual ~CMemoryRecoverer() = default;
    // Trims every game of the class, in name order, with the factor (1, 2, 4, ...), and reports each
    // game's outcome to `afterEachGame`; stops at once when `afterEachGame` answers true (the
    // allocation now succeeds). Games must not be created or destroyed meanwhile.
    virtual void TrimGamesOfClass(EGameTrimClass gameClass, uint32_t factor,
                                  const std::function<bool(ETrimOutcome)>& afterEachGame) = 0;
};

// Installs the recoverer (nullptr uninstalls it); answers the one installed before.
CMemoryRecoverer* SetMemoryRecoverer(CMemoryRecoverer* recoverer);
// Installs the action that enforces the pattern-universe cache limit (empty uninstalls it); answers the
// one installed before.
std::function<void()> SetPatternCacheLimiter(std::function<void()> limiter);

// Runs the trimming passes over the three classes of games in order; in each pass the factor starts at
// 1 and doubles (up to 2^31) while some game of the class could still give back generations. After
// every trim that freed something the attempt is retried; true as soon as it succeeds. False when the
// passes are exhausted, when no recoverer is installed, or when called during a recovery (the outer
// recovery goes on trimming).
bool RecoverMemory(CEvaluator& attempt);

// A row-heap block for `capacityCells` cells (4 x n + 20 bytes) from the application's heap (or the
// given one): recovery when the heap is full; throws CMemoryException when that cannot make room.
void* GuardedRowHeapAlloc(uint32_t capacityCells);
void* GuardedRowHeapAlloc(CBlockHeap& heap, uint32_t capacityCells);

// System memory for a heap chunk: when refused, the pattern-universe cache is cut down to its limit
// and the memory retried, then recovery runs; nullptr when all of that fails. Release with
// GlobalRelease (global_memory.h).
void* GuardedGlobalAlloc(size_t bytes);

}  // namespace tessera
