#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "foundation/block_heap.h"
#include "foundation/far_pool.h"

using namespace tessera;

// Pool allocation and freeing are constant-time pops and pushes.
static void BM_FarPoolAllocateFree(benchmark::State& state) {
    CFarPool pool(10000, 24, "Bench");
    std::vector<void*> live(5000);
    for (auto& p : live) p = pool.Allocate();  // keeps a chunk alive
    for (auto _ : state) {
        void* e = pool.Allocate();
        benchmark::DoNotOptimize(e);
        pool.Free(e);
    }
    for (void* p : live) pool.Free(p);
}
BENCHMARK(BM_FarPoolAllocateFree);

// Row-heap-like use: a few dozen large blocks of varied size allocated and freed at random.
static void BM_BlockHeapChurn(benchmark::State& state) {
    CBlockHeap heap;
    std::mt19937 rng(5);
    std::vector<void*> live(40, nullptr);
    for (auto _ : state) {
        void*& slot = live[rng() % live.size()];
        if (slot) {
            heap.Free(slot);
            slot = nullptr;
        } else {
            slot = heap.Allocate(1000 + rng() % 60000);
        }
    }
    for (void* p : live) heap.Free(p);
}
BENCHMARK(BM_BlockHeapChurn);
