#pragma once
// Named fixed-size pools for small objects. A pool grows by chunks of many elements and gives all its
// chunks back as soon as every element is free again. Every pool joins the application-wide list of
// pools while it exists, so that the memory figures cover it.
//
// Each object type that lives in a pool defines its own pool next to the type, as a function returning
// the one pool object (a function-local static), because the element size is the size of that type:
// "CObj" (500 per chunk), "CPointSetNode" (10000), "CSearchableUniverse::hash_t::entry_t" (10000),
// "CGrowableUniverse" (100), "CXLUniverse" (32). The three size classes below are defined here.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/deque.h"
#include "foundation/memory_figures.h"

namespace tessera {

class CFarPool : public CDequeElement<CFarPool> {
public:
    // Elements are aligned for any object: sizes are rounded up to a multiple of 16 on 64-bit, and the
    // chunk's link word is padded to 16 bytes so the elements after it stay aligned.
    static constexpr size_t kElementAlignment = 16;
    static constexpr size_t kChunkHeaderBytes = 16;

    CFarPool(uint32_t elementsPerChunk, size_t elementSize, std::string name);
    ~CFarPool() override;  // frees every chunk, whether or not its elements are still in use

    // Raw storage for one element; throws CMemoryException when a new chunk cannot be had.
    void* Allocate();
    // Returns an element taken from this pool; nullptr is ignored.
    void Free(void* element);

    const std::string& Name() const { return name_; }
    size_t ElementSize() const { return elementSize_; }
    uint32_t ElementsPerChunk() const { return elementsPerChunk_; }
    size_t TotalElements() const { return totalElements_; }
    size_t FreeElements() const { return freeElements_; }
    size_t ChunkCount() const { return chunkCount_; }
    CMemoryFigures Figures() const;

private:
    struct CFreeElement {
        CFreeElement* next;
    };
    struct CChunk {
        CChunk* next;
    };

    void AddChunk();
    void ReleaseAllChunks();

    CChunk* chunks_ = nullptr;
    CFreeElement* freeList_ = nullptr;
    size_t elementSize_;
    size_t totalElements_ = 0;
    uint32_t elementsPerChunk_;
    size_t freeElements_ = 0;
    size_t chunkCount_ = 0;
    std::string name_;
};

// Allocates and frees elements of type E through a given pool.
template <class E>
class CFarPoolAllocator {
public:
    explicit CFarPoolAllocator(CFarPool& pool) : pool_(&pool) {}

    // Raw, uninitialised storage for one E (the caller constructs it in place).
    E* Allocate() { return static_cast<E*>(pool_->Allocate()); }
    void Free(E* element) { pool_->Free(element); }
    CFarPool& Pool() const { return *pool_; }

private:
    CFarPool* pool_;
};

// Every pool that exists, in order of construction.
CDeque<CFarPool>& AllFarPools();

// The size-class pools (64 elements per chunk); they exist from start-up and count in the figures.
CFarPool& LookAside32Pool();
CFarPool& LookAside48Pool();
CFarPool& LookAside64Pool();

}  // namespace tessera
