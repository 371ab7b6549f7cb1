#include <benchmark/benchmark.h>

#include "foundation/name.h"

static void BM_CompareNames(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tessera::CompareNames("von Neumann", "vonneumann"));
}
BENCHMARK(BM_CompareNames);
