#include "foundation/block_heap.h"

#include <algorithm>

#include "foundation/errors.h"
#include "foundation/global_memory.h"
#include "foundation/memory_recovery.h"

namespace tessera {
namespace {

constexpr uint32_t kNoSerial = 0xFFFFFFFF;
constexpr uint64_t kLinkSpace = uint64_t{1} << 32;

uintptr_t Address(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// Block size for a request: the header plus the bytes, brought up to a multiple of 16.
uint64_t BlockSizeFor(size_t bytes) { return (uint64_t{bytes} + 31) & ~uint64_t{15}; }

template <class T>
T* Offset(void* p, size_t bytes) {
    return reinterpret_cast<T*>(static_cast<std::byte*>(p) + bytes);
}

[[noreturn]] void NotABlock() { throw CErrorException(msg::UnexpectedError, "not an allocated heap block"); }

}  // namespace

CBlockHeap::CBlockHeap() : CBlockHeap(kDefaultChunkSize, kDefaultMaximum) {}

CBlockHeap::CBlockHeap(size_t chunkSize, uint64_t maxBytes, uint64_t availableMemory) {
    Configure(chunkSize, maxBytes, availableMemory);
}

CBlockHeap::~CBlockHeap() {
    while (chunks_) {
        CChunkHeader* next = chunks_->next;
        GlobalRelease(chunks_);
        chunks_ = next;
    }
}

void CBlockHeap::Configure(size_t chunkSize, uint64_t maxBytes, uint64_t availableMemory) {
    if (chunksInUse_ == 0) {
        chunkSize_ = std::clamp(chunkSize, kMinChunkSize, kMaxChunkSize);
        // Blocks start 16 bytes into the chunk and are whole units, so an odd tail is never a block.
        usable_ = (chunkSize_ - kHeaderBytes) & ~size_t{15};
        unitsPerChunk_ = static_cast<uint32_t>((chunkSize_ + 15) / 16);
        maxSlots_ = static_cast<uint32_t>(std::min<uint64_t>(kLinkSpace / unitsPerChunk_, UINT32_MAX));
    }
    availableMemory_ = availableMemory;
    SetMaximum(maxBytes);
}

void CBlockHeap::SetMaximum(uint64_t maxBytes) {
    maxChunks_ = static_cast<uint32_t>(std::min<uint64_t>(maxBytes / chunkSize_, UINT32_MAX));
}

CBlockHeap::CBlockHeader* CBlockHeap::At(uint32_t link) const {
    if (link == 0) return nullptr;
    return Offset<CBlockHeader>(slotBase_[link / unitsPerChunk_], size_t{link % unitsPerChunk_} * 16);
}

const CBlockHeap::CChunkRecord* CBlockHeap::ChunkOf(const void* address) const {
    const uintptr_t a = Address(address);
    auto it = std::upper_bound(byAddress_.begin(), byAddress_.end(), a,
                               [](uintptr_t x, const CChunkRecord& r) { return x < r.base; });
    if (it == byAddress_.begin()) return nullptr;
    --it;
    const uintptr_t offset = a - it->base;
    if (offset < kHeaderBytes || offset >= kHeaderBytes + usable_ || offset % 16 != 0) return nullptr;
    return &*it;
}

uint32_t CBlockHeap::LinkOf(const CBlockHeader* header) const {
    const CChunkRecord* chunk = ChunkOf(header);
    return chunk->slot * unitsPerChunk_ + static_cast<uint32_t>((Address(header) - chunk->base) / 16);
}

CBlockHeap::CBlockHeader* CBlockHeap::AllocatedHeader(const void* block) const {
    auto* header = reinterpret_cast<CBlockHeader*>(Address(block) - kHeaderBytes);
    if (!ChunkOf(header) || header->magic != kUsedMagic) NotABlock();
    return header;
}

size_t CBlockHeap::BlockSize(const void* block) {
    return reinterpret_cast<const CBlockHeader*>(Address(block) - kHeaderBytes)->size;
}

uint32_t CBlockHeap::BlockSerial(const void* block) {
    return reinterpret_cast<const CBlockHeader*>(Address(block) - kHeaderBytes)->serial;
}

CBlockHeap::CTreeLinks& CBlockHeap::Links(uint32_t link) const {
    return *Offset<CTreeLinks>(At(link), kHeaderBytes);
}

namespace {
// A well-mixed priority per link, so that the treap is balanced whatever order blocks come in.
uint32_t Priority(uint32_t link) {
    uint32_t x = link * 0x9E3779B1u;
    x ^= x >> 15;
    x *= 0x85EBCA77u;
    return x ^ (x >> 13);
}
}  // namespace

// Parts the tree into the blocks below key and the rest.
void CBlockHeap::Split(uint32_t tree, uintptr_t key, uint32_t& below, uint32_t& rest) const {
    if (tree == 0) {
        below = rest = 0;
    } else if (Address(At(tree)) < key) {
        below = tree;
        Split(Links(tree).right, key, Links(tree).right, rest);
    } else {
        rest = tree;
        Split(Links(tree).left, key, below, Links(tree).left);
    }
}

// Joins two trees whose every block in below lies before every block in above.
uint32_t CBlockHeap::Merge(uint32_t below, uint32_t above) const {
    if (below == 0) return above;
    if (above == 0) return below;
    if (Priority(below) > Priority(above)) {
        Links(below).right = Merge(Links(below).right, above);
        return below;
    }
    Links(above).left = Merge(below, Links(above).left);
    return above;
}

void CBlockHeap::Index(CBlockHeader* header) {
    if (header->size < kIndexedSize) return;
    const uint32_t link = LinkOf(header);
    Links(link) = CTreeLinks{0, 0};
    uint32_t below, rest;
    Split(treeRoot_, Address(header), below, rest);
    treeRoot_ = Merge(Merge(below, link), rest);
}

void CBlockHeap::Unindex(CBlockHeader* header) {
    if (header->size < kIndexedSize) return;
    uint32_t below, rest, self, above;
    Split(treeRoot_, Address(header), below, rest);
    Split(rest, Address(header) + 1, self, above);
    treeRoot_ = Merge(below, above);
}

CBlockHeap::CBlockHeader* CBlockHeap::FreeBefore(uintptr_t address) const {
    const CBlockHeader* prev = &head_;
    for (uint32_t tree = treeRoot_; tree;) {
        const CBlockHeader* block = At(tree);
        if (Address(block) < address) {
            prev = block;
            tree = Links(tree).right;
        } else {
            tree = Links(tree).left;
        }
    }
    // Only blocks too small for the tree can lie between.
    while (prev->next && Address(At(prev->next)) < address) prev = At(prev->next);
    return const_cast<CBlockHeader*>(prev);
}

// Links a free block into the list at its address position and merges it with a free block that
// starts where it ends. (Callers merge with the preceding block themselves where that can happen.)
void CBlockHeap::InsertFree(CBlockHeader* header, uint32_t link) {
    CBlockHeader* prev = FreeBefore(Address(header));
    CBlockHeader* following = At(prev->next);
    header->next = prev->next;
    prev->next = link;
    if (following && Offset<CBlockHeader>(header, header->size) == following) {
        Unindex(following);
        header->size += following->size;
        header->next = following->next;
    }
    Index(header);
}

void* CBlockHeap::Allocate(size_t bytes) {
    const uint64_t need = BlockSizeFor(std::min<size_t>(bytes, usable_ + 1));
    if (need > usable_) return nullptr;

    CBlockHeader* prev = &head_;
    CBlockHeader* block = At(prev->next);
    while (block && block->size < need) {
        prev = block;
        block = At(block->next);
    }
    if (!block) {
        block = NewChunk();
        if (!block) return nullptr;
        // Getting the chunk may have run recovery, which frees blocks: find the position afresh.
        InsertFree(block, LinkOf(block));
        prev = FreeBefore(Address(block));
    }
    Unindex(block);
    if (block->size > need) {
        auto* rest = Offset<CBlockHeader>(block, need);
        *rest = CBlockHeader{block->next, kFreeMagic, kNoSerial, static_cast<uint32_t>(block->size - need)};
        prev->next += static_cast<uint32_t>(need / 16);  // the rest lies `need` bytes further on
        Index(rest);
    } else {
        prev->next = block->next;
    }
    *block = CBlockHeader{0, kUsedMagic, serial_++, static_cast<uint32_t>(need)};
    return Offset<void>(block, kHeaderBytes);
}

void CBlockHeap::Free(void* block) {
    if (!block) return;
    CBlockHeader* header = AllocatedHeader(block);
    const uint32_t link = LinkOf(header);

    CBlockHeader* prev = FreeBefore(Address(header));
    CBlockHeader* following = At(prev->next);

    header->magic = kFreeMagic;
    header->serial = kNoSerial;
    CBlockHeader* merged;
    if (prev != &head_ && Offset<CBlockHeader>(prev, prev->size) == header) {
        Unindex(prev);  // a block too small for the tree grows into one that belongs there
        prev->size += header->size;
        merged = prev;
    } else {
        header->next = prev->next;
        prev->next = link;
        merged = header;
    }
    if (following && Offset<CBlockHeader>(merged, merged->size) == following) {
        Unindex(following);
        merged->size += following->size;
        merged->next = following->next;
    }
    if (merged->size == usable_) {
        CBlockHeader* mergedPrev = merged == prev ? FreeBefore(Address(prev)) : prev;
        mergedPrev->next = merged->next;
        ReleaseChunk(reinterpret_cast<CChunkHeader*>(Address(merged) - kHeaderBytes));
    } else {
        Index(merged);
    }
}

void* CBlockHeap::Shrink(void* block, size_t bytes) {
    CBlockHeader* header = AllocatedHeader(block);
    const uint64_t size = BlockSizeFor(std::min<size_t>(bytes, usable_ + 1));
    if (size == header->size) return block;
    if (size > header->size) return nullptr;
    auto* tail = Offset<CBlockHeader>(header, size);
    *tail = CBlockHeader{0, kFreeMagic, kNoSerial, static_cast<uint32_t>(header->size - size)};
    header->size = static_cast<uint32_t>(size);
    InsertFree(tail, LinkOf(tail));
    return block;
}

CBlockHeap::CBlockHeader* CBlockHeap::NewChunk() {
    if (chunksInUse_ >= maxChunks_) return nullptr;
    void* memory = GuardedGlobalAlloc(chunkSize_);
    if (!memory) return nullptr;
    // Recovery may have released chunks meanwhile, so the slot is chosen only now.
    auto freeSlot = std::find(slotBase_.begin(), slotBase_.end(), nullptr);
    const auto slot = static_cast<uint32_t>(freeSlot - slotBase_.begin());
    if (slot >= maxSlots_) {  // only with a maximum far beyond any configurable memory size
        GlobalRelease(memory);
        return nullptr;
    }
    if (freeSlot == slotBase_.end()) slotBase_.push_back(nullptr);
    slotBase_[slot] = static_cast<std::byte*>(memory);
    const CChunkRecord record{Address(memory), slot};
    byAddress_.insert(std::upper_bound(byAddress_.begin(), byAddress_.end(), record.base,
                                       [](uintptr_t x, const CChunkRecord& r) { return x < r.base; }),
                      record);

    auto* chunk = static_cast<CChunkHeader*>(memory);
    *chunk = CChunkHeader{chunks_, kChunkMagic, slot};
    chunks_ = chunk;
    ++chunksInUse_;
    auto* block = Offset<CBlockHeader>(chunk, kHeaderBytes);
    *block = CBlockHeader{0, kFreeMagic, kNoSerial, static_cast<uint32_t>(usable_)};
    return block;
}

void CBlockHeap::ReleaseChunk(CChunkHeader* chunk) {
    CChunkHeader** link = &chunks_;
    while (*link != chunk) link = &(*link)->next;
    *link = chunk->next;
    slotBase_[chunk->slot] = nullptr;
    byAddress_.erase(std::find_if(byAddress_.begin(), byAddress_.end(),
                                  [&](const CChunkRecord& r) { return r.base == Address(chunk); }));
    --chunksInUse_;
    GlobalRelease(chunk);
}

CMemoryFigures CBlockHeap::GetFigures() const {
    CMemoryFigures f;
    f.allocated = uint64_t{chunksInUse_} * chunkSize_;
    uint64_t free = 0;
    for (const CBlockHeader* b = At(head_.next); b; b = At(b->next)) free += b->size;
    f.inUse = f.allocated - free;
    return f;
}

std::vector<CBlockHeap::CFreeBlock> CBlockHeap::FreeBlocks() const {
    std::vector<CFreeBlock> blocks;
    for (const CBlockHeader* b = At(head_.next); b; b = At(b->next)) blocks.push_back({b, b->size});
    return blocks;
}

CBlockHeap& TheBlockHeap() {
    // Never destroyed: objects torn down at exit may still give their blocks back; the system takes
    // the chunks back with the process.
    static CBlockHeap* heap = new CBlockHeap;
    return *heap;
}

}  // namespace tessera
