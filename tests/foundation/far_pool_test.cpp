#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "foundation/errors.h"
#include "foundation/far_pool.h"

namespace tessera::test {

namespace {

bool InPoolList(const CFarPool* pool) {
    for (CFarPool* p = AllFarPools().First(); p; p = p->Next())
        if (p == pool) return true;
    return false;
}

CMemoryFigures AllPoolFigures() {
    CMemoryFigures total;
    for (CFarPool* p = AllFarPools().First(); p; p = p->Next()) total += p->Figures();
    return total;
}

}  // namespace

TEST(FarPool, SizeClassPoolsExistFromStartAndAreEmpty) {
    struct Expected {
        CFarPool* pool;
        const char* name;
        size_t size;
    };
    for (auto [pool, name, size] :
         {Expected{&LookAside32Pool(), "LookAside32", 32}, Expected{&LookAside48Pool(), "LookAside48", 48},
          Expected{&LookAside64Pool(), "LookAside64", 64}}) {
        EXPECT_TRUE(InPoolList(pool)) << name;
        EXPECT_EQ(pool->Name(), name);
        EXPECT_EQ(pool->ElementSize(), size);
        EXPECT_EQ(pool->ElementsPerChunk(), 64u);
        EXPECT_EQ(pool->ChunkCount(), 0u);
        EXPECT_EQ(pool->Figures(), CMemoryFigures{});
    }
}

TEST(FarPool, JoinsAndLeavesThePoolList) {
    int before = AllFarPools().Count();
    {
        CFarPool pool(10, 24, "Scratch");
        EXPECT_TRUE(InPoolList(&pool));
        EXPECT_EQ(AllFarPools().Last(), &pool);
        EXPECT_EQ(AllFarPools().Count(), before + 1);
        pool.Allocate();  // a pool destroyed with live elements still frees its chunk
    }
    EXPECT_EQ(AllFarPools().Count(), before);
}

TEST(FarPool, ElementSizesAreRoundedForAlignment) {
    EXPECT_EQ(CFarPool(4, 1, "a").ElementSize(), 16u);
    EXPECT_EQ(CFarPool(4, 0, "b").ElementSize(), 16u);
    EXPECT_EQ(CFarPool(4, 17, "c").ElementSize(), 32u);
    EXPECT_EQ(CFarPool(4, 48, "d").ElementSize(), 48u);
}

TEST(FarPool, OneElementTakesAndReturnsOneChunk) {
    CFarPool pool(500, 40, "One");
    const CMemoryFigures before = AllPoolFigures();
    void* e = pool.Allocate();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(pool.ChunkCount(), 1u);
    EXPECT_EQ(pool.TotalElements(), 500u);
    EXPECT_EQ(pool.FreeElements(), 499u);
    const CMemoryFigures during = pool.Figures();
    EXPECT_EQ(during.allocated, 48u * 500 + CFarPool::kChunkHeaderBytes);
    EXPECT_EQ(during.inUse, 48u + CFarPool::kChunkHeaderBytes);
    EXPECT_EQ(AllPoolFigures().allocated, before.allocated + during.allocated);
    pool.Free(e);
    EXPECT_EQ(pool.ChunkCount(), 0u);
    EXPECT_EQ(pool.TotalElements(), 0u);
    EXPECT_EQ(pool.FreeElements(), 0u);
    EXPECT_EQ(AllPoolFigures(), before);
    pool.Free(nullptr);
    EXPECT_EQ(pool.FreeElements(), 0u);
}

TEST(FarPool, LastElementOfANewChunkComesFirst) {
    CFarPool pool(4, 16, "Order");
    auto* a = static_cast<std::byte*>(pool.Allocate());
    auto* b = static_cast<std::byte*>(pool.Allocate());
    EXPECT_EQ(a - b, 16);  // the chunk is handed out from its end towards its start
    pool.Free(a);
    EXPECT_EQ(pool.Allocate(), a);  // freed elements are reused first
}

// Random allocate/free against a model of live elements: aligned, disjoint, contents undisturbed,
// counts consistent, and every chunk returned once nothing is live.
TEST(FarPool, RandomUseAgainstModel) {
    constexpr uint32_t kPerChunk = 7;
    CFarPool pool(kPerChunk, 40, "Random");
    std::mt19937 rng(12345);
    std::map<std::byte*, uint8_t> live;  // element -> fill byte
    auto check = [&](std::byte* e, uint8_t fill) {
        for (size_t i = 0; i < pool.ElementSize(); ++i)
            if (e[i] != std::byte{fill}) return false;
        return true;
    };
    for (int step = 0; step < 20000; ++step) {
        bool allocate = live.empty() || (rng() % 100) < (step % 4000 < 2000 ? 60u : 35u);
        if (allocate) {
            auto* e = static_cast<std::byte*>(pool.Allocate());
            ASSERT_EQ(reinterpret_cast<uintptr_t>(e) % CFarPool::kElementAlignment, 0u);
            ASSERT_EQ(live.count(e), 0u);
            uint8_t fill = static_cast<uint8_t>(rng());
            std::memset(e, fill, pool.ElementSize());
            live[e] = fill;
        } else {
            auto it = std::next(live.begin(), static_cast<long>(rng() % live.size()));
            ASSERT_TRUE(check(it->first, it->second));
            pool.Free(it->first);
            live.erase(it);
        }
        ASSERT_EQ(pool.TotalElements() - pool.FreeElements(), live.size());
        ASSERT_EQ(pool.TotalElements(), pool.ChunkCount() * kPerChunk);
        if (live.empty()) {
            ASSERT_EQ(pool.ChunkCount(), 0u);
        }
        ASSERT_EQ(pool.Figures().inUse, live.size() * 48 + pool.ChunkCount() * CFarPool::kChunkHeaderBytes);
    }
    for (auto& [e, fill] : live) EXPECT_TRUE(check(e, fill));
}

TEST(FarPool, TypedAllocatorHandsOutStorageForItsType) {
    struct Entry {
        Entry* next;
        int x, y;
    };
    CFarPool pool(10000, sizeof(Entry), "Entries");
    CFarPoolAllocator<Entry> alloc(pool);
    EXPECT_EQ(&alloc.Pool(), &pool);
    std::vector<Entry*> entries;
    for (int i = 0; i < 25000; ++i) entries.push_back(new (alloc.Allocate()) Entry{nullptr, i, -i});
    EXPECT_EQ(pool.ChunkCount(), 3u);
    for (int i = 0; i < 25000; ++i) ASSERT_EQ(entries[i]->x + entries[i]->y, 0);
    for (Entry* e : entries) alloc.Free(e);
    EXPECT_EQ(pool.ChunkCount(), 0u);
}

TEST(FarPool, ChunkAllocationFailureThrowsMemoryException) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer aborts on impossible allocation sizes instead of failing them";
#else
    CFarPool huge(1u << 30, size_t{1} << 24, "Huge");
    EXPECT_THROW(huge.Allocate(), CMemoryException);
    EXPECT_EQ(huge.ChunkCount(), 0u);
    CFarPool overflowing(0xFFFFFFFFu, SIZE_MAX / 2, "Overflow");
    EXPECT_THROW(overflowing.Allocate(), CMemoryException);
#endif
}

}  // namespace tessera::test
