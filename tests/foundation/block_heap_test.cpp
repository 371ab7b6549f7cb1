#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "foundation/block_heap.h"
#include "foundation/errors.h"
#include "foundation/far_pool.h"
#include "support/error_of.h"

namespace tessera::test {

namespace {

uintptr_t Addr(const void* p) { return reinterpret_cast<uintptr_t>(p); }
size_t SizeFor(size_t bytes) { return (bytes + 31) / 16 * 16; }

// An independent first-fit model: free intervals by header address, chunks known by the address of
// their first block, live blocks with the byte they were filled with.
class ShadowHeap {
public:
    ShadowHeap(size_t chunkSize, uint64_t maxBytes)
        : heap(chunkSize, maxBytes),
          chunkSize_(chunkSize),
          usable_((chunkSize - 16) / 16 * 16),
          maxChunks_(maxBytes / chunkSize) {}

    // A lowered maximum keeps the chunks in use but takes no new one beyond it.
    void SetMaximum(uint64_t bytes) {
        heap.SetMaximum(bytes);
        maxChunks_ = bytes / chunkSize_;
    }

    void Allocate(size_t bytes, std::mt19937& rng) {
        const size_t need = SizeFor(bytes);
        void* p = heap.Allocate(bytes);
        if (need > usable_) {
            ASSERT_EQ(p, nullptr);
            return;
        }
        auto fit = free_.begin();
        while (fit != free_.end() && fit->second < need) ++fit;
        if (fit == free_.end()) {
            if (chunkStarts_.size() >= maxChunks_) {
                ASSERT_EQ(p, nullptr);
                return;
            }
            ASSERT_NE(p, nullptr);
            const uintptr_t header = Addr(p) - 16;
            for (uintptr_t start : chunkStarts_)  // a new chunk must not overlap a known one
                ASSERT_TRUE(header + usable_ <= start - 16 || start + usable_ <= header - 16);
            chunkStarts_.insert(header);
            fit = free_.emplace(header, usable_).first;
        }
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(Addr(p) - 16, fit->first) << "not the first fit";
        const auto [at, size] = *fit;
        free_.erase(fit);
        if (size > need) free_.emplace(at + need, size - need);
        const auto fill = static_cast<uint8_t>(rng());
        std::memset(p, fill, need - 16);
        live_[Addr(p)] = {need, fill};
        ASSERT_EQ(CBlockHeap::BlockSize(p), need);
    }

    void Free(size_t index) {
        auto it = std::next(live_.begin(), static_cast<long>(index % live_.size()));
        ASSERT_TRUE(Intact(it->first, it->second));
        heap.Free(reinterpret_cast<void*>(it->first));
        const uintptr_t header = it->first - 16;
        const uintptr_t merged = InsertFree(header, it->second.size);
        if (free_[merged] == usable_) {
            ASSERT_EQ(chunkStarts_.count(merged), 1u);
            chunkStarts_.erase(merged);
            free_.erase(merged);
        }
        live_.erase(it);
    }

    void Shrink(size_t index, size_t bytes) {
        auto it = std::next(live_.begin(), static_cast<long>(index % live_.size()));
        void* block = reinterpret_cast<void*>(it->first);
        const size_t size = it->second.size;
        const size_t wanted = SizeFor(bytes);
        void* result = heap.Shrink(block, bytes);
        if (wanted > size) {
            ASSERT_EQ(result, nullptr);
        } else {
            ASSERT_EQ(result, block);
            if (wanted < size) InsertFree(it->first - 16 + wanted, size - wanted);
            it->second.size = wanted;
        }
        ASSERT_EQ(CBlockHeap::BlockSize(block), it->second.size);
        ASSERT_TRUE(Intact(it->first, it->second));
    }

    // The heap's free list, chunk count and figures against the model.
    void Check() const {
        std::vector<std::pair<uintptr_t, size_t>> actual;
        for (auto b : heap.FreeBlocks()) actual.emplace_back(Addr(b.header), b.size);
        const std::vector<std::pair<uintptr_t, size_t>> expected(free_.begin(), free_.end());
        ASSERT_EQ(actual, expected);
        ASSERT_EQ(heap.ChunksInUse(), chunkStarts_.size());
        ASSERT_EQ(heap.MaximumChunks(), maxChunks_);
        ASSERT_EQ(heap.LargestBlock(), usable_);
        uint64_t freeBytes = 0;
        for (auto& [at, size] : free_) freeBytes += size;
        const uint64_t allocated = chunkStarts_.size() * heap.ChunkSize();
        ASSERT_EQ(heap.GetFigures(), (CMemoryFigures{allocated, allocated - freeBytes}));
    }

    void CheckAllLive() const {
        for (auto& [at, block] : live_) ASSERT_TRUE(Intact(at, block));
    }

    size_t LiveCount() const { return live_.size(); }

    CBlockHeap heap;

private:
    struct Live {
        size_t size;
        uint8_t fill;
    };

    static bool Intact(uintptr_t at, const Live& block) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(at);
        for (size_t i = 0; i + 16 < block.size; ++i)
            if (bytes[i] != block.fill) return false;
        return true;
    }

    // Inserts a free interval, merging with neighbours that touch it; answers the merged start.
    uintptr_t InsertFree(uintptr_t at, size_t size) {
        auto next = free_.lower_bound(at);
        if (next != free_.end() && at + size == next->first) {
            size += next->second;
            next = free_.erase(next);
        }
        if (next != free_.begin()) {
            auto prev = std::prev(next);
            if (prev->first + prev->second == at) {
                prev->second += size;
                return prev->first;
            }
        }
        free_.emplace(at, size);
        return at;
    }

    size_t chunkSize_;
    size_t usable_;
    size_t maxChunks_;
    std::map<uintptr_t, size_t> free_;
    std::set<uintptr_t> chunkStarts_;
    std::map<uintptr_t, Live> live_;
};

void RunRandomHeap(size_t chunkSize, uint64_t maxBytes, unsigned seed, int steps) {
    ShadowHeap model(chunkSize, maxBytes);
    std::mt19937 rng(seed);
    auto randomBytes = [&]() -> size_t {
        const unsigned kind = rng() % 8;  // now and then up to beyond a chunk, sometimes a third of one
        return kind == 0 ? rng() % (chunkSize + 64) : kind < 3 ? rng() % (chunkSize / 3) : rng() % 200;
    };
    for (int step = 0; step < steps; ++step) {
        // Phases of growth and decline, so that chunks fill, hit the cap, and empty again.
        const unsigned allocatePercent = (step / 500) % 2 == 0 ? 65 : 30;
        const unsigned r = rng() % 100;
        if (model.LiveCount() == 0 || r < allocatePercent) {
            ASSERT_NO_FATAL_FAILURE(model.Allocate(randomBytes(), rng));
        } else if (r < allocatePercent + 10) {
            ASSERT_NO_FATAL_FAILURE(model.Shrink(rng(), rng() % 3 == 0 ? rng() % 600 : rng() % 64));
        } else if (r == 99) {  // a maximum of up to the starting one, not always a multiple of the chunk size
            model.SetMaximum(rng() % (maxBytes + 1));
        } else {
            ASSERT_NO_FATAL_FAILURE(model.Free(rng()));
        }
        ASSERT_NO_FATAL_FAILURE(model.Check()) << "step " << step;
        if (step % 256 == 0) {
            ASSERT_NO_FATAL_FAILURE(model.CheckAllLive());
        }
    }
    while (model.LiveCount() > 0) {
        ASSERT_NO_FATAL_FAILURE(model.Free(rng()));
        ASSERT_NO_FATAL_FAILURE(model.Check());
    }
    EXPECT_EQ(model.heap.ChunksInUse(), 0u);
    EXPECT_TRUE(model.heap.FreeBlocks().empty());
}

}  // namespace

TEST(BlockHeap, RandomUseMatchesShadowModel) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        RunRandomHeap(4096, 8 * 4096, seed, 12000);
    }
    RunRandomHeap(4100, 6 * 4100, 77, 8000);  // a chunk size that is no multiple of 16
}

// (The configuration's tests check the sizes the parameters set.)
TEST(BlockHeap, ChunkSizeStaysWhileChunksAreInUse) {
    CBlockHeap heap(32768, 1u << 20);
    void* block = heap.Allocate(100);
    heap.Configure(65536, 4u << 20, 0);
    EXPECT_EQ(heap.ChunkSize(), 32768u);
    EXPECT_EQ(heap.MaximumChunks(), 128u);
    heap.Free(block);
}

TEST(BlockHeap, ForeignAndDoubleFreesAreRefusedAndChangeNothing) {
    CBlockHeap heap(4096, 1u << 20);
    void* a = heap.Allocate(64);
    void* b = heap.Allocate(64);
    heap.Free(a);
    const CMemoryFigures before = heap.GetFigures();
    EXPECT_EQ(MessageIdOf([&] { heap.Free(a); }), msg::UnexpectedError) << "double free accepted";
    alignas(16) static uint8_t outside[64] = {};
    EXPECT_THROW(heap.Free(outside + 16), CErrorException);
    EXPECT_THROW(heap.Free(static_cast<uint8_t*>(b) + 8), CErrorException);
    EXPECT_THROW(heap.Shrink(outside + 16, 1), CErrorException);
    EXPECT_EQ(heap.GetFigures(), before);  // the blocks in use, and so the free ones
    heap.Free(nullptr);
    heap.Free(b);
    EXPECT_EQ(heap.ChunksInUse(), 0u);
}

TEST(MemoryFigures, HeapPlusEveryPool) {
    CBlockHeap heap(4096, 1u << 20);
    CFarPool pool(10, 32, "Figures");
    const CMemoryFigures start = MemoryFigures(heap);
    void* block = heap.Allocate(1000);
    void* element = pool.Allocate();
    const CMemoryFigures during = MemoryFigures(heap);
    EXPECT_EQ(during.allocated, start.allocated + 4096 + 10 * 32 + CFarPool::kChunkHeaderBytes);
    // The chunk headers count as in use.
    EXPECT_EQ(during.inUse,
              start.inUse + CBlockHeap::kHeaderBytes + SizeFor(1000) + 32 + CFarPool::kChunkHeaderBytes);
    heap.Free(block);
    pool.Free(element);
    EXPECT_EQ(MemoryFigures(heap), start);
    EXPECT_GE(ApplicationMemoryFigures().allocated, TheBlockHeap().GetFigures().allocated);
}

}  // namespace tessera::test
