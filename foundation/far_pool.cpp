#include "foundation/far_pool.h"

#include <cstdint>
#include <new>
#include <utility>

#include "foundation/errors.h"

namespace tessera {
namespace {

size_t RoundedElementSize(size_t elementSize) {
    const size_t a = CFarPool::kElementAlignment;
    if (elementSize == 0) elementSize = 1;
    return (elementSize + a - 1) / a * a;
}

// Created at start-up so that they appear in the list of pools before anything allocates.
CFarPool& gLookAside32 = LookAside32Pool();
CFarPool& gLookAside48 = LookAside48Pool();
CFarPool& gLookAside64 = LookAside64Pool();

}  // namespace

CDeque<CFarPool>& AllFarPools() {
    // Constructed before the first pool finishes constructing, so it outlives every static pool.
    static CDeque<CFarPool> pools;
    return pools;
}

CFarPool& LookAside32Pool() {
    static CFarPool pool(64, 32, "LookAside32");
    return pool;
}
CFarPool& LookAside48Pool() {
    static CFarPool pool(64, 48, "LookAside48");
    return pool;
}
CFarPool& LookAside64Pool() {
    static CFarPool pool(64, 64, "LookAside64");
    return pool;
}

CFarPool::CFarPool(uint32_t elementsPerChunk, size_t elementSize, std::string name)
    : elementSize_(RoundedElementSize(elementSize)),
      elementsPerChunk_(elementsPerChunk == 0 ? 1 : elementsPerChunk),
      name_(std::move(name)) {
    AllFarPools().PushBack(this);
}

CFarPool::~CFarPool() { ReleaseAllChunks(); }

void CFarPool::AddChunk() {
    if (elementSize_ > (SIZE_MAX - kChunkHeaderBytes) / elementsPerChunk_) throw CMemoryException();
    const size_t bytes = kChunkHeaderBytes + size_t{elementsPerChunk_} * elementSize_;
    void* memory = ::operator new (bytes, std::align_val_t{kElementAlignment}, std::nothrow);
    if (!memory) throw CMemoryException();
    auto* chunk = static_cast<CChunk*>(memory);
    chunk->next = chunks_;
    chunks_ = chunk;
    ++chunkCount_;
    // Thread the elements onto the free list front to back, so the chunk's last element ends up first.
    std::byte* element = static_cast<std::byte*>(memory) + kChunkHeaderBytes;
    for (uint32_t i = 0; i < elementsPerChunk_; ++i, element += elementSize_) {
        auto* e = reinterpret_cast<CFreeElement*>(element);
        e->next = freeList_;
        freeList_ = e;
    }
    totalElements_ += elementsPerChunk_;
    freeElements_ += elementsPerChunk_;
}

void* CFarPool::Allocate() {
    if (!freeList_) AddChunk();
    CFreeElement* e = freeList_;
    freeList_ = e->next;
    --freeElements_;
    return e;
}

void CFarPool::Free(void* element) {
    if (!element) return;
    auto* e = static_cast<CFreeElement*>(element);
    e->next = freeList_;
    freeList_ = e;
    if (++freeElements_ == totalElements_) ReleaseAllChunks();
}

void CFarPool::ReleaseAllChunks() {
    while (chunks_) {
        CChunk* next = chunks_->next;
        ::operator delete (chunks_, std::align_val_t{kElementAlignment});
        chunks_ = next;
    }
    freeList_ = nullptr;
    totalElements_ = freeElements_ = chunkCount_ = 0;
}

CMemoryFigures CFarPool::Figures() const {
    CMemoryFigures f;
    f.allocated = uint64_t{elementSize_} * totalElements_ + uint64_t{kChunkHeaderBytes} * chunkCount_;
    f.inUse = f.allocated - uint64_t{elementSize_} * freeElements_;
    return f;
}

}  // namespace tessera
