#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "foundation/errors.h"
#include "foundation/far_pool.h"

namespace tessera::test {

// Random allocate/free against a model of live elements: aligned, disjoint, contents undisturbed,
// counts consistent, and every chunk returned once nothing is live. The pool is on the list of pools
// while it lives, and is destroyed with live elements.
TEST(FarPool, RandomUseAgainstModel) {
    constexpr uint32_t kPerChunk = 7;
    const int poolsBefore = AllFarPools().Count();
    auto pool = std::make_unique<CFarPool>(kPerChunk, 40, "Random");
    EXPECT_EQ(AllFarPools().Last(), pool.get());
    EXPECT_EQ(AllFarPools().Count(), poolsBefore + 1);
    std::mt19937 rng(12345);
    std::map<std::byte*, uint8_t> live;  // element -> fill byte
    auto check = [&](std::byte* e, uint8_t fill) {
        for (size_t i = 0; i < pool->ElementSize(); ++i)
            if (e[i] != std::byte{fill}) return false;
        return true;
    };
    for (int step = 0; step < 20000; ++step) {
        bool allocate = live.empty() || (rng() % 100) < (step % 4000 < 2000 ? 60u : 35u);
        if (allocate) {
            auto* e = static_cast<std::byte*>(pool->Allocate());
            ASSERT_EQ(reinterpret_cast<uintptr_t>(e) % CFarPool::kElementAlignment, 0u);
            ASSERT_EQ(live.count(e), 0u);
            uint8_t fill = static_cast<uint8_t>(rng());
            std::memset(e, fill, pool->ElementSize());
            live[e] = fill;
        } else {
            auto it = std::next(live.begin(), static_cast<long>(rng() % live.size()));
            ASSERT_TRUE(check(it->first, it->second));
            pool->Free(it->first);
            live.erase(it);
        }
        ASSERT_EQ(pool->TotalElements() - pool->FreeElements(), live.size());
        ASSERT_EQ(pool->TotalElements(), pool->ChunkCount() * kPerChunk);
        if (live.empty()) {
            ASSERT_EQ(pool->ChunkCount(), 0u);
        }
        ASSERT_EQ(pool->Figures().inUse, live.size() * 48 + pool->ChunkCount() * CFarPool::kChunkHeaderBytes);
    }
    for (auto& [e, fill] : live) EXPECT_TRUE(check(e, fill));
    pool.reset();
    EXPECT_EQ(AllFarPools().Count(), poolsBefore);
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
