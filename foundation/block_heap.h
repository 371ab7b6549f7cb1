#pragma once
// The block heap: large chunks of system memory, each carved into variable-size blocks by first fit on
// an address-ordered free list, with immediate merging of neighbouring free blocks. A chunk goes back
// to the system as soon as it is entirely free. The number of chunks is capped by a maximum byte count.
//
// Every block has a 16-byte header: a free block holds (next free block, 0x1A2A3A4A, -1, size), an
// allocated one (0, 0xB4B3B2B1, allocation serial, size); sizes include the header and are multiples
// of 16, so Allocate(1) and Allocate(16) take 32 bytes and Allocate(17) takes 48. To keep the header at
// 16 bytes on 64-bit, the free-list link is a 32-bit compressed address: the chunk's slot number times
// the chunk's length in 16-byte units, plus the block's offset in units.
//
// Freeing finds its place in the list through a search tree of the free blocks by address, kept in the
// free blocks' own bodies (a 16-byte free block has no body and is found by the short walk from the
// tree's nearest block), so that many blocks freed in any order cost n log n, not n squared.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/memory_figures.h"

namespace tessera {

class CBlockHeap {
public:
    static constexpr uint32_t kFreeMagic = 0x1A2A3A4A;
    static constexpr uint32_t kUsedMagic = 0xB4B3B2B1;
    static constexpr uint32_t kChunkMagic = 0x1C2C3C4C;
    static constexpr size_t kHeaderBytes = 16;
    static constexpr size_t kDefaultChunkSize = 500000;       // HeapBlockSize
    static constexpr uint64_t kDefaultMaximum = 64ull << 20;  // MaxMemory, in bytes
    static constexpr size_t kMinChunkSize = 64;
    static constexpr size_t kMaxChunkSize = size_t{1} << 31;

    struct CFreeBlock {
        const void* header;
        size_t size;
    };

    CBlockHeap();
    CBlockHeap(size_t chunkSize, uint64_t maxBytes, uint64_t availableMemory = 0);
    ~CBlockHeap();
    CBlockHeap(const CBlockHeap&) = delete;
    CBlockHeap& operator=(const CBlockHeap&) = delete;

    // Sets the chunk size (clamped to [kMinChunkSize, kMaxChunkSize]; it only changes while no chunk is
    // in use), the maximum and the available-memory figure, which is kept for display only.
    void Configure(size_t chunkSize, uint64_t maxBytes, uint64_t availableMemory);
    // Maximum chunk count = maxBytes / chunk size. Chunks above a lowered maximum stay until freed.
    void SetMaximum(uint64_t maxBytes);

    // A block of at least `bytes` bytes, 16-byte aligned, or nullptr when no chunk can hold it.
    void* Allocate(size_t bytes);
    // Returns a block; nullptr is ignored. A pointer that is not an allocated block of this heap throws
    // CErrorException (unexpected error) and changes nothing.
    void Free(void* block);
    // Cuts a block down to `bytes`: the same block when it shrank or kept its size, nullptr (block left
    // as it was) when `bytes` would need a larger block.
    void* Shrink(void* block, size_t bytes);

    // allocated = chunks in use x chunk size; in use = allocated - the sizes of all free blocks.
    CMemoryFigures GetFigures() const;

    size_t ChunkSize() const { return chunkSize_; }
    uint32_t ChunksInUse() const { return chunksInUse_; }
    uint32_t MaximumChunks() const { return maxChunks_; }
    uint64_t AvailableMemory() const { return availableMemory_; }
    // The largest block size a chunk can hold (chunk size minus the chunk header, in whole units).
    size_t LargestBlock() const { return usable_; }
    // Size (header included) and serial number of an allocated block.
    static size_t BlockSize(const void* block);
    static uint32_t BlockSerial(const void* block);
    // The free list in address order.
    std::vector<CFreeBlock> FreeBlocks() const;

private:
    struct CBlockHeader {
        uint32_t next;
        uint32_t magic;
        uint32_t serial;
        uint32_t size;
    };
    struct CChunkHeader {
        CChunkHeader* next;
        uint32_t magic;
        uint32_t slot;  // what releasing the chunk needs besides its address
    };
    struct CChunkRecord {
        uintptr_t base;
        uint32_t slot;
    };
    static_assert(sizeof(CBlockHeader) == kHeaderBytes && sizeof(CChunkHeader) == kHeaderBytes);

    CBlockHeader* At(uint32_t link) const;
    uint32_t LinkOf(const CBlockHeader* header) const;
    const CChunkRecord* ChunkOf(const void* address) const;
    CBlockHeader* AllocatedHeader(const void* block) const;
    void InsertFree(CBlockHeader* header, uint32_t link);
    // The free block that comes last before address in the list, or the list head.
    CBlockHeader* FreeBefore(uintptr_t address) const;

    // The search tree over free blocks of at least kIndexedSize bytes: a treap keyed by address with
    // priorities hashed from the links, its two child links held just after the block's header.
    static constexpr uint32_t kIndexedSize = 2 * kHeaderBytes;
    struct CTreeLinks {
        uint32_t left;
        uint32_t right;
    };
    CTreeLinks& Links(uint32_t link) const;
    void Split(uint32_t tree, uintptr_t key, uint32_t& below, uint32_t& rest) const;
    uint32_t Merge(uint32_t below, uint32_t above) const;
    void Index(CBlockHeader* header);
    void Unindex(CBlockHeader* header);
    CBlockHeader* NewChunk();
    void ReleaseChunk(CChunkHeader* chunk);

    size_t chunkSize_ = kDefaultChunkSize;
    size_t usable_ = 0;
    uint32_t unitsPerChunk_ = 0;
    uint32_t maxSlots_ = 0;
    uint32_t maxChunks_ = 0;
    uint64_t availableMemory_ = 0;
    uint32_t chunksInUse_ = 0;
    uint32_t serial_ = 0;
    CChunkHeader* chunks_ = nullptr;
    CBlockHeader head_{0, kFreeMagic, 0xFFFFFFFF, kHeaderBytes};  // dummy: the list has no empty case
    uint32_t treeRoot_ = 0;
    std::vector<std::byte*> slotBase_;     // chunk address by slot, nullptr for a free slot
    std::vector<CChunkRecord> byAddress_;  // chunks sorted by address, to find a block's chunk
};

// The application's heap, with the default configuration until start-up configures it.
CBlockHeap& TheBlockHeap();

}  // namespace tessera
